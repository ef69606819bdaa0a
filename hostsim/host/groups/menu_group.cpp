// "xtmenu": the module's items in the host's menus.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include <cstring>

namespace hostsim {

namespace {

constexpr const char* G = "xtmenu";
constexpr XTCommandID kFirstModuleCommand = 1000;
constexpr std::size_t kMaxTitleBytes = 255;

XTCommandID newCommandID() {
    return hostCall<XTCommandID>(G, "newCommandID", kNeedNothing, 0, [](Runtime& rt) {
        if (rt.nextCommandID == INT16_MAX) {
            rt.violation(G, "newCommandID", "ran out of command ids");
            return XTCommandID{0};
        }
        return rt.nextCommandID++;
    });
}

XTError appendItem(XTMenuRef menu, XTCommandID command, const char* title) {
    return hostCall<XTError>(G, "appendItem", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        MenuState* target = rt.findMenu(menu);
        if (target == nullptr) {
            rt.violation(G, "appendItem", "got menu " + std::to_string(menu) + ", which the host does not have");
            return XTError{XT_PARAMERR};
        }
        if (title == nullptr) {
            rt.violation(G, "appendItem", "got no title");
            return XTError{XT_PARAMERR};
        }
        if (command < kFirstModuleCommand || command >= rt.nextCommandID) {
            rt.violation(G, "appendItem",
                         "got command id " + std::to_string(command) + ", which the host did not hand out");
            return XTError{XT_PARAMERR};
        }
        if (rt.findItem(command) != nullptr) {
            rt.violation(G, "appendItem", "got command id " + std::to_string(command) + ", which has an item already");
            return XTError{XT_PARAMERR};
        }
        MenuItemState item;
        item.title.assign(title, strnlen(title, kMaxTitleBytes));
        item.command = command;
        item.fromModule = true;
        target->items.push_back(item);
        rt.note("menu item \"" + item.title + "\" added to " + target->title);
        return XTError{XT_NOERR};
    });
}

void enableItem(XTCommandID command, std::uint8_t enabled) {
    hostCallVoid(G, "enableItem", kNeedNothing, [=](Runtime& rt) {
        MenuItemState* item = rt.findItem(command);
        if (item == nullptr || !item->fromModule) {
            rt.violation(G, "enableItem", "got command id " + std::to_string(command) + ", which has no item");
            return;
        }
        item->enabled = enabled != 0;
    });
}

void checkItem(XTCommandID command, std::uint8_t checked) {
    hostCallVoid(G, "checkItem", kNeedNothing, [=](Runtime& rt) {
        MenuItemState* item = rt.findItem(command);
        if (item == nullptr || !item->fromModule) {
            rt.violation(G, "checkItem", "got command id " + std::to_string(command) + ", which has no item");
            return;
        }
        item->checked = checked != 0;
    });
}

const XTMenuGroup kTable{sizeof(XTMenuGroup), newCommandID, appendItem, enableItem, checkItem};

}  // namespace

const XTMenuGroup& menuGroupTable() { return kTable; }

}  // namespace hostsim
