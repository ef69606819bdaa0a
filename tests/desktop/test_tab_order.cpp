// The Tab walk of dialogs follows the dialog manager: it enters only
// visible, enabled children styled kExControlParent, and takes visible,
// enabled tab stops in child order.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "platform/window_system.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
namespace st = pw::style;
using pw::Message;
using pw::WindowRef;

std::intptr_t LUMBREL_CALLBACK plainDialogProc(WindowRef window, Message message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
    return pw::defWindowProc(window, message, wParam, lParam);
}

class TabOrderTest : public DesktopTest {};

// A container (id 10) between button 1 and button 4, holding buttons 2 and 3.
struct ContainerCase {
    const char* what;
    std::uint32_t containerStyle;    // beyond child
    std::uint32_t containerExStyle;
    std::vector<int> forward;        // ids focused by Tab from nothing, a whole round
};

TEST_F(TabOrderTest, TabEntersOnlyVisibleEnabledControlParents) {
    const ContainerCase cases[] = {
        {"control parent", st::kVisible, st::kExControlParent, {1, 2, 3, 4, 1}},
        {"control parent that is a tab stop too: entered, not taken", st::kVisible | st::kTabStop,
         st::kExControlParent, {1, 2, 3, 4, 1}},
        {"plain container: its controls are out of reach", st::kVisible, 0, {1, 4, 1}},
        {"plain container that is a tab stop: taken itself", st::kVisible | st::kTabStop, 0, {1, 10, 4, 1}},
        {"hidden control parent", 0, st::kExControlParent, {1, 4, 1}},
        {"disabled control parent", st::kVisible | st::kDisabled, st::kExControlParent, {1, 4, 1}},
    };
    for (const ContainerCase& c : cases) {
        SCOPED_TRACE(c.what);
        const WindowRef dialog = pw::createModelessDialog(plainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        const std::uint32_t button = st::kChild | st::kVisible | st::kTabStop | st::kPushButton;
        pw::createWindow(pw::kButtonClass, "1", button, 0, {0, 0, 10, 10}, dialog, 1);
        const WindowRef box =
            pw::createWindow(pw::kStaticClass, "", st::kChild | c.containerStyle, c.containerExStyle, {0, 20, 50, 50},
                             dialog, 10);
        pw::createWindow(pw::kButtonClass, "2", button, 0, {0, 0, 10, 10}, box, 2);
        pw::createWindow(pw::kButtonClass, "3", button, 0, {0, 20, 10, 10}, box, 3);
        pw::createWindow(pw::kButtonClass, "4", button, 0, {0, 80, 10, 10}, dialog, 4);
        pw::setFocus(nullptr);

        std::vector<int> forward;
        for (std::size_t i = 0; i < c.forward.size(); ++i) {
            pw::sendMessage(dialog, Message::NextDialogControl, 0, 0);
            forward.push_back(pw::controlId(pw::focusedWindow()));
        }
        EXPECT_EQ(forward, c.forward);
        // Shift-Tab walks the same round backwards.
        std::vector<int> backward;
        for (std::size_t i = 1; i < c.forward.size(); ++i) {
            pw::sendMessage(dialog, Message::NextDialogControl, 1, 0);
            backward.push_back(pw::controlId(pw::focusedWindow()));
        }
        std::vector<int> expected(c.forward.rbegin() + 1, c.forward.rend());
        EXPECT_EQ(backward, expected);
        pw::destroyWindow(dialog);
    }
}

}  // namespace
}  // namespace lumbrel::test
