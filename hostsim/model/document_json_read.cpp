// Reading a document from JSON. Every rule is checked here, with the JSON
// pointer of the offending value in the message; the document is built only
// from a file that passed, so a bad file leaves nothing half-loaded. A
// failure inside the reader unwinds to parseDocument by an exception of
// its own and is returned from there.
#include "base64.h"
#include "document_access.h"
#include "document_json.h"

#include "layout_json.h"

#include "desktop/files/file_open.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <new>
#include <unordered_map>
#include <unordered_set>

namespace hostsim {

namespace {

using Json = LayoutJson;

constexpr double kMaxPdfCoordinate = 1e9;
constexpr double kMaxScale = 1000.0;  // 100,000 %
constexpr double kMaxViewOrigin = 1e9;
constexpr std::int64_t kMaxPageCount = 32767;

// Where a value sits in the file, built on the stack as the reader descends;
// turned into a JSON pointer only for a message. A Where points at its
// parent, so the parent must outlive it: name each level, never chain
// temporaries (where["a"][0] dangles).
struct Where {
    const Where* parent = nullptr;
    std::string_view key;
    std::size_t index = 0;
    bool isIndex = false;

    Where operator[](std::string_view name) const { return Where{this, name, 0, false}; }
    Where operator[](std::size_t i) const { return Where{this, {}, i, true}; }

    std::string pointer() const {
        std::vector<const Where*> chain;
        for (const Where* w = this; w && w->parent; w = w->parent) chain.push_back(w);
        std::string text;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            text += '/';
            if ((*it)->isIndex) {
                text += std::to_string((*it)->index);
                continue;
            }
            for (const char c : (*it)->key) {
                if (c == '~') {
                    text += "~0";
                } else if (c == '/') {
                    text += "~1";
                } else {
                    text += c;
                }
            }
        }
        return text.empty() ? "/" : text;
    }
};

struct Failure {
    std::string pointer;  // empty when the fault is not at one place
    std::string reason;
};

[[noreturn]] void fail(const Where& where, std::string reason) { throw Failure{where.pointer(), std::move(reason)}; }

std::string inQuotes(std::string_view text) {
    std::string out(1, '"');
    out.append(text);
    out += '"';
    return out;
}

const char* typeName(const Json& value) { return value.type_name(); }

const Json& object(const Json& value, const Where& where) {
    if (!value.is_object()) fail(where, std::string("expected an object, found ") + typeName(value));
    return value;
}

const Json& array(const Json& value, const Where& where) {
    if (!value.is_array()) fail(where, std::string("expected an array, found ") + typeName(value));
    return value;
}

// Refuses fields the format does not have, so a misspelt field is not lost silently.
void onlyKeys(const Json& obj, const Where& where, std::initializer_list<std::string_view> allowed) {
    for (const auto& item : obj.items()) {
        if (std::find(allowed.begin(), allowed.end(), item.key()) == allowed.end()) {
            fail(where[item.key()], "unknown field " + inQuotes(item.key()));
        }
    }
}

const Json& field(const Json& obj, const Where& where, std::string_view key) {
    const auto it = obj.find(key);
    if (it == obj.end()) fail(where, "missing field " + inQuotes(key));
    return *it;
}

const Json* optionalField(const Json& obj, std::string_view key) {
    const auto it = obj.find(key);
    return it == obj.end() ? nullptr : &*it;
}

std::int64_t integer(const Json& value, const Where& where, std::int64_t low, std::int64_t high) {
    std::int64_t n = 0;
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            fail(where, "number " + std::to_string(u) + " is out of range (" + std::to_string(low) + " to " +
                            std::to_string(high) + ")");
        }
        n = static_cast<std::int64_t>(u);
    } else if (value.is_number_integer()) {
        n = value.get<std::int64_t>();
    } else {
        fail(where, std::string("expected a whole number, found ") + (value.is_number_float() ? "a fraction" : typeName(value)));
    }
    if (n < low || n > high) {
        fail(where, "number " + std::to_string(n) + " is out of range (" + std::to_string(low) + " to " +
                        std::to_string(high) + ")");
    }
    return n;
}

