// 'WDR\1': dropping on the Windows host — file records, the import
// filters' extensions, and two calls a module makes about a drag and a box
// that this host only records.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace hostsim {

namespace {

constexpr const char* G = "windrop";

// What the host imports, by content kind; the picture reader decides by
// content, these only let a file through.
constexpr const char* kPictureExtensions = "tif;tiff;jpg;jpeg;png;gif;eps;pdf;psd";
constexpr const char* kTextExtensions = "txt;text";

std::filesystem::path fsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

XTError makeFileSpec(const char* path, XTFileSpec* spec) {
    return hostCall<XTError>(G, "makeFileSpec", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (path == nullptr || spec == nullptr) {
            rt.violation(G, "makeFileSpec", "got no path or no file record");
            return XTError{XT_PARAMERR};
        }
        if (spec->size != static_cast<std::int32_t>(sizeof(XTFileSpec))) {
            rt.violation(G, "makeFileSpec", "got a file record of size " + std::to_string(spec->size));
            return XTError{XT_PARAMERR};
        }
        const std::string file(path, strnlen(path, sizeof spec->path));
        if (file.empty() || file.size() >= sizeof spec->path) return XTError{XT_PARAMERR};
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(fsPath(file), error);
        if (error || !std::filesystem::exists(status)) return XTError{XT_FNF};
        *spec = XTFileSpec{};
        spec->size = sizeof(XTFileSpec);
        spec->attributes = std::filesystem::is_directory(status) ? XT_FILESPEC_FOLDER : 0;
        std::memcpy(spec->path, file.data(), file.size());
        return XTError{XT_NOERR};
    });
}

std::int32_t importExtensions(std::int16_t contentKind, char* buffer, std::int32_t size) {
    return hostCall<std::int32_t>(G, "importExtensions", kNeedNothing, 0, [=](Runtime& rt) {
        if (size < 0 || (buffer == nullptr && size > 0)) {
            rt.violation(G, "importExtensions", "got no buffer or a negative size");
            return std::int32_t{0};
        }
        const char* list = contentKind == XT_BOX_PICTURE ? kPictureExtensions
                           : contentKind == XT_BOX_TEXT  ? kTextExtensions
                                                         : "";
        return copyOut(list, buffer, size);
    });
}

void dragAccepted(OSType moduleCode, XTWindow target) {
    hostCallVoid(G, "dragAccepted", kNeedNothing, [=](Runtime& rt) {
        rt.note("drag taken by module " + fourCCLabel(moduleCode) + " for window " + std::to_string(target));
    });
}

void slugNotice(XTBoxID box, std::int16_t kind, OSType key, std::int32_t value) {
    hostCallVoid(G, "slugNotice", kNeedDocument, [=](Runtime& rt) {
        rt.note("slug notice: box " + std::to_string(box) + ", kind " + std::to_string(kind) + ", " +
                fourCCLabel(key) + ", " + std::to_string(value));
    });
}

const XTWinDropGroup kTable{sizeof(XTWinDropGroup), makeFileSpec, importExtensions, dragAccepted, slugNotice};

}  // namespace

const XTWinDropGroup& winDropGroupTable() { return kTable; }

}  // namespace hostsim
