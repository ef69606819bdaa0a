// What a window holds: text, visibility, values, items, selections, fonts and
// named properties. Setting them notifies nobody, as in Win32, except the
// text of a single-line edit field (EN_CHANGE).
#include <algorithm>
#include <utility>

#include "windows_state.h"

namespace lumbrel::platform {

using desktop::windows::find;
using desktop::windows::state;
namespace dw = desktop::windows;

namespace {

// A byte offset moved back to the start of the UTF-8 sequence it falls in.
int characterBoundary(const std::string& text, int offset) noexcept {
    auto at = static_cast<std::size_t>(std::clamp(offset, 0, static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF))));
    while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
    return static_cast<int>(at);
}

dw::Item* itemAt(dw::Window* window, int index) noexcept {
    if (window == nullptr || index < 0 || static_cast<std::size_t>(index) >= window->items.size()) return nullptr;
    return &window->items[static_cast<std::size_t>(index)];
}

}  // namespace

void setWindowText(WindowRef window, std::string_view utf8) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    try {
        w->text = std::string(utf8.substr(0, utf8.find('\0')));
    } catch (...) {
        return;
    }
    w->selectionStart = 0;
    w->selectionEnd = 0;
    ++w->invalidations;
    // A single-line edit field reports its new text as the Edit class does
    // on WM_SETTEXT; a multi-line one does not.
    if (dw::isEditClass(*w) && (w->style & style::kEditMultiLine) == 0) {
        dw::notifyParent(window, lumbrel::platform::Notification::EditChange);
    }
}

std::string windowText(WindowRef window) {
    const dw::Window* w = find(window);
    return w != nullptr ? w->text : std::string();
}

void showWindow(WindowRef window, bool visible) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    w->style = visible ? (w->style | style::kVisible) : (w->style & ~style::kVisible);
    ++w->invalidations;
}

bool isWindowShown(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr && (w->style & style::kVisible) != 0;
}

bool isWindowVisible(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return false;
    while (w != nullptr) {
        if ((w->style & style::kVisible) == 0) return false;
        w = find(w->parent);
    }
    return true;
}

void enableWindow(WindowRef window, bool enabled) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    w->style = enabled ? (w->style & ~style::kDisabled) : (w->style | style::kDisabled);
    ++w->invalidations;
}

bool isWindowEnabled(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr && (w->style & style::kDisabled) == 0;
}

void invalidateWindow(WindowRef window) noexcept {
    if (dw::Window* w = find(window)) ++w->invalidations;
}

void setControlValue(WindowRef window, int value) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    if (dw::hasItems(*w)) {
        // An index past the items selects nothing, as CB_SETCURSEL does.
        if (value < 0 || static_cast<std::size_t>(value) >= w->items.size()) value = -1;
        if (dw::isMultipleSelection(*w) && value >= 0) w->items[static_cast<std::size_t>(value)].selected = true;
        // A combo box shows the current item in its field (CB_SETCURSEL does so too).
        if (dw::isComboClass(*w)) {
            try {
                w->text = value >= 0 ? w->items[static_cast<std::size_t>(value)].text : std::string();
            } catch (...) {
            }
        }
    } else if (dw::isProgressClass(*w)) {
        value = std::clamp(value, std::min(w->minimum, w->maximum), std::max(w->minimum, w->maximum));
    }
    w->value = value;
    ++w->invalidations;
}

int controlValue(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->value : 0;
}

void setControlRange(WindowRef window, int minimum, int maximum) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    w->minimum = minimum;
    w->maximum = maximum;
    if (dw::isProgressClass(*w)) w->value = std::clamp(w->value, std::min(minimum, maximum), std::max(minimum, maximum));
    ++w->invalidations;
}

int controlMinimum(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->minimum : 0;
}

int controlMaximum(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->maximum : 0;
}

int addItem(WindowRef window, std::string_view utf8) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr || !dw::hasItems(*w) || w->items.size() >= 0x7FFFFFFE) return -1;
    try {
        w->items.push_back({std::string(utf8.substr(0, utf8.find('\0'))), 0, false});
    } catch (...) {
        return -1;
    }
    ++w->invalidations;
    return static_cast<int>(w->items.size() - 1);
}

int itemCount(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? static_cast<int>(w->items.size()) : 0;
}

std::string itemText(WindowRef window, int index) {
    const dw::Item* item = itemAt(find(window), index);
    return item != nullptr ? item->text : std::string();
}