double number(const Json& value, const Where& where, double low, double high) {
    if (!value.is_number()) fail(where, std::string("expected a number, found ") + typeName(value));
    const double n = value.get<double>();
    if (!std::isfinite(n) || n < low || n > high) {
        char text[160];
        std::snprintf(text, sizeof text, "number %.17g is out of range (%.17g to %.17g)", n, low, high);
        fail(where, text);
    }
    return n;
}

bool boolean(const Json& value, const Where& where) {
    if (!value.is_boolean()) fail(where, std::string("expected true or false, found ") + typeName(value));
    return value.get<bool>();
}

const std::string& string(const Json& value, const Where& where) {
    if (!value.is_string()) fail(where, std::string("expected a string, found ") + typeName(value));
    return value.get_ref<const std::string&>();
}

FourCC code(const Json& value, const Where& where) {
    if (value.is_string()) {
        const auto parsed = fourCCFromText(value.get_ref<const std::string&>());
        if (!parsed) fail(where, "a four-character code needs exactly four printable ASCII characters");
        return *parsed;
    }
    if (value.is_number_integer()) {
        return static_cast<FourCC>(integer(value, where, 0, std::numeric_limits<FourCC>::max()));
    }
    fail(where, std::string("expected a four-character code, found ") + typeName(value));
}

// A fixed-length array of numbers.
template <std::size_t N>
std::array<double, N> numbers(const Json& value, const Where& where, double low, double high) {
    array(value, where);
    if (value.size() != N) fail(where, "expected " + std::to_string(N) + " numbers, found " + std::to_string(value.size()));
    std::array<double, N> out{};
    for (std::size_t i = 0; i < N; ++i) out[i] = number(value[i], where[i], low, high);
    return out;
}

Rect rect(const Json& value, const Where& where) {
    const auto n = numbers<4>(value, where, kFixedMin, kFixedMax);
    const Rect r{n[0], n[1], n[2], n[3]};
    if (r.top > r.bottom || r.left > r.right) fail(where, "top must not lie below bottom, nor left right of right");
    return r;
}

PdfRect pdfRect(const Json& value, const Where& where) {
    const auto n = numbers<4>(value, where, -kMaxPdfCoordinate, kMaxPdfCoordinate);
    const PdfRect r{n[0], n[1], n[2], n[3]};
    if (r.llx > r.urx || r.lly > r.ury) fail(where, "lower-left corner must lie below and left of the upper-right");
    return r;
}

SlugMap slugs(const Json& value, const Where& where) {
    array(value, where);
    SlugMap map;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const Where at = where[i];
        const Json& entry = object(value[i], at);
        onlyKeys(entry, at, {"key", "text", "base64"});
        const FourCC key = code(field(entry, at, "key"), at["key"]);
        const Json* text = optionalField(entry, "text");
        const Json* encoded = optionalField(entry, "base64");
        if ((text != nullptr) == (encoded != nullptr)) fail(at, "a slug needs exactly one of \"text\" and \"base64\"");
        std::string bytes;
        if (text) {
            bytes = string(*text, at["text"]);
        } else {
            auto decoded = base64Decode(string(*encoded, at["base64"]));
            if (!decoded) fail(at["base64"], "not valid base64");
            bytes = std::move(*decoded);
        }
        if (!map.emplace(key, std::move(bytes)).second) {
            fail(at["key"], "slug key " + inQuotes(isPrintableFourCC(key) ? fourCCText(key) : std::to_string(key)) +
                                " appears twice");
        }
    }
    return map;
}

