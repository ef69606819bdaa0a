#include "drop/folder_sync.h"

#include <cstring>

#include "drop/folder_index.h"
#include "drop/folder_match.h"
#include "host/xt_box_content.h"
#include "host/xt_wrappers.h"
#include "platform/platform_traits.h"
#include "settings/preferences.h"
#include "util/files_paths.h"
#include "util/log.h"

namespace lumbrel {

namespace {

constexpr std::int16_t kFirstMaster = 1;

// One synchronisation: the folder, the sub-folder flag as read when it
// began, and the index, made when the first box with a name asks for it.
class FolderSync {
public:
    FolderSync(const char* folder, bool deep, FolderSearch search) noexcept
        : folder_(folder), deep_(deep), search_(search) {}

    bool find(FolderMatch& match) {
        if (search_ == FolderSearch::Indexed && !indexTried_) {
            indexTried_ = true;
            indexed_ = index_.build(folder_, deep_);
        }
        // Without memory for the index every box walks the folder itself.
        if (search_ == FolderSearch::Indexed && indexed_) return index_.find(match);
        return findInFolder(folder_, deep_, match);
    }

private:
    const char* folder_;
    bool deep_;
    FolderSearch search_;
    bool indexTried_ = false;
    bool indexed_ = false;
    FolderIndex index_;
};

bool syncBox(XTBoxID box, std::intptr_t data) {
    auto& sync = *reinterpret_cast<FolderSync*>(data);
    const char* lineEnd = platform::Traits::kLineEnd;

    FolderMatch match;
    std::memset(&match, 0, sizeof match);
    char source[kPathSize];
    if (getPathOrName(box, source, sizeof source) <= 0 || source[0] == '\0') return true;
    dprintf("srcPath: %s%s", source, lineEnd);
    getFileName(source, match.name, true);

    if (!sync.find(match)) return true;
    dprintf("dstPath: %s%s", match.foundPath, lineEnd);
    // The host replaces the picture and keeps the box, even when the picture
    // already came from this very file.
    if (xt_ispictbox(box) || xt_cantakepict(box)) XTLoadBox(box, match.foundPath);
    return true;
}

}  // namespace

void dropFolder(const char* path) {
    dropFolder(path, FolderSearch::Indexed);
}

void dropFolder(const char* path, FolderSearch search) {
    dprintf("dropFolder: %s%s", path != nullptr ? path : "", platform::Traits::kLineEnd);
    if (path == nullptr || path[0] == '\0') return;

    // A switch is on only at exactly 1, this one included.
    FolderSync sync(path, getSearchSubfolders() == 1, search);
    const auto data = reinterpret_cast<std::intptr_t>(&sync);

    setcurbox(0);
    if (xtget_showmaster()) {
        // Only the spreads shown are walked; nothing is switched.
        xt_enumboxes(kFirstSpread, kAllSpreads, syncBox, nullptr, data);
    } else {
        const std::int16_t page = xtget_curpage();
        const std::int16_t masters = nummasterpages();
        // A host that will not show the masters would have the document's
        // spreads walked in their place.
        if (masters > 0 && gotomaster(kFirstMaster)) {
            xt_enumboxes(kFirstSpread, masters, syncBox, nullptr, data);
            gotopage(page);
        }
        if (!xtget_showmaster()) xt_enumboxes(kFirstSpread, kAllSpreads, syncBox, nullptr, data);
        gotopage(page);
    }
    setcurbox(0);
}

}  // namespace lumbrel
