// The summary after a folder synchronisation and after relinking by list
// ("SyncReport" on): one alert with the counts, the details in the module's
// log; without the setting neither.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "support/test_support.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::PasteboardItem;
using hostsim::SpreadPoint;

class RelinkSummaryTest : public ModuleTest {
protected:
    void startWith(const char* syncReport, int regionCode = 0) {
        logOn();
        setPref("SyncReport", syncReport);
        hostsim::Options options;
        options.regionCode = static_cast<std::int16_t>(regionCode);
        startOrFail(options);
    }
    std::string folder(const std::string& name) const { return dir_.file("Folder") + "/" + name; }
    std::string pictureOf(hostsim::BoxId box) {
        const hostsim::Box* b = sim().current()->findBox(box);
        return b != nullptr && b->picture() ? b->picture()->path : std::string("(none)");
    }
    // The module's log, line by line.
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        const std::string log = logText();
        std::size_t start = 0;
        for (std::size_t end; (end = log.find('\r', start)) != std::string::npos; start = end + 1) {
            lines.push_back(log.substr(start, end - start));
        }
        return lines;
    }
    // The paths logged under "found more than once: name", in their order.
    std::vector<std::string> candidatesOf(const std::string& name) const {
        const std::vector<std::string> lines = logLines();
        // The scripting request's own log line has no line end: the header may follow it.
        const std::string header = "found more than once: " + name;
        auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.ends_with(header); });
        std::vector<std::string> paths;
        if (at == lines.end()) return paths;
        for (++at; at != lines.end() && !at->empty() && (*at)[0] == '\t'; ++at) paths.push_back(at->substr(1));
        return paths;
    }
    std::size_t linesStarting(const std::string& head) const {
        const std::vector<std::string> lines = logLines();
        return static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(head, 0) == 0; }));
    }
    // Copies for the sample's pictures: rgb.tif twice (the second under
    // another case), photo.jpg twice, cmyk.tif once; the other five names
    // (the master's masthead.tif among them) are not there.
    void makeFolder() {
        copySample("cmyk.tif", folder("rgb.tif"));
        copySample("cmyk.tif", folder("deeper/RGB.TIF"));
        copySample("grey.tif", folder("a/photo.jpg"));
        copySample("grey.tif", folder("b/photo.jpg"));
        copySample("cmyk.tif", folder("c/cmyk.tif"));
    }
    void dropFolder() {
        answer("Yes");
        clearAlerts();
        ASSERT_TRUE(sim().drop({PasteboardItem::file(dir_.file("Folder"))}, SpreadPoint{1, 500, 100}));
    }
};

struct Language {
    int region;
    const char* question;
    const char* summary;
};

class FolderSummaryTest : public RelinkSummaryTest, public ::testing::WithParamInterface<Language> {};

INSTANTIATE_TEST_SUITE_P(
    BothLanguages, FolderSummaryTest,
    ::testing::Values(Language{0, "Synchronize all pictures with folder content?",
                               "3 of 8 pictures re-linked, 5 not found, 2 names found more than once (the first was "
                               "used)"},
                      Language{3, "Alle Bilder mit diesem Ordner abgleichen?",
                               "3 von 8 Bildern neu verkn\u00FCpft, 5 nicht gefunden, 2 Namen mehrfach gefunden (der "
                               "erste wurde verwendet)"}));

