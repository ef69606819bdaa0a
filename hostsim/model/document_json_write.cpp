// Writing the canonical JSON form of a document (see document_json.h).
#include "base64.h"
#include "document_json.h"
#include "utf8_check.h"

#include "layout_json.h"

#include "desktop/files/file_replace.h"

#include <algorithm>
#include <new>
#include <vector>

namespace hostsim {

namespace {

using Json = LayoutOrderedJson;

// A text field that JSON cannot hold; names the field.
struct BadText {
    std::string field;
};

const std::string& text(const std::string& value, std::string_view field) {
    if (!isValidUtf8(value)) throw BadText{std::string(field)};
    return value;
}

Json code(FourCC value) {
    if (isPrintableFourCC(value)) return fourCCText(value);
    return value;
}

Json rect(const Rect& r) { return Json::array({r.top, r.left, r.bottom, r.right}); }

Json pdfRect(const PdfRect& r) { return Json::array({r.llx, r.lly, r.urx, r.ury}); }

// Slug values are text when a person can read them in the file.
bool readableText(const std::string& bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') return false;
    }
    return isValidUtf8(bytes);
}

Json slugs(const SlugMap& map) {
    Json list = Json::array();
    for (const auto& [key, bytes] : map) {
        Json entry = Json::object();
        entry["key"] = code(key);
        if (readableText(bytes)) {
            entry["text"] = bytes;
        } else {
            entry["base64"] = base64Encode(bytes);
        }
        list.push_back(std::move(entry));
    }
    return list;
}

Json pdf(const PdfInfo& info) {
    Json out = Json::object();
    out["page"] = info.page;
    out["pageBox"] = pdfBoxName(info.pageBox);
    Json pages = Json::array();
    for (const PdfPage& page : info.pages) {
        Json entry = Json::object();
        entry["media"] = pdfRect(page.media);
        entry["crop"] = pdfRect(page.crop);
        entry["bleed"] = pdfRect(page.bleed);
        entry["trim"] = pdfRect(page.trim);
        entry["art"] = pdfRect(page.art);
        entry["rotate"] = page.rotate;
        pages.push_back(std::move(entry));
    }
    out["pages"] = std::move(pages);
    return out;
}

Json picture(const Picture& pic) {
    Json out = Json::object();
    out["path"] = text(pic.path, "picture path");
    out["fileType"] = code(pic.fileType);
    out["colorSpace"] = code(pic.colorSpace);
    out["resolution"] = Json::array({pic.resolutionH, pic.resolutionV});
    out["pixelSize"] = Json::array({pic.pixelWidth, pic.pixelHeight});
    out["bounds"] = rect(pic.bounds);
    out["scale"] = Json::array({pic.scaleH, pic.scaleV});
    out["offset"] = Json::array({pic.offsetH, pic.offsetV});
    if (pic.pdf) out["pdf"] = pdf(*pic.pdf);
    Json stamp = Json::object();
    stamp["mtimeNs"] = pic.imported.mtimeNs;
    stamp["size"] = pic.imported.size;
    out["imported"] = std::move(stamp);
    return out;
}

Json box(const Box& b) {
    Json out = Json::object();
    out["id"] = b.id();
    out["kind"] = boxKindName(b.kind());
    if (b.shape() != kShapeRectangle) out["shape"] = b.shape();
    out["bounds"] = rect(b.bounds());
    if (b.isGroup()) out["members"] = b.members();
    if (!b.text().empty()) out["text"] = text(b.text(), "box text");
    if (b.picture()) out["picture"] = picture(*b.picture());
    if (!b.slugs(SlugKind::box).empty()) out["boxSlugs"] = slugs(b.slugs(SlugKind::box));
    if (!b.slugs(SlugKind::picture).empty()) out["pictureSlugs"] = slugs(b.slugs(SlugKind::picture));
    return out;
}

void indent(std::string& out, int depth) { out.append(static_cast<std::size_t>(depth) * 2, ' '); }

// Containers of plain values go on one line.
bool oneLine(const Json& value) {
    if (!value.is_structured() || value.empty()) return true;
    for (const auto& item : value) {
        if (item.is_structured()) return false;
    }
    return true;
}

void write(std::string& out, const Json& value, int depth) {
    if (oneLine(value)) {
        out += value.dump();
        return;
    }
    const bool isObject = value.is_object();
    out += isObject ? "{\n" : "[\n";
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first) out += ",\n";
        first = false;
        indent(out, depth + 1);
        if (isObject) {
            out += Json(it.key()).dump();
            out += ": ";
        }
        write(out, *it, depth + 1);
    }
    out += '\n';
    indent(out, depth);
    out += isObject ? '}' : ']';
}

