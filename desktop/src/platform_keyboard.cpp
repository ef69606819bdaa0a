// The keyboard state of the module, as the simulator holds and queues keys.
#include "platform/keyboard.h"

#include <cstring>

#include "desktop/desktop.h"

namespace lumbrel::platform {

static_assert(kKeyMapSize == desktop::kKeyMapBytes);

void getKeys(KeyMap& out) noexcept {
    const desktop::KeyMapBytes keys = desktop::Desktop::instance().keyMap();
    std::memcpy(out.bytes, keys.data(), kKeyMapSize);
}

bool isKeyDownWaiting(unsigned char characterCode) noexcept {
    return desktop::Desktop::instance().isKeyDownWaiting(characterCode);
}

}  // namespace lumbrel::platform
