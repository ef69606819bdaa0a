#include "imagelist/list_layouts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include "host/xt_enumerate.h"
#include "host/xt_pages.h"
#include "host/xt_pictures.h"
#include "imagelist/image_line.h"
#include "imagelist/line_set.h"
#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "util/bounded.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

// Room per line in the sorted list, terminator included.
constexpr std::int32_t kLineRoom = 256;
constexpr std::size_t kHeadingFormatSize = 512;

struct PageWalk {
    std::FILE* file;
    const ImageListOptions* options;
};

bool writeBoxLine(XTBoxID box, std::intptr_t data) {
    const auto& walk = *reinterpret_cast<const PageWalk*>(data);
    char line[kMaxImageLine + 1];
    const std::size_t length = buildImageLine(box, *walk.options, "\t", line);
    if (length > 0) {
        std::fwrite(line, 1, length, walk.file);
        std::fputs(platform::Traits::kLineEnd, walk.file);
    }
    return true;
}

bool countBox(XTBoxID, std::intptr_t data) {
    ++*reinterpret_cast<std::size_t*>(data);
    return true;
}

struct SortEntry {
    XTBoxID box;
    std::string name;
};

bool collectReadableBox(XTBoxID box, std::intptr_t data) {
    auto& entries = *reinterpret_cast<std::vector<SortEntry>*>(data);
    char path[kPathSize];
    if (XTGetBoxPath(box, path, sizeof path) == 0) return true;
    char name[kPathSize];
    getFileName(path, name, true);
    entries.push_back({box, name});
    return true;
}

}  // namespace

std::string pageHeading(const char* format, const char* label) {
    std::string heading;
    bool labelUsed = false;
    for (const char* p = format != nullptr ? format : ""; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's' && !labelUsed) {
            heading += label != nullptr ? label : "";
            labelUsed = true;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            heading += '%';
            ++p;
        } else {
            heading += *p;
        }
    }
    return heading;
}

void writePageOrderedList(std::FILE* file, const ImageListOptions& options) {
    char format[kHeadingFormatSize];
    getString("kPageStr", format);
    PageWalk walk{file, &options};
    const std::int16_t pages = numpages();
    for (std::int16_t page = 1; page >= 1 && page <= pages; ++page) {
        char label[kShortTextSize];
        XTGetPageStr(page, label, sizeof label);
        const std::string heading = pageHeading(format, label);
        std::fwrite(heading.data(), 1, heading.size(), file);

        std::int16_t spread = 0;
        const XTFixedRect rect = xt_getpagerect(page, &spread);
        if (spread > 0) xt_enumpictboxes(spread, writeBoxLine, &rect, reinterpret_cast<std::intptr_t>(&walk));
        std::fputs(platform::Traits::kLineEnd, file);
    }
}

bool sortedPictureBoxes(std::vector<XTBoxID>& boxes) {
    boxes.clear();
    try {
        std::size_t count = 0;
        xt_enumpictboxes(kFirstSpread, kAllSpreads, countBox, nullptr, reinterpret_cast<std::intptr_t>(&count));
        std::vector<SortEntry> entries;
        entries.reserve(count);
        xt_enumpictboxes(kFirstSpread, kAllSpreads, collectReadableBox, nullptr,
                         reinterpret_cast<std::intptr_t>(&entries));
        // Each name is read once, not at every comparison.
        std::stable_sort(entries.begin(), entries.end(), [](const SortEntry& a, const SortEntry& b) {
            return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;
        });
        boxes.reserve(entries.size());
        for (const SortEntry& entry : entries) boxes.push_back(entry.box);
        return true;
    } catch (const std::bad_alloc&) {
        boxes.clear();
        return false;
    }
}

bool writeSortedList(std::FILE* file, const ImageListOptions& options) {
    std::vector<XTBoxID> boxes;
    if (!sortedPictureBoxes(boxes)) return false;
    constexpr auto kMaxLines = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / kLineRoom);
    const auto capacity = static_cast<std::int32_t>(std::min(boxes.size(), kMaxLines) * kLineRoom);
    IndexedLineList lines(capacity);
    if (capacity > 0 && lines.getCapacity() == 0) return false;
    char line[kMaxImageLine + 1];
    for (XTBoxID box : boxes) {
        if (buildImageLine(box, options, "", line) > 0) lines.append(line);
    }
    const char* at = lines.getBuffer();
    for (std::int32_t i = 0; i < lines.getCount(); ++i) {
        const std::size_t length = std::strlen(at);
        std::fwrite(at, 1, length, file);
        std::fputs(platform::Traits::kLineEnd, file);
        at += length + 1;
    }
    return true;
}

}  // namespace lumbrel
