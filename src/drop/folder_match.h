// Finding a picture's file by name in a folder tree: the search record of
// one box and the plain walk that fills it. Names are compared without
// regard to case and Unicode form (a name from a Mac volume is decomposed,
// one typed elsewhere composed); the first item met in the walk's order
// wins, and folders (links to folders too) never match.
#pragma once

#include <cstdint>
#include <string_view>

#include "util/bounded.h"

namespace lumbrel {

// The search for one box, cleared before each box.
struct FolderMatch {
    char name[kPathSize];       // the file name sought, extension included
    char foundPath[kPathSize];  // full path of the first matching file
    std::uint8_t found;         // 1 when a match was found
};

// An ASCII capital letter lower-cased; every other byte as it is.
constexpr char lowerAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the two names are equal after Normalization Form C and full
// case folding (caseFoldedKey, util/utf8_text.h): "\u00C4rger" and
// "a\u0308rger" are one name, and so are "Stra\u00DFe" and "STRASSE". Two
// ASCII names compare with their letters lower-cased, without any copy.
bool sameNameIgnoringCase(std::string_view a, std::string_view b) noexcept;

// True when the name needs the Unicode comparison: it holds a byte above
// 0x7F.
bool hasNonAsciiByte(std::string_view name) noexcept;

// The last component of a path the folder walk made ("/" separated).
std::string_view walkedItemName(std::string_view path) noexcept;

// Walks `folder` (its sub-folders too when `deep`) in the order the file
// system lists the items until an item that is not a folder has the name
// `match.name`; fills foundPath and found. True when found. A folder that
// does not exist or cannot be read finds nothing.
bool findInFolder(const char* folder, bool deep, FolderMatch& match);

}  // namespace lumbrel
