#include "settings/xml_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lumbrel {

namespace {

const char* orEmpty(const char* text) noexcept {
    return text != nullptr ? text : "";
}

std::int64_t len(const char* text) noexcept {
    return static_cast<std::int64_t>(std::strlen(text));
}

std::int32_t clampSize(std::int64_t size) noexcept {
    return static_cast<std::int32_t>(std::min<std::int64_t>(size, INT32_MAX));
}

}  // namespace

XMLStream::~XMLStream() {
    std::free(buffer_);
}

std::int16_t XMLStream::setup(std::int32_t size) noexcept {
    std::free(buffer_);
    buffer_ = nullptr;
    capacity_ = 0;
    length_ = 0;
    if (size < 0) return kXMLStreamNoMemory;
    if (size == 0) return 0;
    buffer_ = static_cast<char*>(std::calloc(static_cast<std::size_t>(size), 1));
    if (buffer_ == nullptr) return kXMLStreamNoMemory;
    capacity_ = size;
    return 0;
}

std::int32_t XMLStream::add(const char* name, const char* text) noexcept {
    return append(std::int64_t{length_} + len(orEmpty(text)) + 100, name, text, nullptr, nullptr);
}

std::int32_t XMLStream::add(const char* name, std::int32_t number) noexcept {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", number);
    return add(name, digits);
}

std::int32_t XMLStream::add(const char* name, const char* text, const char* attrName,
                            const char* attrValue) noexcept {
    return append(std::int64_t{length_} + 100, name, text, orEmpty(attrName), orEmpty(attrValue));
}

std::int32_t XMLStream::append(std::int64_t required, const char* name, const char* text, const char* attrName,
                               const char* attrValue) noexcept {
    name = orEmpty(name);
    text = orEmpty(text);
    const bool withAttribute = attrName != nullptr;
    // "<" name ">" text "</" name ">\r", and for the attribute form also
    // " " attrName "=\"" attrValue "\"".
    std::int64_t written = len(indent_) + 2 * len(name) + len(text) + 6;
    if (withAttribute) written += len(attrName) + len(attrValue) + 4;
    const std::int64_t needed = std::max(required, std::int64_t{length_} + written + 1);
    if (buffer_ == nullptr || needed > capacity_) return clampSize(needed);

    char* at = buffer_ + length_;
    const auto room = static_cast<std::size_t>(capacity_ - length_);
    const int n = withAttribute
                      ? std::snprintf(at, room, "%s<%s %s=\"%s\">%s</%s>\r", indent_, name, attrName, attrValue, text,
                                      name)
                      : std::snprintf(at, room, "%s<%s>%s</%s>\r", indent_, name, text, name);
    if (n != written) {  // cannot happen with the lengths measured above
        *at = '\0';
        return clampSize(needed);
    }
    length_ += n;
    return 0;
}

}  // namespace lumbrel
