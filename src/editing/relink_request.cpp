#include "editing/relink_request.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "editing/remap_images.h"
#include "editing/whole_path.h"
#include "settings/xml_entities.h"
#include "settings/xml_text.h"
#include "util/bounded.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

struct FreeBlock {
    void operator()(char* block) const noexcept { std::free(block); }
};

}  // namespace

void relinkFromScriptRequest(const char* request) {
    if (request == nullptr) return;
    const std::unique_ptr<char, FreeBlock> written(getXMLData(request, "path"));
    if (written == nullptr) return;
    std::string path;
    try {
        path = unescapeXMLEntities(written.get());
    } catch (const std::bad_alloc&) {
        return;
    }
    // A path cut short, or cut at a zero byte, would name another file.
    if (path.empty() || path.size() >= kPathSize || path.find('\0') != std::string::npos) return;
    // A relative path would depend on the host's working folder.
    char buffer[kPathSize];
    const char* posix = posixPathOf(path.c_str(), buffer, sizeof buffer);
    if (!isWholePath(posix)) return;
    char name[kPathSize];
    getFileName(posix, name, true);
    if (std::strcmp(name, kRelinkListName) != 0) return;
    remapImages(posix);
}

}  // namespace lumbrel