PdfInfo pdf(const Json& value, const Where& where) {
    object(value, where);
    onlyKeys(value, where, {"page", "pageBox", "pages"});
    PdfInfo info;
    const Json& pages = array(field(value, where, "pages"), where["pages"]);
    if (pages.empty()) fail(where["pages"], "a PDF has at least one page");
    const Where pagesAt = where["pages"];
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const Where at = pagesAt[i];
        const Json& entry = object(pages[i], at);
        onlyKeys(entry, at, {"media", "crop", "bleed", "trim", "art", "rotate"});
        PdfPage page;
        for (int b = 0; b < kPdfBoxCount; ++b) {
            const auto which = static_cast<PdfBox>(b);
            page.box(which) = pdfRect(field(entry, at, pdfBoxName(which)), at[pdfBoxName(which)]);
        }
        page.rotate = static_cast<int>(integer(field(entry, at, "rotate"), at["rotate"], 0, 270));
        if (page.rotate % 90 != 0) fail(at["rotate"], "rotation must be 0, 90, 180 or 270");
        info.pages.push_back(page);
    }
    info.page = static_cast<int>(integer(field(value, where, "page"), where["page"], 1, info.pageCount()));
    const std::string& boxName = string(field(value, where, "pageBox"), where["pageBox"]);
    const auto box = pdfBoxFromName(boxName);
    if (!box) fail(where["pageBox"], "unknown page box " + inQuotes(boxName) + " (media, crop, bleed, trim or art)");
    info.pageBox = *box;
    return info;
}

Picture picture(const Json& value, const Where& where) {
    object(value, where);
    onlyKeys(value, where,
             {"path", "fileType", "colorSpace", "resolution", "pixelSize", "bounds", "scale", "offset", "pdf", "imported"});
    Picture pic;
    pic.path = string(field(value, where, "path"), where["path"]);
    pic.fileType = code(field(value, where, "fileType"), where["fileType"]);
    pic.colorSpace = code(field(value, where, "colorSpace"), where["colorSpace"]);
    const Where resolutionAt = where["resolution"];
    const auto resolution = numbers<2>(field(value, where, "resolution"), resolutionAt, 0.0, 1e6);
    for (std::size_t i = 0; i < 2; ++i) {
        if (!(resolution[i] > 0)) fail(resolutionAt[i], "a resolution must be above 0");
    }
    pic.resolutionH = resolution[0];
    pic.resolutionV = resolution[1];
    const Where pixelAt = where["pixelSize"];
    const Json& pixels = array(field(value, where, "pixelSize"), pixelAt);
    if (pixels.size() != 2) fail(pixelAt, "expected 2 whole numbers, found " + std::to_string(pixels.size()));
    pic.pixelWidth = static_cast<std::uint32_t>(integer(pixels[0], pixelAt[0], 0, std::numeric_limits<std::uint32_t>::max()));
    pic.pixelHeight = static_cast<std::uint32_t>(integer(pixels[1], pixelAt[1], 0, std::numeric_limits<std::uint32_t>::max()));
    pic.bounds = rect(field(value, where, "bounds"), where["bounds"]);
    const auto scale = numbers<2>(field(value, where, "scale"), where["scale"], -kMaxScale, kMaxScale);
    pic.scaleH = scale[0];
    pic.scaleV = scale[1];
    const auto offset = numbers<2>(field(value, where, "offset"), where["offset"], kFixedMin, kFixedMax);
    pic.offsetH = offset[0];
    pic.offsetV = offset[1];
    if (const Json* info = optionalField(value, "pdf")) pic.pdf = pdf(*info, where["pdf"]);
    const Where stampAt = where["imported"];
    const Json& stamp = object(field(value, where, "imported"), stampAt);
    onlyKeys(stamp, stampAt, {"mtimeNs", "size"});
    pic.imported.mtimeNs = integer(field(stamp, stampAt, "mtimeNs"), stampAt["mtimeNs"],
                                   std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max());
    pic.imported.size =
        integer(field(stamp, stampAt, "size"), stampAt["size"], 0, std::numeric_limits<std::int64_t>::max());
    return pic;
}

// Where each box was found, for messages about ids and groups.
struct BoxPlace {
    std::size_t listIndex;  // 0 masters, 1 spreads
    std::size_t spreadIndex;
    std::size_t boxIndex;

