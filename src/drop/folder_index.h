// The items of a folder tree by name, made with one walk, so that a whole
// document can be matched against a folder without walking it once per box.
// A look-up answers exactly what findInFolder (drop/folder_match.h) answers
// for the same tree: the first item in walk order whose name equals the one
// sought without regard to case and Unicode form (sameNameIgnoringCase) and
// that is not a folder.
//
// The index walks the tree itself, exactly as EnumFolder does (the same
// order, the same items left out, links never entered, unreadable
// sub-folders skipped), because the listing already says which items are
// plain files and plain folders: only links and items the file system does
// not type are looked at again, and only when their name is sought.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "drop/folder_match.h"

namespace lumbrel::platform {
class FolderListing;
}

namespace lumbrel {

class FolderIndex {
public:
    // Walks `folder` (its sub-folders too when `deep`) and indexes every item.
    // False when memory ran out (the index is then empty and unusable); a
    // folder that does not exist or cannot be read gives an empty index.
    bool build(const char* folder, bool deep) noexcept;

    // Fills match.foundPath and match.found as findInFolder would; true when
    // found. With `later`, the paths of the other files of the same name
    // (after the first, in walk order) are appended to it: the index already
    // holds them, so telling an ambiguous name costs no second walk.
    bool find(FolderMatch& match) const noexcept;
    bool find(FolderMatch& match, std::vector<const char*>* later) const noexcept;

    std::size_t size() const noexcept { return count_; }

    // What the listing said an item is.
    enum class Kind : std::uint8_t { File, Folder, Unknown };

private:
    static constexpr std::uint32_t kNone = UINT32_MAX;
    struct Entry {
        const char* path = nullptr;   // terminated, in one of pathBlocks_
        std::uint32_t hash = 0;       // of the name's folded key
        std::uint32_t next = kNone;   // next item of the same name, in walk order
        std::uint16_t nameStart = 0;  // the name's offset within the path
        std::uint16_t nameLength = 0;
        Kind kind = Kind::Unknown;
    };
    // Paths and entries live in blocks that are never moved: a large tree
    // then costs no copying as it grows, and every path keeps its address.
    static constexpr std::size_t kPathBlockSize = 60 * 1024;
    static constexpr std::size_t kEntriesPerBlock = 2048;

    bool add(const char* path, std::size_t pathLength, std::size_t nameStart, Kind kind);
    bool walk(platform::FolderListing& folder, const char* folderPath, bool deep);
    bool makeTable();
    void clear() noexcept;
    Entry& entry(std::uint32_t index) noexcept { return entryBlocks_[index / kEntriesPerBlock][index % kEntriesPerBlock]; }
    const Entry& entry(std::uint32_t index) const noexcept {
        return entryBlocks_[index / kEntriesPerBlock][index % kEntriesPerBlock];
    }
    static std::string_view nameOf(const Entry& entry) noexcept {
        return std::string_view(entry.path + entry.nameStart, entry.nameLength);
    }

    std::vector<std::unique_ptr<char[]>> pathBlocks_;
    std::size_t pathBlockUsed_ = kPathBlockSize;  // of the last block: full before the first
    std::vector<std::unique_ptr<Entry[]>> entryBlocks_;
    std::uint32_t count_ = 0;            // entries, in walk order
    std::vector<std::uint32_t> table_;   // open addressing: first entry of a name, or kNone
};

}  // namespace lumbrel
