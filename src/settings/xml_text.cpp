#include "settings/xml_text.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/platform_traits.h"

namespace lumbrel {

namespace {

// ASCII case folding by table; other bytes stand for themselves, as the
// element names are ASCII and the texts around them may be any UTF-8.
constexpr std::array<unsigned char, 256> kFold = [] {
    std::array<unsigned char, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto c = static_cast<unsigned char>(i);
        table[i] = (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    }
    return table;
}();

inline unsigned char fold(char c) noexcept {
    return kFold[static_cast<unsigned char>(c)];
}

// An opening or closing tag, already folded. Every tag starts with "<".
struct Tag {
    std::array<unsigned char, kMaxXMLNameLength + 4> bytes{};
    std::size_t length = 0;
};

bool makeTag(std::string_view prefix, std::string_view name, Tag& tag) noexcept {
    if (name.size() > kMaxXMLNameLength) return false;
    std::size_t n = 0;
    for (const char c : prefix) tag.bytes[n++] = fold(c);
    for (const char c : name) tag.bytes[n++] = fold(c);
    tag.bytes[n++] = '>';
    tag.length = n;
    return true;
}

// The first occurrence of `tag` at or after `from`, without regard to ASCII
// case. The leading "<" anchors the scan (strchr runs word-wise); the rest is
// compared in place, so a text of any size is searched without a copy. A
// mismatch at the text's NUL ends each comparison, as a tag holds no NUL.
const char* findTag(const char* from, const Tag& tag) noexcept {
    for (const char* p = std::strchr(from, '<'); p != nullptr; p = std::strchr(p + 1, '<')) {
        std::size_t i = 1;
        while (i < tag.length && fold(p[i]) == tag.bytes[i]) ++i;
        if (i == tag.length) return p;
    }
    return nullptr;
}

// Where an element lies in its text.
struct Element {
    const char* open = nullptr;          // "<" of the opening tag
    const char* contentBegin = nullptr;  // just after the opening tag
    const char* contentEnd = nullptr;    // "<" of the closing tag
    const char* end = nullptr;           // just after the closing tag
};

// Both tags of `name`. With `closeAtBlank`, the closing tag names only the
// part before the first blank, for names that carry attributes.
bool makeTags(const char* text, const char* name, bool closeAtBlank, Tag& open, Tag& close) noexcept {
    if (text == nullptr || name == nullptr || *name == '\0') return false;
    const std::string_view full(name, ::strnlen(name, kMaxXMLNameLength + 1));
    std::string_view closing = full;
    if (closeAtBlank) {
        const std::size_t blank = full.find(' ');
        if (blank != std::string_view::npos) closing = full.substr(0, blank);
    }
    return makeTag("<", full, open) && makeTag("</", closing, close);
}

bool findElement(const char* text, const char* name, bool closeAtBlank, Element& element) noexcept {
    Tag open;
    Tag close;
    if (!makeTags(text, name, closeAtBlank, open, close)) return false;
    const char* o = findTag(text, open);
    if (o == nullptr) return false;
    const char* contentBegin = o + open.length;
    const char* c = findTag(contentBegin, close);
    if (c == nullptr) return false;
    element = {o, contentBegin, c, c + close.length};
    return true;
}

char* copyOf(const char* begin, const char* end) noexcept {
    const auto length = static_cast<std::size_t>(end - begin);
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy == nullptr) return nullptr;
    if (length > 0) std::memcpy(copy, begin, length);
    copy[length] = '\0';
    return copy;
}

}  // namespace

bool findXMLContent(const char* text, const char* name, std::string_view& content) noexcept {
    Element element;
    if (!findElement(text, name, false, element)) return false;
    content = std::string_view(element.contentBegin, static_cast<std::size_t>(element.contentEnd - element.contentBegin));
    return true;
}

std::size_t getXMLString(const char* text, const char* name, char* out, std::size_t outSize) noexcept {
    std::string_view content;
    if (out == nullptr || outSize == 0 || !findXMLContent(text, name, content)) return 0;
    return copyBounded(out, outSize, content);
}

char* getXMLData(const char* text, const char* name) noexcept {
    // The POSIX build answers as the Mac build: attributes in the name are
    // left out of the closing tag.
    Element element;
    if (!findElement(text, name, true, element)) return nullptr;
    return copyOf(element.contentBegin, element.contentEnd);
}

std::int32_t getXMLValue(const char* text, const char* name, std::int32_t defaultValue) noexcept {
    std::string_view content;
    if (!findXMLContent(text, name, content) || content.empty()) return defaultValue;
    if constexpr (platform::Traits::kXmlBooleanWords) {
        if (content == "true") return 1;
        if (content == "false") return 0;
    }
    // The number is read in place: digits, signs and blanks all differ from
    // the "<" of the closing tag, so the conversion cannot run past it.
    const long long number = std::strtoll(content.data(), nullptr, 10);
    if (number > INT32_MAX) return INT32_MAX;
    if (number < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(number);
}

bool EnumXMLData(const char* text, const char* name, EnumXMLCallback callback, std::intptr_t value) {
    Tag open;
    Tag close;
    if (callback == nullptr || !makeTags(text, name, false, open, close)) return true;

    // Elements whose content holds another opening tag of the name share one
    // closing tag, and each later one is a tail of the one before. So the
    // closing tag found last is reused while it lies ahead, and one copy
    // ending there serves every element that ends there: the walk stays
    // linear however the tags are arranged.
    const char* closeTag = nullptr;
    char* copy = nullptr;
    std::size_t copyCapacity = 0;
    const char* copyBegin = nullptr;  // the text range the copy holds
    const char* copyEnd = nullptr;

    bool completed = true;
    const char* from = text;
    for (;;) {
        const char* o = findTag(from, open);
        if (o == nullptr) break;
        const char* contentBegin = o + open.length;
        if (closeTag == nullptr || closeTag < contentBegin) {
            closeTag = findTag(contentBegin, close);
            if (closeTag == nullptr) break;
        }
        const char* end = closeTag + close.length;
        if (copy == nullptr || end != copyEnd || o < copyBegin) {
            const auto length = static_cast<std::size_t>(end - o);
            if (length + 1 > copyCapacity) {
                std::free(copy);
                copy = static_cast<char*>(std::malloc(length + 1));
                if (copy == nullptr) {
                    completed = false;
                    break;
                }
                copyCapacity = length + 1;
            }
            std::memcpy(copy, o, length);
            copy[length] = '\0';
            copyBegin = o;
            copyEnd = end;
        }
        if (!callback(copy + (o - copyBegin), static_cast<std::size_t>(end - o), value)) {
            completed = false;
            break;
        }
        from = contentBegin;
    }
    std::free(copy);
    return completed;
}

}  // namespace lumbrel
