// The modifier keys of a user action: held in the desktop's key map while
// the module looks at the action (a module asks the keyboard, as on the Mac;
// the Windows module asks the thread's keyboard state),
// and named in the transcript.
#pragma once

#include "hostsim/host/system_keys.h"

#include "desktop/desktop.h"

#include "xtapi.h"

#include <cstdint>
#include <string>
#include <utility>

namespace hostsim {

// "command+shift+" for the modifiers held; empty for none.
inline std::string modifierText(std::uint16_t modifiers) {
    std::string text;
    const std::pair<std::uint16_t, const char*> names[] = {
        {XT_MOD_COMMAND, "command"}, {XT_MOD_SHIFT, "shift"}, {XT_MOD_OPTION, "option"}, {XT_MOD_CONTROL, "control"}};
    for (const auto& [bit, name] : names) {
        if ((modifiers & bit) != 0) text += std::string(name) + "+";
    }
    return text;
}

class HeldModifiers {
public:
    explicit HeldModifiers(std::uint16_t modifiers) : held_(modifiers != 0) {
        if (!held_) return;
        desktop::Desktop::instance().holdModifiers(modifiers);
        holdSystemModifiers(modifiers);
    }
    ~HeldModifiers() {
        if (!held_) return;
        desktop::Desktop::instance().holdModifiers(0);
        holdSystemModifiers(0);
    }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    bool held_;
};

}  // namespace hostsim
