#include "settings/localised_strings.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>

#include "platform/narrow_text.h"
#include "settings/resources.h"
#include "settings/xml_text.h"
#include "util/my_str.h"
#include "util/text_encoding.h"

namespace lumbrel {

namespace {

// The table: the resource's bytes and two zero bytes, searched as one text.
char* gTable = nullptr;
char gMsg1[kMessageSize] = {};
char gMsg2[kMessageSize] = {};

// The key's element content; false without a table, key or element.
bool findText(const char* key, std::string_view& text) noexcept {
    if (gTable == nullptr || key == nullptr || *key == '\0') return false;
    return findXMLContent(gTable, key, text);
}

// Copies `text` into `out` cut to outSize - 1 bytes; a cut falls before the
// character it would split, so the result stays UTF-8.
void copyText(char* out, std::size_t outSize, std::string_view text) noexcept {
    if (out == nullptr || outSize == 0) return;
    std::size_t n = text.size();
    if (n > outSize - 1) {
        n = outSize - 1;
        std::size_t start = n;
        while (start > 0 && n - start < 3 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) n = start;
    }
    copyBounded(out, outSize, text.substr(0, n));
}

void formatMessage(char (&target)[kMessageSize], const char* key, std::va_list arguments) noexcept {
    char format[kShortTextSize];
    getString(key, format, sizeof format);
    // The format comes from the string table, not from a literal: the keys'
    // texts are the module's own messages and their placeholders match what
    // each caller passes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::vsnprintf(target, sizeof target, format, arguments);
#pragma GCC diagnostic pop
}

}  // namespace

std::int16_t setupMyStrings() {
    cleanupMyStrings();
    gTable = getResourceData("MyStrings", "xml", getLanguage());
    return gTable != nullptr ? 0 : -1;
}

void cleanupMyStrings() noexcept {
    std::free(gTable);
    gTable = nullptr;
}

bool hasStringTable() noexcept {
    return gTable != nullptr;
}

void getString(const char* key, char* out, std::size_t outSize) noexcept {
    std::string_view text;
    if (!findText(key, text) || text.empty()) text = key != nullptr ? std::string_view(key) : std::string_view();
    copyText(out, outSize, text);
}

void getString(const char* key, unsigned char* out) noexcept {
    if (key == nullptr || *key == '\0' || out == nullptr) return;
    try {
        const MyStr text(key);
        // A text with no Mac OS Roman form, or longer than 255 bytes in it,
        // gives the empty string rather than stale bytes.
        if (!text.getString(out, kShortTextSize, kEncodingMacRoman)) out[0] = 0;
    } catch (const std::bad_alloc&) {
        out[0] = 0;
    }
}

void getNarrowString(const char* key, char* out, std::size_t outSize) noexcept {
    if (out == nullptr || outSize == 0) return;
    // Room for the characters kept in any UTF-8 form; getString cuts between characters.
    char text[kNarrowStringCharacters * 4 + 1];
    getString(key, text, sizeof text);
    platform::toNarrowText(text, kNarrowStringCharacters, out, outSize);
}

bool lookupString(const char* key, std::string& text) {
    std::string_view found;
    if (!findText(key, found)) return false;
    try {
        text.assign(found);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void setMsg1(const char* key, ...) {
    std::va_list arguments;
    va_start(arguments, key);
    formatMessage(gMsg1, key, arguments);
    va_end(arguments);
}

void setMsg2(const char* key, ...) {
    std::va_list arguments;
    va_start(arguments, key);
    formatMessage(gMsg2, key, arguments);
    va_end(arguments);
}

const char* getMsg1() noexcept {
    return gMsg1;
}

const char* getMsg2() noexcept {
    return gMsg2;
}

void clearMsgs() noexcept {
    gMsg1[0] = '\0';
    gMsg2[0] = '\0';
}

}  // namespace lumbrel
