// Context menus on list views, and where on the screen a control's point lies.
#include <vector>

#include "ui/controls.h"
#include "ui/list_view.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {

// The window manager's list rows are 16 pixels high and start at the top of
// the client area (lists do not scroll in this build).
constexpr int kListRowHeight = 16;
// The menu opens this far left of the click, so the pointer rests inside it.
constexpr int kMenuOffset = 8;

std::int16_t clamp16(int value) noexcept {
    if (value < -32768) return -32768;
    if (value > 32767) return 32767;
    return static_cast<std::int16_t>(value);
}

// Makes `row` (0-based) the only selected row.
void selectOnly(ControlRef view, int row) {
    const int count = platform::itemCount(view);
    for (int i = 0; i < count; ++i) {
        if (i != row && platform::isItemSelected(view, i)) platform::setItemSelected(view, i, false);
    }
    platform::setItemSelected(view, row, true);
    platform::invalidateWindow(view);
}

}  // namespace

Point controlToScreen(ControlRef control, int x, int y) noexcept {
    const platform::WindowPoint at = platform::clientToScreen(control, {x, y});
    Point point;
    point.h = clamp16(at.x);
    point.v = clamp16(at.y);
    return point;
}

void setupContextClickHandler(ControlRef view, ContextMenuMakeProc makeMenu, ContextMenuDoProc doMenu) noexcept {
    if (!platform::isWindow(view)) return;
    setControlProperty(view, kTagContextMakeMenu, reinterpret_cast<std::intptr_t>(makeMenu));
    setControlProperty(view, kTagContextDoMenu, reinterpret_cast<std::intptr_t>(doMenu));
}

bool contextClick(ControlRef view, int x, int y) noexcept {
    const auto makeMenu = reinterpret_cast<ContextMenuMakeProc>(getControlProperty(view, kTagContextMakeMenu));
    if (makeMenu == nullptr) return false;
    try {
        if (getSelectedItems(view) < 2) {
            const int row = y >= 0 ? y / kListRowHeight : -1;
            if (row >= 0 && row < platform::itemCount(view)) {
                const std::vector<std::uint32_t> before = selectedBrowserItems(view);
                selectOnly(view, row);
                notifyBrowserSelection(view, before, selectedBrowserItems(view));
            }
        }
        if (!platform::isWindow(view) || getSelectedItems(view) < 1) return false;
        MenuRef menu = makeMenu(view);
        if (menu == nullptr) return false;
        char text[kShortTextSize] = "";
        const long command = trackPopUpMenu(menu, controlToScreen(view, x - kMenuOffset, y), 0, text);
        disposeMenu(menu);
        const auto doMenu = reinterpret_cast<ContextMenuDoProc>(getControlProperty(view, kTagContextDoMenu));
        if (command != 0 && doMenu != nullptr) doMenu(view, static_cast<std::uint32_t>(command), text);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace lumbrel
