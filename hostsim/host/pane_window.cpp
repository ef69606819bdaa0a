#include "hostsim/host/pane_window.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

namespace hostsim {

namespace {

namespace lp = lumbrel::platform;
namespace ps = lumbrel::platform::style;

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Position of `needle` in `text` from `from` on, ignoring case.
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from = 0) {
    if (needle.empty() || text.size() < needle.size()) return std::string_view::npos;
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        bool same = true;
        for (std::size_t k = 0; k < needle.size() && same; ++k) {
            same = std::tolower(static_cast<unsigned char>(text[at + k])) ==
                   std::tolower(static_cast<unsigned char>(needle[k]));
        }
        if (same) return at;
    }
    return std::string_view::npos;
}

// The leaf elements of a block, in order: <name>value</name> with the value
// as raw text; element names lower-cased.
std::vector<std::pair<std::string, std::string>> leaves(std::string_view block) {
    std::vector<std::pair<std::string, std::string>> out;
    std::size_t pos = 0;
    while ((pos = block.find('<', pos)) != std::string_view::npos) {
        const std::size_t close = block.find('>', pos);
        if (close == std::string_view::npos) break;
        const std::string_view tag = block.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        if (tag.empty() || tag[0] == '/' || tag[0] == '?' || tag[0] == '!' || tag.back() == '/') continue;
        const std::string name = lower(tag.substr(0, tag.find_first_of(" \t\r\n")));
        const std::size_t valueEnd = block.find('<', pos);
        if (valueEnd == std::string_view::npos) break;
        const std::string closing = "</" + name + ">";
        if (lower(block.substr(valueEnd, closing.size())) != closing) continue;  // not a leaf
        out.emplace_back(name, std::string(block.substr(pos, valueEnd - pos)));
        pos = valueEnd + closing.size();
    }
    return out;
}

int number(const std::string& text) {
    int value = 0;
    return std::sscanf(text.c_str(), "%d", &value) == 1 ? value : 0;
}

lp::WindowRect rectOf(const std::string& text) {
    lp::WindowRect rect;
    if (std::sscanf(text.c_str(), "%d %d %d %d", &rect.left, &rect.top, &rect.width, &rect.height) != 4) return {};
    return rect;
}

}  // namespace

bool isPaneContainer(const std::string& type) {
    return type == "grpb" || type == "tabs" || type == "rgrp" || type == "upan";
}

PaneControlWindow paneControlWindow(const PaneControl& control) {
    PaneControlWindow m;
    m.rect = control.rect;
    const std::string& t = control.type;
    if (t == "push" || t == "cbox" || t == "rdio") {
        m.className = lp::kButtonClass;
        m.style = ps::kGroup | ps::kTabStop;
        if (t == "push") {
            m.style |= control.id == 1 ? ps::kDefPushButton : ps::kPushButton;
        } else {
            m.style |= t == "cbox" ? ps::kAutoCheckBox : ps::kAutoRadioButton;
        }
        m.rect.top -= 3;
        m.rect.height = 24;
    } else if (t == "grpb") {
        m.className = lp::kButtonClass;
        m.style = ps::kGroupBox;
    } else if (t == "stxt") {
        m.className = lp::kStaticClass;
        m.style = ps::kStaticLeftNoWordWrap;
        if (control.just == "center") m.style = ps::kStaticCenter;
        if (control.just == "right") m.style = ps::kStaticRight;
        m.rect.height = 16;
    } else if (t == "etxt" || t == "eutx") {
        m.className = lp::kEditClass;
        m.exStyle = ps::kExClientEdge;
        m.style = ps::kTabStop | ps::kEditAutoHScroll;
        if (control.password) m.style |= ps::kEditPassword;
        if (control.multiLine) m.style |= ps::kEditMultiLine | ps::kEditWantReturn;
        if (control.just == "center") m.style |= ps::kEditCenter;
        if (control.just == "right") m.style |= ps::kEditRight;
        m.rect.top -= 3;
        if (!control.multiLine) m.rect.height = 19;
    } else if (t == "lbox") {
        m.className = lp::kListBoxClass;
        m.exStyle = ps::kExClientEdge;
        m.style = ps::kVScroll | ps::kTabStop | ps::kListNotify | ps::kListHasStrings | ps::kListNoIntegralHeight;
    } else if (t == "popb" || t == "comb") {
        m.className = lp::kComboBoxClass;
        m.style = ps::kVScroll | ps::kTabStop | (t == "popb" ? ps::kComboDropDownList : ps::kComboDropDown);
        m.rect.left += 3;
        m.rect.width -= 5;
        if (t == "popb") m.rect.top -= 2;
        m.rect.height = t == "popb" ? 200 : 100;
    } else if (t == "prgb") {
        m.className = lp::kProgressClass;
        m.style = ps::kProgressSmooth;
    } else if (t == "tabs") {
        m.className = lp::kTabControlClass;
        m.exStyle = ps::kExClientEdge;
        m.style = ps::kTabButtons;
    }
    return m;
}

