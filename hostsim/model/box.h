// A box of a layout: its kind, shape and bounds in spread coordinates, where
// it lives (spread, place in the chain, enclosing group), its content (text or
// picture) and its two slug collections. The document owns every box and
// keeps the structural fields consistent, so a Box is read-only to everyone
// else; change it through Document's operations.
#pragma once

#include "four_cc.h"
#include "geometry.h"
#include "picture.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim {

using BoxId = std::int32_t;  // unique in its document, never 0 (0 ends every chain)

// Box kinds by the host's numbers. A module creates kind 4.
inline constexpr int kBoxText = 3;
inline constexpr int kBoxPicture = 4;
inline constexpr int kBoxLine = 5;
inline constexpr int kBoxGroup = 9;

// "text", "picture", "line", "group"; "" for a number that is no kind.
const char* boxKindName(int kind) noexcept;
std::optional<int> boxKindFromName(std::string_view name) noexcept;
bool isBoxKind(int kind) noexcept;

// Shapes are the host's numbers too; only the rectangle (what a module asks
// for) has a meaning here, the others are kept as they come (0 to 255).
inline constexpr int kShapeRectangle = 5;
inline constexpr int kShapeMax = 255;

// The two slug collections of a box, by the host's kind numbers.
enum class SlugKind : int { box = 0, picture = 1 };

// Slug key -> bytes. Values are byte blocks: any bytes, NUL included.
using SlugMap = std::map<FourCC, std::string>;

class Box {
public:
    BoxId id() const noexcept { return id_; }
    int kind() const noexcept { return kind_; }
    int shape() const noexcept { return shape_; }
    const Rect& bounds() const noexcept { return bounds_; }
    // The spread the box lies on: n > 0 is document spread n, n < 0 master spread -n.
    int spread() const noexcept { return spread_; }
    // The group box this box is a member of, 0 when none.
    BoxId group() const noexcept { return group_; }
    // For a group box: its members' ids in the order they were grouped.
    const std::vector<BoxId>& members() const noexcept { return members_; }
    const std::string& text() const noexcept { return text_; }
    const std::optional<Picture>& picture() const noexcept { return picture_; }
    const SlugMap& slugs(SlugKind kind) const noexcept { return kind == SlugKind::box ? boxSlugs_ : pictureSlugs_; }

    bool isPicture() const noexcept { return kind_ == kBoxPicture; }
    bool isGroup() const noexcept { return kind_ == kBoxGroup; }

    bool operator==(const Box&) const = default;

private:
    friend class Document;
    friend struct DocumentAccess;

    BoxId id_ = 0;
    int kind_ = kBoxPicture;
    int shape_ = kShapeRectangle;
    Rect bounds_;
    int spread_ = 0;
    BoxId group_ = 0;
    std::vector<BoxId> members_;
    std::string text_;
    std::optional<Picture> picture_;
    SlugMap boxSlugs_, pictureSlugs_;
    std::size_t chainIndex_ = 0;  // position in its spread's chain
};

}  // namespace hostsim
