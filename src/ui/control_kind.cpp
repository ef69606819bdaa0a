#include "ui/control_kind.h"

#include <string>
#include <string_view>

#include "ui/property_names.h"
#include "ui/ui_types.h"

namespace lumbrel {

namespace {

// Class names are compared without regard to ASCII case, as the window
// manager of the Windows build does.
bool sameName(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::uint32_t buttonKind(std::uint32_t style) noexcept {
    // Only the two push-button types are push buttons; the description's
    // default button (type 1) must not read as a check box.
    const std::uint32_t type = style & platform::style::kButtonTypeMask;
    switch (type) {
        case 0x2:  // check box
        case 0x3:  // automatic check box
        case 0x4:  // radio button
        case 0x5:  // three-state
        case 0x6:  // automatic three-state
        case 0x7:  // group box
        case 0x9:  // automatic radio button
            return kKindCheck;
        default:
            return kKindPush;
    }
}

}  // namespace

std::uint32_t controlKind(platform::WindowRef window) {
    if (!platform::isWindow(window)) return 0;
    const std::string name = platform::className(window);
    const std::uint32_t style = platform::windowStyle(window);
    if (sameName(name, platform::kStaticClass)) return kKindStatic;
    if (sameName(name, platform::kEditClass)) return kKindEditWindow;
    if (sameName(name, platform::kButtonClass)) return buttonKind(style);
    if (sameName(name, platform::kComboBoxClass)) {
        return (style & platform::style::kComboTypeMask) == platform::style::kComboDropDownList ? kKindPopup
                                                                                               : kKindCombo;
    }
    if (sameName(name, platform::kListBoxClass)) return kKindListBox;
    if (sameName(name, platform::kTabControlClass)) return kKindTabs;
    if (sameName(name, platform::kProgressClass)) return kKindProgress;
    if (sameName(name, kSeparatorClass)) return kKindSeparator;
    if (sameName(name, kRadioGroupClass)) return kKindRadioGroupWindow;
    if (sameName(name, kUserPaneClass)) {
        const auto own = static_cast<std::uint32_t>(platform::property(window, kPropPaneKind));
        return own != 0 ? own : kKindUserPane;
    }
    return 0;
}

bool walkDialog(platform::WindowRef window, DialogWalkProc proc, std::intptr_t value) {
    if (proc == nullptr || !platform::isWindow(window)) return true;
    platform::WindowRef current = window;
    for (;;) {
        if (!proc(current, controlKind(current), value)) return false;
        platform::WindowRef next = platform::firstChild(current);
        while (next == nullptr) {
            if (current == window) return true;
            next = platform::nextSibling(current);
            if (next == nullptr) {
                current = platform::parentWindow(current);
                if (current == nullptr || current == window) return true;
            }
        }
        current = next;
    }
}

}  // namespace lumbrel
