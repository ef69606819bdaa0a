// Layout documents as JSON files, loaded and saved without loss.
//
// The canonical form (what saving writes): UTF-8, LF line ends, a final
// newline; the top levels indented by two spaces, keys in a fixed order, and
// every box, every page and every array or object of plain values on one
// line without spaces ({"id":1,"kind":"text",...}); numbers that are
// points, dpi or scales always with a fraction part (612.0), in their
// shortest round-trip form; optional box fields left out when empty.
// Loading a file and saving it again gives the same bytes when nothing
// changed. Another layout of the same JSON loads as well.
//
//   {
//     "format": "hostsim-layout",
//     "version": 1,
//     "projectName": "Brochure", "path": "/work/brochure.json", "library": false,
//     "unit": "mm", "pageWidth": 595.0, "pageHeight": 842.0, "facingPages": true,
//     "changeState": 0, "nextBoxId": 5,
//     "currentPage": 1, "showMaster": 0, "currentBox": 0, "selection": [],
//     "view": {"scale": 65536, "originH": 0.0, "originV": 0.0},
//     "masters": [{"name": "A-Master", "width": 1190.0, "height": 842.0,
//                  "pages": [{"name": "A", "master": 0, "left": 0.0, "top": 0.0}, ...],
//                  "boxes": [...]}],
//     "spreads": [{"name": "", "width": 1190.0, "height": 842.0,
//                  "pages": [{"name": "1", "master": 1, "left": 595.0, "top": 0.0}],
//                  "boxes": [
//                    {"id": 1, "kind": "picture", "bounds": [10.0, 20.0, 110.0, 120.0],
//                     "picture": {"path": "/pics/a.tif", "fileType": "TIFF", "colorSpace": "QCMK",
//                                 "resolution": [300.0, 300.0], "pixelSize": [600, 400],
//                                 "bounds": [0.0, 0.0, 96.0, 144.0], "scale": [1.0, 1.0],
//                                 "offset": [0.0, 0.0], "imported": {"mtimeNs": 1700000000000000000, "size": 9120}},
//                     "pictureSlugs": [{"key": "bDIC", "text": "guid-17"}]},
//                    {"id": 2, "kind": "text", "shape": 6, "bounds": [...], "text": "Hello",
//                     "boxSlugs": [{"key": 1112687939, "base64": "AAEC"}]},
//                    {"id": 3, "kind": "group", "bounds": [...], "members": [1, 2]}]}]
//   }
//
// Boxes are listed per spread in chain order. Rectangles are [top, left,
// bottom, right] in points; PDF page boxes are [llx, lly, urx, ury]. Four-
// character codes are written as their four characters when printable, else
// as numbers. Slug values are "text" when they are UTF-8 without control
// characters other than tab, CR and LF, else "base64". A PDF picture adds
// "pdf": {"page": 1, "pageBox": "trim", "pages": [{"media": [...], "crop": [...],
// "bleed": [...], "trim": [...], "art": [...], "rotate": 0}, ...]}.
#pragma once

#include "document.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostsim {

inline constexpr std::string_view kLayoutFormat = "hostsim-layout";
inline constexpr int kLayoutVersion = 1;
inline constexpr std::int64_t kMaxLayoutFileSize = std::int64_t{1} << 30;

struct LoadResult {
    std::optional<Document> document;  // set exactly when loading succeeded
    // On failure: "<source>: <JSON pointer>: <reason>", or
    // "<source>: <reason>" when the fault is not at one place.
    std::string error;
    bool ok() const noexcept { return document.has_value(); }
};

// Reads a document from JSON text; `source` names it in error messages.
// Never throws; a failure yields no document at all.
LoadResult parseDocument(std::string_view text, std::string_view source);
LoadResult loadDocument(const std::string& path);

// The canonical JSON text of a document. Fails (false, with a reason) only
// when a text field is not valid UTF-8 or memory runs out.
bool documentToJson(const Document& doc, std::string& json, std::string* error = nullptr);
// Writes the canonical text to a new temporary file of a unique name beside
// `path`, then renames it over `path`, so a failed save leaves the earlier
// file as it was; only a regular file (or a link to one) is replaced, and
// it keeps its mode (desktop/files/file_replace.h).
bool saveDocument(const Document& doc, const std::string& path, std::string* error = nullptr);

}  // namespace hostsim
