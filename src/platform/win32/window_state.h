// What the Win32 layer keeps per window beside what user32 keeps: the
// module's procedures, its named properties, and the messages being handled.
//
// Every window the module touches is subclassed by one trampoline (a WNDPROC)
// that hands each message to the module's procedure, translated to the
// contract's meaning (Paint and DrawItem get a Canvas, Char a code point),
// and otherwise to the procedure the window had (`native`). Module classes
// use the trampoline as their class procedure and have no native procedure.
// The state lives in a window property and goes at WM_NCDESTROY, once no
// call for the window is still running.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/win32/windows_api.h"
#include "platform/window_system.h"

namespace lumbrel::platform::win32 {

enum class ShellKind { None, Modal, Modeless };

struct StoredProperty {
    bool isText = false;
    std::intptr_t value = 0;
    std::string text;
};

// One message being handled for a window: what user32 delivered and what the
// module's procedure was given, so a fall-through can hand on the original.
struct Frame {
    Frame* outer = nullptr;
    bool dialogProcedure = false;  // called by the dialog manager through the DLGPROC adapter
    bool fellThrough = false;      // the module handed the message to defWindowProc
    Message message{};
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    UINT nativeMessage = 0;
    WPARAM nativeWParam = 0;
    LPARAM nativeLParam = 0;
};

struct WindowState {
    WNDPROC native = nullptr;        // the procedure the window had; null for module classes
    WindowProc classProc = nullptr;  // a module class's procedure
    WindowProc proc = nullptr;       // the module's subclass procedure; null: the class's own
    WindowProc dialogProc = nullptr; // a dialog shell's procedure
    ShellKind shell = ShellKind::None;
    std::map<std::string, StoredProperty> properties;
    int plainValue = 0;              // the value of a window that has none of its own
    wchar_t pendingHighSurrogate = 0;
    Frame* frames = nullptr;
    int calls = 0;
    bool destroyed = false;
};

inline HWND toHwnd(WindowRef window) noexcept { return reinterpret_cast<HWND>(window); }
inline WindowRef toRef(HWND window) noexcept { return reinterpret_cast<WindowRef>(window); }

// The window's state, null when it has none (or is no window).
WindowState* findState(HWND window) noexcept;
// The window's state, made (and the window subclassed) when missing; null for
// no window or out of memory.
WindowState* ensureState(HWND window) noexcept;

// The trampoline: class procedure of module classes, subclass of the others.
LRESULT CALLBACK trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Hands a message on to what the window had (viaDefault: as defWindowProc;
// else as the procedure a subclass replaced).
LRESULT handOn(HWND window, Message message, std::uintptr_t wParam, std::intptr_t lParam, bool viaDefault) noexcept;
// Delivers a user32 message to a module procedure, translated; `handled` is
// false when the procedure handed it on (only tracked for dialog procedures).
LRESULT deliver(HWND window, WindowState& state, WindowProc procedure, UINT message, WPARAM wParam, LPARAM lParam,
                bool dialogProcedure, bool& handled);
// Remembers a module class's procedure; false when the name has another one.
bool rememberClassProcedure(const std::wstring& className, WindowProc procedure);
// The procedure a module class was registered with; null for others.
WindowProc registeredProcedure(HWND window) noexcept;
// The module procedure that the next "ModelessDialog" window made on this thread gets.
void setPendingModelessProcedure(WindowProc procedure) noexcept;
bool isModelessClass(HWND window) noexcept;

}  // namespace lumbrel::platform::win32
