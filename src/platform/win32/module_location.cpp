#include "platform/module_location.h"

#include <cstring>
#include <exception>
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

// Paths longer than MAX_PATH exist ("\\?\" paths, long-path aware
// systems): the buffer grows until the whole name fits, up to the longest
// path the system knows.
constexpr DWORD kLongestPath = 32768;

bool moduleFileName(HMODULE module, std::wstring& out) {
    for (DWORD capacity = MAX_PATH + 1;; capacity *= 2) {
        if (capacity > kLongestPath) capacity = kLongestPath;
        out.resize(capacity);
        const DWORD length = ::GetModuleFileNameW(module, out.data(), capacity);
        if (length == 0) return false;
        // A name that fills the buffer was cut short (the count then equals
        // the capacity on every system version).
        if (length < capacity) {
            out.resize(length);
            return true;
        }
        if (capacity == kLongestPath) return false;
    }
}

bool copyAsUtf8(const std::wstring& path, char* out, std::size_t outSize) {
    std::string utf8;
    if (!win32::toUtf8(path.c_str(), path.size(), utf8)) return false;
    if (out == nullptr || utf8.size() + 1 > outSize) return false;
    std::memcpy(out, utf8.c_str(), utf8.size() + 1);
    return true;
}

bool findFileOf(HMODULE module, char* out, std::size_t outSize) noexcept {
    try {
        std::wstring path;
        return moduleFileName(module, path) && copyAsUtf8(path, out, outSize);
    } catch (const std::exception&) {  // out of memory
        return false;
    }
}

}  // namespace

bool findModuleFile(const void* address, char* out, std::size_t outSize) noexcept {
    HMODULE module = nullptr;
    if (address == nullptr ||
        !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(address), &module))
        return false;
    return findFileOf(module, out, outSize);
}

bool findApplicationFile(char* out, std::size_t outSize) noexcept {
    return findFileOf(nullptr, out, outSize);
}

}  // namespace lumbrel::platform
