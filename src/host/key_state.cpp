#include "host/key_state.h"

#include "platform/alerts.h"
#include "platform/keyboard.h"

namespace lumbrel {

namespace {
constexpr unsigned char kEscapeCharacter = 27;
}

bool shiftKeyPressed() noexcept {
    platform::KeyMap keys{};
    platform::getKeys(keys);
    return platform::keyMapModifierWord(keys) == 1;
}

bool checkForEscKey() noexcept {
    return platform::isKeyDownWaiting(kEscapeCharacter);
}

void beep() noexcept {
    platform::beep();
}

}  // namespace lumbrel