void setItemText(WindowRef window, int index, std::string_view utf8) noexcept {
    dw::Item* item = itemAt(find(window), index);
    if (item == nullptr) return;
    try {
        item->text = std::string(utf8.substr(0, utf8.find('\0')));
    } catch (...) {
    }
    invalidateWindow(window);
}

void deleteItem(WindowRef window, int index) noexcept {
    dw::Window* w = find(window);
    if (itemAt(w, index) == nullptr) return;
    w->items.erase(w->items.begin() + index);
    if (w->value == index) {
        w->value = -1;
    } else if (w->value > index) {
        --w->value;
    }
    ++w->invalidations;
}

void clearItems(WindowRef window) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    w->items.clear();
    if (dw::hasItems(*w)) w->value = -1;
    ++w->invalidations;
}

void setItemData(WindowRef window, int index, std::intptr_t data) noexcept {
    if (dw::Item* item = itemAt(find(window), index)) item->data = data;
}

std::intptr_t itemData(WindowRef window, int index) noexcept {
    const dw::Item* item = itemAt(find(window), index);
    return item != nullptr ? item->data : 0;
}

void setItemSelected(WindowRef window, int index, bool selected) noexcept {
    dw::Window* w = find(window);
    dw::Item* item = itemAt(w, index);
    if (item == nullptr) return;
    if (dw::isMultipleSelection(*w)) {
        item->selected = selected;
        if (selected) w->value = index;
    } else if (selected) {
        w->value = index;
    } else if (w->value == index) {
        w->value = -1;
    }
    ++w->invalidations;
}

bool isItemSelected(WindowRef window, int index) noexcept {
    dw::Window* w = find(window);
    const dw::Item* item = itemAt(w, index);
    if (item == nullptr) return false;
    return dw::isMultipleSelection(*w) ? item->selected : w->value == index;
}

void setEditSelection(WindowRef window, int start, int end) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    const int length = static_cast<int>(std::min<std::size_t>(w->text.size(), 0x7FFFFFFF));
    if (end < 0) end = length;
    if (start < 0) start = length;
    start = characterBoundary(w->text, start);
    end = characterBoundary(w->text, end);
    if (start > end) std::swap(start, end);
    w->selectionStart = start;
    w->selectionEnd = end;
}

void editSelection(WindowRef window, int& start, int& end) noexcept {
    const dw::Window* w = find(window);
    start = w != nullptr ? w->selectionStart : 0;
    end = w != nullptr ? w->selectionEnd : 0;
}

FontRef createFont(const char* face, int heightPixels, int weight) noexcept {
    auto& fonts = state().fonts;
    try {
        fonts.push_back({face != nullptr ? face : "", heightPixels, weight});
    } catch (...) {
        return nullptr;
    }
    return reinterpret_cast<FontRef>(static_cast<std::uintptr_t>(fonts.size()));
}

void setWindowFont(WindowRef window, FontRef font) noexcept {
    if (dw::Window* w = find(window)) {
        w->font = font;
        ++w->invalidations;
    }
}

FontRef windowFont(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->font : nullptr;
}

void setProperty(WindowRef window, std::string_view name, std::intptr_t value) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    try {
        auto found = w->properties.find(name);
        if (found == w->properties.end()) found = w->properties.emplace(std::string(name), dw::Property{}).first;
        found->second.isText = false;
        found->second.value = value;
        found->second.text.reset();
    } catch (...) {
    }
}

std::intptr_t property(WindowRef window, std::string_view name) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return 0;
    const auto found = w->properties.find(name);
    return found == w->properties.end() || found->second.isText ? 0 : found->second.value;
}

bool hasProperty(WindowRef window, std::string_view name) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr && w->properties.find(name) != w->properties.end();
}

void setTextProperty(WindowRef window, std::string_view name, std::string_view utf8) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    try {
        auto text = std::make_unique<std::string>(utf8.substr(0, utf8.find('\0')));
        auto found = w->properties.find(name);
        if (found == w->properties.end()) found = w->properties.emplace(std::string(name), dw::Property{}).first;
        found->second.isText = true;
        found->second.value = 0;
        found->second.text = std::move(text);
    } catch (...) {
    }
}

const std::string* textProperty(WindowRef window, std::string_view name) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return nullptr;
    const auto found = w->properties.find(name);
    return found == w->properties.end() || !found->second.isText ? nullptr : found->second.text.get();
}

void removeProperty(WindowRef window, std::string_view name) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr) return;
    const auto found = w->properties.find(name);
    if (found != w->properties.end()) w->properties.erase(found);
}

}  // namespace lumbrel::platform
