// Files named by UTF-8 text, as every path of the host simulator is. POSIX
// takes the bytes as they are; Windows needs the wide name, because its
// narrow functions (fopen, std::filesystem's narrow paths, the picture
// libraries' narrow opens) read a name in the ANSI code page, and a name
// with "Ä" or a character outside the BMP would name another file or none.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace desktop::files {

// The path a UTF-8 name stands for; empty when the text is not UTF-8 the
// system can take.
std::filesystem::path pathOf(std::string_view utf8);

// A path's name as UTF-8; empty when it cannot be written so.
std::string nameOf(const std::filesystem::path& path);

// Opens the file of a UTF-8 name for reading bytes; nullptr with errno set
// (ENOENT for a name that is no valid UTF-8) when it cannot.
std::FILE* openToRead(const std::string& utf8);

}  // namespace desktop::files
