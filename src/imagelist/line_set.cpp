#include "imagelist/line_set.h"

#include <new>

namespace lumbrel {

IndexedLineList::IndexedLineList(std::int32_t capacity) noexcept : CMyStringList(capacity) {}

bool IndexedLineList::append(const char* line) noexcept {
    if (line == nullptr) return false;
    char* at = getPtr(kAppend);
    if (at == nullptr || add(line, kAppend) != 0) return false;
    try {
        index_.insert(std::string_view(at));
    } catch (const std::bad_alloc&) {
        // Without its index entry the line would be added again: take it out.
        rmv(at);
        return false;
    }
    return true;
}

char* IndexedLineList::getPtr(const char* text) const noexcept {
    if (text == nullptr) return nullptr;
    const auto found = index_.find(std::string_view(text));
    return found == index_.end() ? nullptr : const_cast<char*>(found->data());
}

}  // namespace lumbrel
