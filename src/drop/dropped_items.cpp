#include "drop/dropped_items.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "editing/relink_request.h"

namespace lumbrel {

namespace {

static_assert(sizeof(XTFileSpec) == 1552, "the host's file record is 1552 bytes");
static_assert(sizeof(XTDroppedItem) == 1556, "a dropped item is 1556 bytes");
static_assert(offsetof(XTDroppedItem, spec) == 4, "the file record follows the four-byte type");

constexpr std::int32_t kPictureBoxSide = 72;
constexpr std::int32_t kTextBoxSide = 144;
constexpr int kCascadeStep = 20;

char lowerAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view lastComponent(std::string_view path) noexcept {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::int16_t clampScreen(std::int64_t value) noexcept {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

std::string_view dropExtension(std::string_view path) noexcept {
    const std::string_view name = lastComponent(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

bool extensionListed(std::string_view list, std::string_view extension) noexcept {
    if (extension.empty()) return false;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(';'), list.size());
        if (equalNoCase(list.substr(0, end), extension)) return true;
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return false;
}

std::int16_t dropContentKind(std::string_view path, std::string_view pictureExtensions,
                             std::string_view textExtensions) noexcept {
    const std::string_view extension = dropExtension(path);
    if (extensionListed("lay;e", extension) || extensionListed(pictureExtensions, extension)) return XT_BOX_PICTURE;
    if (extensionListed(textExtensions, extension)) return XT_BOX_TEXT;
    return 0;
}

std::int32_t newDropBoxSide(std::int16_t contentKind) noexcept {
    if (contentKind == XT_BOX_PICTURE) return kPictureBoxSide;
    if (contentKind == XT_BOX_TEXT) return kTextBoxSide;
    return 0;
}

Fixed dropPictureScale(std::int32_t percent) noexcept {
    const std::int64_t scale = std::int64_t{percent} * 65536 / 100;
    return static_cast<Fixed>(std::clamp<std::int64_t>(scale, INT32_MIN, INT32_MAX));
}

XTPoint cascadePoint(XTPoint first, std::size_t index) noexcept {
    const std::int64_t step = static_cast<std::int64_t>(std::min<std::size_t>(index, 1U << 20)) * kCascadeStep;
    return XTPoint{clampScreen(first.v + step), clampScreen(first.h + step)};
}

bool isRelinkListPath(std::string_view path) noexcept {
    return lastComponent(path) == kRelinkListName;
}

bool isPdfPath(std::string_view path) noexcept {
    return path.size() >= 4 && equalNoCase(path.substr(path.size() - 4), ".pdf");
}

DroppedItemList::DroppedItemList(DroppedItemList&& other) noexcept
    : items_(std::move(other.items_)), capacity_(other.capacity_), count_(other.count_) {
    other.capacity_ = 0;
    other.count_ = 0;
}

DroppedItemList& DroppedItemList::operator=(DroppedItemList&& other) noexcept {
    if (this != &other) {
        items_ = std::move(other.items_);
        capacity_ = std::exchange(other.capacity_, 0);
        count_ = std::exchange(other.count_, 0);
    }
    return *this;
}

bool DroppedItemList::reserve(std::size_t count) noexcept {
    clear();
    if (count == 0) return true;
    items_.reset(new (std::nothrow) XTDroppedItem[count]);
    if (!items_) return false;
    capacity_ = count;
    return true;
}

bool DroppedItemList::add(const XTFileSpec& spec, std::string_view identifier) noexcept {
    if (count_ >= capacity_) return false;
    XTDroppedItem& item = items_[count_];
    item = XTDroppedItem{};
    item.spec = spec;
    item.spec.label[0] = '\0';
    item.type = XT_DROPITEM_FILE;
    if (!identifier.empty()) {
        item.type = XT_DROPITEM_PARTNER;
        const std::size_t n = std::min(identifier.size(), sizeof item.spec.label - 1);
        std::memcpy(item.spec.label, identifier.data(), n);
        item.spec.label[n] = '\0';
    }
    ++count_;
    return true;
}

void DroppedItemList::clear() noexcept {
    items_.reset();
    capacity_ = 0;
    count_ = 0;
}

std::string_view identifierAt(const char* list, std::size_t size, std::size_t index) noexcept {
    if (list == nullptr) return {};
    std::size_t at = 0;
    for (std::size_t n = 0; at < size; ++n) {
        const auto* end = static_cast<const char*>(std::memchr(list + at, '\0', size - at));
        const std::size_t length = (end != nullptr ? static_cast<std::size_t>(end - list) : size) - at;
        if (length == 0) return {};  // the empty text ends the list
        if (n == index) return std::string_view(list + at, length);
        at += length + 1;
    }
    return {};
}

}  // namespace lumbrel
