// Window classes, creation and destruction, the tree and geometry.
#include <algorithm>
#include <utility>

#include "windows_state.h"

namespace lumbrel::platform {

using desktop::windows::find;
using desktop::windows::sendQuietly;
using desktop::windows::state;
using desktop::windows::toNumber;
using desktop::windows::toRef;
namespace dw = desktop::windows;

namespace {

std::intptr_t LUMBREL_CALLBACK standardProcedure(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    return defWindowProc(window, message, wParam, lParam);
}

}  // namespace

bool registerWindowClass(const char* name, WindowProc procedure) noexcept {
    if (name == nullptr || name[0] == '\0' || procedure == nullptr) return false;
    if (dw::isStandardClass(name)) return false;
    try {
        auto& classes = state().classes;
        const auto found = classes.find(std::string_view(name));
        if (found != classes.end()) return found->second == procedure;
        classes.emplace(name, procedure);
        return true;
    } catch (...) {
        return false;
    }
}

WindowRef createWindow(const char* name, std::string_view text, std::uint32_t windowStyle, std::uint32_t exStyle,
                       const WindowRect& rect, WindowRef parent, int id) noexcept {
    if (name == nullptr) return nullptr;
    dw::State& s = state();
    WindowProc procedure = nullptr;
    if (dw::isStandardClass(name)) {
        procedure = standardProcedure;
    } else {
        const auto found = s.classes.find(std::string_view(name));
        if (found == s.classes.end()) return nullptr;
        procedure = found->second;
    }
    std::uint64_t parentNumber = 0;
    if (parent != nullptr) {
        const dw::Window* parentWindow = find(parent);
        if (parentWindow == nullptr || parentWindow->destroying) return nullptr;
        parentNumber = parentWindow->number;
    }
    std::uint64_t number = 0;
    try {
        auto window = std::make_unique<dw::Window>();
        number = ++s.lastNumber;
        window->number = number;
        window->className = name;
        window->text = std::string(text);
        window->style = windowStyle;
        window->exStyle = exStyle;
        window->rect = rect;
        window->parent = parentNumber;
        window->id = id;
        window->procedure = procedure;
        window->value = dw::hasItems(*window) ? -1 : 0;
        s.windows.emplace(number, std::move(window));
        if (parentNumber != 0) {
            try {
                find(parentNumber)->children.push_back(number);
            } catch (...) {
                s.windows.erase(number);
                return nullptr;
            }
        }
    } catch (...) {
        return nullptr;
    }
    const WindowRef handle = toRef(number);
    sendQuietly(handle, Message::Create, 0, 0);
    return isWindow(handle) ? handle : nullptr;
}

void destroyWindow(WindowRef window) noexcept {
    dw::Window* root = find(window);
    if (root == nullptr || root->destroying) return;
    dw::State& s = state();
    const std::uint64_t rootNumber = root->number;
    // Pre-order: the window, then its children depth first in creation order.
    std::vector<std::uint64_t> doomed{rootNumber};
    try {
        const std::vector<std::uint64_t> below = dw::descendants(rootNumber);
        doomed.insert(doomed.end(), below.begin(), below.end());
    } catch (...) {
        // Without memory for the list only the window itself can go.
    }
    for (const std::uint64_t number : doomed) {
        if (dw::Window* each = find(number)) each->destroying = true;
    }
    // The focus leaves first, as it does before the windows go.
    if (std::find(doomed.begin(), doomed.end(), s.focus) != doomed.end()) {
        const std::uint64_t focused = s.focus;
        s.focus = 0;
        sendQuietly(toRef(focused), Message::KillFocus, 0, 0);
    }
    // Destroy parent first: while a window handles it, its children still live.
    for (const std::uint64_t number : doomed) {
        if (find(number) != nullptr) sendQuietly(toRef(number), Message::Destroy, 0, 0);
    }
    // NcDestroy children first, so a window's last message comes after its
    // children are gone; each window goes right after its NcDestroy with its
    // timers, posted messages and properties.
    std::vector<std::uint64_t> postOrder;
    try {
        postOrder.reserve(doomed.size());
        std::vector<std::pair<std::uint64_t, bool>> stack{{rootNumber, false}};
        while (!stack.empty()) {
            auto [number, expanded] = stack.back();
            stack.pop_back();
            const dw::Window* each = find(number);
            if (each == nullptr) continue;
            if (expanded) {
                postOrder.push_back(number);
                continue;
            }
            stack.emplace_back(number, true);
            for (auto child = each->children.rbegin(); child != each->children.rend(); ++child) {
                stack.emplace_back(*child, false);
            }
        }
    } catch (...) {
        postOrder = {rootNumber};
    }
    for (const std::uint64_t number : postOrder) {
        if (find(number) == nullptr) continue;
        sendQuietly(toRef(number), Message::NcDestroy, 0, 0);
        dw::Window* each = find(number);
        if (each == nullptr) continue;
        if (dw::Window* parent = find(each->parent)) {
            auto& siblings = parent->children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), number), siblings.end());
        }
        s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(),
                                      [number](const dw::Timer& t) { return t.window == number; }),
                       s.timers.end());
        s.posted.erase(std::remove_if(s.posted.begin(), s.posted.end(),
                                      [number](const dw::Posted& p) { return p.window == number; }),
                       s.posted.end());
        if (s.focus == number) s.focus = 0;
        s.windows.erase(number);
    }
}

