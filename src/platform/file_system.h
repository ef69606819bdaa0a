// Files and folders by path. Paths are UTF-8 text in the operating system's
// own form ("/home/a/b" on POSIX, "C:\a\b" on Windows, where they become
// UTF-16 at the call). Nothing here throws.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>

namespace lumbrel::platform {

enum class ItemKind : std::uint8_t {
    File,
    Folder,
    Link,   // a symbolic link, or on Windows any reparse point (junctions too)
    Other,  // devices, FIFOs, sockets
};

struct ItemInfo {
    ItemKind kind = ItemKind::Other;
    std::int64_t size = 0;      // bytes
    std::int64_t modified = 0;  // last write, seconds since 1970-01-01 UTC
};

// The item at `path` with links followed (lookAt) or the item itself
// (lookAtItself). False, `out` untouched, when there is none or it cannot be
// looked at.
bool lookAt(const char* path, ItemInfo& out) noexcept;
bool lookAtItself(const char* path, ItemInfo& out) noexcept;

// The absolute path `path` names once every link in it is followed, into
// `out` with its terminator (`out` may be `path` itself). False, `out`
// untouched, when it cannot be resolved or does not fit.
bool resolvePath(const char* path, char* out, std::size_t outSize) noexcept;

// fopen by a UTF-8 path.
std::FILE* openFile(const char* path, const char* mode) noexcept;

// Opens a regular file for binary reading. Devices, FIFOs and sockets are
// never opened at all (opening some has effects of its own, and a read may
// block for ever); the opened handle is checked again, in case another item
// took the name meanwhile.
std::FILE* openRegularFile(const char* path) noexcept;

// Opens a regular file, or a new one of that name, for binary writing and
// empties it. Anything else of that name is neither waited on nor changed.
std::FILE* createRegularFile(const char* path) noexcept;

// The length of an open file; false when it cannot be told.
bool openFileLength(std::FILE* file, std::int64_t& out) noexcept;

// fseek and ftell with 64-bit offsets; ftell's -1 on failure.
bool seekFile(std::FILE* file, std::int64_t offset, int origin) noexcept;
std::int64_t tellFile(std::FILE* file) noexcept;

bool removeFile(const char* path) noexcept;

// Broken-down local time; false when `time` cannot be converted.
bool localTime(std::time_t time, std::tm& out) noexcept;
// Broken-down UTC; false when `time` cannot be converted.
bool utcTime(std::time_t time, std::tm& out) noexcept;

// The items of one folder in the order the file system gives them, "." and
// ".." left out. Subfolders are opened through their parent and never
// through a link, so a walk cannot leave the tree or go round in it.
class FolderListing {
public:
    explicit FolderListing(const char* path) noexcept;
    // The subfolder `name` of an open listing; not open when `name` is a
    // link or no folder.
    FolderListing(const FolderListing& parent, const char* name) noexcept;
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    explicit operator bool() const noexcept { return state_ != nullptr; }

    // The next item: its name (valid until the next call) and its kind,
    // links not followed. False at the end or on a read error.
    bool next(const char*& name, ItemKind& kind) noexcept;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumbrel::platform
