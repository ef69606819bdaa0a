// Finding a picture's other-resolution twin by file extension, in the
// picture's own folder or through a sub-folder named "layouts".
//
// An extension list is a text such as ".tif;.eps": each entry is used as
// typed (case and dot included), a missing ";" at the end is added, so an
// empty list holds one empty entry; entries are cut to 255 bytes.
//
// The candidate test of an entry e on a base path p tries p with e appended
// (when e is not empty), then p with its extension replaced by e (an empty e
// removes it); entries are tried in list order and the first file that
// exists ends the walk. Each entry costs at most two existence checks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lumbrel {

// Asks whether a file exists; the swap passes fileExists, a measurement its own.
using FileExistsProc = bool (*)(const char* path);

inline constexpr std::size_t kMaxExtensionEntry = 255;
// The low-resolution test compares at most this many characters of an entry.
inline constexpr std::size_t kMaxLowResSuffix = 63;

struct ExtensionList {
    std::vector<std::string> entries;
};

ExtensionList parseExtensionList(const char* text);

struct TwinRules {
    ExtensionList loRes;
    ExtensionList hiRes;
    bool sameFolder = false;
    bool layoutsFolder = false;
};

// The first candidate of `base` that exists, walking the entries; empty when none does.
std::string findByExtensions(const std::string& base, const ExtensionList& list, FileExistsProc exists);

// True when the path ends with an entry of the low-resolution list, without
// regard to ASCII case; an empty entry matches every path.
bool isLowResPath(const char* path, const ExtensionList& loRes);

// The twin a high-resolution picture is swapped for: in its own folder, else
// (or without the same-folder rule) in the "layouts" folder beside it. Empty
// when none exists.
std::string findLowResTwin(const char* path, const TwinRules& rules, FileExistsProc exists);

// The twin a low-resolution picture is swapped for (the path must pass the
// low-resolution test first): in its own folder, else (or without the
// same-folder rule), when the picture lies in a folder named "layouts", that
// folder's parent: the same name there, else the candidates of the
// high-resolution list. Empty when none exists.
std::string findHighResTwin(const char* path, const TwinRules& rules, FileExistsProc exists);

}  // namespace lumbrel
