#include "util/my_str.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string_view>
#include <vector>

#include "settings/localised_strings.h"
#include "util/files_paths.h"
#include "util/mac_roman.h"

namespace lumbrel {

namespace {

HostStringFunctions gHostFunctions{};
bool gHostFunctionsSet = false;

const HostStringFunctions* hostFunctions() noexcept {
    return gHostFunctionsSet ? &gHostFunctions : nullptr;
}

// A shared string of `text`, or none when it is too long for a 32-bit length
// or memory runs out.
PlatformString makeString(std::u16string&& text) noexcept {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return {};
    try {
        return std::make_shared<const std::u16string>(std::move(text));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// ---- code points and the encodings ---------------------------------------------

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

bool isHighSurrogate(char32_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point starting at `i` (advanced past it); kNoCharacter for a lone
// surrogate, which no byte encoding can carry.
char32_t nextCodePoint(std::u16string_view text, std::size_t& i) noexcept {
    const char32_t unit = text[i++];
    if (isHighSurrogate(unit)) {
        if (i < text.size() && isLowSurrogate(text[i])) {
            const char32_t low = text[i++];
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        return kNoCharacter;
    }
    return isLowSurrogate(unit) ? kNoCharacter : unit;
}

void appendUTF16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

// Bytes of the code point in UTF-8 (at most 4) into `out`; returns the count.
std::size_t toUTF8(char32_t codePoint, char* out) noexcept {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 4;
}

// Well-formed UTF-8 only (no overlong forms, surrogates or values beyond
// U+10FFFF, no cut sequences): anything else is no text at all.
bool decodeUTF8(std::string_view bytes, std::u16string& out) {
    out.clear();
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        std::size_t trail = 0;
        char32_t codePoint = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
            codePoint = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            codePoint = lead & 0x0Fu;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            codePoint = lead & 0x07u;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (bytes.size() - i <= trail) return false;
        for (std::size_t k = 1; k <= trail; ++k) {
            const auto byte = static_cast<unsigned char>(bytes[i + k]);
            if (byte < low || byte > high) return false;
            low = 0x80;
            high = 0xBF;
            codePoint = (codePoint << 6) | (byte & 0x3Fu);
        }
        appendUTF16(out, codePoint);
        i += trail + 1;
    }
    return true;
}

bool decodeText(std::string_view bytes, TextEncoding encoding, std::u16string& out) {
    if (encoding == kEncodingUTF8) return decodeUTF8(bytes, out);
    out.clear();
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t unit = 0;
        if (encoding == kEncodingMacRoman) {
            unit = macRomanToUnicode(byte);
        } else if (encoding == kEncodingWindowsLatin1) {
            if (!windowsLatin1ToUnicode(byte, unit)) return false;
        } else {
            return false;
        }
        out.push_back(unit);
    }
    return true;
}

// The whole text in `encoding`; false when a character has no bytes in it.
bool encodeText(std::u16string_view text, TextEncoding encoding, std::string& out) {
    out.clear();
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t codePoint = nextCodePoint(text, i);
        if (codePoint == kNoCharacter) return false;
        if (encoding == kEncodingUTF8) {
            char bytes[4];
            out.append(bytes, toUTF8(codePoint, bytes));
            continue;
        }
        unsigned char byte = 0;
        if (encoding == kEncodingMacRoman) {
            if (!unicodeToMacRoman(codePoint, byte)) return false;
        } else if (encoding == kEncodingWindowsLatin1) {
            if (!unicodeToWindowsLatin1(codePoint, byte)) return false;
        } else {
            return false;
        }
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

// As much of the text as UTF-8 as fits in `limit` bytes, whole characters
// only, stopping at the first lone surrogate.
void encodeUTF8Prefix(std::u16string_view text, char* out, std::size_t limit) noexcept {
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t codePoint = nextCodePoint(text, i);
        if (codePoint == kNoCharacter) return;
        char bytes[4];
        const std::size_t n = toUTF8(codePoint, bytes);
        if (n > limit - used) return;
        std::memcpy(out + used, bytes, n);
        used += n;
    }
}

// The longest start of the UTF-8 text of at most `max` bytes that does not
// end inside a character.
std::string_view cutAtCharacter(std::string_view text, std::size_t max) noexcept {
    if (text.size() <= max) return text;
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

// ---- Normalization Form C ------------------------------------------------------

// NFC of a run without lone surrogates, appended to `out`.
bool composeRun(std::u16string_view run, std::u16string& out) {
    // Below U+0300 every character is composed already and none composes
    // with another.
    if (std::all_of(run.begin(), run.end(), [](char16_t unit) { return unit < 0x300; })) {
        out += run;
        return true;
    }
    std::string utf8;
    if (!encodeText(run, kEncodingUTF8, utf8)) return false;
    utf8proc_uint8_t* composed = nullptr;
    // utf8proc_NFC's own options, with the length given so that U+0000 is
    // composed as any other character instead of ending the text.
    const utf8proc_ssize_t n = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                                            static_cast<utf8proc_ssize_t>(utf8.size()), &composed,
                                            static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (n < 0 || composed == nullptr) {
        std::free(composed);
        return false;
    }
    std::u16string units;
    const bool ok =
        decodeUTF8(std::string_view(reinterpret_cast<const char*>(composed), static_cast<std::size_t>(n)), units);
    std::free(composed);
    if (ok) out += units;
    return ok;
}

// A lone surrogate is a starter that composes with nothing, so the runs
// between them are composed each on its own and the surrogates kept.
bool composeNFC(std::u16string_view text, std::u16string& out) {
    out.clear();
    out.reserve(text.size());
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = i;
        if (nextCodePoint(text, i) != kNoCharacter) continue;
        if (!composeRun(text.substr(runStart, at - runStart), out)) return false;
        out.push_back(text[at]);
        runStart = i;
    }
    return composeRun(text.substr(runStart), out);
}

PlatformString decodeToString(std::string_view bytes, TextEncoding encoding) noexcept {
    try {
        std::u16string text;
        if (!decodeText(bytes, encoding, text)) return {};
        return makeString(std::move(text));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace

void setHostStringFunctions(const HostStringFunctions* functions) noexcept {
    gHostFunctionsSet = functions != nullptr;
    gHostFunctions = functions != nullptr ? *functions : HostStringFunctions{};
}

// ---- making the string -------------------------------------------------------

MyStr::MyStr(const char* keyOrText) {
    if (keyOrText == nullptr) return;
    try {
        std::string text;
        if (lookupString(keyOrText, text)) {
            string_ = decodeToString(text, kEncodingUTF8);
            return;
        }
    } catch (const std::bad_alloc&) {
        return;
    }
    string_ = decodeToString(keyOrText, kEncodingUTF8);
}

MyStr::MyStr(const char* text, TextEncoding encoding) {
    if (text != nullptr) string_ = decodeToString(text, encoding);
}

MyStr::MyStr(const unsigned char* pascalText, TextEncoding encoding) {
    if (pascalText == nullptr) return;
    const std::string_view bytes(reinterpret_cast<const char*>(pascalText + 1), pascalText[0]);
    string_ = decodeToString(bytes, encoding);
}

MyStr::MyStr(std::int32_t number) {
    char digits[16];
    const int n = std::snprintf(digits, sizeof digits, "%d", number);
    if (n > 0) string_ = decodeToString(std::string_view(digits, static_cast<std::size_t>(n)), kEncodingUTF8);
}

MyStr::MyStr(PlatformString string) noexcept : string_(std::move(string)) {}

MyStr::MyStr(QXStringRef__* hostString, unsigned char destroy) {
    if (hostString == nullptr) return;
    const HostStringFunctions* functions = hostFunctions();
    if (functions != nullptr && functions->length != nullptr && functions->copyUnits != nullptr) {
        try {
            const std::int32_t length = functions->length(hostString);
            if (length >= 0) {
                std::vector<std::uint16_t> units(static_cast<std::size_t>(length));
                std::int32_t copied = 0;
                if (length > 0) copied = functions->copyUnits(hostString, units.data(), length);
                if (copied < 0) copied = 0;
                if (copied > length) copied = length;
                string_ = makeString(std::u16string(units.begin(), units.begin() + copied));
            }
        } catch (const std::bad_alloc&) {
            string_.reset();
        }
    }
    if (destroy == 1 && functions != nullptr && functions->destroy != nullptr) functions->destroy(hostString);
}

MyStr::MyStr(const std::uint16_t* units, std::int32_t length) {
    if (units == nullptr || length < 0) return;
    const std::size_t n = length == 0 ? wstrlen(units) : static_cast<std::size_t>(length);
    try {
        string_ = makeString(std::u16string(units, units + n));
    } catch (const std::bad_alloc&) {
        string_.reset();
    }
}

MyStr::MyStr(const FileRef& file) {
    const std::size_t length = strnlen(file.path, sizeof file.path);
    if (length < sizeof file.path) string_ = decodeToString(std::string_view(file.path, length), kEncodingUTF8);
}

MyStr::~MyStr() {
    reset();
}

void MyStr::init() noexcept {
    reset();
}

void MyStr::releaseCopies() noexcept {
    utf8_.reset();
    utf16_.reset();
    if (host_ != nullptr) {
        const HostStringFunctions* functions = hostFunctions();
        if (functions != nullptr && functions->destroy != nullptr) functions->destroy(host_);
        host_ = nullptr;
    }
}

void MyStr::reset() noexcept {
    releaseCopies();
    string_.reset();
}

// ---- reading it back ---------------------------------------------------------

bool MyStr::getString(char* out, std::size_t max, TextEncoding encoding) const {
    if (!string_ || out == nullptr || max == 0) return false;
    try {
        std::string bytes;
        if (!encodeText(*string_, encoding, bytes) || bytes.size() >= max) return false;
        std::memcpy(out, bytes.data(), bytes.size());
        out[bytes.size()] = '\0';
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool MyStr::getString(unsigned char* out, std::size_t max, TextEncoding encoding) const {
    if (!string_ || out == nullptr || max == 0) return false;
    try {
        std::string bytes;
        if (!encodeText(*string_, encoding, bytes) || bytes.size() > 255 || bytes.size() >= max) return false;
        out[0] = static_cast<unsigned char>(bytes.size());
        std::memcpy(out + 1, bytes.data(), bytes.size());
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool MyStr::getString(std::uint16_t* out, std::size_t capacity) const noexcept {
    if (!string_ || out == nullptr || capacity <= string_->size()) return false;
    std::copy(string_->begin(), string_->end(), out);
    return true;
}

std::int32_t MyStr::getLen() const noexcept {
    return string_ ? static_cast<std::int32_t>(string_->size()) : 0;
}

const char* MyStr::UTF8Str() {
    if (!string_) return nullptr;
    if (!utf8_) {
        const std::size_t length = string_->size();
        std::unique_ptr<char[]> block(new (std::nothrow) char[(length + 1) * 4]());
        if (!block) return nullptr;
        encodeUTF8Prefix(*string_, block.get(), length * 4);
        utf8_ = std::move(block);
    }
    return utf8_.get();
}

const std::uint16_t* MyStr::uStr(std::int32_t* length) {
    if (!string_) return nullptr;
    if (!utf16_) {
        std::unique_ptr<std::uint16_t[]> units(new (std::nothrow) std::uint16_t[string_->size() + 1]);
        if (!units) return nullptr;
        std::copy(string_->begin(), string_->end(), units.get());
        units[string_->size()] = 0;
        utf16_ = std::move(units);
    }
    if (length != nullptr) *length = getLen();
    return utf16_.get();
}

std::uint16_t* MyStr::getUString() const {
    if (!string_) return nullptr;
    auto* units = static_cast<std::uint16_t*>(std::calloc(string_->size() + 1, sizeof(std::uint16_t)));
    if (units != nullptr) std::copy(string_->begin(), string_->end(), units);
    return units;
}

QXStringRef__* MyStr::qxStr() {
    if (host_ != nullptr || !string_) return host_;
    const HostStringFunctions* functions = hostFunctions();
    if (functions == nullptr || functions->create == nullptr) return nullptr;
    std::int32_t length = 0;
    const std::uint16_t* units = uStr(&length);
    if (units != nullptr) host_ = functions->create(units, length);
    return host_;
}

void MyStr::normalize() {
    if (!string_) return;
    try {
        std::u16string composed;
        if (!composeNFC(*string_, composed)) return;
        if (composed == *string_) return;
        PlatformString replacement = makeString(std::move(composed));
        if (!replacement) return;
        releaseCopies();
        string_ = std::move(replacement);
    } catch (const std::bad_alloc&) {
        // The string stays as it was.
    }
}

bool MyStr::getPath(char* out) const {
    if (!string_ || out == nullptr || string_->empty()) return false;
    try {
        std::string path;
        if (!encodeText(*string_, kEncodingUTF8, path)) return false;
        if ((*string_)[0] == u'/') {
            copyBounded(out, kPathSize, cutAtCharacter(path, kPathSize - 1));
            return true;
        }
        char converted[kPathSize];
        if (path.size() >= sizeof converted) return false;
        copyBounded(converted, path);
        if (!hfsToUnix(converted, sizeof converted)) return false;
        copyBounded(out, kPathSize, converted);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace lumbrel
