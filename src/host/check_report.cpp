#include "host/check_report.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

#include "host/xt_boxes.h"
#include "host/xt_enumerate.h"
#include "host/xt_pages.h"
#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/log.h"

namespace lumbrel {

namespace {

struct PageArea {
    std::int16_t spread = 0;
    XTFixedRect rect{};
};

// Gathers the findings of one walk; each box's page is the first page of its
// spread that the box meets.
class GatherFindings final : public FindingSink {
public:
    GatherFindings() {
        const std::int16_t pages = numpages();
        for (std::int16_t page = 1; page >= 1 && page <= pages; ++page) {
            PageArea area;
            area.rect = xt_getpagerect(page, &area.spread);
            pages_.push_back(area);
        }
    }

    bool found(XTBoxID box, const FindingKind& kind, const char* path, const FindingFigures* figures) override {
        CheckFinding finding;
        char name[kPathSize];
        getFileName(path, name, true);
        finding.picture = name;
        finding.page = pageOf(box);
        char label[kShortTextSize] = {};
        if (finding.page > 0) {
            XTGetPageStr(finding.page, label, sizeof label);
        } else {
            getString("kRepPasteboard", label);
        }
        finding.pageLabel = label;
        char words[kShortTextSize];
        getString(kind.reportKey, words);
        finding.finding = words;
        if (figures != nullptr) {
            char numbers[64];
            std::snprintf(numbers, sizeof numbers, " %.0f ppi < %d ppi", figures->ppi, figures->minPpi);
            finding.finding += numbers;
        }
        finding.path = path;
        findings.push_back(std::move(finding));
        return true;
    }

    std::int16_t spread = 0;  // of the boxes now walked
    std::vector<CheckFinding> findings;

private:
    std::int16_t pageOf(XTBoxID box) const {
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            if (pages_[i].spread == spread && boxinrect(box, &pages_[i].rect)) return static_cast<std::int16_t>(i + 1);
        }
        return 0;
    }

    std::vector<PageArea> pages_;
};

struct Walk {
    GatherFindings* gather;
    const ImageCheckFlags* flags;
};

bool gatherStep(XTBoxID box, std::intptr_t data) {
    const auto& walk = *reinterpret_cast<const Walk*>(data);
    checkImage(box, *walk.flags, *walk.gather);
    return true;
}

int compareColumn(const CheckFinding& a, const CheckFinding& b, ReportColumn column) {
    switch (column) {
        case ReportColumn::Picture: return a.picture.compare(b.picture);
        case ReportColumn::Page: return a.page < b.page ? -1 : (a.page > b.page ? 1 : 0);
        case ReportColumn::Finding: return a.finding.compare(b.finding);
        case ReportColumn::Path: return a.path.compare(b.path);
    }
    return 0;
}

}  // namespace

std::vector<std::size_t> reportOrder(const std::vector<CheckFinding>& findings, ReportColumn column, bool descending) {
    std::vector<std::size_t> order(findings.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int compared = compareColumn(findings[a], findings[b], column);
        return descending ? compared > 0 : compared < 0;
    });
    return order;
}

bool reportImageChecks(const ImageCheckFlags& flags) {
    const char* lineEnd = platform::Traits::kLineEnd;
    try {
        GatherFindings gather;
        Walk walk{&gather, &flags};
        const std::int16_t spreads = numsprds();
        for (std::int16_t spread = kFirstSpread; spread >= kFirstSpread && spread <= spreads; ++spread) {
            gather.spread = spread;
            xt_enumpictboxes(spread, gatherStep, nullptr, reinterpret_cast<std::intptr_t>(&walk));
        }
        dprintf("checkReport: %zu findings%s", gather.findings.size(), lineEnd);
        if (gather.findings.empty()) return true;
        const bool goOn = showCheckReport(gather.findings);
        dprintf("checkReport: %s%s", goOn ? "save anyway" : "cancel", lineEnd);
        return goOn;
    } catch (const std::bad_alloc&) {
        // Without memory for the report every finding is asked about alone.
        dprintf("checkReport: out of memory%s", lineEnd);
        checkImagesOneByOne(flags);
        return true;
    }
}

}  // namespace lumbrel
