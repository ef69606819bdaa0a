#include "host/xt_files.h"

#include "host/xt_groups.h"

namespace lumbrel {

XTFileRef XTCreateFile() {
    return gXtFile.create != nullptr ? gXtFile.create() : nullptr;
}

XTError XTSetFileLocation(XTFileRef file, const char* path) {
    if (file == nullptr || path == nullptr || *path == '\0' || gXtFile.setLocation == nullptr) return XT_PARAMERR;
    return gXtFile.setLocation(file, path);
}

XTError XTOpenReadStream(XTFileRef file, XTStreamRef* stream) {
    if (stream == nullptr) return XT_PARAMERR;
    *stream = nullptr;
    if (file == nullptr || gXtFile.openStream == nullptr) return XT_PARAMERR;
    XTStreamOpenRequest request{};
    request.size = static_cast<std::int16_t>(sizeof request);
    request.access = XT_STREAM_READ;
    XTStreamRef opened = nullptr;
    const XTError error = gXtFile.openStream(file, &request, &opened);
    if (error != XT_NOERR) return error;
    if (opened == nullptr) return XT_PARAMERR;  // a host that answered success without a stream
    *stream = opened;
    return XT_NOERR;
}

XTError XTCloseStream(XTStreamRef stream) {
    if (stream == nullptr) return XT_NOERR;
    if (gXtFile.closeStream == nullptr) return XT_PARAMERR;
    return gXtFile.closeStream(stream);
}

void XTDisposeFile(XTFileRef file) {
    if (file != nullptr && gXtFile.dispose != nullptr) gXtFile.dispose(file);
}

XTError XTOpenReadStreamAt(const char* path, XTStreamRef* stream) {
    if (stream == nullptr) return XT_PARAMERR;
    *stream = nullptr;
    XTFileRef file = XTCreateFile();
    if (file == nullptr) return XT_PARAMERR;
    XTError error = XTSetFileLocation(file, path);
    if (error == XT_NOERR) error = XTOpenReadStream(file, stream);
    XTDisposeFile(file);
    return error;
}

}  // namespace lumbrel
