// A packed list of unique NUL-terminated strings in one buffer of fixed
// capacity: no allocation per string, and the list never grows (a string
// that does not fit is refused). Strings keep the order they were placed in
// and are compared byte by byte (case-sensitive).
//
// Counts, positions and byte moves are 32-bit, so the list holds any number
// of strings and inserts or removes anywhere in a buffer of any size.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel {

class CMyStringList {
public:
    // Special positions of getPtr(int32_t) and add().
    static constexpr std::int32_t kStart = -1;   // before the first string
    static constexpr std::int32_t kAppend = -2;  // behind the last string

    // A zero-filled buffer of `capacity` bytes when it is above 0; without
    // it (or when it cannot be had) the list has no room at all.
    explicit CMyStringList(std::int32_t capacity = 0) noexcept;
    // Virtual so that a list specialised by overriding getPtr(const char*)
    // is released properly through a pointer to this class.
    virtual ~CMyStringList();

    CMyStringList(const CMyStringList&) = delete;
    CMyStringList& operator=(const CMyStringList&) = delete;

    // A new, empty, zero-filled buffer of `capacity` bytes in place of the
    // old one. Returns TRUE ON FAILURE (the list is left as it was) and
    // false on success.
    bool setup(std::int32_t capacity) noexcept;
    // Empties the list; the buffer is kept.
    void clear() noexcept;

    virtual std::int32_t getCount() const noexcept;
    // The first string equal to `text`, or null. add() and remove(const
    // char*) find strings through it, so a list that overrides it (adding
    // `using CMyStringList::getPtr;` to keep the position form) decides what
    // counts as equal.
    virtual char* getPtr(const char* text) const noexcept;

    // kStart: the start of the buffer; kAppend: the end of the used bytes;
    // 0 to count - 1: the string at that position; otherwise null.
    char* getPtr(std::int32_t pos) const noexcept;

    // Position of the first string equal to the text, or -1.
    std::int32_t getPos(const char* text) const noexcept;
    // The same for a length-prefixed string (length byte, up to 255 bytes).
    std::int32_t getPos(const unsigned char* pascalText) const noexcept;

    // Inserts a copy of `text` before the string at `pos` (or at kStart /
    // kAppend). 0 on success; -1 when the text is already present, does not
    // fit, or `pos` names no insertion point.
    int add(const char* text, std::int32_t pos) noexcept;

    // Removes the string that starts at `start`; false (nothing changed) when
    // `start` is not the start of a string of the list.
    bool rmv(const char* start) noexcept;
    // Removes the string found through getPtr(const char*); false when absent.
    bool remove(const char* text) noexcept;
    // Removes the string at `pos`; false when the position names no string.
    bool remove(std::int32_t pos) noexcept;

    std::int32_t getCapacity() const noexcept { return capacity_; }
    std::int32_t getUsed() const noexcept { return used_; }
    const char* getBuffer() const noexcept { return buffer_; }

private:
    char* find(const char* text) const noexcept;
    void rmvAt(char* start) noexcept;

    char* buffer_ = nullptr;
    std::int32_t capacity_ = 0;
    std::int32_t used_ = 0;
    std::int32_t count_ = 0;
};

}  // namespace lumbrel