bool isWindow(WindowRef window) noexcept { return find(window) != nullptr; }

std::string className(WindowRef window) {
    const dw::Window* w = find(window);
    return w != nullptr ? w->className : std::string();
}

std::uint32_t windowStyle(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->style : 0;
}

std::uint32_t windowExStyle(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->exStyle : 0;
}

int controlId(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->id : -1;
}

WindowRef parentWindow(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? toRef(w->parent) : nullptr;
}

WindowRef topLevelWindow(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    while (w != nullptr && w->parent != 0) {
        const dw::Window* up = find(w->parent);
        if (up == nullptr) break;
        w = up;
    }
    return w != nullptr ? toRef(w->number) : nullptr;
}

WindowRef firstChild(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr || w->children.empty()) return nullptr;
    return toRef(w->children.front());
}

WindowRef nextSibling(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return nullptr;
    const dw::Window* parent = find(w->parent);
    if (parent == nullptr) return nullptr;
    const auto& siblings = parent->children;
    const auto at = std::find(siblings.begin(), siblings.end(), w->number);
    if (at == siblings.end() || at + 1 == siblings.end()) return nullptr;
    return toRef(*(at + 1));
}

WindowRef findChild(WindowRef window, int id) noexcept {
    if (find(window) == nullptr) return nullptr;
    try {
        for (const std::uint64_t number : dw::descendants(toNumber(window))) {
            const dw::Window* w = find(number);
            if (w != nullptr && w->id == id) return toRef(number);
        }
    } catch (...) {
    }
    return nullptr;
}

WindowRect windowRect(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->rect : WindowRect{};
}

void setWindowRect(WindowRef window, const WindowRect& rect) noexcept {
    if (dw::Window* w = find(window)) {
        w->rect = rect;
        w->rect.width = std::max(0, rect.width);
        w->rect.height = std::max(0, rect.height);
    }
}

WindowRect clientRect(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return {};
    int x = 0;
    int y = 0;
    dw::clientOrigin(*w, x, y);
    const int right = dw::hasFrame(*w) ? dw::kFrameBorder : x;
    const int bottom = dw::hasFrame(*w) ? dw::kFrameBorder : y;
    return {0, 0, std::max(0, w->rect.width - x - right), std::max(0, w->rect.height - y - bottom)};
}

WindowRect outerRectForClient(const WindowRect& client, std::uint32_t windowStyle, std::uint32_t exStyle) noexcept {
    // The same frames clientOrigin() and clientRect() take away again.
    const bool framed = (windowStyle & style::kChild) == 0 && (windowStyle & dw::kStyleCaption) == dw::kStyleCaption;
    const int border = framed ? dw::kFrameBorder : (exStyle & style::kExClientEdge) != 0 ? dw::kClientEdge : 0;
    const int caption = framed ? dw::titleBarHeight(windowStyle, exStyle) : 0;
    return {client.left - border, client.top - border - caption, client.width + 2 * border,
            client.height + 2 * border + caption};
}

WindowRect screenRect() noexcept { return {0, 0, dw::kScreenWidth, dw::kScreenHeight}; }

namespace {

// Where the window's client area starts on the screen: each level adds its
// place in the parent's client area and its own frame or edge.
WindowPoint clientOriginOnScreen(const dw::Window& window) noexcept {
    WindowPoint origin;
    // A chain is as deep as the window tree; the bound only guards against a cycle.
    int levels = 0;
    for (const dw::Window* at = &window; at != nullptr && levels < 4096; at = find(at->parent), ++levels) {
        int x = 0;
        int y = 0;
        dw::clientOrigin(*at, x, y);
        origin.x += at->rect.left + x;
        origin.y += at->rect.top + y;
        if (at->parent == 0) break;
    }
    return origin;
}

}  // namespace

WindowPoint clientToScreen(WindowRef window, WindowPoint point) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return point;
    const WindowPoint origin = clientOriginOnScreen(*w);
    return {point.x + origin.x, point.y + origin.y};
}

WindowPoint screenToClient(WindowRef window, WindowPoint point) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return point;
    const WindowPoint origin = clientOriginOnScreen(*w);
    return {point.x - origin.x, point.y - origin.y};
}

}  // namespace lumbrel::platform
