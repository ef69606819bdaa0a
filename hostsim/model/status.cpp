#include "status.h"

namespace hostsim {

const char* statusText(int status) noexcept {
    switch (status) {
    case kNoErr: return "";
    case kErrIO: return "The file could not be read.";
    case kErrFileNotFound: return "File not found.";
    case kErrParam: return "Bad parameter.";
    case kErrMemFull: return "Not enough memory.";
    case kErrUnknownFormat: return "The file is not in a picture format that can be imported.";
    case kErrDamagedPicture: return "The picture file is damaged or incomplete.";
    case kErrEmptyFile: return "The file is empty.";
    case kErrUnsupportedPicture: return "This kind of picture cannot be imported.";
    case kErrNoSuchPage: return "The PDF file has no such page.";
    case kErrBadFileName: return "The file name is not valid UTF-8.";
    default: return "Unknown error.";
    }
}

}  // namespace hostsim
