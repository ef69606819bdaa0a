// Types and codes shared by the dialog toolkit.
//
// Windows and controls are both platform windows (as on Windows, where a
// control is a child window); OpaqueWindowPtr and OpaqueControlRef name the
// same handle type, so functions that the toolkit offers for both take either.
//
// Results of the dialog functions: the command code that ended the dialog
// ("ok  ", "not!", or the code given to quitModalDialog), 0 when the dialog
// could not be made. Feature code compares against kCmdOK and kCmdCancel.
#pragma once

#include "platform/window_system.h"
#include "util/four_char_code.h"

#include <cstdint>

namespace lumbrel {

using OpaqueWindowPtr = platform::NativeWindow;
using OpaqueControlRef = platform::NativeWindow;
using WindowPtr = OpaqueWindowPtr*;
using ControlRef = OpaqueControlRef*;

// Commands.
inline constexpr std::uint32_t kCmdOK = fourCC("ok  ");
inline constexpr std::uint32_t kCmdCancel = fourCC("not!");
inline constexpr std::uint32_t kCmdNone = fourCC("????");
inline constexpr int kItemOK = 1;
inline constexpr int kItemCancel = 2;

// Control kinds reported by the toolkit.
inline constexpr std::uint32_t kKindPush = fourCC("push");
inline constexpr std::uint32_t kKindCheck = fourCC("cbox");
inline constexpr std::uint32_t kKindRadio = fourCC("rdio");
inline constexpr std::uint32_t kKindGroupBox = fourCC("grpb");
inline constexpr std::uint32_t kKindStatic = fourCC("stxt");
inline constexpr std::uint32_t kKindEdit = fourCC("etxt");
inline constexpr std::uint32_t kKindEditUnicode = fourCC("eutx");
inline constexpr std::uint32_t kKindEditWindow = fourCC("utxt");  // what an Edit window reports
inline constexpr std::uint32_t kKindPopup = fourCC("popb");
inline constexpr std::uint32_t kKindCombo = fourCC("comb");
inline constexpr std::uint32_t kKindComboEdit = fourCC("cbbx");
inline constexpr std::uint32_t kKindListBox = fourCC("lbox");
inline constexpr std::uint32_t kKindTabs = fourCC("tabs");
inline constexpr std::uint32_t kKindUserPane = fourCC("upan");
inline constexpr std::uint32_t kKindSeparator = fourCC("sepa");
inline constexpr std::uint32_t kKindRadioGroup = fourCC("rgrp");
inline constexpr std::uint32_t kKindRadioGroupWindow = fourCC("radg");  // what a RadioGroup window reports
inline constexpr std::uint32_t kKindProgress = fourCC("prgb");
inline constexpr std::uint32_t kKindBrowser = fourCC("datb");
inline constexpr std::uint32_t kKindContainerEnd = fourCC("####");

// The module's own window classes.
inline constexpr const char* kSeparatorClass = "Separator";
inline constexpr const char* kUserPaneClass = "UserPane";
inline constexpr const char* kRadioGroupClass = "RadioGroup";
inline constexpr const char* kFontMenuClass = "FontMenu";

// Window property names: a prefix for values or texts and a four-character code.
inline constexpr const char* kValuePropertyPrefix = "HAVV";
inline constexpr const char* kTextPropertyPrefix = "HAVS";

}  // namespace lumbrel
