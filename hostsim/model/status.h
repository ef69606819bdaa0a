// Result codes of the model's operations. 0 and the small negative numbers
// are the classic host error codes a module may see and pass on to the host's
// error display; the codes below -1000 are this host's own import failures.
#pragma once

namespace hostsim {

inline constexpr int kNoErr = 0;
inline constexpr int kErrIO = -36;            // the file could not be read
inline constexpr int kErrFileNotFound = -43;  // no such file
inline constexpr int kErrParam = -50;         // no such box, wrong kind of box, value out of range
inline constexpr int kErrMemFull = -108;      // no memory

inline constexpr int kErrUnknownFormat = -1001;       // not a picture format this host imports
inline constexpr int kErrDamagedPicture = -1002;      // the file says it is a picture but is damaged or cut short
inline constexpr int kErrEmptyFile = -1003;           // the file holds no bytes
inline constexpr int kErrUnsupportedPicture = -1004;  // a picture of a known format in a variant not imported
inline constexpr int kErrNoSuchPage = -1005;          // a PDF page number above the page count
inline constexpr int kErrBadFileName = -1006;         // a file name that is not valid UTF-8

// A short English text for a code ("" for 0).
const char* statusText(int status) noexcept;

}  // namespace hostsim
