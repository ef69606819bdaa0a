// The host's own reading of a preference pane's dialog description, and the
// controls it builds from it in a dialog window of the desktop. The host never
// links module code: this is a second, small reader of the same simple format
// (a `window` with `name` and `rect`, then `control` elements with `type`,
// `id`, `rect`, `text`, `menu` items and tab labels "text1", "text2", …;
// "####" ends a container). Containers only move their children: every
// control is made a direct child of the dialog, so its clicks reach the
// host's dialog procedure at once. Geometry follows the module's builder
// (buttons 3 pixels higher and 24 high, static texts 16 high, edit fields 19,
// pop-ups narrowed), so a pane looks the same in both.
#pragma once

#include "src/platform/window_system.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim {

struct PaneControl {
    std::string type;  // four characters, "####" included
    int id = -1;
    std::string text;
    lumbrel::platform::WindowRect rect;
    std::string just;
    bool password = false;
    bool multiLine = false;
    std::vector<std::string> menu;  // pop-up items
    std::vector<std::string> tabs;  // tab labels
};

struct PaneDescription {
    std::string title;
    lumbrel::platform::WindowRect rect;  // left, top, client width and height
    std::vector<PaneControl> controls;
};

// The window a control of the description becomes: class (null for none),
// styles and geometry as the module's builder makes them, relative to its
// container.
struct PaneControlWindow {
    const char* className = nullptr;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    lumbrel::platform::WindowRect rect;
};
PaneControlWindow paneControlWindow(const PaneControl& control);
// Group boxes, tab controls, radio groups and user panes hold the controls up to their "####".
bool isPaneContainer(const std::string& type);

// False when the text has no `window` element.
bool readPaneDescription(std::string_view text, PaneDescription& out);

// Titles the dialog, sizes it for the client area (centred on the screen),
// and makes the controls; answers how many were made.
int buildPaneWindow(lumbrel::platform::WindowRef dialog, const PaneDescription& description);

}  // namespace hostsim
