// Writing the canonical JSON form of a document (see document_json.h).
#include "base64.h"
#include "document_json.h"
#include "utf8_check.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>
#include <vector>

namespace hostsim {

namespace {

using Json = nlohmann::ordered_json;

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

Json spread(const Document& doc, const Spread& s) {
    Json out = Json::object();
    out["name"] = text(s.name, "spread name");
    out["width"] = s.width;
    out["height"] = s.height;
    Json pages = Json::array();
    for (const Page& p : s.pages) {
        Json page = Json::object();
        page["name"] = text(p.name, "page name");
        page["master"] = p.master;
        page["left"] = p.left;
        page["top"] = p.top;
        pages.push_back(std::move(page));
    }
    out["pages"] = std::move(pages);
    Json boxes = Json::array();
    for (const BoxId id : s.boxes) {
        if (const Box* b = doc.findBox(id)) boxes.push_back(box(*b));
    }
    out["boxes"] = std::move(boxes);
    return out;
}

Json document(const Document& doc) {
    Json out = Json::object();
    out["format"] = kLayoutFormat;
    out["version"] = kLayoutVersion;
    out["projectName"] = text(doc.projectName, "project name");
    out["path"] = text(doc.path, "document path");
    out["library"] = doc.library;
    out["unit"] = unitName(doc.unit);
    out["pageWidth"] = doc.pageWidth;
    out["pageHeight"] = doc.pageHeight;
    out["facingPages"] = doc.facingPages;
    out["changeState"] = doc.changeState;
    out["nextBoxId"] = doc.nextBoxId();
    out["currentPage"] = doc.currentPage();
    out["showMaster"] = doc.showMaster();
    out["currentBox"] = doc.currentBox();
    out["selection"] = doc.selection();
    Json view = Json::object();
    view["scale"] = doc.view.scale;
    view["originH"] = doc.view.originH;
    view["originV"] = doc.view.originV;
    out["view"] = std::move(view);
    Json masters = Json::array();
    for (const Spread& s : doc.masterSpreads()) masters.push_back(spread(doc, s));
    out["masters"] = std::move(masters);
    Json spreads = Json::array();
    for (const Spread& s : doc.spreads()) spreads.push_back(spread(doc, s));
    out["spreads"] = std::move(spreads);
    return out;
}

}  // namespace

bool documentToJson(const Document& doc, std::string& json, std::string* error) {
    try {
        json = document(doc).dump(2);
        json += '\n';
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
    const std::string temporary = path + ".saving";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        if (error) *error = path + ": cannot write: " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(json.data(), 1, json.size(), file) == json.size();
    const bool flushed = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
    const int errorNumber = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed) {
        std::remove(temporary.c_str());
        if (error) *error = path + ": cannot write: " + std::strerror(errorNumber);
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        std::remove(temporary.c_str());
        if (error) *error = path + ": cannot write: " + std::strerror(renameError);
        return false;
    }
    return true;
}

}  // namespace hostsim