    std::string pointer() const {
        return std::string(listIndex == 0 ? "/masters/" : "/spreads/") + std::to_string(spreadIndex) + "/boxes/" +
               std::to_string(boxIndex);
    }
};

class Reader {
public:
    Document read(const Json& root) {
        const Where top;
        object(root, top);
        const Json& format = field(root, top, "format");
        if (!format.is_string() || format.get_ref<const std::string&>() != kLayoutFormat) {
            fail(top["format"], "not a layout document (format must be " + inQuotes(kLayoutFormat) + ")");
        }
        const std::int64_t version = integer(field(root, top, "version"), top["version"], 1,
                                             std::numeric_limits<std::int64_t>::max());
        if (version != kLayoutVersion) {
            fail(top["version"], "version " + std::to_string(version) + " is not supported (this host reads version " +
                                     std::to_string(kLayoutVersion) + ")");
        }
        onlyKeys(root, top,
                 {"format", "version", "projectName", "path", "library", "unit", "pageWidth", "pageHeight",
                  "facingPages", "changeState", "nextBoxId", "currentPage", "showMaster", "currentBox", "selection",
                  "view", "masters", "spreads"});
        doc_.projectName = string(field(root, top, "projectName"), top["projectName"]);
        doc_.path = string(field(root, top, "path"), top["path"]);
        doc_.library = boolean(field(root, top, "library"), top["library"]);
        const std::string& unit = string(field(root, top, "unit"), top["unit"]);
        const auto parsedUnit = unitFromName(unit);
        if (!parsedUnit) fail(top["unit"], "unknown measurement unit " + inQuotes(unit));
        doc_.unit = *parsedUnit;
        doc_.pageWidth = number(field(root, top, "pageWidth"), top["pageWidth"], 0.0, kFixedMax);
        doc_.pageHeight = number(field(root, top, "pageHeight"), top["pageHeight"], 0.0, kFixedMax);
        if (!(doc_.pageWidth > 0)) fail(top["pageWidth"], "the page width must be above 0");
        if (!(doc_.pageHeight > 0)) fail(top["pageHeight"], "the page height must be above 0");
        doc_.facingPages = boolean(field(root, top, "facingPages"), top["facingPages"]);
        doc_.changeState = static_cast<int>(integer(field(root, top, "changeState"), top["changeState"], 0, kChangeStateMax));
        readView(field(root, top, "view"), top["view"]);

        spreadLists(root, top);
        groups();
        state(root, top);
        return std::move(doc_);
    }

    // Parse events. A box is read as soon as its object is complete and then
    // dropped from the tree, so a large document never stands in memory
    // twice. Until "format" and "version" have shown a layout document of
    // this version, boxes stay in the tree and are read afterwards, so a
    // wrong file is reported as such. Depths as the parser counts them:
    // root object 0, its keys 1, a spread 2, its keys 3, a box 4.
    bool onParse(int depth, Json::parse_event_t event, Json& parsed) {
        using Event = Json::parse_event_t;
        if (depth < 0 || depth > kTrackedDepth) return true;
        const auto d = static_cast<std::size_t>(depth);
        switch (event) {
        case Event::key:
            if (d != 1 && d != 3) return true;  // only root and spread keys matter here
            keys_[d] = parsed.get_ref<const std::string&>();
            if (d == 3 && keys_[3] == "boxes" && inSpread()) {
                if (boxesSeen_) fail(spreadWhere()["boxes"], "field \"boxes\" appears twice");
                boxesSeen_ = true;
            }
            return true;
        case Event::object_start:
        case Event::array_start:
            containers_[d] = event == Event::object_start ? '{' : '[';
            countElement(d);
            if (d == 1 || d == 3) elements_[d + 1] = 0;
            if (d == 2) boxesSeen_ = false;
            return true;
        case Event::value:
            countElement(d);
            if (d == 1 && keys_[1] == "format") formatSeen_ = parsed.is_string() && parsed.get_ref<const std::string&>() == kLayoutFormat;
            if (d == 1 && keys_[1] == "version") versionSeen_ = parsed.is_number_integer() && parsed.get<std::int64_t>() == kLayoutVersion;
            if (d == 4 && inBoxes()) fail(boxWhere(), std::string("expected an object, found ") + typeName(parsed));
            return true;
        case Event::array_end:
            if (d == 4 && inBoxes()) fail(boxWhere(), "expected an object, found array");
            return true;
        case Event::object_end:
            if (d == 4 && inBoxes() && formatSeen_ && versionSeen_) {
                const std::size_t listIndex = keys_[1] == "masters" ? 0 : 1;
                box(parsed, boxWhere(), BoxPlace{listIndex, elements_[2] - 1, elements_[4] - 1});
                return false;  // read: drop it from the tree
            }
            return true;
        }
        return true;
    }

private:
    static constexpr int kTrackedDepth = 4;

