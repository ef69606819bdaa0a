#include "ui/description_builder.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "platform/platform_traits.h"
#include "settings/resources.h"
#include "settings/xml_text.h"
#include "ui/key_handler.h"
#include "ui/own_window_classes.h"
#include "ui/property_names.h"
#include "ui/ui_types.h"
#include "util/log.h"

namespace lumbrel {

namespace {

using platform::WindowRect;
using platform::WindowRef;
namespace style = platform::style;

// Coordinates are held to this size, so that the geometry changes below
// cannot overflow whatever a description says.
constexpr long kMaxCoordinate = 1L << 24;

// How a type's rect is changed before the control is made.
enum class Geometry {
    Unchanged,
    Button,     // top - 3, height 24
    Static,     // height 16
    Edit,       // top - 3, height 19 unless multi-line
    Popup,      // left + 3, top - 2, width - 5, height 200 (the open list)
    Combo,      // left + 3, width - 5, height 100
    RaisedBy3,  // top - 3
};

struct ControlType {
    char code[5];
    const char* className;
    std::uint32_t style;  // beyond child and visible, and beyond what the elements add
    std::uint32_t exStyle;
    Geometry geometry;
    bool container;
    bool keyHandler;
    bool keepsText;  // false: made with an empty text
};

constexpr ControlType kTypes[] = {
    {"push", platform::kButtonClass, style::kGroup | style::kTabStop, 0, Geometry::Button, false, true, true},
    {"cbox", platform::kButtonClass, style::kGroup | style::kTabStop | style::kAutoCheckBox, 0, Geometry::Button,
     false, true, true},
    {"rdio", platform::kButtonClass, style::kGroup | style::kTabStop | style::kAutoRadioButton, 0, Geometry::Button,
     false, true, true},
    {"grpb", platform::kButtonClass, style::kGroupBox, style::kExControlParent, Geometry::Unchanged, true, true, true},
    {"stxt", platform::kStaticClass, 0, 0, Geometry::Static, false, false, true},
    {"etxt", platform::kEditClass, style::kTabStop | style::kEditAutoHScroll, style::kExClientEdge, Geometry::Edit,
     false, true, true},
    {"eutx", platform::kEditClass, style::kTabStop | style::kEditAutoHScroll, style::kExClientEdge, Geometry::Edit,
     false, true, true},
    {"lbox", platform::kListBoxClass,
     style::kVScroll | style::kTabStop | style::kListNotify | style::kListOwnerDrawFixed | style::kListHasStrings |
         style::kListNoIntegralHeight,
     style::kExClientEdge, Geometry::Unchanged, false, true, true},
    {"popb", platform::kComboBoxClass, style::kVScroll | style::kTabStop | style::kComboDropDownList, 0,
     Geometry::Popup, false, false, true},
    {"comb", platform::kComboBoxClass, style::kVScroll | style::kTabStop | style::kComboDropDown, 0, Geometry::Combo,
     false, false, true},
    {"prgb", platform::kProgressClass, style::kProgressSmooth, 0, Geometry::Unchanged, false, false, true},
    {"tabs", platform::kTabControlClass, style::kTabButtons, style::kExClientEdge | style::kExControlParent,
     Geometry::Unchanged, true, true, true},
    {"sepa", kSeparatorClass, 0, 0, Geometry::RaisedBy3, false, false, false},
    {"rgrp", kRadioGroupClass, 0, style::kExControlParent, Geometry::RaisedBy3, true, false, false},
    {"upan", kUserPaneClass, 0, style::kExControlParent, Geometry::Unchanged, true, false, true},
};

constexpr std::string_view kContainerEnd = "####";

const ControlType* findType(std::string_view code) noexcept {
    for (const ControlType& type : kTypes) {
        if (code == type.code) return &type;
    }
    return nullptr;
}

int clampCoordinate(long value) noexcept {
    if (value > kMaxCoordinate) return static_cast<int>(kMaxCoordinate);
    if (value < -kMaxCoordinate) return static_cast<int>(-kMaxCoordinate);
    return static_cast<int>(value);
}

// Reads up to four integers as "%d %d %d %d" does: blanks, a sign, digits;
// the first field that is no number ends the reading, leaving the rest 0.
WindowRect scanRect(const char* text) noexcept {
    int values[4] = {0, 0, 0, 0};
    const char* p = text;
    for (int& value : values) {
        char* end = nullptr;
        errno = 0;
        const long number = std::strtol(p, &end, 10);
        if (end == p) break;
        value = clampCoordinate(errno == ERANGE ? (number < 0 ? -kMaxCoordinate : kMaxCoordinate) : number);
        p = end;
    }
    return {values[0], values[1], values[2], values[3]};
}

WindowRect readRect(const char* element) noexcept {
    char text[256] = "";
    if (getXMLString(element, "rect", text) == 0) return {};
    return scanRect(text);
}

// `cmd`: the first four bytes, first byte most significant; blanks count and
// a shorter code is filled up with zero bytes.
std::uint32_t readCommand(const char* element) noexcept {
    char text[5] = "";
    getXMLString(element, "cmd", text);
    std::uint32_t code = 0;
    for (int i = 0; i < 4; ++i) code = (code << 8) | static_cast<unsigned char>(text[i]);
    return code;
}

// The four-character `type`; empty when absent or of another length.
std::string_view readType(const char* element, char (&buffer)[8]) noexcept {
    const std::size_t length = getXMLString(element, "type", buffer);
    return length == 4 ? std::string_view(buffer, 4) : std::string_view();
}

enum class Alignment { Left, Center, Right };

Alignment readAlignment(const char* element) noexcept {
    char text[8] = "";
    getXMLString(element, "just", text);
    if (std::strcmp(text, "center") == 0) return Alignment::Center;
    if (std::strcmp(text, "right") == 0) return Alignment::Right;
    return Alignment::Left;
}

WindowRect adjustedRect(WindowRect r, Geometry geometry, bool multiLine) noexcept {
    switch (geometry) {
        case Geometry::Unchanged:
            break;
        case Geometry::Button:
            r.top -= 3;
            r.height = 24;
            break;
        case Geometry::Static:
            r.height = 16;
            break;
        case Geometry::Edit:
            r.top -= 3;
            if (!multiLine) r.height = 19;
            break;
        case Geometry::Popup:
            r.left += 3;
            r.top -= 2;
            r.width -= 5;
            r.height = 200;
            break;
        case Geometry::Combo:
            r.left += 3;
            r.width -= 5;
            r.height = 100;
            break;
        case Geometry::RaisedBy3:
            r.top -= 3;
            break;
    }
    return r;
}

std::uint32_t controlStyle(const ControlType& type, const char* element, int id, bool multiLine) noexcept {
    std::uint32_t result = style::kChild | style::kVisible | type.style;
    const std::string_view code = type.code;
    if (code == "push") result |= id == kItemOK ? style::kDefPushButton : style::kPushButton;
    if (code == "stxt") {
        // The static types are one number, not flags: left-without-wrap,
        // centre and right exclude each other (combined they would name
        // other types of static).
        switch (readAlignment(element)) {
            case Alignment::Left:
                result |= style::kStaticLeftNoWordWrap;
                break;
            case Alignment::Center:
                result |= style::kStaticCenter;
                break;
            case Alignment::Right:
                result |= style::kStaticRight;
                break;
        }
    }
    if (code == "etxt" || code == "eutx") {
        if (getXMLValue(element, "pass", 0) != 0) result |= style::kEditPassword;
        if (multiLine) result |= style::kEditMultiLine | style::kEditWantReturn;
        const Alignment alignment = readAlignment(element);
        if (alignment == Alignment::Center) result |= style::kEditCenter;
        if (alignment == Alignment::Right) result |= style::kEditRight;
    }
    return result;
}

// The content of a kept text element. A name with a trailing blank ("sap ")
// is closed as the XML helpers close names with attributes ("</sap>"), or
// else by the full name.
void keepText(WindowRef control, const char* element, std::string_view code) {
    const std::string name(code);
    if (name.find(' ') != std::string::npos) {
        if (char* data = getXMLData(element, name.c_str())) {
            if (*data != '\0') platform::setTextProperty(control, keptTextPropertyName(code), data);
            std::free(data);
            return;
        }
    }
    std::string_view content;
    if (findXMLContent(element, name.c_str(), content) && !content.empty())
        platform::setTextProperty(control, keptTextPropertyName(code), content);
}

struct MenuFill {
    WindowRef control = nullptr;
    std::string_view selectedText;
    int selected = -1;
};

bool addMenuItem(const char* element, std::size_t length, std::intptr_t value) {
    auto* fill = reinterpret_cast<MenuFill*>(value);
    constexpr std::size_t kOpen = 6;   // "<menu>"
    constexpr std::size_t kClose = 7;  // "</menu>"
    if (length < kOpen + kClose) return true;
    const std::string_view item(element + kOpen, length - kOpen - kClose);
    if (item.empty()) return true;
    const int index = platform::addItem(fill->control, item);
    if (index >= 0 && fill->selected < 0 && item == fill->selectedText) fill->selected = index;
    return true;
}

void addTabPages(WindowRef control, const char* element) {
    for (int page = 1; page <= kMaxTabPages; ++page) {
        char name[16];
        std::snprintf(name, sizeof name, "text%d", page);
        std::string_view label;
        if (!findXMLContent(element, name, label) || label.empty()) break;
        platform::addItem(control, label);
    }
}

struct Build {
    WindowRef shell = nullptr;
    WindowRef container = nullptr;  // where the next control goes
    int depth = 0;                  // containers open, the root pane counted
    int skipped = 0;                // open containers that were not made; their content is skipped
    std::size_t made = 0;
};

void closeContainer(Build& build) noexcept {
    if (build.skipped > 0) {
        --build.skipped;
        return;
    }
    if (build.container == build.shell) return;  // surplus: stay on the shell
    build.container = platform::parentWindow(build.container);
    if (build.container == nullptr) build.container = build.shell;
    --build.depth;
}

void buildControl(Build& build, const char* element) {
    char typeBuffer[8] = "";
    const std::string_view code = readType(element, typeBuffer);
    if (code == kContainerEnd) {
        closeContainer(build);
        return;
    }
    const ControlType* type = findType(code);
    if (type == nullptr) return;
    if (build.skipped > 0) {
        if (type->container) ++build.skipped;
        return;
    }
    if (type->container && build.depth >= kMaxContainerDepth) {
        build.skipped = 1;
        return;
    }

    const int id = static_cast<int>(getXMLValue(element, "id", -1));
    const bool multiLine = getXMLValue(element, "multi", 0) != 0;
    const WindowRect rect = adjustedRect(readRect(element), type->geometry, multiLine);
    std::string_view text;
    if (type->keepsText) findXMLContent(element, "text", text);

    // The dialog manager looks into containers (Tab, mnemonics, the default
    // button) only when they say they hold controls.
    const std::uint32_t exStyle = type->exStyle | (type->container ? style::kExControlParent : 0U);
    const WindowRef control = platform::createWindow(type->className, text, controlStyle(*type, element, id, multiLine),
                                                     exStyle, rect, build.container, id);
    if (control == nullptr) {
        if (type->container) build.skipped = 1;
        return;
    }
    ++build.made;

    platform::setProperty(control, kPropCommand, static_cast<std::intptr_t>(readCommand(element)));
    platform::setWindowFont(control, dialogFont());
    for (const std::string_view kept : kKeptTextCodes) keepText(control, element, kept);

    const std::string_view kind = type->code;
    if (kind == "popb") {
        MenuFill fill{control, text, -1};
        EnumXMLData(element, "menu", addMenuItem, reinterpret_cast<std::intptr_t>(&fill));
        if (fill.selected >= 0) platform::setControlValue(control, fill.selected);
    }
    if (kind == "tabs") addTabPages(control, element);
    if (type->keyHandler) installKeyHandler(control);
    if (type->container) {
        build.container = control;
        ++build.depth;
    }
}

bool visitControl(const char* element, std::size_t, std::intptr_t value) {
    auto* build = reinterpret_cast<Build*>(value);
    try {
        buildControl(*build, element);
    } catch (const std::bad_alloc&) {
        // The control is skipped, as one that could not be made.
    }
    return true;
}

// The text before the first `control`: where the window's own `name` and
// `rect` stand.
std::string windowHead(const char* text) {
    std::string_view firstControl;
    if (!findXMLContent(text, "control", firstControl)) return text;
    constexpr std::size_t kOpenTag = 9;  // "<control>"
    return std::string(text, static_cast<std::size_t>(firstControl.data() - text) - kOpenTag);
}

bool buildTerminated(WindowRef shell, const char* text) {
    setupDialogs();

    const std::string head = windowHead(text);
    const WindowRect place = readRect(head.c_str());
    const WindowRect client{0, 0, place.width > 0 ? place.width : 0, place.height > 0 ? place.height : 0};
    const WindowRect outer = platform::outerRectForClient(client, platform::windowStyle(shell), platform::windowExStyle(shell));
    platform::setWindowRect(shell, {place.left, place.top, outer.width, outer.height});
    std::string_view title;
    if (findXMLContent(head.c_str(), "name", title)) platform::setWindowText(shell, title);

    Build build;
    build.shell = shell;
    build.container = platform::createWindow(kUserPaneClass, "", style::kChild | style::kVisible,
                                             style::kExControlParent, {0, 0, outer.width, outer.height}, shell, -1);
    if (build.container != nullptr) {
        platform::setWindowFont(build.container, dialogFont());
        build.depth = 1;
    } else {
        build.container = shell;
    }
    EnumXMLData(text, "control", visitControl, reinterpret_cast<std::intptr_t>(&build));
    return true;
}

}  // namespace

bool buildDialogFromText(WindowRef shell, std::string_view text) {
    if (!platform::isWindow(shell)) return false;
    if (text.size() > kMaxDescriptionBytes) {
        dprintf("dialog description of %zu bytes refused%s", text.size(), platform::Traits::kLineEnd);
        return false;
    }
    try {
        const std::string terminated(text);
        return buildTerminated(shell, terminated.c_str());
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool buildDialog(WindowRef shell, const char* name) {
    if (!platform::isWindow(shell) || name == nullptr || *name == '\0') return false;
    std::int32_t length = 0;
    char* data = getResourceData(name, "XML", getLanguage(), &length);
    if (data == nullptr) {
        dprintf("no dialog description \"%s\"%s", name, platform::Traits::kLineEnd);
        return false;
    }
    const std::unique_ptr<char, decltype(&std::free)> owned(data, &std::free);
    if (length < 0 || static_cast<std::size_t>(length) > kMaxDescriptionBytes) {
        dprintf("dialog description \"%s\" of %d bytes refused%s", name, static_cast<int>(length),
                platform::Traits::kLineEnd);
        return false;
    }
    try {
        return buildTerminated(shell, data);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace lumbrel
