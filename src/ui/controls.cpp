// Identifiers, kinds, the control tree, values, visibility, properties and
// handlers of controls.
#include "ui/controls.h"

#include <climits>
#include <cstring>

#include "ui/control_kind.h"
#include "ui/own_window_classes.h"
#include "util/bounded.h"
#include "util/number_text.h"

namespace lumbrel {

namespace {

std::string tagName(const char* prefix, std::uint32_t tag) {
    std::string name(prefix);
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((tag >> shift) & 0xFF);
        name.push_back(c == '\0' ? ' ' : c);
    }
    return name;
}

bool listLike(std::uint32_t kind) {
    return kind == kKindPopup || kind == kKindCombo || kind == kKindListBox || kind == kKindTabs;
}

bool matches(platform::WindowRef window, unsigned long idOrCommand) {
    const int id = platform::controlId(window);
    if (id >= 0 && static_cast<unsigned long>(id) == idOrCommand) return true;
    return idOrCommand != 0 && getControlCommandID(window) == idOrCommand;
}

platform::WindowRef findBelow(platform::WindowRef window, unsigned long idOrCommand) {
    for (auto child = platform::firstChild(window); child != nullptr; child = platform::nextSibling(child)) {
        if (matches(child, idOrCommand)) return child;
        if (auto found = findBelow(child, idOrCommand)) return found;
    }
    return nullptr;
}

bool walk(platform::WindowRef window, EnumControlsProc proc, std::intptr_t value) {
    if (!proc(window, getControlKind(window), value)) return false;
    for (auto child = platform::firstChild(window); child != nullptr;) {
        // The callback may destroy what it is given; take the sibling first.
        const auto next = platform::nextSibling(child);
        if (!walk(child, proc, value)) return false;
        child = next;
    }
    return true;
}

std::int16_t cut16(long value) noexcept { return static_cast<std::int16_t>(value); }

}  // namespace

std::string valuePropertyName(std::uint32_t tag) { return tagName(kValuePropertyPrefix, tag); }
std::string textPropertyName(std::uint32_t tag) { return tagName(kTextPropertyPrefix, tag); }

// ---- Identifiers, commands, kinds, tree ---------------------------------------------

int getControlID(ControlRef control) noexcept { return platform::controlId(control); }

std::uint32_t getControlCommandID(ControlRef control) noexcept {
    return static_cast<std::uint32_t>(getControlProperty(control, kTagCommand));
}

void setControlCommandID(ControlRef control, std::uint32_t command) noexcept {
    setControlProperty(control, kTagCommand, static_cast<std::intptr_t>(command));
}

ControlRef getControl(WindowPtr window, unsigned long idOrCommand) noexcept {
    if (!platform::isWindow(window)) return nullptr;
    return findBelow(window, idOrCommand);
}

std::uint32_t getControlKind(ControlRef control) {
    if (!platform::isWindow(control)) return 0;
    return controlKind(control);
}

ControlRef getRootControl(WindowPtr window) noexcept { return platform::firstChild(window); }

WindowPtr getControlOwner(ControlRef control) noexcept { return platform::topLevelWindow(control); }

ControlRef getSubControl(ControlRef control, long position) noexcept {
    if (position < 1) return nullptr;
    auto child = platform::firstChild(control);
    for (long i = 1; child != nullptr && i < position; ++i) child = platform::nextSibling(child);
    return child;
}

std::int32_t countSubControls(ControlRef control) noexcept {
    std::int32_t count = 0;
    for (auto child = platform::firstChild(control); child != nullptr; child = platform::nextSibling(child)) ++count;
    return count;
}

// ---- Values -------------------------------------------------------------------------

std::int16_t getControlValue(ControlRef control) noexcept {
    if (!platform::isWindow(control)) return 0;
    const int value = platform::controlValue(control);
    if (listLike(controlKind(control))) return cut16(value < 0 ? 0 : value + 1);
    return cut16(value);
}

void setControlValue(ControlRef control, int value) noexcept {
    if (!platform::isWindow(control)) return;
    const std::int16_t v = cut16(value);
    if (listLike(controlKind(control))) {
        platform::setControlValue(control, v > 0 ? v - 1 : -1);
    } else {
        platform::setControlValue(control, v);
    }
    platform::invalidateWindow(control);
}

std::int16_t getControlMaximum(ControlRef control) noexcept {
    if (!platform::isWindow(control)) return 0;
    if (listLike(controlKind(control))) return cut16(platform::itemCount(control));
    return cut16(platform::controlMaximum(control));
}

void setControlMaximum(ControlRef control, long maximum) noexcept {
    platform::setControlRange(control, 0, cut16(maximum));
}

std::int16_t getControlValue(WindowPtr window, unsigned long idOrCommand) noexcept {
    return getControlValue(getControl(window, idOrCommand));
}

void setControlValue(WindowPtr window, unsigned long idOrCommand, long value) noexcept {
    lumbrel::setControlValue(getControl(window, idOrCommand), static_cast<int>(value));
}

// ---- Geometry and fonts -------------------------------------------------------------------

namespace {

std::int16_t clamp16(long value) noexcept {
    if (value > INT16_MAX) return INT16_MAX;
    if (value < INT16_MIN) return INT16_MIN;
    return static_cast<std::int16_t>(value);
}

}  // namespace

