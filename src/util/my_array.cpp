#include "util/my_array.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>

namespace lumbrel {

namespace {

// Bytes of `capacity` elements of `elemSize`, or false when that does not fit
// in size_t. A block is never asked for 0 bytes: realloc would free it.
bool blockBytes(std::int32_t capacity, std::uint32_t elemSize, std::size_t& bytes) noexcept {
    const auto cap = static_cast<std::size_t>(capacity);
    if (elemSize != 0 && cap > std::numeric_limits<std::size_t>::max() / elemSize) return false;
    bytes = cap * elemSize;
    if (bytes == 0) bytes = 1;
    return true;
}

}  // namespace

MyArray::MyArray(std::int32_t capacity, std::int32_t elemSize) noexcept {
    setup(capacity, elemSize);
}

MyArray::~MyArray() {
    std::free(data_);
}

bool MyArray::setup(std::int32_t capacity, std::int32_t elemSize) noexcept {
    if (capacity < 0 || elemSize < 0) return false;
    std::size_t bytes = 0;
    if (!blockBytes(capacity, static_cast<std::uint32_t>(elemSize), bytes)) return false;
    void* block = std::calloc(bytes, 1);
    if (block == nullptr) return false;
    std::free(data_);
    data_ = static_cast<unsigned char*>(block);
    capacity_ = capacity;
    elemSize_ = static_cast<std::uint32_t>(elemSize);
    if (count_ > capacity_) count_ = capacity_;
    return true;
}

bool MyArray::grow() noexcept {
    if (capacity_ > std::numeric_limits<std::int32_t>::max() - kGrowStep) return false;
    const std::int32_t newCapacity = capacity_ + kGrowStep;
    std::size_t bytes = 0;
    if (!blockBytes(newCapacity, elemSize_, bytes)) return false;
    void* block = std::realloc(data_, bytes);
    if (block == nullptr) return false;
    data_ = static_cast<unsigned char*>(block);
    // Keep the grown part zero-filled, as a new block is. The old size fits:
    // it is below the new one.
    const std::size_t oldBytes = static_cast<std::size_t>(capacity_) * elemSize_;
    if (bytes > oldBytes) std::memset(data_ + oldBytes, 0, bytes - oldBytes);
    capacity_ = newCapacity;
    return true;
}

unsigned char* MyArray::slot(std::int32_t index) const noexcept {
    return data_ + static_cast<std::size_t>(index) * elemSize_;
}

bool MyArray::addElem(const void* elem) noexcept {
    if (elem == nullptr) return false;
    const auto* source = static_cast<const unsigned char*>(elem);
    // A source inside the block moves with it when the block is reallocated.
    std::size_t inside = 0;
    bool fromBlock = false;
    if (data_ != nullptr) {
        const std::less<const unsigned char*> before;
        const unsigned char* end = slot(capacity_);
        if (!before(source, data_) && before(source, end)) {
            fromBlock = true;
            inside = static_cast<std::size_t>(source - data_);
        }
    }
    if (count_ >= capacity_ && !grow()) return false;
    if (data_ == nullptr) return false;
    if (fromBlock) source = data_ + inside;
    std::memmove(slot(count_), source, elemSize_);
    ++count_;
    return true;
}

void MyArray::addElems(const MyArray* other) noexcept {
    if (other == nullptr) return;
    // Read by index each time: the other array may be this one, whose block
    // moves as it grows; its count is taken before the first append.
    const std::int32_t n = other->count_;
    for (std::int32_t i = 0; i < n; ++i) {
        if (!addElem(other->getElem(i))) return;
    }
}

void* MyArray::getElem(std::int32_t index) const noexcept {
    if (index < 0 || index >= count_ || data_ == nullptr) return nullptr;
    return slot(index);
}

std::int32_t MyArray::getPos(const void* elem) const noexcept {
    if (elem == nullptr || data_ == nullptr) return -1;
    for (std::int32_t i = 0; i < count_; ++i) {
        if (std::memcmp(slot(i), elem, elemSize_) == 0) return i;
    }
    return -1;
}

std::int32_t MyArray::rmvElem(std::int32_t index) noexcept {
    if (index < 0 || index >= count_) return count_;
    const auto behind = static_cast<std::size_t>(count_ - index - 1);
    if (behind > 0) std::memmove(slot(index), slot(index + 1), behind * elemSize_);
    return --count_;
}

void MyArray::setCnt(std::int32_t count) noexcept {
    if (count >= 0 && count < count_) count_ = count;
}

}  // namespace lumbrel
