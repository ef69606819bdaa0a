// Builds a small XML text element by element, for the reply of the scripting
// request. Texts and attribute values are written unchanged (nothing is
// escaped); every element ends with a CR.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel {

inline constexpr std::int16_t kXMLStreamNoMemory = -108;

class XMLStream {
public:
    XMLStream() noexcept = default;
    ~XMLStream();
    XMLStream(const XMLStream&) = delete;
    XMLStream& operator=(const XMLStream&) = delete;

    // A zeroed buffer of `size` bytes in place of the one held; the text is
    // empty again. 0, or -108 when memory runs out or the size is negative.
    std::int16_t setup(std::int32_t size) noexcept;

    // Each add appends "<name>text</name>\r" (after the indent) and answers
    // 0. When the element does not fit it writes nothing and answers the
    // buffer size it would have needed.
    //
    // The room asked for is the text length + 100 bytes beyond the length in
    // use, as the reply's buffer is sized by that rule; a long name or
    // attribute is also checked against the bytes really written, so nothing
    // goes past the buffer.
    std::int32_t add(const char* name, const char* text) noexcept;
    std::int32_t add(const char* name, std::int32_t number) noexcept;  // "%d"
    // "<name attrName=\"attrValue\">text</name>\r"
    std::int32_t add(const char* name, const char* text, const char* attrName, const char* attrValue) noexcept;

    // The text written so far ("" before setup).
    const char* text() const noexcept { return buffer_ != nullptr ? buffer_ : ""; }
    std::int32_t length() const noexcept { return length_; }
    std::int32_t capacity() const noexcept { return capacity_; }

private:
    // Writes the formatted element when `required` (the rule's size) and the
    // formatted length both fit; the answer of add.
    std::int32_t append(std::int64_t required, const char* name, const char* text, const char* attrName,
                        const char* attrValue) noexcept;

    char* buffer_ = nullptr;
    std::int32_t capacity_ = 0;
    std::int32_t length_ = 0;
    // Put in front of each line, one tab per nesting level; no element the
    // module writes is nested, so it stays empty.
    char indent_[256] = {};
};

}  // namespace lumbrel
