// Texts of controls by kind, edit fields, and localising the titles of a
// window.
#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "settings/localised_strings.h"
#include "ui/controls.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

// Bytes of `text` that fit in `max` bytes without splitting a UTF-8 character.
std::size_t utf8Fit(std::string_view text, std::size_t max) noexcept {
    if (text.size() <= max) return text.size();
    std::size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0U) == 0x80U) --n;
    return n;
}

// The length without a last character that the formatting cut in two.
std::size_t withoutSplitTail(const char* text, std::size_t length) noexcept {
    if (length == 0) return 0;
    std::size_t start = length - 1;
    int back = 0;
    while (start > 0 && back < 3 && (static_cast<unsigned char>(text[start]) & 0xC0U) == 0x80U) {
        --start;
        ++back;
    }
    const auto lead = static_cast<unsigned char>(text[start]);
    std::size_t need = 1;
    if ((lead & 0xE0U) == 0xC0U) {
        need = 2;
    } else if ((lead & 0xF0U) == 0xE0U) {
        need = 3;
    } else if ((lead & 0xF8U) == 0xF0U) {
        need = 4;
    }
    return start + need > length ? start : length;
}

std::string popupText(ControlRef popup) {
    const int current = platform::controlValue(popup);
    if (current < 0 || current >= platform::itemCount(popup)) return {};
    return platform::itemText(popup, current);
}

void selectPopupText(ControlRef popup, std::string_view text) {
    const int count = platform::itemCount(popup);
    if (count <= 0) return;
    int chosen = 0;  // an empty text, or one no item has, selects the first item
    for (int i = 0; i < count && !text.empty(); ++i) {
        if (platform::itemText(popup, i) == text) {
            chosen = i;
            break;
        }
    }
    platform::setControlValue(popup, chosen);
}

void writeText(ControlRef control, std::string_view text) {
    if (!platform::isWindow(control)) return;
    switch (getControlKind(control)) {
        case kKindPopup:
            selectPopupText(control, text);
            break;
        case kKindCombo:
            if (auto edit = platform::firstChild(control)) {
                platform::setWindowText(edit, text);
                platform::invalidateWindow(edit);
            } else {
                platform::setWindowText(control, text);
            }
            break;
        default:
            platform::setWindowText(control, text);
            break;
    }
    platform::invalidateWindow(control);
}

std::string readText(ControlRef control) {
    if (!platform::isWindow(control)) return {};
    switch (getControlKind(control)) {
        case kKindPopup:
            return popupText(control);
        case kKindCombo:
            if (auto edit = platform::firstChild(control)) return platform::windowText(edit);
            return platform::windowText(control);
        default:
            return platform::windowText(control);
    }
}

// ---- Key filter ------------------------------------------------------------------
constexpr std::uint32_t kTagKeyFilterOldProc = fourCC("kprc");

std::intptr_t keyFilterWindowProc(platform::WindowRef window, platform::Message message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    const auto old = reinterpret_cast<platform::WindowProc>(getControlProperty(window, kTagKeyFilterOldProc));
    const auto filter = reinterpret_cast<KeyFilterProc>(getControlProperty(window, kTagKeyFilter));
    const bool isKey = message == platform::Message::KeyDown;
    const bool isChar = message == platform::Message::Char;
    if (filter != nullptr && (isKey || isChar) && wParam <= 0x7FFF) {
        auto keyCode = static_cast<std::int16_t>(isKey ? wParam : 0);
        auto charCode = static_cast<std::int16_t>(isChar ? wParam : 0);
        std::uint16_t modifiers = 0;
        if (filter(window, &keyCode, &charCode, &modifiers) == 0) return 0;  // swallowed
        wParam = static_cast<std::uintptr_t>(static_cast<std::uint16_t>(isKey ? keyCode : charCode));
    }
    if (old != nullptr) return platform::callWindowProc(old, window, message, wParam, lParam);
    return platform::defWindowProc(window, message, wParam, lParam);
}

// ---- Localising --------------------------------------------------------------------

// The key's text when the table has a non-empty one; otherwise false.
bool localised(const std::string& key, std::string& text) {
    if (key.empty()) return false;
    try {
        return lookupString(key.c_str(), text) && !text.empty();
    } catch (...) {
        return false;
    }
}

