// The command-line text the shell hands to applications started for a file.
#pragma once

#include <string>

namespace lumbrel::platform::win32 {

// One path as a single argument: in double quotes (a path holds no quote).
// False for a path with a quote or a control character, which no argument
// can carry safely.
bool quotedArgument(const std::wstring& path, std::wstring& out);

// Explorer's arguments for a new window with `path` selected:
// /n,/select,"path".
bool revealArguments(const std::wstring& path, std::wstring& out);

}  // namespace lumbrel::platform::win32
