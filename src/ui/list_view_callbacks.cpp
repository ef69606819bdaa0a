// The list view fed by the caller's procedures: texts come from the item-data
// procedure, order from the compare procedure, and the user's selection
// changes go to the notification procedure. The list box's own procedure is
// wrapped to see those changes; the wrapped one is kept as a property.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/list_view.h"

namespace lumbrel {

namespace {

using platform::Message;

// What the item-data procedure fills for one cell.
struct BrowserCell {
    std::string text;
    std::uint32_t icon = 0;
};

constexpr std::string_view kPropKeptListProc = "HAVVbwpr";
constexpr std::size_t kFormatSize = 4096;

std::string flagsPropertyName(std::uint32_t property) {
    char name[24];
    std::snprintf(name, sizeof name, "HAVVbflg%08X", static_cast<unsigned>(property));
    return name;
}

std::intptr_t LUMBREL_CALLBACK browserProc(platform::WindowRef view, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    const auto kept = reinterpret_cast<platform::WindowProc>(platform::property(view, kPropKeptListProc));
    const bool userAction = message == Message::LeftButtonDown || message == Message::KeyDown;
    std::vector<std::uint32_t> before;
    if (userAction) {
        try {
            before = selectedBrowserItems(view);
        } catch (...) {
        }
    }
    const std::intptr_t result =
        kept != nullptr ? platform::callWindowProc(kept, view, message, wParam, lParam)
                        : platform::defWindowProc(view, message, wParam, lParam);
    if (userAction && platform::isWindow(view)) {
        try {
            notifyBrowserSelection(view, before, selectedBrowserItems(view));
        } catch (...) {
        }
    }
    return result;
}

// A text cut by the formatter ends before a character it would split.
std::size_t withoutSplitTail(const char* text, std::size_t length) noexcept {
    std::size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
    if (start == 0) return length;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    std::size_t need = 1;
    if ((lead & 0xE0) == 0xC0) need = 2;
    else if ((lead & 0xF0) == 0xE0) need = 3;
    else if ((lead & 0xF8) == 0xF0) need = 4;
    return length - (start - 1) < need ? start - 1 : length;
}

BrowserCell cellOf(ControlRef view, std::uint32_t item) {
    BrowserCell cell;
    const auto itemData = reinterpret_cast<BrowserItemDataProc>(getControlProperty(view, kTagBrowserItemData));
    if (itemData != nullptr) itemData(view, item, kBrowserColumnProperty, &cell, 0);
    return cell;
}

}  // namespace

void setupBrowserControl(ControlRef view, BrowserItemDataProc itemData, BrowserCompareProc compare,
                         BrowserNotificationProc notification, BrowserDragProc acceptDrag,
                         BrowserDragProc receiveDrag) noexcept {
    if (!platform::isWindow(view)) return;
    setControlProperty(view, kTagBrowserItemData, reinterpret_cast<std::intptr_t>(itemData));
    setControlProperty(view, kTagBrowserCompare, reinterpret_cast<std::intptr_t>(compare));
    setControlProperty(view, kTagBrowserNotification, reinterpret_cast<std::intptr_t>(notification));
    setControlProperty(view, kTagBrowserAcceptDrag, reinterpret_cast<std::intptr_t>(acceptDrag));
    setControlProperty(view, kTagBrowserReceiveDrag, reinterpret_cast<std::intptr_t>(receiveDrag));
    if (platform::windowProc(view) != browserProc) {
        platform::setProperty(view, kPropKeptListProc,
                              reinterpret_cast<std::intptr_t>(platform::setWindowProc(view, browserProc)));
    }
}

void resetBrowserControl(ControlRef view) noexcept {
    if (!platform::isWindow(view)) return;
    for (const std::uint32_t tag : {kTagBrowserItemData, kTagBrowserCompare, kTagBrowserNotification,
                                    kTagBrowserAcceptDrag, kTagBrowserReceiveDrag}) {
        removeControlProperty(view, tag);
    }
    // Only our own wrapper is undone: a procedure installed over it since stays.
    if (platform::windowProc(view) == browserProc) {
        platform::setWindowProc(view,
                                reinterpret_cast<platform::WindowProc>(platform::property(view, kPropKeptListProc)));
        platform::removeProperty(view, kPropKeptListProc);
    }
}

void setBrowserProperty(ControlRef view, std::uint32_t property, std::uint32_t flags) noexcept {
    try {
        const std::string name = flagsPropertyName(property);
        const auto old = static_cast<std::uint32_t>(platform::property(view, name));
        platform::setProperty(view, name, static_cast<std::intptr_t>(old | flags));
    } catch (...) {
    }
}

std::uint32_t getBrowserProperty(ControlRef view, std::uint32_t property) noexcept {
    try {
        return static_cast<std::uint32_t>(platform::property(view, flagsPropertyName(property)));
    } catch (...) {
        return 0;
    }
}

void setBrowserText(void* itemData, const char* text) noexcept {
    if (itemData == nullptr) return;
    try {
        static_cast<BrowserCell*>(itemData)->text = text != nullptr ? text : "";
    } catch (...) {
    }
}

void setBrowserIcon(void* itemData, std::uint32_t iconType) noexcept {
    if (itemData != nullptr) static_cast<BrowserCell*>(itemData)->icon = iconType;
}

void setItemStringWithFormat(void* itemData, const char* format, ...) noexcept {
    if (itemData == nullptr || format == nullptr) return;
    char text[kFormatSize];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written < 0) return;
    std::size_t length = std::string_view(text).size();
    if (static_cast<std::size_t>(written) > length) length = withoutSplitTail(text, length);
    text[length] = '\0';
    setBrowserText(itemData, text);
}

bool hasBrowserCallbacks(ControlRef view) noexcept { return getControlProperty(view, kTagBrowserItemData) != 0; }

std::string browserItemText(ControlRef view, std::uint32_t item) { return cellOf(view, item).text; }

std::uint32_t browserItemIcon(ControlRef view, std::uint32_t item) { return cellOf(view, item).icon; }

void readdBrowserItems(ControlRef view, std::uint32_t count) noexcept {
    if (!platform::isWindow(view)) return;
    platform::clearItems(view);
    try {
        for (std::uint32_t item = 1; item <= count; ++item) {
            if (platform::addItem(view, browserItemText(view, item)) < 0) break;
        }
    } catch (...) {
        // Out of memory: the items made so far stay.
    }
    platform::invalidateWindow(view);
}

std::vector<std::uint32_t> selectedBrowserItems(ControlRef view) {
    std::vector<std::uint32_t> items;
    const int count = platform::itemCount(view);
    for (int i = 0; i < count; ++i) {
        if (platform::isItemSelected(view, i)) items.push_back(static_cast<std::uint32_t>(i + 1));
    }
    return items;
}

void notifyBrowserSelection(ControlRef view, const std::vector<std::uint32_t>& before,
                            const std::vector<std::uint32_t>& after) noexcept {
    if (before == after) return;
    const auto notify = reinterpret_cast<BrowserNotificationProc>(getControlProperty(view, kTagBrowserNotification));
    if (notify == nullptr) return;
    auto contains = [](const std::vector<std::uint32_t>& items, std::uint32_t item) {
        for (const std::uint32_t i : items) {
            if (i == item) return true;
        }
        return false;
    };
    for (const std::uint32_t item : before) {
        if (!contains(after, item)) notify(view, item, kBrowserItemDeselected);
    }
    for (const std::uint32_t item : after) {
        if (!contains(before, item)) notify(view, item, kBrowserItemSelected);
    }
    notify(view, 0, kBrowserSelectionSetChanged);
}

}  // namespace lumbrel
