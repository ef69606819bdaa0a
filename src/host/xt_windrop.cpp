#include "host/xt_windrop.h"

#include <new>
#include <vector>

#include "host/xt_documents.h"
#include "host/xt_groups.h"

namespace lumbrel {

namespace {

const XTWinDropGroup* gDropGroup = nullptr;

// A member the host's table reaches: tables of older hosts end before it.
template <typename Member>
bool hasMember(Member XTWinDropGroup::*member) noexcept {
    if (gDropGroup == nullptr) return false;
    const auto* base = reinterpret_cast<const char*>(gDropGroup);
    const auto* field = reinterpret_cast<const char*>(&(gDropGroup->*member));
    return static_cast<std::size_t>(field - base) + sizeof(Member) <= gDropGroup->size &&
           gDropGroup->*member != nullptr;
}

}  // namespace

bool acquireWinDropGroup() {
    if (gDropGroup != nullptr) return true;
    if (gXtCallbacks == nullptr || gXtCallbacks->acquireGroup == nullptr) return false;
    const void* table = nullptr;
    if (gXtCallbacks->acquireGroup(XT_GROUP_WINDROP, &table) != 0 || table == nullptr) return false;
    gDropGroup = static_cast<const XTWinDropGroup*>(table);
    return true;
}

void setWinDropGroup(const XTWinDropGroup* group) noexcept {
    gDropGroup = group;
}

bool xt_makefilespec(const char* path, XTFileSpec* spec) {
    if (path == nullptr || spec == nullptr || !hasMember(&XTWinDropGroup::makeFileSpec)) return false;
    *spec = XTFileSpec{};
    spec->size = sizeof(XTFileSpec);
    if (gDropGroup->makeFileSpec(path, spec) != XT_NOERR) return false;
    // Whatever the host wrote, the path stays terminated within its field.
    spec->path[sizeof spec->path - 1] = '\0';
    spec->label[0] = '\0';
    return spec->path[0] != '\0';
}

std::string xt_importextensions(std::int16_t contentKind) {
    if (!hasMember(&XTWinDropGroup::importExtensions)) return {};
    try {
        std::vector<char> buffer(256);
        std::int32_t length = gDropGroup->importExtensions(contentKind, buffer.data(),
                                                           static_cast<std::int32_t>(buffer.size()));
        constexpr std::int32_t kMaxList = 64 * 1024;
        if (length >= static_cast<std::int32_t>(buffer.size()) && length < kMaxList) {
            buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
            length = gDropGroup->importExtensions(contentKind, buffer.data(), static_cast<std::int32_t>(buffer.size()));
        }
        if (length <= 0 || length >= static_cast<std::int32_t>(buffer.size())) return {};
        return std::string(buffer.data(), static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

void xt_dragaccepted(XTWindow target) {
    if (hasMember(&XTWinDropGroup::dragAccepted)) gDropGroup->dragAccepted(XT_MODULE_CODE, target);
}

void xt_slugnotice(XTBoxID box, std::int16_t kind, OSType key, std::int32_t value) {
    if (hasCurrentDocument() && hasMember(&XTWinDropGroup::slugNotice)) gDropGroup->slugNotice(box, kind, key, value);
}

bool currentLayerLocked() {
    if (gLayersActive == 0 || gXtLayers == nullptr || gXtLayers->currentLayerFlags == nullptr) return false;
    return (gXtLayers->currentLayerFlags() & 1) != 0;
}

std::int16_t xt_boxkind(XTBoxID box) {
    if (box == 0 || !hasCurrentDocument() || gXtBox.boxKind == nullptr) return 0;
    return gXtBox.boxKind(box);
}

void xt_deselectall() {
    if (hasCurrentDocument() && gXtBox.deselectAll != nullptr) gXtBox.deselectAll();
}

void xt_selectwindow(XTWindow window) {
    if (window != 0 && gXtWindow.selectWindow != nullptr) gXtWindow.selectWindow(window);
}

XTError xt_importtext(XTBoxID box, const char* path) {
    if (box == 0 || path == nullptr || !hasCurrentDocument() || gXtImport.importText == nullptr) return -1;
    return gXtImport.importText(box, path);
}

XTError xt_setupclipping(XTBoxID box) {
    if (box == 0 || !hasCurrentDocument() || gXtPicture.setupClipping == nullptr) return XT_PARAMERR;
    return gXtPicture.setupClipping(box);
}

void xt_setrecordpicturescale(XTHandle record, Fixed horizontal, Fixed vertical) {
    if (record != 0 && gXtBoxRecord.setRecordPictureScale != nullptr) {
        gXtBoxRecord.setRecordPictureScale(record, horizontal, vertical);
    }
}

}  // namespace lumbrel