    void countElement(std::size_t depth) {
        if (depth == 2 || depth == 4) ++elements_[depth];
    }

    bool inSpread() const {
        return containers_[0] == '{' && containers_[1] == '[' && containers_[2] == '{' &&
               (keys_[1] == "masters" || keys_[1] == "spreads");
    }
    bool inBoxes() const { return inSpread() && containers_[3] == '[' && keys_[3] == "boxes"; }

    // The place of the spread and box being parsed, as JSON pointer parts.
    Where spreadWhere() {
        listWhere_ = Where{&top_, keys_[1], 0, false};
        return Where{&listWhere_, {}, elements_[2] - 1, true};
    }
    Where boxWhere() {
        spreadWhere_ = spreadWhere();
        boxesWhere_ = Where{&spreadWhere_, "boxes", 0, false};
        return Where{&boxesWhere_, {}, elements_[4] - 1, true};
    }

    void readView(const Json& value, const Where& where) {
        object(value, where);
        onlyKeys(value, where, {"scale", "originH", "originV"});
        doc_.view.scale = static_cast<Fixed>(integer(field(value, where, "scale"), where["scale"], 1, std::numeric_limits<Fixed>::max()));
        doc_.view.originH = number(field(value, where, "originH"), where["originH"], -kMaxViewOrigin, kMaxViewOrigin);
        doc_.view.originV = number(field(value, where, "originV"), where["originV"], -kMaxViewOrigin, kMaxViewOrigin);
    }

    void spreadLists(const Json& root, const Where& top) {
        const Where mastersAt = top["masters"];
        const Json& masters = array(field(root, top, "masters"), mastersAt);
        const Where spreadsAt = top["spreads"];
        const Json& spreads = array(field(root, top, "spreads"), spreadsAt);
        for (std::size_t i = 0; i < masters.size(); ++i) spread(masters[i], mastersAt[i], 0, i, masters.size());
        for (std::size_t i = 0; i < spreads.size(); ++i) spread(spreads[i], spreadsAt[i], 1, i, masters.size());
    }

    void spread(const Json& value, const Where& where, std::size_t listIndex, std::size_t index, std::size_t masterCount) {
        object(value, where);
        onlyKeys(value, where, {"name", "width", "height", "pages", "boxes"});
        Spread s;
        s.name = string(field(value, where, "name"), where["name"]);
        s.width = number(field(value, where, "width"), where["width"], 0.0, kFixedMax);
        s.height = number(field(value, where, "height"), where["height"], 0.0, kFixedMax);
        const Where pagesAt = where["pages"];
        const Json& pages = array(field(value, where, "pages"), pagesAt);
        std::int64_t& counted = listIndex == 0 ? masterPages_ : documentPages_;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const Where at = pagesAt[i];
            const Json& entry = object(pages[i], at);
            onlyKeys(entry, at, {"name", "master", "left", "top"});
            Page page;
            page.name = string(field(entry, at, "name"), at["name"]);
            const auto mastersAllowed = static_cast<std::int64_t>(listIndex == 0 ? 0 : masterCount);
            page.master = static_cast<int>(integer(field(entry, at, "master"), at["master"], 0, mastersAllowed));
            page.left = number(field(entry, at, "left"), at["left"], kFixedMin, kFixedMax);
            page.top = number(field(entry, at, "top"), at["top"], kFixedMin, kFixedMax);
            if (++counted > kMaxPageCount) fail(at, "more than " + std::to_string(kMaxPageCount) + " pages");
            s.pages.push_back(std::move(page));
        }
        const int number = listIndex == 0 ? doc_.addMasterSpread(std::move(s)) : doc_.addSpread(std::move(s));
        if (number == 0) fail(where, "too many spreads");

