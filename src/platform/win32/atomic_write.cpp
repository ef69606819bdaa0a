// Saving a file through a temporary beside it: written, flushed, then put in
// place by ReplaceFileW (which keeps the old file's attributes and security)
// or, for a new file, by a write-through move.
#include "platform/atomic_write.h"

#include <climits>
#include <cstdint>
#include <new>
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) noexcept : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const noexcept { return handle_; }
    bool close() noexcept {
        if (!valid()) return true;
        const bool ok = ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, const char* data, std::size_t size) noexcept {
    while (size > 0) {
        const DWORD chunk = size > 0x40000000U ? 0x40000000U : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// A name beside `path` that nobody is likely to hold.
std::wstring temporaryName(const std::wstring& path) {
    static std::uint64_t counter = 0;
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    std::uint64_t x = (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^
                      static_cast<std::uint64_t>(now.QuadPart) ^ (++counter * 0x9E3779B97F4A7C15ULL);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    x ^= x >> 31;
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";  // case-blind file systems
    std::wstring name = path + L'.';
    for (int i = 0; i < 8; ++i) {
        name += kLetters[x % (sizeof kLetters / sizeof kLetters[0] - 1)];
        x /= sizeof kLetters / sizeof kLetters[0] - 1;
    }
    return name;
}

HANDLE createTemporary(const std::wstring& path, std::wstring& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(path);
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// The folder refuses new files but the file may be written: over the old
// bytes from the start, then cut to the new length (a full disk fails the
// write before anything was cut).
bool overwriteInPlace(HANDLE file, const char* data, std::size_t size) noexcept {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && writeAll(file, data, size) &&
           ::SetEndOfFile(file) && ::FlushFileBuffers(file);
}

bool putInPlace(const std::wstring& temporary, const std::wstring& target, bool exists) noexcept {
    constexpr DWORD kMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!exists) return ::MoveFileExW(temporary.c_str(), target.c_str(), kMove) != 0;
    if (::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                       nullptr)) {
        return true;
    }
    // The old file was taken away but the new one not renamed: the new
    // content is whole, so it goes where the old one was.
    if (::GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return ::MoveFileExW(temporary.c_str(), target.c_str(), kMove) != 0;
    }
    return false;
}

bool save(const std::wstring& path, const char* data, std::size_t size) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return false;  // a missing folder, no access: nothing to make
    } else if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }

    // An existing file that may not be written (read-only, locked, denied)
    // is left as it is, whether or not the folder would take a new one.
    Handle target(exists ? ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                         : INVALID_HANDLE_VALUE);
    if (exists && !target.valid()) return false;
    if (exists && ::GetFileType(target.get()) != FILE_TYPE_DISK) return false;

    std::wstring temporary;
    Handle fresh(createTemporary(path, temporary));
    if (!fresh.valid()) {
        const DWORD error = ::GetLastError();
        if (!exists || error != ERROR_ACCESS_DENIED) return false;
        const bool ok = overwriteInPlace(target.get(), data, size);
        return target.close() && ok;
    }
    target.close();

    bool ok = writeAll(fresh.get(), data, size) && ::FlushFileBuffers(fresh.get());
    ok = fresh.close() && ok;
    if (ok) ok = putInPlace(temporary, path, exists);
    // ReplaceFileW is to keep the old file's attributes; Wine's does not.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (ok && exists && (attributes & kKept) != 0) {
        const DWORD now = ::GetFileAttributesW(path.c_str()) & ~(kKept | FILE_ATTRIBUTE_NORMAL);
        ::SetFileAttributesW(path.c_str(), now | (attributes & kKept));
    }
    // The temporary goes, unless the old file is gone and it holds the only content.
    if (!ok && (!exists || ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)) {
        ::DeleteFileW(temporary.c_str());
    }
    return ok;
}

}  // namespace

bool saveFileContent(const char* path, const char* data, std::size_t size) noexcept {
    if (path == nullptr || *path == '\0' || (data == nullptr && size > 0)) return false;
    try {
        std::wstring wide;
        if (!win32::toWide(path, wide)) return false;
        return save(wide, data, size);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace lumbrel::platform
