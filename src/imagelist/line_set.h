// The sorted image list's lines: a packed string list of fixed capacity that
// keeps each line once. The plain list finds a duplicate by walking all its
// strings, which makes a long list quadratic; this one keeps an index of its
// strings, so a list of tens of thousands of lines is built in linear time.
// Lines are only ever appended, so the strings never move and the index
// stays valid.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_set>

#include "util/string_list.h"

namespace lumbrel {

class IndexedLineList final : public CMyStringList {
public:
    explicit IndexedLineList(std::int32_t capacity) noexcept;

    // Appends a copy of the line; false when it is already there or does not fit.
    bool append(const char* line) noexcept;

    using CMyStringList::getPtr;
    char* getPtr(const char* text) const noexcept override;

private:
    std::unordered_set<std::string_view> index_;
};

}  // namespace lumbrel
