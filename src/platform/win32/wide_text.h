// UTF-8, the module's text, to and from UTF-16, the text of the Win32 API.
// Text that is not valid in its encoding is refused rather than guessed at.
#pragma once

#include <cstddef>
#include <string>

namespace lumbrel::platform::win32 {

bool toWide(const char* utf8, std::wstring& out) noexcept;
bool toUtf8(const wchar_t* wide, std::size_t length, std::string& out) noexcept;
bool toUtf8(const wchar_t* wide, std::string& out) noexcept;

}  // namespace lumbrel::platform::win32
