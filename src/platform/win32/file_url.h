// File URLs of Windows paths, as dragged items carry them: "C:\a b\x.tif" is
// "file:///C:/a%20b/x.tif", "\\server\share\x.tif" is "file://server/share/x.tif".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumbrel::platform::win32 {

// The URL of a path given in UTF-8; an extended-length prefix ("\\?\") is
// dropped. Bytes beyond letters, digits, "-._~" and the separators are
// percent-encoded.
std::string fileUrlFromPath(std::string_view utf8Path);

// The Windows path (UTF-8, backslashes) a file URL names. False for other
// URLs, invalid escapes, an encoded zero byte, a relative path, or a path
// longer than `limit` bytes. A trailing separator is dropped except at a
// drive's root.
bool pathFromFileUrl(std::string_view url, std::string& path, std::size_t limit);

}  // namespace lumbrel::platform::win32
