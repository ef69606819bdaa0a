// Output the host draws itself (a raster device): one picture per page, the
// module's labels drawn through the drawing groups as on screen when the user
// agreed, and nothing of the module's when the answer was No.
#include "integration_fixture.h"
#include "print_support.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace lumbrel::integration {

namespace {

class PrintDeviceTest : public ModuleTest {
protected:
    hostsim::PrintResult printDevice(const std::string& name, const std::string& answer) {
        hostsim::PrintRun run;
        run.path = dir_.file(name + "/page.png");
        run.output = hostsim::PrintOutput::Device;
        run.answer = answer;
        return sim().print(run);
    }

    std::vector<Rgb> pagesOf(const hostsim::PrintResult& result) {
        std::vector<Rgb> pages;
        for (const std::string& file : result.files) {
            std::optional<Rgb> page = readPng(file);
            EXPECT_TRUE(page.has_value()) << file;
            if (page) pages.push_back(std::move(*page));
        }
        return pages;
    }
};

// The strip along the box's top edge where its label sits, in device pixels
// of the page: x0, y0, x1, y1 (x1, y1 excluded).
std::array<int, 4> labelStrip(const Rgb& page, const hostsim::Rect& box, const hostsim::Rect& pageRect) {
    const double k = hostsim::kDevicePixelsPerPoint;
    const int x0 = std::max(0, static_cast<int>(std::floor((box.left - pageRect.left) * k)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor((box.top - pageRect.top) * k)) - 1);
    return {x0, y0, std::min(page.width, x0 + static_cast<int>(120 * k)),
            std::min(page.height, y0 + static_cast<int>(16 * k))};
}

bool samePixel(const Rgb& a, const Rgb& b, int x, int y) {
    return std::equal(a.at(x, y), a.at(x, y) + 3, b.at(x, y));
}

}  // namespace

TEST_F(PrintDeviceTest, OnePicturePerPageWithLabelsOnlyWhenTheUserAgreed) {
    startOrFail();
    openSample();
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    const hostsim::PrintResult yes = printDevice("yes", "Yes");
    ASSERT_TRUE(yes.ok) << yes.error;
    const hostsim::PrintResult no = printDevice("no", "No");
    ASSERT_TRUE(no.ok) << no.error;
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    const hostsim::PrintResult off = printDevice("off", "Yes");
    ASSERT_TRUE(off.ok) << off.error;
    EXPECT_TRUE(off.questions.empty());

    const hostsim::Document& doc = *sim().current();
    ASSERT_EQ(yes.files.size(), static_cast<std::size_t>(doc.numPages()));
    const std::vector<Rgb> yesPages = pagesOf(yes), noPages = pagesOf(no), offPages = pagesOf(off);
    ASSERT_EQ(yesPages.size(), noPages.size());
    ASSERT_EQ(noPages.size(), offPages.size());

    // No draws exactly what labels off draw: the host's page alone.
    for (std::size_t p = 0; p < noPages.size(); ++p) {
        EXPECT_EQ(noPages[p].pixels, offPages[p].pixels) << "page " << p + 1;
        EXPECT_EQ(noPages[p].width, static_cast<int>(std::lround(doc.pageWidth * hostsim::kDevicePixelsPerPoint)));
    }
    // Yes adds the names at the top-left of every picture box with a picture,
    // and changes nothing else.
    const std::vector<LabelledBox> boxes = labelledBoxes(doc);
    for (int page = 1; page <= doc.numPages(); ++page) {
        const Rgb& withNames = yesPages[static_cast<std::size_t>(page - 1)];
        const Rgb& without = noPages[static_cast<std::size_t>(page - 1)];
        ASSERT_EQ(withNames.width, without.width);
        std::vector<bool> inStrip(withNames.pixels.size() / 3, false);
        for (const LabelledBox& box : boxes) {
            if (box.page != page) continue;
            const auto [x0, y0, x1, y1] = labelStrip(withNames, box.bounds, box.pageRect);
            int changed = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) {
                    inStrip[static_cast<std::size_t>(y * withNames.width + x)] = true;
                    changed += samePixel(withNames, without, x, y) ? 0 : 1;
                }
            }
            EXPECT_GT(changed, 40) << "box " << box.id << " on page " << page;
        }
        int changedElsewhere = 0;
        for (int y = 0; y < withNames.height; ++y) {
            for (int x = 0; x < withNames.width; ++x) {
                const bool strip = inStrip[static_cast<std::size_t>(y * withNames.width + x)];
                if (!strip && !samePixel(withNames, without, x, y)) ++changedElsewhere;
            }
        }
        EXPECT_EQ(changedElsewhere, 0) << "page " << page;
    }
    EXPECT_GT(boxes.size(), 1U);
}

TEST_F(PrintDeviceTest, DeviceOutputNeedsAPictureName) {
    startOrFail();
    openSample();
    hostsim::PrintRun run;
    run.path = dir_.file("out.ps");
    run.output = hostsim::PrintOutput::Device;
    const hostsim::PrintResult result = sim().print(run);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(".png"), std::string::npos) << result.error;
    EXPECT_TRUE(result.files.empty());
}

}  // namespace lumbrel::integration
