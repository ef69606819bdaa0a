// A growable array of fixed-size elements, copied in and compared as plain
// bytes. It never runs constructors or destructors of what it holds, so it
// suits ids, pointers and small records of plain data only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel {

class MyArray {
public:
    // Capacity grows by this many elements at a time: large id lists (tens of
    // thousands of boxes) are reallocated rarely without doubling the block.
    static constexpr std::int32_t kGrowStep = 1000;

    MyArray() noexcept = default;
    // A zero-filled block of `capacity` elements of `elemSize` bytes; no block
    // when the arguments are negative or the block cannot be had.
    MyArray(std::int32_t capacity, std::int32_t elemSize) noexcept;
    ~MyArray();

    MyArray(const MyArray&) = delete;
    MyArray& operator=(const MyArray&) = delete;

    // Replaces the block by a new zero-filled one (meant for an array made
    // empty). The count is kept, but never beyond the new capacity. False,
    // with the array unchanged, when the block cannot be had.
    bool setup(std::int32_t capacity, std::int32_t elemSize) noexcept;

    // Appends a copy of elemSize bytes from `elem` (which may point into this
    // array). False when the array cannot grow; nothing is added then.
    bool addElem(const void* elem) noexcept;
    // Appends every element of `other` in order (`other` may be this array).
    void addElems(const MyArray* other) noexcept;

    // The element at `index`; null unless 0 <= index < count. Valid until the
    // next growth.
    void* getElem(std::int32_t index) const noexcept;
    // Index of the first element whose bytes equal elemSize bytes at `elem`,
    // or -1.
    std::int32_t getPos(const void* elem) const noexcept;
    // Removes the element at `index` and returns the new count; an index
    // outside the elements changes nothing. The capacity never shrinks.
    std::int32_t rmvElem(std::int32_t index) noexcept;
    // Lowers the count to `count`; never raises it (nor takes it below 0).
    void setCnt(std::int32_t count) noexcept;

    std::int32_t getCount() const noexcept { return count_; }
    std::int32_t getCapacity() const noexcept { return capacity_; }
    std::uint32_t getElemSize() const noexcept { return elemSize_; }
    void* getData() const noexcept { return data_; }

private:
    bool grow() noexcept;
    unsigned char* slot(std::int32_t index) const noexcept;

    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
    std::uint32_t elemSize_ = 0;
    unsigned char* data_ = nullptr;
};

}  // namespace lumbrel
