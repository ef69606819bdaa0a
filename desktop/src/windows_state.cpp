#include "windows_state.h"

#include <exception>

namespace desktop::windows {

namespace ps = lumbrel::platform::style;

namespace {

// Handles carry their number shifted, so that no handle is a small integer
// or a plausible object address of ours.
constexpr unsigned kHandleShift = 4;

}  // namespace

State& state() noexcept {
    // Never destroyed, like the desktop itself.
    static State* const theState = new State;
    return *theState;
}

void resetWindows() noexcept {
    State& s = state();
    s.windows.clear();
    // Classes stay, as they do for the life of a process: the module registers
    // its own once at start-up.
    s.timers.clear();
    s.posted.clear();
    s.loops.clear();
    s.focus = 0;
    s.clock = 0;
    s.modalTurnLimit = 1000000;
}

WindowRef toRef(std::uint64_t number) noexcept {
    if (number == 0) return nullptr;
    return reinterpret_cast<WindowRef>(static_cast<std::uintptr_t>(number) << kHandleShift);
}

std::uint64_t toNumber(WindowRef window) noexcept {
    const auto bits = reinterpret_cast<std::uintptr_t>(window);
    if ((bits & ((std::uintptr_t{1} << kHandleShift) - 1)) != 0) return 0;
    return static_cast<std::uint64_t>(bits >> kHandleShift);
}

Window* find(std::uint64_t number) noexcept {
    if (number == 0) return nullptr;
    State& s = state();
    const auto found = s.windows.find(number);
    return found == s.windows.end() ? nullptr : found->second.get();
}

Window* find(WindowRef window) noexcept { return find(toNumber(window)); }

const Font* findFont(FontRef font) noexcept {
    const auto index = reinterpret_cast<std::uintptr_t>(font);
    const auto& fonts = state().fonts;
    if (index == 0 || index > fonts.size()) return nullptr;
    return &fonts[index - 1];
}

bool isStandardClass(std::string_view name) noexcept {
    using namespace lumbrel::platform;
    return name == kButtonClass || name == kStaticClass || name == kEditClass || name == kListBoxClass ||
           name == kComboBoxClass || name == kProgressClass || name == kTabControlClass || name == kDialogClass;
}

bool isButtonClass(const Window& window) noexcept { return window.className == lumbrel::platform::kButtonClass; }
bool isComboClass(const Window& window) noexcept { return window.className == lumbrel::platform::kComboBoxClass; }
bool isListClass(const Window& window) noexcept { return window.className == lumbrel::platform::kListBoxClass; }
bool isTabClass(const Window& window) noexcept { return window.className == lumbrel::platform::kTabControlClass; }
bool isEditClass(const Window& window) noexcept { return window.className == lumbrel::platform::kEditClass; }
bool isProgressClass(const Window& window) noexcept { return window.className == lumbrel::platform::kProgressClass; }

bool hasItems(const Window& window) noexcept {
    return isComboClass(window) || isListClass(window) || isTabClass(window);
}

std::uint32_t buttonType(const Window& window) noexcept { return window.style & ps::kButtonTypeMask; }

bool isCheckBox(const Window& window) noexcept {
    if (!isButtonClass(window)) return false;
    const std::uint32_t type = buttonType(window);
    return type == 0x2 || type == ps::kAutoCheckBox || type == 0x5 || type == 0x6;
}

bool isRadioButton(const Window& window) noexcept {
    if (!isButtonClass(window)) return false;
    const std::uint32_t type = buttonType(window);
    return type == 0x4 || type == ps::kAutoRadioButton;
}

bool isMultipleSelection(const Window& window) noexcept {
    return isListClass(window) && (window.style & (kListMultipleSelection | kListExtendedSelection)) != 0;
}

bool hasFrame(const Window& window) noexcept {
    return window.parent == 0 && (window.style & kStyleCaption) == kStyleCaption;
}

int titleBarHeight(std::uint32_t style, std::uint32_t exStyle) noexcept {
    if ((style & kStyleCaption) != kStyleCaption) return 0;
    return (exStyle & kExStyleToolWindow) != 0 ? kToolTitleBarHeight : kTitleBarHeight;
}

int titleBarHeight(const Window& window) noexcept { return titleBarHeight(window.style, window.exStyle); }

void clientOrigin(const Window& window, int& x, int& y) noexcept {
    x = 0;
    y = 0;
    if (hasFrame(window)) {
        x = kFrameBorder;
        y = kFrameBorder + titleBarHeight(window);
    } else if ((window.exStyle & ps::kExClientEdge) != 0) {
        x = kClientEdge;
        y = kClientEdge;
    }
}

std::intptr_t sendQuietly(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) noexcept {
    try {
        return lumbrel::platform::sendMessage(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

void notifyParent(WindowRef control, lumbrel::platform::Notification code) noexcept {
    const Window* window = find(control);
    if (window == nullptr || window->parent == 0) return;
    const WindowRef parent = toRef(window->parent);
    const std::uintptr_t wParam = lumbrel::platform::commandParam(window->id, code);
    sendQuietly(parent, Message::Command, wParam, reinterpret_cast<std::intptr_t>(control));
}

std::vector<std::uint64_t> descendants(std::uint64_t root) {
    std::vector<std::uint64_t> out;
    const Window* window = find(root);
    if (window == nullptr) return out;
    // Iterative depth-first walk in creation order.
    std::vector<std::uint64_t> stack(window->children.rbegin(), window->children.rend());
    while (!stack.empty()) {
        const std::uint64_t number = stack.back();
        stack.pop_back();
        const Window* child = find(number);
        if (child == nullptr) continue;
        out.push_back(number);
        stack.insert(stack.end(), child->children.rbegin(), child->children.rend());
    }
    return out;
}

ModalLoop* findLoop(std::uint64_t dialog) noexcept {
    for (auto& loop : state().loops) {
        if (loop.dialog == dialog) return &loop;
    }
    return nullptr;
}

}  // namespace desktop::windows