        // Boxes were mostly read during parsing (see onParse); those still in
        // the tree were parsed before the format was known.
        const Where boxesAt = where["boxes"];
        const Json& boxes = array(field(value, where, "boxes"), boxesAt);
        for (std::size_t i = 0; i < boxes.size(); ++i) box(boxes[i], boxesAt[i], BoxPlace{listIndex, index, i});
        std::vector<Box>* read = pendingFor(listIndex, index);
        for (Box& b : *read) {
            const BoxId id = b.id();
            Box& placed = DocumentAccess::boxes(doc_).emplace(id, std::move(b)).first->second;
            DocumentAccess::appendToChain(doc_, placed);
        }
        read->clear();
        read->shrink_to_fit();
    }

    std::vector<Box>* pendingFor(std::size_t listIndex, std::size_t spreadIndex) {
        auto& list = pending_[listIndex];
        if (list.size() <= spreadIndex) list.resize(spreadIndex + 1);
        return &list[spreadIndex];
    }

    void box(const Json& value, const Where& where, const BoxPlace& place) {
        const int spreadNumber = place.listIndex == 0 ? -static_cast<int>(place.spreadIndex + 1)
                                                      : static_cast<int>(place.spreadIndex + 1);
        object(value, where);
        onlyKeys(value, where, {"id", "kind", "shape", "bounds", "members", "text", "picture", "boxSlugs", "pictureSlugs"});
        const Where idAt = where["id"];
        const auto id = static_cast<BoxId>(integer(field(value, where, "id"), idAt, std::numeric_limits<BoxId>::min(),
                                                   std::numeric_limits<BoxId>::max()));
        if (id == 0) fail(idAt, "box id 0 is not allowed (0 ends every box chain)");
        const std::string& kindName = string(field(value, where, "kind"), where["kind"]);
        const auto kind = boxKindFromName(kindName);
        if (!kind) fail(where["kind"], "unknown box kind " + inQuotes(kindName) + " (text, picture, line or group)");
        int shape = kShapeRectangle;
        if (const Json* s = optionalField(value, "shape")) shape = static_cast<int>(integer(*s, where["shape"], 0, kShapeMax));
        const Rect bounds = rect(field(value, where, "bounds"), where["bounds"]);

        const auto [at, fresh] = places_.emplace(id, place);
        if (!fresh) fail(idAt, "box id " + std::to_string(id) + " is used twice (first at " + at->second.pointer() + ")");

        Box box;
        DocumentAccess::setStructure(box, id, *kind, shape, bounds, spreadNumber);
        if (id > maxId_) maxId_ = id;

        const Json* members = optionalField(value, "members");
        if (*kind == kBoxGroup) {
            if (!members) fail(where, "a group box needs \"members\"");
            const Where membersAt = where["members"];
            array(*members, membersAt);
            if (members->empty()) fail(membersAt, "a group has at least one member");
            std::vector<BoxId> list;
            for (std::size_t i = 0; i < members->size(); ++i) {
                list.push_back(static_cast<BoxId>(integer((*members)[i], membersAt[i], std::numeric_limits<BoxId>::min(),
                                                          std::numeric_limits<BoxId>::max())));
            }
            DocumentAccess::setMembers(box, std::move(list));
            groups_.push_back(id);
        } else if (members) {
            fail(where["members"], std::string("only group boxes have members, not a ") + boxKindName(*kind) + " box");
        }
        if (const Json* text = optionalField(value, "text")) {
            if (*kind != kBoxText) fail(where["text"], std::string("only text boxes hold text, not a ") + boxKindName(*kind) + " box");
            DocumentAccess::setText(box, string(*text, where["text"]));
        }
        if (const Json* pic = optionalField(value, "picture")) {
            if (*kind != kBoxPicture) {
                fail(where["picture"], std::string("only picture boxes hold pictures, not a ") + boxKindName(*kind) + " box");
            }
            DocumentAccess::setPicture(box, picture(*pic, where["picture"]));
        }
        if (const Json* list = optionalField(value, "boxSlugs")) {
            DocumentAccess::slugs(box, SlugKind::box) = slugs(*list, where["boxSlugs"]);
        }
        if (const Json* list = optionalField(value, "pictureSlugs")) {
            DocumentAccess::slugs(box, SlugKind::picture) = slugs(*list, where["pictureSlugs"]);
        }
        pendingFor(place.listIndex, place.spreadIndex)->push_back(std::move(box));
    }

    // Members exist, share the group's spread, belong to one group only, and
    // no group contains itself.
    void groups() {
        for (const BoxId groupId : groups_) {
            Box* group = DocumentAccess::box(doc_, groupId);
            const std::string at = places_.at(groupId).pointer() + "/members";
            for (std::size_t i = 0; i < group->members().size(); ++i) {
                const BoxId memberId = group->members()[i];
                const std::string memberAt = at + "/" + std::to_string(i);
                Box* member = DocumentAccess::box(doc_, memberId);
                if (!member) throw Failure{memberAt, "group member " + std::to_string(memberId) + " does not exist"};
                if (memberId == groupId) throw Failure{memberAt, "a group cannot contain itself"};
                if (member->spread() != group->spread()) {
                    throw Failure{memberAt, "group member " + std::to_string(memberId) + " lies on another spread (" +
                                                places_.at(memberId).pointer() + ")"};
                }
                if (member->group() != 0) {
                    throw Failure{memberAt, "box " + std::to_string(memberId) + " is a member of groups " +
                                                std::to_string(member->group()) + " and " + std::to_string(groupId)};
                }
                DocumentAccess::setGroup(*member, groupId);
            }
        }
        // Each box has at most one group now; a cycle would make the walk
        // upwards come back to a box of the walk in progress.
        std::unordered_map<BoxId, char> mark;  // 1: on the current walk, 2: known to reach the top
        for (const BoxId start : groups_) {
            std::vector<BoxId> walk;
            BoxId id = start;
            while (id != 0 && mark[id] == 0) {
                mark[id] = 1;
                walk.push_back(id);
                id = DocumentAccess::box(doc_, id)->group();
            }
            if (id != 0 && mark[id] == 1) {
                throw Failure{places_.at(id).pointer(), "group " + std::to_string(id) + " contains itself through its members"};
            }
            for (const BoxId done : walk) mark[done] = 2;
        }
    }

    void state(const Json& root, const Where& top) {
        const std::int64_t maxPositive = std::max<std::int64_t>(maxId_, 0);
        const std::int64_t nextId = integer(field(root, top, "nextBoxId"), top["nextBoxId"], 1,
                                            std::int64_t{std::numeric_limits<BoxId>::max()} + 1);
        if (nextId <= maxPositive) {
            fail(top["nextBoxId"], "must be above every box id (the highest is " + std::to_string(maxPositive) + ")");
        }
        const int currentPage =
            static_cast<int>(integer(field(root, top, "currentPage"), top["currentPage"], 0, doc_.numPages()));
        const int showMaster =
            static_cast<int>(integer(field(root, top, "showMaster"), top["showMaster"], 0, doc_.numMasterSpreads()));
        const auto currentBox = static_cast<BoxId>(integer(field(root, top, "currentBox"), top["currentBox"],
                                                           std::numeric_limits<BoxId>::min(), std::numeric_limits<BoxId>::max()));
        if (currentBox != 0 && !doc_.findBox(currentBox)) {
            fail(top["currentBox"], "box " + std::to_string(currentBox) + " does not exist");
        }
        const Where selectionAt = top["selection"];
        const Json& selected = array(field(root, top, "selection"), selectionAt);
        std::vector<BoxId> selection;
        std::unordered_set<BoxId> seen;
        for (std::size_t i = 0; i < selected.size(); ++i) {
            const auto id = static_cast<BoxId>(integer(selected[i], selectionAt[i], std::numeric_limits<BoxId>::min(),
                                                       std::numeric_limits<BoxId>::max()));
            if (!doc_.findBox(id)) fail(selectionAt[i], "box " + std::to_string(id) + " does not exist");
            if (!seen.insert(id).second) fail(selectionAt[i], "box " + std::to_string(id) + " is selected twice");
            selection.push_back(id);
        }
        DocumentAccess::setState(doc_, currentPage, showMaster, currentBox, std::move(selection), nextId);
    }

    Document doc_;
    std::vector<std::vector<Box>> pending_[2];  // boxes read while parsing, by list and spread
    std::string keys_[kTrackedDepth + 1];
    char containers_[kTrackedDepth + 1] = {};
    std::size_t elements_[kTrackedDepth + 1] = {};
    bool boxesSeen_ = false;
    bool formatSeen_ = false;
    bool versionSeen_ = false;
    Where top_;
    Where listWhere_, spreadWhere_, boxesWhere_;
    std::unordered_map<BoxId, BoxPlace> places_;
    std::vector<BoxId> groups_;
    BoxId maxId_ = 0;
    std::int64_t masterPages_ = 0;
    std::int64_t documentPages_ = 0;
};

