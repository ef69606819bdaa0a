// Scripting requests reach the module through Apple events only: the Windows
// host delivers none, so no handler can be installed.
#include "platform/script_events.h"

namespace lumbrel::platform {

bool installScriptHandler(std::uint32_t, std::uint32_t, ScriptHandler) { return false; }

void removeScriptHandler(std::uint32_t, std::uint32_t) {}

}  // namespace lumbrel::platform
