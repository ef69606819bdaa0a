#include "imagelist/list_file_name.h"

#include <cstring>

#include "platform/platform_traits.h"
#include "util/plain_file_name.h"

namespace lumbrel {

bool isPlainListFileName(const char* name) noexcept {
    if (!isPlainFileName(name)) return false;
    // Where a drive letter, a file stream or a wildcard could hide in a name,
    // the list could be written elsewhere or not as one file.
    for (const char* c = name; *c != '\0'; ++c) {
        if (std::strchr(platform::Traits::kFileNameForbidden, *c) != nullptr) return false;
    }
    return true;
}

}  // namespace lumbrel
