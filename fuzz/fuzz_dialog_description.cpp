// Builds arbitrary dialog description text into a dialog shell of the
// desktop stand-in's window manager, walks what was built and checks what
// every build must hold: everything below the shell, no control outside the
// root pane but those a surplus end put on the shell, the nesting limit, and
// bound values that load without a store's text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/window_system.h"
#include "settings/settings_store.h"
#include "ui/control_kind.h"
#include "ui/description_builder.h"
#include "ui/own_window_classes.h"
#include "ui/settings_binding.h"
#include "ui/ui_types.h"

namespace {

using lumbrel::platform::WindowRef;

void check(bool condition) {
    if (!condition) std::abort();
}

std::intptr_t shellProc(WindowRef window, lumbrel::platform::Message message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
    return lumbrel::platform::defWindowProc(window, message, wParam, lParam);
}

struct Tally {
    WindowRef shell = nullptr;
    long windows = 0;
    int deepest = 0;
};

int depthBelow(WindowRef shell, WindowRef window) {
    int depth = 0;
    for (WindowRef w = window; w != nullptr && w != shell; w = lumbrel::platform::parentWindow(w)) ++depth;
    return depth;
}

bool visit(WindowRef window, std::uint32_t kind, std::intptr_t value) {
    auto* tally = reinterpret_cast<Tally*>(value);
    ++tally->windows;
    check(lumbrel::platform::topLevelWindow(window) == tally->shell);
    check(kind == lumbrel::controlKind(window));
    const int depth = depthBelow(tally->shell, window);
    if (depth > tally->deepest) tally->deepest = depth;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = lumbrel::setupDialogs();
    check(ready);
    const WindowRef shell = lumbrel::platform::createModelessDialog(shellProc, 0);
    check(shell != nullptr);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool built = lumbrel::buildDialogFromText(shell, text);
    check(built == (size <= lumbrel::kMaxDescriptionBytes));

    Tally tally;
    tally.shell = shell;
    check(lumbrel::walkDialog(shell, visit, reinterpret_cast<std::intptr_t>(&tally)));
    // Containers nest at most the limit deep, the controls in the deepest one a level more.
    check(tally.deepest <= lumbrel::kMaxContainerDepth + 1);

    lumbrel::CMySettings settings;
    lumbrel::loadDialogValues(shell, &settings, "Default");
    lumbrel::platform::destroyWindow(shell);
    check(!lumbrel::platform::isWindow(shell));
    return 0;
}
