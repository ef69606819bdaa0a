#include "util/string_list.h"

#include <cstdlib>
#include <cstring>
#include <functional>

namespace lumbrel {

CMyStringList::CMyStringList(std::int32_t capacity) noexcept {
    if (capacity > 0) {
        buffer_ = static_cast<char*>(std::calloc(static_cast<std::size_t>(capacity), 1));
        if (buffer_ != nullptr) capacity_ = capacity;
    }
}

CMyStringList::~CMyStringList() {
    std::free(buffer_);
}

bool CMyStringList::setup(std::int32_t capacity) noexcept {
    if (capacity <= 0) return true;
    auto* block = static_cast<char*>(std::calloc(static_cast<std::size_t>(capacity), 1));
    if (block == nullptr) return true;
    std::free(buffer_);
    buffer_ = block;
    capacity_ = capacity;
    used_ = 0;
    count_ = 0;
    return false;
}

void CMyStringList::clear() noexcept {
    used_ = 0;
    count_ = 0;
}

std::int32_t CMyStringList::getCount() const noexcept {
    return count_;
}

char* CMyStringList::getPtr(std::int32_t pos) const noexcept {
    if (buffer_ == nullptr) return nullptr;
    if (pos == kStart) return buffer_;
    if (pos == kAppend) return buffer_ + used_;
    if (pos < 0 || pos >= count_) return nullptr;
    char* p = buffer_;
    for (std::int32_t i = 0; i < pos; ++i) p += std::strlen(p) + 1;
    return p;
}

char* CMyStringList::find(const char* text) const noexcept {
    if (text == nullptr || buffer_ == nullptr) return nullptr;
    // The strings lie back to back, so a string equal to `text` is its bytes
    // with the terminator at a string start (the buffer start or behind a
    // NUL). Searching for its first byte visits far fewer places than a walk
    // over every string, and the leftmost hit is the first string in order.
    const std::size_t n = std::strlen(text) + 1;
    const auto used = static_cast<std::size_t>(used_);
    const int first = static_cast<unsigned char>(text[0]);
    std::size_t i = 0;
    while (n <= used && i <= used - n) {
        const void* hit = std::memchr(buffer_ + i, first, used - n + 1 - i);
        if (hit == nullptr) return nullptr;
        i = static_cast<std::size_t>(static_cast<const char*>(hit) - buffer_);
        if ((i == 0 || buffer_[i - 1] == '\0') && std::memcmp(buffer_ + i, text, n) == 0) return buffer_ + i;
        ++i;
    }
    return nullptr;
}

char* CMyStringList::getPtr(const char* text) const noexcept {
    return find(text);
}

std::int32_t CMyStringList::getPos(const char* text) const noexcept {
    const char* hit = find(text);
    if (hit == nullptr) return -1;
    const char* p = buffer_;
    std::int32_t pos = 0;
    while (p != hit) {
        p += std::strlen(p) + 1;
        ++pos;
    }
    return pos;
}

std::int32_t CMyStringList::getPos(const unsigned char* pascalText) const noexcept {
    if (pascalText == nullptr) return -1;
    char text[256];
    const std::size_t len = pascalText[0];
    std::memcpy(text, pascalText + 1, len);
    text[len] = '\0';
    return getPos(text);
}

int CMyStringList::add(const char* text, std::int32_t pos) noexcept {
    if (text == nullptr) return -1;
    if (getPtr(text) != nullptr) return -1;
    char* at = getPtr(pos);
    if (at == nullptr) return -1;
    const std::size_t n = std::strlen(text) + 1;
    const auto used = static_cast<std::size_t>(used_);
    if (n > static_cast<std::size_t>(capacity_) - used) return -1;
    char* end = buffer_ + used;
    // A text taken from this list's own bytes (a string's tail) moves with
    // them; strings lie wholly before or behind the insertion point.
    const std::less<const char*> before;
    const bool moves = !before(text, at) && before(text, end);
    std::memmove(at + n, at, static_cast<std::size_t>(end - at));
    std::memcpy(at, moves ? text + n : text, n);
    used_ += static_cast<std::int32_t>(n);
    ++count_;
    return 0;
}

void CMyStringList::rmvAt(char* start) noexcept {
    const std::size_t n = std::strlen(start) + 1;
    char* end = buffer_ + used_;
    std::memmove(start, start + n, static_cast<std::size_t>(end - (start + n)));
    used_ -= static_cast<std::int32_t>(n);
    --count_;
    buffer_[used_] = '\0';
}

bool CMyStringList::rmv(const char* start) noexcept {
    if (start == nullptr || buffer_ == nullptr) return false;
    // Only a string start inside the used bytes is accepted (anything else
    // would move bytes across the strings): the buffer start or a byte behind
    // a terminator.
    const std::less<const char*> before;
    if (before(start, buffer_) || !before(start, buffer_ + used_)) return false;
    const auto offset = static_cast<std::size_t>(start - buffer_);
    if (offset > 0 && buffer_[offset - 1] != '\0') return false;
    rmvAt(buffer_ + offset);
    return true;
}

bool CMyStringList::remove(const char* text) noexcept {
    char* p = getPtr(text);
    return p != nullptr && rmv(p);
}

bool CMyStringList::remove(std::int32_t pos) noexcept {
    // kStart is where the first string begins; kAppend names no string.
    if (pos == kStart && count_ > 0) pos = 0;
    if (pos < 0) return false;
    char* p = getPtr(pos);
    if (p == nullptr) return false;
    rmvAt(p);
    return true;
}

}  // namespace lumbrel
