// The parts of dropping files on Windows that need no host: which files a
// drag may bring, what kind of box a file goes into, where the files of one
// drop land, and the list of dropped files kept from the drop until the
// next idle step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "xtapi.h"

namespace lumbrel {

// The text after the last '.' of the path's last component; empty when the
// name has no '.'.
std::string_view dropExtension(std::string_view path) noexcept;

// True when `extension` is one of the ';'-separated entries of `list`,
// without regard to ASCII case. An empty extension is never listed.
bool extensionListed(std::string_view list, std::string_view extension) noexcept;

// The content kind a dropped file goes into: XT_BOX_PICTURE for "lay", "e"
// and the host's picture import extensions, XT_BOX_TEXT for its text import
// extensions (pictures first), 0 for any other file.
std::int16_t dropContentKind(std::string_view path, std::string_view pictureExtensions,
                             std::string_view textExtensions) noexcept;

// Side in points of the square box a dropped file of that kind makes: 72
// for a picture, 144 for a text; 0 for any other kind.
std::int32_t newDropBoxSide(std::int16_t contentKind) noexcept;

// The picture scale of a percentage, 16.16 (100 % is 65536); values beyond
// what 16.16 holds are held at its ends.
Fixed dropPictureScale(std::int32_t percent) noexcept;

// Where file `index` (from 0) of one drop lands: 20 screen units further
// down and to the right per file before it, held within screen coordinates.
XTPoint cascadePoint(XTPoint first, std::size_t index) noexcept;

// True for a dropped relink list: a file named exactly "Austausch.txt".
bool isRelinkListPath(std::string_view path) noexcept;

// True when the path ends in ".pdf", without regard to case.
bool isPdfPath(std::string_view path) noexcept;

// The files of one drop, each as a 1556-byte record of the host interface,
// in drop order. Memory is had once for all of them: a list that cannot be
// made is no list at all.
class DroppedItemList {
public:
    DroppedItemList() = default;
    // A list moved from is empty.
    DroppedItemList(DroppedItemList&& other) noexcept;
    DroppedItemList& operator=(DroppedItemList&& other) noexcept;
    DroppedItemList(const DroppedItemList&) = delete;
    DroppedItemList& operator=(const DroppedItemList&) = delete;
    ~DroppedItemList() = default;
    // Room for `count` records; false (and an empty list) without memory.
    bool reserve(std::size_t count) noexcept;
    // Adds a file: 'AMSo' with the identifier in the record when `identifier`
    // is not empty (cut to the record's field), else 'fss '. False when the
    // list is full.
    bool add(const XTFileSpec& spec, std::string_view identifier) noexcept;
    std::size_t size() const noexcept { return count_; }
    bool empty() const noexcept { return count_ == 0; }
    const XTDroppedItem& operator[](std::size_t index) const noexcept { return items_[index]; }
    void clear() noexcept;

private:
    std::unique_ptr<XTDroppedItem[]> items_;
    std::size_t capacity_ = 0;
    std::size_t count_ = 0;
};

// The identifiers a drag source gave its files: texts one after the other,
// each ending in a NUL, the list ending with an empty one (or at `size`).
// Identifier `index` (from 0), empty when there is none.
std::string_view identifierAt(const char* list, std::size_t size, std::size_t index) noexcept;

}  // namespace lumbrel
