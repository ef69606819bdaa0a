#include "imagelist/image_list.h"

#include <cstdio>

#include "host/xt_documents.h"
#include "imagelist/image_list_dialog.h"
#include "imagelist/list_layouts.h"
#include "platform/platform_traits.h"
#include "platform/processes.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/four_char_code.h"
#include "util/log.h"

namespace lumbrel {

namespace {

constexpr std::uint32_t kCreators[] = {fourCC("ttxt"), fourCC("R*ch"), fourCC("XCEL")};

void openList(const char* path, const ImageListOptions& options) {
    if (platform::Traits::kOpenByCreator) {
        platform::openDocumentWithCreator(path, platform::kFileTypeText, listCreator(options.openWith));
    } else {
        platform::openDocument(path, nullptr);
    }
}

}  // namespace

std::uint32_t listCreator(std::int16_t openWith) noexcept {
    if (openWith < 1 || openWith > static_cast<std::int16_t>(std::size(kCreators))) return kCreators[0];
    return kCreators[openWith - 1];
}

void createImageList() {
    dprintf("createImageList%s", platform::Traits::kLineEnd);
    if (!hasCurrentDocument()) return;

    ImageListOptions options;
    XTGetMyProjectName(options.fileName, sizeof options.fileName);
    if (replaceExtension(options.fileName, ".txt") == nullptr) options.fileName[0] = '\0';
    if (!runImageListDialog(options)) return;

    char path[kPathSize];
    if (!getTempFolder(path, sizeof path) || !addPathComponent(path, options.fileName)) return;
    // Through the platform: the name may hold any character of the user's
    // language, and nothing but a file of that name is written over.
    std::FILE* file = createRegularFile(path);
    if (file == nullptr) return;
    writeBOM(file);
    if (options.sort == 1) {
        writeSortedList(file, options);
    } else {
        writePageOrderedList(file, options);
    }
    if (std::fclose(file) != 0) return;
    openList(path, options);
}

}  // namespace lumbrel
