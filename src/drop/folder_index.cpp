#include "drop/folder_index.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "util/files_paths.h"
#include "util/utf8_text.h"

namespace lumbrel {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// FNV-1a over the name's folded key, so that names that match hash alike.
// An ASCII name is its own key with the letters lower-cased: no copy.
std::uint32_t nameHash(std::string_view name) {
    std::string key;
    if (hasNonAsciiByte(name)) {
        key = caseFoldedKey(name);
        name = key;
    }
    std::uint32_t hash = 2166136261U;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(lowerAscii(c));
        hash *= 16777619U;
    }
    return hash;
}

// The walk's own test: a folder of its own, never a link to one.
bool isRealFolder(int folderFd, const dirent& entry) noexcept {
    if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
    struct stat info {};
    return ::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

FolderIndex::Kind kindOf(const dirent& entry) noexcept {
    switch (entry.d_type) {
        case DT_REG: return FolderIndex::Kind::File;
        case DT_DIR: return FolderIndex::Kind::Folder;
        default: return FolderIndex::Kind::Unknown;  // links, and file systems that do not say
    }
}

DirHandle openSubfolder(int folderFd, const char* name) noexcept {
    const int fd = ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return DirHandle();
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) ::close(fd);
    return DirHandle(dir);
}

}  // namespace

bool FolderIndex::add(const char* path, std::size_t pathLength, std::size_t nameStart, Kind kind) {
    if (count_ >= kNone - 1) return false;
    std::uint32_t hash = 0;
    try {
        hash = nameHash(std::string_view(path + nameStart, pathLength - nameStart));
        if (pathBlockUsed_ + pathLength + 1 > kPathBlockSize) {
            pathBlocks_.push_back(std::make_unique_for_overwrite<char[]>(kPathBlockSize));
            pathBlockUsed_ = 0;
        }
        if (count_ % kEntriesPerBlock == 0 && count_ / kEntriesPerBlock == entryBlocks_.size()) {
            entryBlocks_.push_back(std::make_unique<Entry[]>(kEntriesPerBlock));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    char* stored = pathBlocks_.back().get() + pathBlockUsed_;
    std::memcpy(stored, path, pathLength + 1);
    pathBlockUsed_ += pathLength + 1;

    Entry& added = entry(count_++);
    added.path = stored;
    added.nameStart = static_cast<std::uint16_t>(nameStart);
    added.nameLength = static_cast<std::uint16_t>(pathLength - nameStart);
    added.hash = hash;
    added.next = kNone;
    added.kind = kind;
    return true;
}

// Item by item as EnumFolder goes: a path that does not fit in kPathSize is
// left out (and not entered); a real folder is walked right after it is
// listed; one that cannot be opened is skipped.
bool FolderIndex::walk(void* opened, const char* folderPath, bool deep) {
    DIR* folder = static_cast<DIR*>(opened);
    const int folderFd = ::dirfd(folder);
    const std::size_t folderLength = std::strlen(folderPath);
    const bool endsInSlash = folderLength > 0 && folderPath[folderLength - 1] == '/';
    const std::size_t nameStart = folderLength + (endsInSlash ? 0 : 1);
    char itemPath[kPathSize];
    if (nameStart >= sizeof itemPath) return true;
    std::memcpy(itemPath, folderPath, folderLength);
    itemPath[folderLength] = '/';
    while (const dirent* entry = ::readdir(folder)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        const std::size_t nameLength = std::strlen(name);
        if (nameStart + nameLength >= sizeof itemPath) continue;
        std::memcpy(itemPath + nameStart, name, nameLength + 1);
        if (!add(itemPath, nameStart + nameLength, nameStart, kindOf(*entry))) return false;

        if (!deep || !isRealFolder(folderFd, *entry)) continue;
        const DirHandle subfolder = openSubfolder(folderFd, name);
        if (!subfolder) continue;
        if (!walk(subfolder.get(), itemPath, deep)) return false;
    }
    return true;
}

bool FolderIndex::makeTable() {
    std::size_t slots = 16;
    while (slots < 2 * static_cast<std::size_t>(count_)) slots *= 2;
    try {
        table_.assign(slots, kNone);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::size_t mask = slots - 1;
    // Backwards, so that each item goes in front of the later ones of its name.
    for (std::uint32_t i = count_; i-- > 0;) {
        Entry& item = entry(i);
        const std::string_view name = nameOf(item);
        for (std::size_t slot = item.hash & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t head = table_[slot];
            if (head == kNone) {
                table_[slot] = i;
                break;
            }
            const Entry& other = entry(head);
            if (other.hash == item.hash && sameNameIgnoringCase(nameOf(other), name)) {
                item.next = head;
                table_[slot] = i;
                break;
            }
        }
    }
    return true;
}

void FolderIndex::clear() noexcept {
    pathBlocks_.clear();
    pathBlockUsed_ = kPathBlockSize;
    entryBlocks_.clear();
    count_ = 0;
    table_.clear();
}

bool FolderIndex::build(const char* folder, bool deep) noexcept {
    clear();
    bool built = true;
    if (folder != nullptr) {
        char converted[kMaxConvertedPathSize];
        const char* path = posixPathOf(folder, converted, sizeof converted);
        const DirHandle top(path != nullptr ? ::opendir(path) : nullptr);
        if (top) built = walk(top.get(), path, deep);
    }
    if (built) built = makeTable();
    if (!built) clear();
    return built;
}

bool FolderIndex::find(FolderMatch& match) const noexcept {
    match.foundPath[0] = '\0';
    match.found = 0;
    if (table_.empty() || match.name[0] == '\0') return false;
    const std::string_view name(match.name, strnlen(match.name, sizeof match.name));
    std::uint32_t hash = 0;
    try {
        hash = nameHash(name);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::size_t mask = table_.size() - 1;
    for (std::size_t slot = hash & mask; table_[slot] != kNone; slot = (slot + 1) & mask) {
        const Entry& head = entry(table_[slot]);
        if (head.hash != hash || !sameNameIgnoringCase(nameOf(head), name)) continue;
        for (std::uint32_t i = table_[slot]; i != kNone; i = entry(i).next) {
            const Entry& item = entry(i);
            // A link or an untyped item is asked now, as the walk per name would.
            if (item.kind == Kind::Folder || (item.kind == Kind::Unknown && isFolder(item.path))) continue;
            copyBounded(match.foundPath, item.path);
            match.found = 1;
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace lumbrel
