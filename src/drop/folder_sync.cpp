#include "drop/folder_sync.h"

#include <cstring>
#include <new>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "drop/folder_index.h"
#include "drop/folder_match.h"
#include "host/relink_summary.h"
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

    // `later` receives the other files of the name when the index answers;
    // the walk per box stops at the first and cannot tell.
    bool find(FolderMatch& match, std::vector<const char*>* later) {
        if (search_ == FolderSearch::Indexed && !indexTried_) {
            indexTried_ = true;
            indexed_ = index_.build(folder_, deep_);
        }
        // Without memory for the index every box walks the folder itself.
        if (search_ == FolderSearch::Indexed && indexed_) return index_.find(match, later);
        return findInFolder(folder_, deep_, match);
    }

    // Counted only when the summary is asked for, so that the walk costs
    // what it did without it.
    bool reporting = false;
    RelinkSummary summary;
    std::set<std::string> ambiguous;  // by the first file found, one per name

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

    if (!sync.reporting) {
        if (!sync.find(match, nullptr)) return true;
        dprintf("dstPath: %s%s", match.foundPath, lineEnd);
        // The host replaces the picture and keeps the box, even when the
        // picture already came from this very file.
        if (xt_ispictbox(box) || xt_cantakepict(box)) XTLoadBox(box, match.foundPath);
        return true;
    }

    ++sync.summary.pictures;
    std::vector<const char*> later;
    if (!sync.find(match, &later)) {
        ++sync.summary.notFound;
        logNotFound(source);
        return true;
    }
    dprintf("dstPath: %s%s", match.foundPath, lineEnd);
    try {
        if (!later.empty() && sync.ambiguous.insert(match.foundPath).second) {
            ++sync.summary.ambiguousNames;
            std::vector<std::string_view> candidates{match.foundPath};
            candidates.insert(candidates.end(), later.begin(), later.end());
            logAmbiguousName(match.name, candidates);
        }
    } catch (const std::bad_alloc&) {
        // Short of memory the name goes uncounted; the box is still relinked.
    }
    if ((xt_ispictbox(box) || xt_cantakepict(box)) && XTLoadBox(box, match.foundPath) == 0) ++sync.summary.relinked;
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
    FolderSync sync(path, platform::Traits::kFolderSyncAlwaysSubfolders || getSearchSubfolders() == 1, search);
    sync.reporting = getSyncReport();
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
    if (sync.reporting) showRelinkSummary(sync.summary);
}

}  // namespace lumbrel
