// File URLs as pasteboards carry them ("file:///Users/x/My%20Pictures/a.tif").
// Paths are byte strings: no Unicode normalisation happens either way, so a
// decomposed (NFD) name comes back byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace desktop {

// Longest path the resolution answers by default (the system's path limit).
inline constexpr std::size_t kMaxUrlPathBytes = 4096;

// "file://" followed by the path with every byte outside the unreserved
// characters (A-Z a-z 0-9 - . _ ~) and "/" written as %XX (upper-case hex);
// `folder` adds the trailing "/" folder URLs have. False (out unchanged) for a
// path that is not absolute or holds a zero byte.
bool fileUrlFromPath(std::string_view path, std::string& out, bool folder = false);

// The path a file URL names, percent-escapes decoded. Accepts "file:///…" and
// "file://localhost/…" (scheme and host in any case); a query or fragment
// ("?", "#") ends the path; a trailing "/" is dropped (except for "/" itself).
// False (out unchanged) for anything else, for an invalid or truncated
// escape, for an encoded zero byte, and for a path longer than `maxBytes`.
bool pathFromFileUrl(std::string_view url, std::string& out, std::size_t maxBytes = kMaxUrlPathBytes);

}  // namespace desktop
