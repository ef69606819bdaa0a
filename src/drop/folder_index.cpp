#include "drop/folder_index.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/file_system.h"
#include "platform/platform_traits.h"
#include "util/files_paths.h"
#include "util/utf8_text.h"

namespace lumbrel {

namespace {

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

FolderIndex::Kind kindOf(platform::ItemKind kind) noexcept {
    switch (kind) {
        case platform::ItemKind::File: return FolderIndex::Kind::File;
        case platform::ItemKind::Folder: return FolderIndex::Kind::Folder;
        default: return FolderIndex::Kind::Unknown;  // links and others are asked when matched
    }
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
bool FolderIndex::walk(platform::FolderListing& folder, const char* folderPath, bool deep) {
    const std::size_t folderLength = std::strlen(folderPath);
    const bool endsInSlash = folderLength > 0 && (folderPath[folderLength - 1] == '/' ||
                                                  folderPath[folderLength - 1] == platform::Traits::kPathSeparator);
    const std::size_t nameStart = folderLength + (endsInSlash ? 0 : 1);
    char itemPath[kPathSize];
    if (nameStart >= sizeof itemPath) return true;
    std::memcpy(itemPath, folderPath, folderLength);
    itemPath[folderLength] = platform::Traits::kPathSeparator;
    const char* name = nullptr;
    platform::ItemKind itemKind{};
    while (folder.next(name, itemKind)) {
        const std::size_t nameLength = std::strlen(name);
        if (nameStart + nameLength >= sizeof itemPath) continue;
        std::memcpy(itemPath + nameStart, name, nameLength + 1);
        if (!add(itemPath, nameStart + nameLength, nameStart, kindOf(itemKind))) return false;

        // A folder of its own is entered, never a link to one.
        if (!deep || itemKind != platform::ItemKind::Folder) continue;
        platform::FolderListing subfolder(folder, name);
        if (!subfolder) continue;
        if (!walk(subfolder, itemPath, deep)) return false;
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
        platform::FolderListing top(path);
        if (top) built = walk(top, path, deep);
    }
    if (built) built = makeTable();
    if (!built) clear();
    return built;
}

bool FolderIndex::find(FolderMatch& match) const noexcept {
    return find(match, nullptr);
}

bool FolderIndex::find(FolderMatch& match, std::vector<const char*>* later) const noexcept {
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
            if (match.found == 0) {
                copyBounded(match.foundPath, item.path);
                match.found = 1;
                if (later == nullptr) return true;
                continue;
            }
            try {
                later->push_back(item.path);
            } catch (const std::bad_alloc&) {
                break;  // the first match stands; only the list of others is short
            }
        }
        return match.found != 0;
    }
    return false;
}

}  // namespace lumbrel
