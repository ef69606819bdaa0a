// Reading UTF-8 text character by character where the bytes come from
// outside (file names, paths) and need not be valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumbrel {

// What the next character of a text is: a code point and its bytes, or a
// byte that starts no valid UTF-8 sequence (codePoint is then kNotUTF8).
struct UTF8Character {
    static constexpr char32_t kNotUTF8 = 0xFFFFFFFFU;
    char32_t codePoint = kNotUTF8;
    std::size_t length = 0;  // bytes taken, 0 only at the end of the text
};

// The character at `at`; a byte that is no valid sequence is one character
// of its own.
UTF8Character utf8CharacterAt(std::string_view text, std::size_t at) noexcept;

// The bytes of the first `maxCharacters` characters of the text.
std::size_t utf8PrefixLength(std::string_view text, std::size_t maxCharacters) noexcept;

// The text with every byte that is no valid UTF-8 replaced by U+FFFD, so
// that the Unicode functions take it.
std::string validUTF8(std::string_view text);

// The text in Normalization Form C, its bytes unchanged when it is not valid
// UTF-8 (pure ASCII is always returned as it is).
std::string composedUTF8(std::string_view text);

// The key under which names compare "without regard to case": Normalization
// Form C after full Unicode case folding ("Straße", "STRASSE" and the
// decomposed "Stra\u00DFe" alike). ASCII letters alone are lower-cased where
// the text is not valid UTF-8.
std::string caseFoldedKey(std::string_view text);

}  // namespace lumbrel
