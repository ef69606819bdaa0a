// The host's menus: its own items, the module's items added at menu set-up,
// the menu update before every look, and commands.
#include "hostsim/host/held_modifiers.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

// Titles compare with "..." and the ellipsis character taken as the same.
std::string normalTitle(std::string_view title) {
    std::string out;
    for (std::size_t i = 0; i < title.size(); ++i) {
        if (title.compare(i, 3, "\xE2\x80\xA6") == 0) {
            out += "...";
            i += 2;
        } else {
            out += title[i];
        }
    }
    const auto first = out.find_first_not_of(' ');
    const auto last = out.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

MenuItemState hostItem(const char* title, std::int16_t command) {
    MenuItemState item;
    item.title = title;
    item.command = command;
    return item;
}

// Host items need a document.
void updateHostItems(Runtime& rt) {
    const bool haveDocument = rt.currentDocument() != nullptr;
    for (MenuState& menu : rt.menus) {
        for (MenuItemState& item : menu.items) {
            if (!item.fromModule) item.enabled = haveDocument;
        }
    }
}

bool choose(Runtime& rt, const MenuState& menu, const MenuItemState& item, std::uint16_t modifiers) {
    const std::string label = menu.title + ">" + item.title;
    if (!item.enabled) {
        rt.lastError = "the item \"" + label + "\" is disabled";
        rt.note("menu " + label + " is disabled");
        return false;
    }
    const bool fromModule = item.fromModule;
    const XTCommandID command = item.command;
    rt.clock += kActionTicks;
    rt.note(modifierText(modifiers) + "menu " + label);
    XTCommandRec record{};
    record.size = sizeof record;
    record.command = command;
    {
        const HeldModifiers held(modifiers);
        rt.dispatch(XT_CB_COMMAND, &record);
    }
    if (!fromModule) rt.hostCommandWork(command);
    rt.flushRedraw();
    return true;
}

}  // namespace

void Runtime::setupHostMenus() {
    std::vector<MenuItemState> file = {hostItem("Save", kHostCmdSave), hostItem("Collect for Output...", kHostCmdOutputCheck)};
    if constexpr (kWindowsHost) file.push_back(hostItem("Export Layout as PDF...", kHostCmdExportPDF));
    menus = {
        MenuState{"File", kFileMenu, std::move(file)},
        MenuState{"View", kViewMenu, {hostItem("Actual Size", kHostCmdActualSize), hostItem("200%", kHostCmdDoubleSize)}},
        MenuState{"Utilities", kUtilitiesMenu, {hostItem("Usage...", kHostCmdUsage)}},
    };
}

MenuItemState* Runtime::findItem(XTCommandID command) noexcept {
    for (MenuState& menu : menus) {
        for (MenuItemState& item : menu.items) {
            if (item.command == command) return &item;
        }
    }
    return nullptr;
}

MenuState* Runtime::findMenu(XTMenuRef ref) noexcept {
    for (MenuState& menu : menus) {
        if (menu.ref == ref) return &menu;
    }
    return nullptr;
}

void Runtime::hostCommandWork(std::int16_t command) {
    Document* doc = currentDocument();
    switch (command) {
        case kHostCmdSave: saveFrontDocument(*this, std::nullopt); break;
        case kHostCmdOutputCheck: note("host: collect for output (not simulated)"); break;
        case kHostCmdExportPDF:
            if constexpr (kWindowsHost) note("host: export as PDF (not simulated)");
            break;
        case kHostCmdActualSize:
        case kHostCmdDoubleSize:
            if (doc != nullptr) {
                doc->view.scale = command == kHostCmdActualSize ? kFixedOne : 2 * kFixedOne;
                note(std::string("view scale ") + (command == kHostCmdActualSize ? "100%" : "200%"));
                redrawPending = true;
            }
            break;
        case kHostCmdUsage: note("host: usage (not simulated)"); break;
        default: break;
    }
}

bool Simulator::chooseMenu(std::string_view title, std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("menu \"" + std::string(title) + "\"")) return false;
    updateHostItems(rt);
    rt.dispatch(XT_CB_MENUUPDATE, nullptr);
    std::string menuTitle;
    std::string itemTitle = normalTitle(title);
    if (const auto sep = itemTitle.find('>'); sep != std::string::npos) {
        menuTitle = normalTitle(itemTitle.substr(0, sep));
        itemTitle = normalTitle(itemTitle.substr(sep + 1));
    }
    for (const MenuState& menu : rt.menus) {
        if (!menuTitle.empty() && normalTitle(menu.title) != menuTitle) continue;
        for (const MenuItemState& item : menu.items) {
            if (normalTitle(item.title) == itemTitle) {
                const MenuState menuCopy = menu;
                const MenuItemState itemCopy = item;
                return choose(rt, menuCopy, itemCopy, modifiers);
            }
        }
    }
    rt.lastError = "no menu item \"" + std::string(title) + "\"";
    rt.note("menu \"" + std::string(title) + "\": no such item");
    return false;
}

bool Simulator::chooseCommand(XTCommandID command, std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("menu command " + std::to_string(command))) return false;
    updateHostItems(rt);
    rt.dispatch(XT_CB_MENUUPDATE, nullptr);
    for (const MenuState& menu : rt.menus) {
        for (const MenuItemState& item : menu.items) {
            if (item.command == command) {
                const MenuState menuCopy = menu;
                const MenuItemState itemCopy = item;
                return choose(rt, menuCopy, itemCopy, modifiers);
            }
        }
    }
    rt.lastError = "no menu item with command " + std::to_string(command);
    return false;
}

void Simulator::hostCommand(std::int16_t command) {
    Runtime& rt = runtime();
    if (!rt.beginAction("host command " + std::to_string(command))) return;
    rt.clock += kActionTicks;
    rt.note("host command " + std::to_string(command));
    XTCommandRec record{};
    record.size = sizeof record;
    record.command = command;
    rt.dispatch(XT_CB_COMMAND, &record);
    rt.hostCommandWork(command);
    rt.flushRedraw();
}

std::vector<MenuState> Simulator::menuState() {
    Runtime& rt = runtime();
    updateHostItems(rt);
    // A look while a callback runs (a modal alert is up) sees the menus as they are.
    if (rt.running.empty()) rt.dispatch(XT_CB_MENUUPDATE, nullptr);
    return rt.menus;
}

}  // namespace hostsim
