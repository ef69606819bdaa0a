// The Mac form of the host hands a drag's pasteboard over, never a file list.
#include "hostsim/host/drop_files.h"

namespace hostsim {

std::intptr_t makeDropFileList(const std::vector<std::string>& paths) {
    static_cast<void>(paths);
    return 0;
}

void freeDropFileList(std::intptr_t list) noexcept {
    static_cast<void>(list);
}

}  // namespace hostsim
