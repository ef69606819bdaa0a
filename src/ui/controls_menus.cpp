// Pop-up menus: the items of pop-up buttons and combo boxes, free-standing
// menus (hidden list windows whose selected items are the checked ones and
// whose item data are the commands), and showing a menu at a point.
#include <string>
#include <vector>

#include "ui/controls.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

bool freeStanding(MenuRef menu) {
    return platform::parentWindow(menu) == nullptr && platform::className(menu) == platform::kListBoxClass;
}

int indexOf(MenuRef menu, std::string_view text) {
    const int count = platform::itemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (platform::itemText(menu, i) == text) return i;
    }
    return -1;
}

}  // namespace

MenuRef getMenu(ControlRef control) noexcept {
    try {
        const std::uint32_t kind = getControlKind(control);
        if (kind == kKindPopup || kind == kKindCombo) return control;
        if (freeStanding(control)) return control;
    } catch (...) {
    }
    return nullptr;
}

MenuRef createMenu() noexcept {
    const platform::WindowRect none;
    return platform::createWindow(platform::kListBoxClass, "", platform::style::kListHasStrings, 0, none, nullptr,
                                  -1);
}

void disposeMenu(MenuRef menu) noexcept {
    if (freeStanding(menu)) platform::destroyWindow(menu);
}

std::int16_t getMenuItemCnt(MenuRef menu) noexcept { return static_cast<std::int16_t>(platform::itemCount(menu)); }

bool getMenuItemText(MenuRef menu, std::int16_t item, char* out, std::size_t outSize) noexcept {
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (item < 1 || item > platform::itemCount(menu)) return false;
    try {
        copyBounded(out, outSize, platform::itemText(menu, item - 1));
        return true;
    } catch (...) {
        return false;
    }
}

void setMenuItemText(ControlRef popup, const char* text, std::int16_t fallbackPosition) noexcept {
    try {
        int index = indexOf(popup, text != nullptr ? text : "");
        if (index < 0) index = fallbackPosition - 1;
        if (index < 0 || index >= platform::itemCount(popup)) return;
        platform::setControlValue(popup, index);
        platform::invalidateWindow(popup);
    } catch (...) {
    }
}

std::int16_t getMenuItemPos(MenuRef menu, const char* text) noexcept {
    if (text == nullptr) return 0;
    try {
        return static_cast<std::int16_t>(indexOf(menu, text) + 1);
    } catch (...) {
        return 0;
    }
}

std::int16_t addMenuItemText(MenuRef menu, const char* keyOrText, std::uint32_t command) noexcept {
    try {
        MyStr text(keyOrText);
        const int index = platform::addItem(menu, text.hasString() ? text.UTF8Str() : "");
        if (index >= 0 && command != 0 && freeStanding(menu)) {
            platform::setItemData(menu, index, static_cast<std::intptr_t>(command));
        }
    } catch (...) {
    }
    return getMenuItemCnt(menu);
}

void deleteMenuItems(MenuRef menu, std::int16_t from) noexcept {
    if (from < 1) from = 1;
    for (int i = platform::itemCount(menu) - 1; i >= from - 1; --i) platform::deleteItem(menu, i);
}

void checkMenu(MenuRef menu, const char* text) noexcept {
    try {
        const std::string_view wanted = text != nullptr ? text : "";
        if (!freeStanding(menu)) {
            const int index = indexOf(menu, wanted);
            if (index >= 0) platform::setControlValue(menu, index);
            return;
        }
        const int count = platform::itemCount(menu);
        for (int i = 0; i < count; ++i) platform::setItemSelected(menu, i, platform::itemText(menu, i) == wanted);
    } catch (...) {
    }
}

bool isMenuItemChecked(MenuRef menu, std::int16_t item) noexcept {
    if (item < 1 || item > platform::itemCount(menu)) return false;
    if (!freeStanding(menu)) return platform::controlValue(menu) == item - 1;
    return platform::isItemSelected(menu, item - 1);
}

long trackPopUpMenu(MenuRef menu, Point where, long preselected, char* chosenText) noexcept {
    try {
        std::vector<std::string> items;
        const int count = platform::itemCount(menu);
        items.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
        for (int i = 0; i < count; ++i) items.push_back(platform::itemText(menu, i));
        const int mark = preselected >= 1 && preselected <= count ? static_cast<int>(preselected) - 1 : -1;
        // A free-standing menu has no window of its own to belong to: the active one takes it.
        const platform::WindowRef owner = freeStanding(menu) ? nullptr : platform::topLevelWindow(menu);
        const int chosen = platform::trackPopupMenu(owner, items, where.h, where.v, mark);
        if (chosen < 0 || chosen >= count) return 0;
        if (chosenText != nullptr) copyBounded(chosenText, kShortTextSize, items[static_cast<std::size_t>(chosen)]);
        const std::intptr_t command = freeStanding(menu) ? platform::itemData(menu, chosen) : 0;
        return command != 0 ? static_cast<long>(command) : chosen + 1;
    } catch (...) {
        return 0;
    }
}

}  // namespace lumbrel