Rect getControlBounds(ControlRef control) noexcept {
    if (!platform::isWindow(control)) return {};
    const platform::WindowRect r = platform::windowRect(control);
    return Rect{clamp16(r.top), clamp16(r.left), clamp16(static_cast<long>(r.top) + r.height),
                clamp16(static_cast<long>(r.left) + r.width)};
}

void setSmallSystemFont(ControlRef control, bool bold) noexcept {
    platform::FontRef font = bold ? dialogBoldFont() : dialogFont();
    if (font != nullptr) platform::setWindowFont(control, font);
    platform::invalidateWindow(control);
}

void setControlFont(ControlRef control, const char* face, std::int16_t size) noexcept {
    if (face == nullptr || size <= 0) return;
    platform::FontRef font = platform::createFont(face, size, kDialogFontWeightNormal);
    if (font != nullptr) platform::setWindowFont(control, font);
    platform::invalidateWindow(control);
}

// ---- Visibility, enabling, focus ------------------------------------------------------

void showControl(ControlRef control, bool show) noexcept { platform::showWindow(control, show); }

void showControl(WindowPtr window, unsigned long idOrCommand, bool show) noexcept {
    showControl(getControl(window, idOrCommand), show);
}

void enableControl(ControlRef control, bool enable) noexcept { platform::enableWindow(control, enable); }

void enableControl(WindowPtr window, unsigned long idOrCommand, bool enable) noexcept {
    enableControl(getControl(window, idOrCommand), enable);
}

bool canBePressed(ControlRef control) noexcept {
    if (!platform::isWindow(control) || !platform::isWindowVisible(control)) return false;
    const WindowPtr dialog = platform::topLevelWindow(control);
    for (ControlRef at = control; at != nullptr && at != dialog; at = platform::parentWindow(at)) {
        if (!platform::isWindowEnabled(at)) return false;
    }
    return true;
}

void setFocus(ControlRef control) noexcept {
    if (platform::isWindow(control)) platform::setFocus(control);
}

void clearFocus(WindowPtr window) noexcept {
    const auto focused = platform::focusedWindow();
    if (focused != nullptr && platform::topLevelWindow(focused) == platform::topLevelWindow(window)) {
        platform::setFocus(nullptr);
    }
}

// ---- Properties ---------------------------------------------------------------------------

void setControlProperty(ControlRef control, std::uint32_t tag, std::intptr_t value) noexcept {
    try {
        platform::setProperty(control, valuePropertyName(tag), value);
    } catch (...) {
        // Out of memory for an eight-character name: the property is not set.
    }
}

std::intptr_t getControlProperty(ControlRef control, std::uint32_t tag) noexcept {
    try {
        return platform::property(control, valuePropertyName(tag));
    } catch (...) {
        return 0;
    }
}

void setControlProperty(ControlRef control, std::uint32_t tag, const char* text) noexcept {
    try {
        platform::setTextProperty(control, textPropertyName(tag), text != nullptr ? text : "");
    } catch (...) {
    }
}

bool getControlProperty(ControlRef control, std::uint32_t tag, char* out, std::size_t outSize) noexcept {
    try {
        const std::string* text = platform::textProperty(control, textPropertyName(tag));
        if (text == nullptr) return false;
        copyBounded(out, outSize, *text);
        return true;
    } catch (...) {
        return false;
    }
}

void removeControlProperty(ControlRef control, std::uint32_t tag) noexcept {
    try {
        platform::removeProperty(control, valuePropertyName(tag));
        platform::removeProperty(control, textPropertyName(tag));
    } catch (...) {
    }
}

// ---- Handler and user value -------------------------------------------------------------

void setControlProc(ControlRef control, ControlProc proc) noexcept {
    setControlProperty(control, kTagControlProc, reinterpret_cast<std::intptr_t>(proc));
}

ControlProc getControlProc(ControlRef control) noexcept {
    return reinterpret_cast<ControlProc>(getControlProperty(control, kTagControlProc));
}

void setControlUserData(ControlRef control, std::intptr_t user) noexcept { setControlProperty(control, kTagUser, user); }

std::intptr_t getControlUserData(ControlRef control) noexcept {
    return static_cast<std::intptr_t>(getControlProperty(control, kTagUser));
}

// ---- Walking ---------------------------------------------------------------------------------

bool EnumControls(ControlRef control, EnumControlsProc proc, std::intptr_t value) {
    if (proc == nullptr || !platform::isWindow(control)) return true;
    if (platform::parentWindow(control) != nullptr) return walk(control, proc, value);
    for (auto child = platform::firstChild(control); child != nullptr;) {
        const auto next = platform::nextSibling(child);
        if (!walk(child, proc, value)) return false;
        child = next;
    }
    return true;
}

namespace {

struct EmptySearch {
    ControlRef found = nullptr;
};

bool mustNotBeEmpty(ControlRef control) {
    char text[16] = {};
    if (getControlProperty(control, kTagEmpty, text, sizeof text)) return parseLong(text) == 1;
    return getControlProperty(control, kTagEmpty) == 1;
}

bool findEmpty(ControlRef control, std::uint32_t, std::intptr_t value) {
    auto* search = reinterpret_cast<EmptySearch*>(value);
    if (mustNotBeEmpty(control) && getControlText(control).empty()) {
        search->found = control;
        return false;
    }
    return true;
}

}  // namespace

ControlRef getEmptyControl(WindowPtr window) {
    EmptySearch search;
    EnumControls(window, findEmpty, reinterpret_cast<std::intptr_t>(&search));
    return search.found;
}

}  // namespace lumbrel