std::string withoutLibraryPrefix(std::string text) {
    // nlohmann prefixes "[json.exception.parse_error.101] "; the reader needs only the rest.
    if (text.starts_with("[json.exception.")) {
        const std::size_t end = text.find("] ");
        if (end != std::string::npos) text.erase(0, end + 2);
    }
    return text;
}

}  // namespace

LoadResult parseDocument(std::string_view text, std::string_view source) {
    LoadResult result;
    const std::string prefix = std::string(source) + ": ";
    try {
        if (text.empty()) {
            result.error = prefix + "the file is empty";
            return result;
        }
        Reader reader;
        const Json root = Json::parse(
            text.begin(), text.end(),
            [&reader](int depth, Json::parse_event_t event, Json& parsed) { return reader.onParse(depth, event, parsed); });
        result.document = reader.read(root);
    } catch (const Failure& failure) {
        result.document.reset();
        result.error = prefix + (failure.pointer.empty() ? "" : failure.pointer + ": ") + failure.reason;
    } catch (const Json::parse_error& error) {
        result.document.reset();
        result.error = prefix + "not valid JSON (" + withoutLibraryPrefix(error.what()) + ")";
    } catch (const std::bad_alloc&) {
        result.document.reset();
        result.error = prefix + "not enough memory";
    } catch (const std::exception& error) {
        result.document.reset();
        result.error = prefix + withoutLibraryPrefix(error.what());
    }
    return result;
}

LoadResult loadDocument(const std::string& path) {
    LoadResult result;
    std::FILE* file = desktop::files::openToRead(path);
    if (!file) {
        result.error = path + ": cannot open: " + std::strerror(errno);
        return result;
    }
    std::string text;
    try {
        // Read in one allocation when the size is known (a regular file).
        struct stat info {};
        if (::fstat(fileno(file), &info) == 0 && info.st_size > 0 && info.st_size <= kMaxLayoutFileSize) {
            text.reserve(static_cast<std::size_t>(info.st_size));
        }
        char buffer[65536];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            if (static_cast<std::int64_t>(text.size() + got) > kMaxLayoutFileSize) {
                std::fclose(file);
                result.error = path + ": the file is larger than " + std::to_string(kMaxLayoutFileSize) + " bytes";
                return result;
            }
            text.append(buffer, got);
        }
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        result.error = path + ": not enough memory";
        return result;
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        result.error = path + ": cannot read";
        return result;
    }
    return parseDocument(text, path);
}

}  // namespace hostsim
