#include "host/xt_pictures.h"

#include <algorithm>

#include "filetypes/file_types.h"
#include "host/xt_boxes.h"
#include "host/xt_documents.h"
#include "host/xt_groups.h"

namespace lumbrel {

namespace {

std::int32_t hostSize(std::size_t size) noexcept {
    return static_cast<std::int32_t>(std::min<std::size_t>(size, INT32_MAX));
}

XTError importInto(XTBoxID box, const char* path) {
    if (box == 0 || path == nullptr || *path == '\0' || !hasCurrentDocument()) return -1;
    return gXtImport.importPicture(box, path);
}

}  // namespace

int XTGetBoxPath(XTBoxID box, char* buffer, std::size_t size, FileTypeCode* type) {
    if (type != nullptr) *type = kTypeNone;
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    if (!xt_ispictbox(box)) return 0;
    const std::int32_t length = gXtPicture.picturePath(box, buffer, hostSize(size));
    if (length <= 0 || static_cast<std::size_t>(length) >= size) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[length] = '\0';
    if (type != nullptr) *type = getFileType(buffer);
    return 1;
}

std::int16_t XTGetPictureStatus(XTBoxID box, char* text, std::size_t textSize) {
    if (text != nullptr && textSize > 0) text[0] = '\0';
    if (!xt_ispictbox(box)) return XT_STATUS_OK;
    char scratch[kShortTextSize] = {};
    char* target = text != nullptr && textSize > 0 ? text : scratch;
    const std::size_t capacity = text != nullptr && textSize > 0 ? textSize : sizeof scratch;
    const std::int16_t status = gXtPicture.status(box, target, hostSize(capacity));
    target[capacity - 1] = '\0';
    return status;
}

OSType XTGetColorSpace(XTBoxID box) {
    if (!xt_ispictbox(box)) return 0;
    return gXtPicture.colorSpace(box);
}

bool XTGetPictBounds(XTBoxID box, XTFixedRect* bounds) {
    if (bounds == nullptr || !xt_ispictbox(box)) return false;
    XTFixedRect answer{};
    if (gXtPicture.pictureBounds(box, &answer) != XT_NOERR) return false;
    *bounds = answer;
    return true;
}

float XTGetPictResolution(XTBoxID box) {
    if (!xt_ispictbox(box)) return 0.0F;
    return static_cast<float>(gXtPicture.resolution(box));
}

bool XTGetPictResolutionXY(XTBoxID box, PictureResolution* resolution) {
    if (resolution == nullptr || !xt_ispictbox(box) || !hasCurrentDocument()) return false;
    // A host of an older table copies only its own members: the later ones stay 0.
    resolution->horizontal = gXtPicture.resolution(box);
    resolution->vertical = gXtPicture.resolutionV != nullptr ? gXtPicture.resolutionV(box) : resolution->horizontal;
    return true;
}

bool XTGetPictScale(XTBoxID box, Fixed* horizontal, Fixed* vertical) {
    if (horizontal == nullptr || vertical == nullptr || !xt_ispictbox(box) || !hasCurrentDocument()) return false;
    if (gXtPicture.pictureScale == nullptr) return false;
    Fixed h = 0;
    Fixed v = 0;
    if (gXtPicture.pictureScale(box, &h, &v) != XT_NOERR) return false;
    *horizontal = h;
    *vertical = v;
    return true;
}

XTError XTLoadBox(XTBoxID box, const char* path) {
    return importInto(box, path);
}

XTError XTReplacePict(XTBoxID box, const char* path) {
    return importInto(box, path);
}

}  // namespace lumbrel
