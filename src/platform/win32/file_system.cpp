#include "platform/file_system.h"

#include <fcntl.h>
#include <io.h>

#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "platform/win32/file_attributes.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

using win32::toWide;

// Closes a handle however the function leaves.
struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() {
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};

// A handle for asking about the item itself or, through links, its target;
// folders open too.
HANDLE openForAttributes(const std::wstring& path) noexcept {
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool describe(const std::wstring& path, ItemInfo& out) noexcept {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    ItemKind kind = ItemKind::Other;
    if (!win32::kindOfPath(path, kind)) return false;
    out.kind = kind;
    out.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    out.modified = win32::unixSeconds(data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime);
    return true;
}

}  // namespace

bool lookAt(const char* path, ItemInfo& out) noexcept {
    std::wstring wide;
    if (path == nullptr || *path == '\0' || !toWide(path, wide)) return false;
    ItemInfo itself;
    if (!describe(wide, itself)) return false;
    if (itself.kind != ItemKind::Link) {
        out = itself;
        return true;
    }
    // What the link leads to, asked through a handle opened through it.
    const HandleCloser target{openForAttributes(wide)};
    BY_HANDLE_FILE_INFORMATION info{};
    if (target.handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(target.handle, &info)) return false;
    out.kind = win32::kindOf(info.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT), 0);
    out.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    out.modified = win32::unixSeconds(info.ftLastWriteTime.dwLowDateTime, info.ftLastWriteTime.dwHighDateTime);
    return true;
}

bool lookAtItself(const char* path, ItemInfo& out) noexcept {
    std::wstring wide;
    return path != nullptr && *path != '\0' && toWide(path, wide) && describe(wide, out);
}

bool resolvePath(const char* path, char* out, std::size_t outSize) noexcept {
    std::wstring wide;
    if (path == nullptr || *path == '\0' || out == nullptr || !toWide(path, wide)) return false;
    const HandleCloser item{openForAttributes(wide)};
    if (item.handle == INVALID_HANDLE_VALUE) return false;
    constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    std::wstring final;
    std::wstring unc;
    std::wstring_view resolved;
    try {
        const DWORD needed = ::GetFinalPathNameByHandleW(item.handle, nullptr, 0, kFlags);
        if (needed == 0) return false;
        final.resize(needed);
        const DWORD length = ::GetFinalPathNameByHandleW(item.handle, final.data(), needed, kFlags);
        if (length == 0 || length >= needed) return false;
        resolved = std::wstring_view(final.data(), length);
        // The answer comes in the long-path form: "\\?\C:\a" or "\\?\UNC\server\share".
        if (resolved.starts_with(L"\\\\?\\UNC\\")) {
            unc = L"\\\\" + std::wstring(resolved.substr(8));
            resolved = unc;
        } else if (resolved.starts_with(L"\\\\?\\")) {
            resolved.remove_prefix(4);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::string utf8;
    if (!win32::toUtf8(resolved.data(), resolved.size(), utf8) || utf8.size() >= outSize) return false;
    std::memcpy(out, utf8.c_str(), utf8.size() + 1);
    return true;
}

std::FILE* openFile(const char* path, const char* mode) noexcept {
    std::wstring widePath;
    std::wstring wideMode;
    if (path == nullptr || mode == nullptr || !toWide(path, widePath) || !toWide(mode, wideMode)) return nullptr;
    return ::_wfopen(widePath.c_str(), wideMode.c_str());
}

std::FILE* openRegularFile(const char* path) noexcept {
    std::wstring wide;
    if (path == nullptr || *path == '\0' || !toWide(path, wide)) return nullptr;
    ItemInfo info;
    // A look first, so that a device is never opened at all.
    if (!lookAt(path, info) || info.kind != ItemKind::File) return nullptr;
    const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION opened{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &opened) ||
        (opened.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "rb");
    if (file == nullptr) ::_close(fd);  // closes the handle too
    return file;
}

std::FILE* createRegularFile(const char* path) noexcept {
    std::wstring wide;
    if (path == nullptr || *path == '\0' || !toWide(path, wide)) return nullptr;
    ItemInfo info;
    if (lookAt(path, info) && info.kind != ItemKind::File) return nullptr;
    const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION opened{};
    // Emptied only once what was opened is known to be a file on a disk.
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &opened) ||
        (opened.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !::SetEndOfFile(handle)) {
        ::CloseHandle(handle);
        return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "wb");
    if (file == nullptr) ::_close(fd);  // closes the handle too
    return file;
}

bool openFileLength(std::FILE* file, std::int64_t& out) noexcept {
    if (file == nullptr) return false;
    const long long length = ::_filelengthi64(::_fileno(file));
    if (length < 0) return false;
    out = length;
    return true;
}

bool seekFile(std::FILE* file, std::int64_t offset, int origin) noexcept {
    return file != nullptr && ::_fseeki64(file, offset, origin) == 0;
}

std::int64_t tellFile(std::FILE* file) noexcept { return file != nullptr ? ::_ftelli64(file) : -1; }

bool removeFile(const char* path) noexcept {
    std::wstring wide;
    return path != nullptr && toWide(path, wide) && ::_wremove(wide.c_str()) == 0;
}

bool localTime(std::time_t time, std::tm& out) noexcept { return ::localtime_s(&out, &time) == 0; }
bool utcTime(std::time_t time, std::tm& out) noexcept { return ::gmtime_s(&out, &time) == 0; }

}  // namespace lumbrel::platform
