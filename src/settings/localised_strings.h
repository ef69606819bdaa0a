// The string table of the current language and the lookups every
// user-visible text goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "util/bounded.h"

namespace lumbrel {

// Loads "MyStrings" of type "xml" for the current language, replacing the
// table held so far. 0 when a table was loaded, -1 when none was found.
std::int16_t setupMyStrings();
void cleanupMyStrings() noexcept;
bool hasStringTable() noexcept;

// The key's text into `out` (at most outSize - 1 bytes, cut before a
// character it would split), or the key itself when the table has no text or
// an empty text for it. The array form takes the array's size.
void getString(const char* key, char* out, std::size_t outSize) noexcept;
template <std::size_t N>
void getString(const char* key, char (&out)[N]) noexcept {
    getString(key, out, N);
}

// The key's text as a length-prefixed Mac OS Roman string of at most 255
// bytes (`out` holds 256); an empty key leaves `out` untouched.
void getString(const char* key, unsigned char* out) noexcept;

// The key's text as getString gives it, for the system's narrow-character
// window functions: at most kNarrowStringCharacters characters in the
// system's ANSI code page on Windows (UTF-8 elsewhere), characters the code
// page lacks as its default character, fewer when `out` cannot hold them.
inline constexpr std::size_t kNarrowStringCharacters = 250;
void getNarrowString(const char* key, char* out, std::size_t outSize) noexcept;
template <std::size_t N>
void getNarrowString(const char* key, char (&out)[N]) noexcept {
    getNarrowString(key, out, N);
}

// The lookup behind MyStr(const char*): true and the text (possibly empty)
// when the table has the key; false when it has not.
bool lookupString(const char* key, std::string& text);

// Format the key's text with the arguments (at most 511 bytes of result) and
// keep it as the message or the explanatory text of the next message box.
void setMsg1(const char* key, ...);
void setMsg2(const char* key, ...);
const char* getMsg1() noexcept;
const char* getMsg2() noexcept;
void clearMsgs() noexcept;  // after a message box has shown them

}  // namespace lumbrel
