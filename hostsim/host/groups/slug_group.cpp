// "xtslug": byte blocks kept in the document with a box (kind 0) or with
// its picture (kind 1). Values are bytes, NUL included.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include <algorithm>
#include <cstring>

namespace hostsim {

namespace {

constexpr const char* G = "xtslug";

// The box a slug call means (owner 0: the current box) and its collection;
// false when the call cannot reach one.
bool resolve(Runtime& rt, const char* field, XTBoxID owner, std::int16_t kind, XTBoxID& box, SlugKind& which) {
    if (kind != XT_SLUG_BOX && kind != XT_SLUG_PICTURE) {
        rt.violation(G, field, "got the slug kind " + std::to_string(kind) + " (0 or 1)");
        return false;
    }
    const Document& doc = *rt.currentDocument();
    box = owner != 0 ? owner : doc.currentBox();
    const Box* b = doc.findBox(box);
    if (b == nullptr) return false;
    // Picture slugs live with a picture box.
    if (kind == XT_SLUG_PICTURE && !b->isPicture()) return false;
    which = kind == XT_SLUG_BOX ? SlugKind::box : SlugKind::picture;
    return true;
}

std::int32_t getSlugData(XTBoxID owner, std::int16_t kind, OSType key, void* buffer, std::int32_t size) {
    return hostCall<std::int32_t>(G, "getSlugData", kNeedDocument, -1, [=](Runtime& rt) {
        if (size < 0 || (buffer == nullptr && size > 0)) {
            rt.violation(G, "getSlugData", "got no buffer or a negative size");
            return -1;
        }
        XTBoxID box = 0;
        SlugKind which = SlugKind::box;
        if (!resolve(rt, "getSlugData", owner, kind, box, which)) return -1;
        const std::string* value = rt.currentDocument()->slug(box, which, key);
        if (value == nullptr) return -1;
        const std::size_t n = std::min(value->size(), static_cast<std::size_t>(size));
        if (n > 0) std::memcpy(buffer, value->data(), n);
        return static_cast<std::int32_t>(std::min<std::size_t>(value->size(), INT32_MAX));
    });
}

XTHandle getSlug(XTBoxID owner, std::int16_t kind, OSType key) {
    return hostCall<XTHandle>(G, "getSlug", kNeedDocument, 0, [=](Runtime& rt) {
        XTBoxID box = 0;
        SlugKind which = SlugKind::box;
        if (!resolve(rt, "getSlug", owner, kind, box, which)) return XTHandle{0};
        const std::string* value = rt.currentDocument()->slug(box, which, key);
        if (value == nullptr) return XTHandle{0};
        HandleEntry entry;
        entry.bytes.assign(value->begin(), value->end());
        entry.bytes.reserve(1);
        return rt.newHandle(std::move(entry));
    });
}

XTError setSlug(XTBoxID owner, std::int16_t kind, OSType key, XTHandle data) {
    return hostCall<XTError>(G, "setSlug", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        HandleEntry* entry = rt.lookupHandle(data, false, G, "setSlug");
        if (entry == nullptr) return XTError{XT_PARAMERR};
        XTBoxID box = 0;
        SlugKind which = SlugKind::box;
        if (!resolve(rt, "setSlug", owner, kind, box, which)) return XTError{XT_PARAMERR};
        const std::string_view bytes(reinterpret_cast<const char*>(entry->bytes.data()), entry->bytes.size());
        const int answer = rt.currentDocument()->setSlug(box, which, key, bytes);
        if (answer == kNoErr) {
            rt.note(std::string(which == SlugKind::box ? "box" : "picture") + " slug " + fourCCLabel(key) +
                    " of box " + std::to_string(box) + " set (" + std::to_string(bytes.size()) + " bytes)");
        }
        return XTError{answer};
    });
}

const XTSlugGroup kTable{sizeof(XTSlugGroup), getSlugData, getSlug, setSlug};

}  // namespace

const XTSlugGroup& slugGroupTable() { return kTable; }

}  // namespace hostsim
