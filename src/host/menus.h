// The module's three menu items ("Show Image Names" in the host's view menu,
// "Image List" and "Swap" in its items menu), their enabling, and the
// command dispatch, which also watches the host's own output command.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// Asks the host for a new command id, writes it to `command` and appends an
// item to `menu` titled with the localised text of `key`. 0 or the host's
// error.
XTError XTAddMenuItem(XTMenuRef menu, XTCommandID* command, const char* key);
void XTEnableMenuItem(XTCommandID command, bool enabled);
void XTCheckMenuItem(XTCommandID command, bool checked);

// Host callbacks 6 (menu set-up), 7 (menu update) and 618 (command); each
// answers 0.
std::int32_t menuSetupCallback(void* record);
std::int32_t menuUpdateCallback(void* record);
std::int32_t commandCallback(void* record);

// The command ids handed out at menu set-up (0 before it).
struct ModuleMenuItems {
    XTMenuRef viewMenu = 0;   // gets "Show Image Names"
    XTMenuRef itemsMenu = 0;  // gets "Image List" and "Swap"
    XTCommandID showPath = 0;
    XTCommandID imageList = 0;
    XTCommandID swap = 0;
    bool added = false;
};
const ModuleMenuItems& moduleMenuItems() noexcept;
void resetModuleMenuItems() noexcept;  // for the unit tests

}  // namespace lumbrel
