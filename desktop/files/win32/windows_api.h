// The one way the host simulator's Windows files include <windows.h>: Unicode
// entry points, strict handle types, no min/max macros.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef STRICT
#define STRICT
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace desktop::files {

// UTF-8 as UTF-16 for the wide Win32 functions; empty for empty or invalid text.
inline std::wstring wideText(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > 0x7fffffff) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, out.data(), length);
    return out;
}

// UTF-16 from Win32 as UTF-8; unpaired surrogates become U+FFFD.
inline std::string utf8Text(std::wstring_view wide) {
    if (wide.empty() || wide.size() > 0x7fffffff) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

}  // namespace desktop::files
