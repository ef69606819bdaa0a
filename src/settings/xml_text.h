// Readers for the small XML texts the module handles (string tables, dialog
// descriptions, scripting requests), by plain text search and without a
// parser: no entities, no CDATA, no comments, no attributes.
//
// An element is the text from the opening tag "<" + name + ">" to the first
// closing tag "</" + name + ">" after it; both tags are found without regard
// to ASCII case and the content between them is taken byte for byte. Elements
// of one name do not nest: the content ends at the first closing tag. An
// opening tag with attributes is not found, as the name must be followed
// directly by ">".
//
// Every reader takes a NUL-terminated text; a null text, a null or empty name,
// or a name longer than kMaxXMLNameLength bytes finds nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "util/bounded.h"

namespace lumbrel {

inline constexpr std::size_t kMaxXMLNameLength = 250;

// The content of the first element `name` of `text`: true and `content`
// pointing into `text`, or false (content untouched) when there is none.
bool findXMLContent(const char* text, const char* name, std::string_view& content) noexcept;

// Copies the content of the first element `name` into `out`, NUL-terminated,
// cut to outSize - 1 bytes when it is longer. Returns the bytes copied (so
// the cut length for a long content); 0 with `out` untouched when there is no
// such element or outSize is 0. (No default size: an array argument takes
// the template below, which knows the array's size.)
std::size_t getXMLString(const char* text, const char* name, char* out, std::size_t outSize) noexcept;
template <std::size_t N>
std::size_t getXMLString(const char* text, const char* name, char (&out)[N]) noexcept {
    return getXMLString(text, name, out, N);
}

// The content of the first element `name` as a new NUL-terminated copy
// (free() it); null when there is none or memory runs out. A name holding a
// blank (a name followed by attributes) ends at the closing tag of the part
// before the first blank: "a x=1" runs from "<a x=1>" to "</a>".
char* getXMLData(const char* text, const char* name) noexcept;

// The content as a number: `defaultValue` when the element is missing or
// empty; in a build with boolean words (platform_traits.h) 1 for exactly
// "true" and 0 for exactly "false"; otherwise the leading decimal number as
// atol reads it ("12abc" is 12, "abc" and, without the words, "true" are 0),
// held to the 32-bit range.
std::int32_t getXMLValue(const char* text, const char* name, std::int32_t defaultValue) noexcept;

// Called with each whole element (opening tag, content, closing tag) as a
// NUL-terminated copy, its length in bytes and the caller's value; false
// stops. The copy lives until the callback returns.
using EnumXMLCallback = bool (*)(const char* element, std::size_t length, std::intptr_t value);

// Calls back with every element `name` of `text` in text order; the search
// for the next one starts right after the previous opening tag (so an
// element whose content holds an opening tag of the same name is followed by
// one starting there). Returns false when the callback stopped the walk or
// memory ran out, true otherwise.
bool EnumXMLData(const char* text, const char* name, EnumXMLCallback callback, std::intptr_t value);

}  // namespace lumbrel
