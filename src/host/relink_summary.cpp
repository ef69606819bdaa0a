#include "host/relink_summary.h"

#include "host/message_box.h"
#include "platform/platform_traits.h"
#include "settings/preferences.h"
#include "util/log.h"

namespace lumbrel {

namespace {

int printable(std::size_t length) noexcept {
    return length > 4096 ? 4096 : static_cast<int>(length);
}

}  // namespace

void logAmbiguousName(std::string_view name, const std::vector<std::string_view>& candidates) {
    if (!getSyncReport()) return;
    const char* lineEnd = platform::Traits::kLineEnd;
    dprintf("found more than once: %.*s%s", printable(name.size()), name.data(), lineEnd);
    for (const std::string_view candidate : candidates) {
        dprintf("\t%.*s%s", printable(candidate.size()), candidate.data(), lineEnd);
    }
}

void logNotFound(std::string_view picture) {
    if (!getSyncReport()) return;
    dprintf("not found: %.*s%s", printable(picture.size()), picture.data(), platform::Traits::kLineEnd);
}

void showRelinkSummary(const RelinkSummary& summary) {
    if (!getSyncReport()) return;
    dprintf("relinked %d of %d, %d not found, %d ambiguous%s", summary.relinked, summary.pictures, summary.notFound,
            summary.ambiguousNames, platform::Traits::kLineEnd);
    msgBox("kSyncSummary", summary.relinked, summary.pictures, summary.notFound, summary.ambiguousNames);
}

}  // namespace lumbrel
