// Named per-window values. They live in the window's state, itself a window
// property, and go with the window at WM_NCDESTROY; a stored 0 is a value
// like any other.
#include <string>

#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

win32::WindowState* stateFor(WindowRef window) noexcept { return win32::findState(win32::toHwnd(window)); }

}  // namespace

void setProperty(WindowRef window, std::string_view name, std::intptr_t value) noexcept {
    try {
        if (win32::WindowState* state = win32::ensureState(win32::toHwnd(window))) {
            state->properties[std::string(name)] = win32::StoredProperty{false, value, {}};
        }
    } catch (...) {
    }
}

std::intptr_t property(WindowRef window, std::string_view name) noexcept {
    try {
        const win32::WindowState* state = stateFor(window);
        if (state == nullptr) return 0;
        const auto found = state->properties.find(std::string(name));
        return found != state->properties.end() && !found->second.isText ? found->second.value : 0;
    } catch (...) {
        return 0;
    }
}

bool hasProperty(WindowRef window, std::string_view name) noexcept {
    try {
        const win32::WindowState* state = stateFor(window);
        return state != nullptr && state->properties.count(std::string(name)) != 0;
    } catch (...) {
        return false;
    }
}

void setTextProperty(WindowRef window, std::string_view name, std::string_view utf8) noexcept {
    try {
        if (win32::WindowState* state = win32::ensureState(win32::toHwnd(window))) {
            state->properties[std::string(name)] = win32::StoredProperty{true, 0, std::string(utf8)};
        }
    } catch (...) {
    }
}

const std::string* textProperty(WindowRef window, std::string_view name) noexcept {
    try {
        const win32::WindowState* state = stateFor(window);
        if (state == nullptr) return nullptr;
        const auto found = state->properties.find(std::string(name));
        return found != state->properties.end() && found->second.isText ? &found->second.text : nullptr;
    } catch (...) {
        return nullptr;
    }
}

void removeProperty(WindowRef window, std::string_view name) noexcept {
    try {
        if (win32::WindowState* state = stateFor(window)) state->properties.erase(std::string(name));
    } catch (...) {
    }
}

}  // namespace lumbrel::platform
