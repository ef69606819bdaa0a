// Two platform functions the dialog code links against whose Win32 side is
// built on another branch (the keyboard and the user folders). Until it lands
// these stand-ins let this suite link; this file goes when it does. The suite presses no modifier keys and opens no
// special folder, so nothing here is under test.
#include <cstring>
#include <string>

#include "platform/keyboard.h"
#include "platform/user_folders.h"

namespace lumbrel::platform {

void getKeys(KeyMap& out) noexcept { std::memset(out.bytes, 0, sizeof out.bytes); }

bool findSpecialFolder(SpecialFolder, std::string&) noexcept { return false; }

}  // namespace lumbrel::platform