bool readPaneDescription(std::string_view text, PaneDescription& out) {
    out = PaneDescription{};
    if (findNoCase(text, "<window") == std::string_view::npos) return false;
    std::size_t at = findNoCase(text, "<control");
    for (const auto& [name, value] : leaves(text.substr(0, at))) {
        if (name == "name" && out.title.empty()) out.title = value;
        if (name == "rect") out.rect = rectOf(value);
    }
    while (at != std::string_view::npos) {
        const std::size_t end = findNoCase(text, "</control", at);
        const std::string_view block = text.substr(at, end == std::string_view::npos ? text.size() - at : end - at);
        PaneControl control;
        std::vector<std::pair<int, std::string>> tabs;
        for (const auto& [name, value] : leaves(block)) {
            if (name == "type") control.type = value;
            else if (name == "id") control.id = number(value);
            else if (name == "text") control.text = value;
            else if (name == "rect") control.rect = rectOf(value);
            else if (name == "just") control.just = lower(value);
            else if (name == "pass") control.password = number(value) == 1;
            else if (name == "multi") control.multiLine = number(value) == 1;
            else if (name == "menu" && !value.empty()) control.menu.push_back(value);
            else if (name.size() > 4 && name.compare(0, 4, "text") == 0) tabs.emplace_back(number(name.substr(4)), value);
        }
        std::sort(tabs.begin(), tabs.end());
        for (std::size_t i = 0; i < tabs.size() && tabs[i].first == static_cast<int>(i) + 1 && !tabs[i].second.empty();
             ++i) {
            control.tabs.push_back(tabs[i].second);
        }
        out.controls.push_back(std::move(control));
        if (end == std::string_view::npos) break;
        at = findNoCase(text, "<control", end);
    }
    return true;
}

int buildPaneWindow(lp::WindowRef dialog, const PaneDescription& description) {
    lp::setWindowText(dialog, description.title);
    lp::WindowRect outer = lp::outerRectForClient({0, 0, description.rect.width, description.rect.height});
    const lp::WindowRect screen = lp::screenRect();
    outer.left = screen.left + (screen.width - outer.width) / 2;
    outer.top = screen.top + (screen.height - outer.height) / 4;
    lp::setWindowRect(dialog, outer);
    const lp::FontRef font = lp::createFont("MS Shell Dlg", 12, 400);

    // Origins of the open containers, in the dialog's client area.
    std::vector<std::pair<int, int>> origins{{0, 0}};
    int made = 0;
    for (const PaneControl& control : description.controls) {
        if (control.type == "####") {
            if (origins.size() > 1) origins.pop_back();
            continue;
        }
        PaneControlWindow m = paneControlWindow(control);
        const auto [x, y] = origins.back();
        m.rect.left += x;
        m.rect.top += y;
        if (isPaneContainer(control.type)) origins.emplace_back(x + control.rect.left, y + control.rect.top);
        if (m.className == nullptr) continue;
        const lp::WindowRef window = lp::createWindow(m.className, control.text, ps::kChild | ps::kVisible | m.style,
                                                      m.exStyle, m.rect, dialog, control.id);
        if (window == nullptr) continue;
        ++made;
        if (font != nullptr) lp::setWindowFont(window, font);
        for (const std::string& item : control.type == "tabs" ? control.tabs : control.menu) lp::addItem(window, item);
        if (control.type == "popb" || control.type == "tabs") {
            int selected = control.type == "tabs" && !control.tabs.empty() ? 0 : -1;
            for (std::size_t i = 0; i < control.menu.size(); ++i) {
                if (control.menu[i] == control.text) selected = static_cast<int>(i);
            }
            lp::setControlValue(window, selected);
        }
    }
    return made;
}

}  // namespace hostsim
