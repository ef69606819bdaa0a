// Resources stored inside the module file itself (the Windows build embeds
// its string tables, dialog descriptions and label font in its DLL).
#pragma once

#include <cstddef>
#include <string>

namespace lumbrel::platform {

// The bytes of the module's own resource `name` of type `type` (both UTF-8;
// they match without regard to case; a name of digits alone names the
// resource of that number). False (out emptied) when the module holds no
// such resource or it is larger than `maxSize` bytes.
bool readModuleResource(const char* name, const char* type, std::size_t maxSize, std::string& out);

}  // namespace lumbrel::platform