void key(std::string& out, std::string_view name, int depth) {
    indent(out, depth);
    out += '"';
    out += name;
    out += "\": ";
}

// A list whose items go on one line each (pages, boxes).
template <typename Items, typename Render>
void lineList(std::string& out, const Items& items, int depth, Render render) {
    if (items.empty()) {
        out += "[]";
        return;
    }
    out += "[\n";
    bool first = true;
    for (const auto& item : items) {
        if (!first) out += ",\n";
        first = false;
        indent(out, depth + 1);
        render(item);
    }
    out += '\n';
    indent(out, depth);
    out += ']';
}

// Spreads are written piece by piece rather than as one tree, so that a
// 100,000-box document never stands in memory as a tree: each box is built
// and written on its own line.
void spreadList(std::string& out, const Document& doc, const std::vector<Spread>& spreads) {
    lineList(out, spreads, 1, [&](const Spread& s) {
        out += "{\n";
        key(out, "name", 3);
        out += Json(text(s.name, "spread name")).dump();
        out += ",\n";
        key(out, "width", 3);
        out += Json(s.width).dump();
        out += ",\n";
        key(out, "height", 3);
        out += Json(s.height).dump();
        out += ",\n";
        key(out, "pages", 3);
        lineList(out, s.pages, 3, [&](const Page& p) {
            Json page = Json::object();
            page["name"] = text(p.name, "page name");
            page["master"] = p.master;
            page["left"] = p.left;
            page["top"] = p.top;
            out += page.dump();
        });
        out += ",\n";
        key(out, "boxes", 3);
        lineList(out, s.boxes, 3, [&](BoxId id) {
            if (const Box* b = doc.findBox(id)) out += box(*b).dump();
        });
        out += '\n';
        indent(out, 2);
        out += '}';
    });
}

void writeDocument(std::string& out, const Document& doc) {
    Json head = Json::object();
    head["format"] = kLayoutFormat;
    head["version"] = kLayoutVersion;
    head["projectName"] = text(doc.projectName, "project name");
    head["path"] = text(doc.path, "document path");
    head["library"] = doc.library;
    head["unit"] = unitName(doc.unit);
    head["pageWidth"] = doc.pageWidth;
    head["pageHeight"] = doc.pageHeight;
    head["facingPages"] = doc.facingPages;
    head["changeState"] = doc.changeState;
    head["nextBoxId"] = doc.nextBoxId();
    head["currentPage"] = doc.currentPage();
    head["showMaster"] = doc.showMaster();
    head["currentBox"] = doc.currentBox();
    head["selection"] = doc.selection();
    Json view = Json::object();
    view["scale"] = doc.view.scale;
    view["originH"] = doc.view.originH;
    view["originV"] = doc.view.originV;
    head["view"] = std::move(view);

    out += "{\n";
    for (auto it = head.begin(); it != head.end(); ++it) {
        key(out, it.key(), 1);
        write(out, *it, 1);
        out += ",\n";
    }
    key(out, "masters", 1);
    spreadList(out, doc, doc.masterSpreads());
    out += ",\n";
    key(out, "spreads", 1);
    spreadList(out, doc, doc.spreads());
    out += "\n}\n";
}

}  // namespace

bool documentToJson(const Document& doc, std::string& json, std::string* error) {
    try {
        json.clear();
        writeDocument(json, doc);
        return true;
    } catch (const BadText& bad) {
        if (error) *error = "the " + bad.field + " is not valid UTF-8";
    } catch (const std::bad_alloc&) {
        if (error) *error = "not enough memory";
    } catch (const std::exception& other) {
        if (error) *error = other.what();
    }
    return false;
}

bool saveDocument(const Document& doc, const std::string& path, std::string* error) {
    std::string json;
    if (!documentToJson(doc, json, error)) return false;
    std::string reason;
    if (desktop::files::replaceFile(path, json, reason)) return true;
    if (error) *error = path + ": cannot write: " + reason;
    return false;
}

}  // namespace hostsim
