#include "host/xt_slugs.h"

#include <algorithm>
#include <cstring>

#include "host/xt_boxes.h"
#include "host/xt_documents.h"
#include "host/xt_groups.h"
#include "host/xt_pictures.h"

namespace lumbrel {

std::int32_t getslugdata(XTBoxID owner, std::int16_t kind, OSType key, void* buffer, std::int32_t size) {
    if (buffer == nullptr || size < 0 || !hasCurrentDocument()) return -1;
    const std::int32_t length = gXtSlug.getSlugData(owner, kind, key, buffer, size);
    if (length < 0) return -1;
    return std::min(length, size);
}

XTHandle getslug(XTBoxID owner, std::int16_t kind, OSType key) {
    if (!hasCurrentDocument()) return 0;
    return gXtSlug.getSlug(owner, kind, key);
}

XTError xt_setslugdata(XTBoxID owner, std::int16_t kind, OSType key, const void* bytes, std::int32_t length) {
    if (length < 0 || (bytes == nullptr && length > 0)) return XT_PARAMERR;
    const XTHandle handle = gXtMemory.newHandle(length);
    if (handle == 0) return XT_MEMFULL;
    void* data = gXtMemory.handleData(handle);
    if (data == nullptr && length > 0) {
        gXtMemory.disposeHandle(handle);
        return XT_MEMFULL;
    }
    if (length > 0) std::memcpy(data, bytes, static_cast<std::size_t>(length));

    const XTError error = gXtSlug.setSlug(owner, kind, key, handle);
    // The host keeps its own copy.
    gXtMemory.disposeHandle(handle);
    if (error == XT_NOERR) {
        verydirty();
    } else {
        gXtError.showError(error);
    }
    return error;
}

std::int32_t getImgName(XTBoxID box, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    const auto room = static_cast<std::int32_t>(std::min<std::size_t>(size - 1, INT32_MAX));
    const std::int32_t length = getslugdata(box, XT_SLUG_BOX, XT_SLUG_IMAGENAME, buffer, room);
    if (length <= 0) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[length] = '\0';
    // A name stored with its terminating zero counts up to that zero.
    return static_cast<std::int32_t>(std::strlen(buffer));
}

std::int32_t getPathOrName(XTBoxID box, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    if (xt_ispictbox(box) && XTGetBoxPath(box, buffer, size) == 1) return static_cast<std::int32_t>(std::strlen(buffer));
    return getImgName(box, buffer, std::min(size, kShortTextSize));
}

}  // namespace lumbrel
