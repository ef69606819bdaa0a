// The module's own window classes and the dialog fonts.
//
// Dialogs built from descriptions use four classes the window manager does
// not have: "Separator" (a grey rule), "UserPane" (a plain container that
// hands its children's notifications to the dialog), "RadioGroup" (a
// container that keeps one of its radio buttons checked) and "FontMenu" (a
// button that opens a pop-up menu). setupDialogs() registers them and makes
// the two fonts every built control uses; it runs once at start-up and may
// run again (later calls change nothing).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace lumbrel {

// Face and size of both dialog fonts; weights of the normal and bold one.
inline constexpr const char* kDialogFontFace = "MS Shell Dlg";
inline constexpr int kDialogFontHeight = 12;
inline constexpr int kDialogFontWeightNormal = 400;
inline constexpr int kDialogFontWeightBold = 700;

// Registers the classes and makes the fonts. False when a class could not be
// registered (its name taken by another procedure); the fonts are made anyway.
bool setupDialogs() noexcept;

// The fonts made by setupDialogs (null before it ran or when the window
// manager could not make them).
platform::FontRef dialogFont() noexcept;
platform::FontRef dialogBoldFont() noexcept;

// Grey of the separator rule, 0xRRGGBB.
inline constexpr std::uint32_t kSeparatorColour = 0x808080;

// ---- RadioGroup messages ------------------------------------------------------
// Answers the 1-based position among the group's children of the first
// checked one, 0 when none is checked.
inline constexpr platform::Message kRadioGroupGetChecked = platform::Message::User;
// wParam: a 1-based position. Checks that child and unchecks all others (a
// position that names no child unchecks them all). Answers the position when
// it named a child, else 0. Nobody is notified.
inline constexpr platform::Message kRadioGroupSetChecked =
    static_cast<platform::Message>(static_cast<std::uint32_t>(platform::Message::User) + 1);

// ---- FontMenu messages ----------------------------------------------------------
// A font menu shows its window text in a frame with a downward triangle. A
// click (while enabled) opens its items as a pop-up menu just below it; the
// chosen item's 1-based number becomes the control's value (controlValue)
// and a Command (the control's id, Notification::Clicked, lParam the
// control) is posted to its owner, or to its top-level window when it has
// none. Dismissing the menu changes nothing and posts nothing.
//
// lParam: const std::vector<std::string>* (null clears). Replaces the items
// with a copy; answers their number.
inline constexpr platform::Message kFontMenuSetItems = platform::Message::User;
// lParam: the owner window (WindowRef as intptr; 0 puts the top-level window back).
inline constexpr platform::Message kFontMenuSetOwner =
    static_cast<platform::Message>(static_cast<std::uint32_t>(platform::Message::User) + 1);
// Answers the items as const std::vector<std::string>*, valid until they are
// replaced or the window goes; never null for a live font menu.
inline constexpr platform::Message kFontMenuGetItems =
    static_cast<platform::Message>(static_cast<std::uint32_t>(platform::Message::User) + 2);
// Answers the value: the 1-based number of the item chosen last, 0 for none.
inline constexpr platform::Message kFontMenuGetValue =
    static_cast<platform::Message>(static_cast<std::uint32_t>(platform::Message::User) + 3);
// wParam: the value to keep (it marks the item when the menu opens).
inline constexpr platform::Message kFontMenuSetValue =
    static_cast<platform::Message>(static_cast<std::uint32_t>(platform::Message::User) + 4);
// Answers the owner (WindowRef as intptr; 0 when none was set).
inline constexpr platform::Message kFontMenuGetOwner =
    static_cast<platform::Message>(static_cast<std::uint32_t>(platform::Message::User) + 5);

// The window procedures, for the Windows build's class registration and for tests.
std::intptr_t LUMBREL_CALLBACK separatorProc(platform::WindowRef window, platform::Message message, std::uintptr_t wParam,
                            std::intptr_t lParam);
std::intptr_t LUMBREL_CALLBACK userPaneProc(platform::WindowRef window, platform::Message message, std::uintptr_t wParam,
                           std::intptr_t lParam);
std::intptr_t LUMBREL_CALLBACK radioGroupProc(platform::WindowRef window, platform::Message message, std::uintptr_t wParam,
                             std::intptr_t lParam);
std::intptr_t LUMBREL_CALLBACK fontMenuProc(platform::WindowRef window, platform::Message message, std::uintptr_t wParam,
                           std::intptr_t lParam);

}  // namespace lumbrel
