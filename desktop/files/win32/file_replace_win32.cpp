// Writing files over others on Windows: the same rules as on POSIX, over
// wide-character paths. A link is followed by the system itself; the
// replaced file keeps its place, the new one gets the folder's default
// security.
#include "desktop/files/file_replace.h"

#include "desktop/files/win32/windows_api.h"

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <string_view>
#include <system_error>

namespace desktop::files {

namespace {

// Room left in a temporary file's name for the dot and the suffix.
constexpr std::size_t kMaxStemChars = 200;

std::string lastErrorText() { return std::system_category().message(static_cast<int>(GetLastError())); }

// The target as a wide path when it may be written: missing, or a regular file.
bool resolve(const std::string& path, std::wstring& target, bool& exists, std::string& reason) {
    if (path.empty()) {
        reason = "no file name";
        return false;
    }
    target = wideText(path);
    if (target.empty()) {
        reason = "a name that is not UTF-8";
        return false;
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            reason = std::system_category().message(static_cast<int>(error));
            return false;
        }
        exists = false;
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        reason = "a folder, not a file";
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        reason = "not a regular file (a device, FIFO or socket)";
        return false;
    }
    exists = true;
    return true;
}

bool writeAll(HANDLE file, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A new file of a unique name beside `target`; INVALID_HANDLE_VALUE when none could be made.
HANDLE createTemporaryBeside(const std::wstring& target, std::wstring& temporary) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + L"." + name.substr(0, kMaxStemChars) + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter.fetch_add(1)) + L".tmp";
        const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string& reason) {
    std::wstring target;
    bool exists = false;
    if (!resolve(path, target, exists, reason)) return false;
    std::wstring temporary;
    const HANDLE file = createTemporaryBeside(target, temporary);
    if (file == INVALID_HANDLE_VALUE) {
        reason = lastErrorText();
        return false;
    }
    bool ok = writeAll(file, bytes) && FlushFileBuffers(file);
    std::string failure = ok ? std::string() : lastErrorText();
    if (!CloseHandle(file) && ok) {
        ok = false;
        failure = lastErrorText();
    }
    if (ok && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        failure = lastErrorText();
    }
    if (!ok) {
        DeleteFileW(temporary.c_str());
        reason = failure;
    }
    return ok;
}

std::FILE* openToRewrite(const std::string& path, std::string& reason) {
    std::wstring target;
    bool exists = false;
    if (!resolve(path, target, exists, reason)) return nullptr;
    // Shared for reading: the file is read while it grows.
    const HANDLE handle = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      exists ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = lastErrorText();
        return nullptr;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        reason = "not a regular file (a device, FIFO or socket)";
        CloseHandle(handle);
        return nullptr;
    }
    if (!SetEndOfFile(handle)) {
        reason = lastErrorText();
        CloseHandle(handle);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
    if (fd < 0) {
        reason = "cannot open the file";
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        reason = "cannot open the file";
        _close(fd);
    }
    return file;
}

}  // namespace desktop::files
