// The items of a folder tree by name, made with one walk, so that a whole
// document can be matched against a folder without walking it once per box.
// A look-up answers exactly what findInFolder (drop/folder_match.h) answers
// for the same tree: the first item in walk order whose name equals the one
// sought without regard to ASCII case and that is not a folder.
//
// Whether an item is a folder is asked only of the items whose name is
// sought, at the look-up: most items of a large tree are never looked at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drop/folder_match.h"

namespace lumbrel {

class FolderIndex {
public:
    // Walks `folder` (its sub-folders too when `deep`) and indexes every item.
    // False when memory ran out (the index is then empty and unusable); a
    // folder that does not exist or cannot be read gives an empty index.
    bool build(const char* folder, bool deep) noexcept;

    // Fills match.foundPath and match.found as findInFolder would; true when
    // found.
    bool find(FolderMatch& match) const noexcept;

    std::size_t size() const noexcept { return entries_.size(); }

private:
    struct Entry {
        std::size_t name = 0;      // offset of the lower-cased name in names_
        std::uint32_t nameLength = 0;
        std::size_t path = 0;      // offset of the terminated path in paths_
        std::uint32_t next = kNone;  // next item of the same name in walk order
    };
    static constexpr std::uint32_t kNone = UINT32_MAX;

    static bool addItem(char* path, std::intptr_t value);
    bool add(std::string_view path);
    std::string_view nameOf(const Entry& entry) const noexcept;

    std::string names_;
    std::string paths_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string_view, std::uint32_t> first_;  // name -> first entry
    bool failed_ = false;
};

}  // namespace lumbrel
