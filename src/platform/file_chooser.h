// The system's standard file choosers.
#pragma once

#include <string>

namespace lumbrel::platform {

// Asks the user for an application (only applications are offered; an
// application package is chosen as one item). `prompt` is the localised
// message shown above the list. True with the chosen application's path
// (UTF-8; POSIX, or on Windows the ".exe" file's) in `path`; false, with
// `path` untouched, on Cancel or when the chooser could not be shown.
bool chooseApplication(const char* prompt, std::string& path);

}  // namespace lumbrel::platform
