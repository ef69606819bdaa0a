#include "platform/win32/wide_text.h"

#include <climits>
#include <cwchar>
#include <new>

#include "platform/win32/windows_api.h"

namespace lumbrel::platform::win32 {

bool toWide(const char* utf8, std::wstring& out) noexcept {
    if (utf8 == nullptr) return false;
    const std::size_t length = std::char_traits<char>::length(utf8);
    if (length == 0) {
        out.clear();
        return true;
    }
    if (length > INT_MAX) return false;
    const int bytes = static_cast<int>(length);
    const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, bytes, nullptr, 0);
    if (units <= 0) return false;
    try {
        std::wstring wide(static_cast<std::size_t>(units), L'\0');
        if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, bytes, wide.data(), units) != units) return false;
        out = std::move(wide);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool toUtf8(const wchar_t* wide, std::size_t length, std::string& out) noexcept {
    if (wide == nullptr) return false;
    if (length == 0) {
        out.clear();
        return true;
    }
    if (length > INT_MAX) return false;
    const int units = static_cast<int>(length);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    try {
        std::string utf8(static_cast<std::size_t>(bytes), '\0');
        if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, units, utf8.data(), bytes, nullptr, nullptr) !=
            bytes)
            return false;
        out = std::move(utf8);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool toUtf8(const wchar_t* wide, std::string& out) noexcept {
    return wide != nullptr && toUtf8(wide, std::wcslen(wide), out);
}

}  // namespace lumbrel::platform::win32