TEST_P(FolderSummaryTest, CountsRelinkedMissingAndAmbiguousNamesAndLogsTheDetails) {
    const Language& language = GetParam();
    startWith("1", language.region);
    openSample();
    makeFolder();
    dropFolder();
    EXPECT_EQ(alertLines(), (std::vector<std::string>{std::string(language.question) + " | " + dir_.file("Folder"),
                                                      language.summary}));

    // Every file of an ambiguous name is logged; the box took the first.
    const std::vector<std::string> rgb = candidatesOf("rgb.tif");
    EXPECT_EQ(std::set<std::string>(rgb.begin(), rgb.end()),
              (std::set<std::string>{folder("rgb.tif"), folder("deeper/RGB.TIF")}));
    ASSERT_FALSE(rgb.empty());
    EXPECT_EQ(pictureOf(kRgbTiffBox), rgb.front());
    const std::vector<std::string> photo = candidatesOf("photo.jpg");
    EXPECT_EQ(std::set<std::string>(photo.begin(), photo.end()),
              (std::set<std::string>{folder("a/photo.jpg"), folder("b/photo.jpg")}));
    ASSERT_FALSE(photo.empty());
    EXPECT_EQ(pictureOf(kJpegBox), photo.front());
    EXPECT_EQ(pictureOf(kCmykTiffBox), folder("c/cmyk.tif"));
    EXPECT_TRUE(candidatesOf("cmyk.tif").empty());

    EXPECT_EQ(linesStarting("not found: "), 5U);
    for (const char* missing : {"masthead.tif", "grey.tif", "logo-cmyk.eps", "photo-icc.eps"}) {
        EXPECT_EQ(linesStarting("not found: " + samplePicture(missing)), 1U) << missing;
    }
    EXPECT_EQ(linesStarting("relinked 3 of 8, 5 not found, 2 ambiguous"), 1U);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(RelinkSummaryTest, WithoutTheSettingAFolderSyncAsksOnlyTheQuestionAndLogsNoDetails) {
    startWith("0");
    openSample();
    makeFolder();
    dropFolder();
    EXPECT_EQ(alerts().size(), 1U) << ::testing::PrintToString(alertLines());
    EXPECT_EQ(pictureOf(kCmykTiffBox), folder("c/cmyk.tif"));
    EXPECT_EQ(linesStarting("not found: ") + linesStarting("found more than once: ") + linesStarting("relinked "), 0U)
        << logText();
}

class ListSummaryTest : public RelinkSummaryTest, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(OnAndOff, ListSummaryTest, ::testing::Values("1", "0"));

TEST_P(ListSummaryTest, RelinkByListCountsItsOwnPicturesLinesAndRepeatedPaths) {
    const char* setting = GetParam();
    startWith(setting);
    hostsim::Document doc = pagesDocument({{"1"}});
    std::vector<std::string> old;
    std::vector<hostsim::BoxId> boxes;
    double top = 20.0;
    for (const char* name : {"a.tif", "b.tif", "c.tif", "d.tif"}) {
        old.push_back(copySample("grey.tif", dir_.file("Job/") + name));
        boxes.push_back(placePicture(doc, 1, hostsim::Rect{top, 20, top + 20, 80}, old.back()));
        top += 30.0;
    }
    ASSERT_TRUE(sim().newDocument(std::move(doc), "Relink.qxp").ok());
    const std::string newA = copySample("cmyk.tif", dir_.file("New/a.tif"));
    const std::string newA2 = copySample("cmyk.tif", dir_.file("New/a2.tif"));
    const std::string newB = copySample("cmyk.tif", dir_.file("New/b.tif"));
    // a twice (the first line wins), b to a file, c to a missing file, d not listed.
    const std::string list = old[0] + "\t" + newA + "\r" + old[1] + "\t" + newB + "\r" + old[0] + "\t" + newA2 +
                             "\r" + old[2] + "\t" + dir_.file("New/gone.tif") + "\r";
    const std::string listPath = dir_.file("Lists/Austausch.txt");
    fs::create_directories(dir_.file("Lists"));
    test::writeFile(listPath, list);
    clearAlerts();
    ASSERT_TRUE(sim().scriptRequest("<cmd>4</cmd><path>" + listPath + "</path>").has_value());
    EXPECT_EQ(pictureOf(boxes[0]), newA);
    EXPECT_EQ(pictureOf(boxes[1]), newB);
    if (std::string(setting) == "1") {
        EXPECT_EQ(alertLines(), std::vector<std::string>{"2 of 4 pictures re-linked, 2 not found, 1 names found more "
                                                         "than once (the first was used)"});
        EXPECT_EQ(candidatesOf(old[0]), (std::vector<std::string>{newA, newA2}));
        EXPECT_EQ(linesStarting("not found: " + old[2]), 1U);
        EXPECT_EQ(linesStarting("not found: " + old[3]), 1U);
        EXPECT_EQ(linesStarting("not found: "), 2U);
    } else {
        EXPECT_TRUE(alerts().empty()) << ::testing::PrintToString(alertLines());
        EXPECT_EQ(linesStarting("not found: ") + linesStarting("found more than once: "), 0U) << logText();
    }
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

}  // namespace
}  // namespace lumbrel::integration