void localiseItems(ControlRef control) {
    const int count = platform::itemCount(control);
    for (int i = 0; i < count; ++i) {
        std::string text;
        if (localised(platform::itemText(control, i), text)) platform::setItemText(control, i, text);
    }
}

}  // namespace

void setControlText(ControlRef control, const char* text) noexcept {
    try {
        writeText(control, text != nullptr ? text : "");
    } catch (...) {
    }
}

void setControlText(ControlRef control, const unsigned char* pascalText) noexcept {
    try {
        MyStr text(pascalText, kEncodingMacRoman);
        writeText(control, text.hasString() ? text.UTF8Str() : "");
    } catch (...) {
    }
}

void setControlText(ControlRef control, long number) noexcept {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", number);
    setControlText(control, text);
}

void setControlTextWithFormat(ControlRef control, const char* format, ...) noexcept {
    va_list args;
    va_start(args, format);
    setControlTextWithFormatV(control, format, args);
    va_end(args);
}

void setControlTextWithFormatV(ControlRef control, const char* format, va_list args) noexcept {
    if (format == nullptr) return;
    char text[4096];
    const int n = std::vsnprintf(text, sizeof text, format, args);
    if (n < 0) return;
    std::size_t length = std::string_view(text).size();
    if (static_cast<std::size_t>(n) > length) length = withoutSplitTail(text, length);
    text[length] = '\0';
    setControlText(control, text);
}

long getControlText(ControlRef control, char* out, long size) noexcept {
    if (out == nullptr || size < 1) return 0;
    try {
        const std::string text = readText(control);
        const std::size_t n = utf8Fit(text, static_cast<std::size_t>(size) - 1);
        text.copy(out, n);
        out[n] = '\0';
        return static_cast<long>(n);
    } catch (...) {
        out[0] = '\0';
        return 0;
    }
}

std::string getControlText(ControlRef control) { return readText(control); }

void setControlText(WindowPtr window, unsigned long idOrCommand, const char* text) noexcept {
    setControlText(getControl(window, idOrCommand), text);
}

long getControlText(WindowPtr window, unsigned long idOrCommand, char* out, long size) noexcept {
    return getControlText(getControl(window, idOrCommand), out, size);
}

void setEditSelection(ControlRef control, std::int16_t start, std::int16_t end) noexcept {
    platform::setEditSelection(control, start, end);
}

void setKeyFilter(ControlRef control, KeyFilterProc filter) noexcept {
    if (!platform::isWindow(control)) return;
    const bool installed = getControlProperty(control, kTagKeyFilterOldProc) != 0;
    if (filter != nullptr && !installed) {
        const platform::WindowProc old = platform::setWindowProc(control, keyFilterWindowProc);
        setControlProperty(control, kTagKeyFilterOldProc, reinterpret_cast<std::intptr_t>(old));
    }
    // Removing the filter keeps the subclass: it passes everything on then.
    setControlProperty(control, kTagKeyFilter, reinterpret_cast<std::intptr_t>(filter));
}

bool setupTitleProc(ControlRef control, std::uint32_t kind, std::intptr_t) {
    try {
        switch (kind) {
            case kKindPush:
            case kKindCheck:
            case kKindRadio:
            case kKindGroupBox:
            case kKindStatic: {
                // Edit fields are left alone: what they hold is the user's
                // or the caller's text, never a key.
                std::string text;
                if (localised(platform::windowText(control), text)) {
                    platform::setWindowText(control, text);
                    platform::invalidateWindow(control);
                }
                break;
            }
            case kKindPopup:
                localiseItems(control);
                break;
            case kKindTabs:
                localiseItems(control);
                // A tab control with labels always has a current tab.
                if (platform::controlValue(control) < 0 && platform::itemCount(control) > 0) {
                    platform::setControlValue(control, 0);
                }
                showTabs(control);
                break;
            default:
                break;
        }
    } catch (...) {
        // A text that cannot be had stays as it was.
    }
    return true;
}

void localiseWindow(WindowPtr window) {
    if (!platform::isWindow(window)) return;
    const std::string title = platform::windowText(window);
    MyStr text(title.c_str());
    if (text.hasString()) platform::setWindowText(window, text.UTF8Str());
    EnumControls(window, setupTitleProc, 0);
}

}  // namespace lumbrel
