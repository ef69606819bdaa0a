// Names of the window properties the dialog builder and the own window
// classes attach to controls: "HAVV" (a value) or "HAVS" (a text) followed by
// a four-character code.
#pragma once

#include <string>
#include <string_view>

#include "ui/ui_types.h"

namespace lumbrel {

// The name of the text property that keeps a description element's text.
inline std::string keptTextPropertyName(std::string_view code) {
    return std::string(kTextPropertyPrefix) + std::string(code);
}

// The control's command code (its `cmd`), a four-character value.
inline constexpr std::string_view kPropCommand = "HAVVccmd";
// The window procedure the key handler replaced (a platform::WindowProc).
inline constexpr std::string_view kPropKeptProc = "HAVVwprc";
// The settings key a control is bound to, and its default value.
inline constexpr std::string_view kPropPref = "HAVSpref";
inline constexpr std::string_view kPropDefault = "HAVSdval";
// A user pane's own kind, a four-character value reported instead of "upan".
inline constexpr std::string_view kPropPaneKind = "HAVVtype";
// The items and owner of a font menu (owned by its window procedure).
inline constexpr std::string_view kPropFontMenuState = "HAVVfmnu";

// The per-control texts the builder keeps from the description, by element
// name; each is stored as keptTextPropertyName(code) when not empty.
inline constexpr std::string_view kKeptTextCodes[] = {"sap ", "empt", "amnt", "date", "data", "pref", "dval"};

}  // namespace lumbrel
