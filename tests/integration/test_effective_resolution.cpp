// Effective resolution and link status with the real module in the host
// simulator, on real picture files at 72, 150 and 300 dpi placed at 50 to
// 400 %: the image list's two extra columns, the output check below a
// threshold before a save, and screen labels coloured by link status.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "hostsim/picture_files.h"
#include "hostsim/render/picture_decode.h"
#include "support/test_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::DialogAction;
using hostsim::Rect;

enum class Kind { tiff, jpeg, png, eps };

struct Placed {
    const char* name;
    Kind kind;
    int dpi;
    double scaleH, scaleV;
    const char* ppi;  // the list's figure
};

// In chain order on one page.
const Placed kPlaced[] = {
    {"t72-50.tif", Kind::tiff, 72, 0.5, 0.5, "144 ppi"},
    {"t150-100.tif", Kind::tiff, 150, 1.0, 1.0, "150 ppi"},
    {"t300-100.tif", Kind::tiff, 300, 1.0, 1.0, "300 ppi"},
    {"t300-400.tif", Kind::tiff, 300, 4.0, 4.0, "75 ppi"},
    {"t300-100x200.tif", Kind::tiff, 300, 1.0, 2.0, "150 ppi"},  // the lower axis counts
    {"j150-50.jpg", Kind::jpeg, 150, 0.5, 0.5, "300 ppi"},
    {"j72-100.jpg", Kind::jpeg, 72, 1.0, 1.0, "72 ppi"},
    {"p150-200.png", Kind::png, 150, 2.0, 2.0, "75 ppi"},
    // 11811 pixels per metre: 299.9994 dpi, read as 300 and not below it.
    {"p300-100.png", Kind::png, 300, 1.0, 1.0, "300 ppi"},
    {"vector.eps", Kind::eps, 72, 0.5, 0.5, ""},  // no resolution of its own
};

std::string writePicture(const std::string& path, Kind kind, int dpi) {
    fs::create_directories(fs::path(path).parent_path());
    switch (kind) {
        case Kind::tiff: {
            hostsim::test::TiffSpec spec;
            spec.xres = static_cast<float>(dpi);
            spec.yres = static_cast<float>(dpi);
            hostsim::test::writeTiff(path, spec);
            break;
        }
        case Kind::jpeg: {
            hostsim::test::JpegSpec spec;
            spec.densityX = dpi;
            spec.densityY = dpi;
            hostsim::test::writeJpeg(path, spec);
            break;
        }
        case Kind::eps:
            test::writeFile(path, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 72 36\n%%EndComments\n");
            break;
        case Kind::png: {
            hostsim::test::PngSpec spec;
            spec.pixelsPerMetre = static_cast<std::uint32_t>(dpi / 0.0254 + 0.5);
            hostsim::test::writePng(path, spec);
            break;
        }
    }
    return path;
}

hostsim::BoxId placeScaled(hostsim::Document& doc, double top, const std::string& file, double scaleH,
                           double scaleV) {
    const hostsim::BoxId box = placePicture(doc, 1, Rect{top, 20, top + 30, 200}, file);
    if (hostsim::Picture* picture = doc.editPicture(box)) {
        picture->scaleH = scaleH;
        picture->scaleV = scaleV;
    }
    doc.markSaved();
    return box;
}

class EffectiveResolutionTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        temporary_ = std::make_unique<TemporaryFolderGuard>(dir_.file("tmp"));
    }
    void TearDown() override {
        temporary_.reset();
        ModuleTest::TearDown();
    }
    std::string job(const std::string& name) const { return dir_.file("Job/" + name); }

    void openScaledPictures() {
        hostsim::Document doc = pagesDocument({{"1"}});
        double top = 20.0;
        for (const Placed& p : kPlaced) {
            placeScaled(doc, top, writePicture(job(p.name), p.kind, p.dpi), p.scaleH, p.scaleV);
            top += 40.0;
        }
        const hostsim::OpenResult opened = sim().newDocument(std::move(doc), "Scaled.qxp");
        ASSERT_TRUE(opened.ok()) << opened.message;
    }
    // OK, missing and modified pictures at 300 dpi, 100 %.
    void openLinkStates() {
        hostsim::Document doc = pagesDocument({{"1"}});
        placeScaled(doc, 20, writePicture(job("ok.tif"), Kind::tiff, 300), 1.0, 1.0);
        placeScaled(doc, 80, writePicture(job("gone.tif"), Kind::tiff, 300), 1.0, 1.0);
        placeScaled(doc, 140, writePicture(job("changed.tif"), Kind::tiff, 300), 1.0, 1.0);
        fs::remove(job("gone.tif"));
        std::ofstream(job("changed.tif"), std::ios::app | std::ios::binary) << "more bytes";
        const hostsim::OpenResult opened = sim().newDocument(std::move(doc), "Links.qxp");
        ASSERT_TRUE(opened.ok()) << opened.message;
    }
    std::string runList(const char* menu, const std::string& name) {
        agent_->queueDialogAction(DialogAction::check(9));
        agent_->queueDialogAction(DialogAction::click(1));
        EXPECT_TRUE(sim().chooseMenu(menu));
        const std::string path = dir_.file("tmp/" + name);
        return fs::exists(path) ? test::readFile(path) : std::string("(no list)");
    }

    std::unique_ptr<TemporaryFolderGuard> temporary_;
};

// ---- image list --------------------------------------------------------------------

TEST_F(EffectiveResolutionTest, TheListAddsTheFigureOnThePageAndTheLinkStatusInWords) {
    startOrFail();
    openScaledPictures();
    const std::string list = runList("Image List…", "Scaled.txt");
    for (const Placed& p : kPlaced) {
        // Name, host status, four fields switched off, then the two new ones.
        const std::string line = std::string("\t") + p.name + "\tOK\t\t\t\t\t" + p.ppi + "\tOK\r";
        EXPECT_NE(list.find(line), std::string::npos) << p.name << " in\n" << list;
    }
    EXPECT_NE(test::readFile(settingsFile()).find("EffectiveResolution=1"), std::string::npos);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(EffectiveResolutionTest, TheLinkStatusIsInTheListsLanguage) {
    hostsim::Options options;
    options.regionCode = 3;
    startOrFail(options);
    openLinkStates();
    const std::string list = runList("Bilderliste erstellen…", "Links.txt");
    for (const char* line : {"\tok.tif\tOK\t\t\t\t\t300 ppi\tOK\r", "\tgone.tif\tMissing\t\t\t\t\t300 ppi\tfehlt\r",
                             "\tchanged.tif\tModified\t\t\t\t\t300 ppi\tgeändert\r"}) {
        EXPECT_NE(list.find(line), std::string::npos) << line << " in\n" << list;
    }
}

// ---- output check ------------------------------------------------------------------

std::string lowPpi(int ppi, int threshold, const std::string& path) {
    char text[200];
    std::snprintf(text, sizeof text, "The following image has only %d ppi effective, less than %d ppi:", ppi,
                  threshold);
    return std::string(text) + " | " + path;
}

struct SaveCase {
    const char* warn;       // nullptr: no entry (the default)
    const char* threshold;  // nullptr: no entry (300)
    std::vector<std::pair<const char*, int>> warned;
};

class SaveCheckCases : public EffectiveResolutionTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveCheckCases, ASaveWarnsAboutEveryPictureBelowTheThresholdOnlyWhenSwitchedOn) {
    const SaveCase& c = GetParam();
    if (c.warn != nullptr) setPref("WarnEffectivePpi", c.warn);
    if (c.threshold != nullptr) setPref("MinEffectivePpi", c.threshold);
    startOrFail();
    openScaledPictures();
    clearAlerts();
    ASSERT_TRUE(sim().save(dir_.file("saved.json"))) << sim().lastError();
    const int threshold = c.threshold != nullptr && std::atoi(c.threshold) > 0 ? std::atoi(c.threshold) : 300;
    std::vector<std::string> expected;
    for (const auto& [name, ppi] : c.warned) expected.push_back(lowPpi(ppi, threshold, job(name)));
    EXPECT_EQ(alertLines(), expected);
    for (const desktop::AlertRequest& alert : alerts()) {
        ASSERT_GE(alert.buttons.size(), 2U);
        EXPECT_EQ(alert.buttons[0], "OK");
        EXPECT_EQ(alert.buttons[1], "Cancel");
    }
}

const std::vector<std::pair<const char*, int>> kBelow300 = {
    {"t72-50.tif", 144}, {"t150-100.tif", 150}, {"t300-400.tif", 75},
    {"t300-100x200.tif", 150}, {"j72-100.jpg", 72}, {"p150-200.png", 75}};

INSTANTIATE_TEST_SUITE_P(Settings, SaveCheckCases,
                         ::testing::Values(SaveCase{nullptr, nullptr, {}}, SaveCase{"0", "1000", {}},
                                           SaveCase{"1", nullptr, kBelow300},
                                           SaveCase{"1", "100", {{"t300-400.tif", 75}, {"j72-100.jpg", 72},
                                                                 {"p150-200.png", 75}}},
                                           // Not a usable threshold: the default stands.
                                           SaveCase{"1", "0", kBelow300}));

TEST_F(EffectiveResolutionTest, CancelEndsTheChecksAndTheGermanMessageNamesFigureAndThreshold) {
    setPref("WarnEffectivePpi", "1");
    setPref("MinEffectivePpi", "200");
    hostsim::Options options;
    options.regionCode = 3;
    startOrFail(options);
    openScaledPictures();
    clearAlerts();
    answer("Abbrechen");
    ASSERT_TRUE(sim().save(dir_.file("saved.json"))) << sim().lastError();
    EXPECT_EQ(alertLines(), (std::vector<std::string>{
                                "Das folgende Bild hat nur 144 ppi effektiv, weniger als 200 ppi: | " +
                                job("t72-50.tif")}));
    EXPECT_TRUE(fs::exists(dir_.file("saved.json")));  // the save went on
}

// ---- status colours on screen labels ------------------------------------------------

struct SvgLabel {
    double x, y, width, height;
    std::string fill, textFill, text;
};

// Each label: a filled rectangle directly followed by its text.
std::vector<SvgLabel> svgLabels(const std::string& svg) {
    static const std::regex pattern(
        R"re(<rect x="([-0-9.]+)" y="([-0-9.]+)" width="([-0-9.]+)" height="([-0-9.]+)" fill="(#[0-9a-f]{6})"[^>]*>\s*<text[^>]* fill="(#[0-9a-f]{6})"[^>]*>([^<]*)</text>)re");
    std::vector<SvgLabel> found;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), pattern); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        found.push_back(SvgLabel{std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5], m[6], m[7]});
    }
    return found;
}

class StatusColourTest : public EffectiveResolutionTest {
protected:
    std::vector<SvgLabel> labelsShown() {
        std::string error;
        EXPECT_TRUE(sim().renderView(dir_.file("view.svg"), &error)) << error;
        return svgLabels(test::readFile(dir_.file("view.svg")));
    }
};

struct ColourCase {
    const char* setting;  // nullptr: no entry (the default)
    const char* goneFill;
    const char* goneText;
    const char* changedFill;
};

class StatusColourCases : public StatusColourTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(StatusColourCases, MissingIsWhiteOnRedModifiedOnAmberOnlyWithTheSettingOn) {
    const ColourCase& c = GetParam();
    if (c.setting != nullptr) setPref("StatusColours", c.setting);
    startOrFail();
    openLinkStates();
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    const std::vector<SvgLabel> labels = labelsShown();
    ASSERT_EQ(labels.size(), 3U);
    EXPECT_EQ(labels[0].text, "ok.tif");
    EXPECT_EQ(labels[0].fill, "#ffffff");
    EXPECT_EQ(labels[0].textFill, "#000000");
    EXPECT_EQ(labels[1].text, "gone.tif");
    EXPECT_EQ(labels[1].fill, c.goneFill);
    EXPECT_EQ(labels[1].textFill, c.goneText);
    EXPECT_EQ(labels[2].text, "changed.tif");
    EXPECT_EQ(labels[2].fill, c.changedFill);
    EXPECT_EQ(labels[2].textFill, "#000000");
}

INSTANTIATE_TEST_SUITE_P(Settings, StatusColourCases,
                         ::testing::Values(ColourCase{nullptr, "#ffffff", "#000000", "#ffffff"},
                                           ColourCase{"0", "#ffffff", "#000000", "#ffffff"},
                                           ColourCase{"2", "#ffffff", "#000000", "#ffffff"},
                                           ColourCase{"1", "#cc0000", "#ffffff", "#ffb000"}));

TEST_F(StatusColourTest, PrintedLabelsStayBlackOnWhite) {
    setPref("StatusColours", "1");
    startOrFail();
    openLinkStates();
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    hostsim::PrintRun run;
    run.path = dir_.file("print/page.svg");
    run.output = hostsim::PrintOutput::Device;
    run.answer = "Yes";
    const hostsim::PrintResult result = sim().print(run);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.files.size(), 1U);
    const std::vector<SvgLabel> labels = svgLabels(test::readFile(result.files[0]));
    ASSERT_EQ(labels.size(), 3U);
    for (const SvgLabel& label : labels) {
        EXPECT_EQ(label.fill, "#ffffff") << label.text;
        EXPECT_EQ(label.textFill, "#000000") << label.text;
    }
    // The screen shows the status all the same.
    EXPECT_EQ(labelsShown()[1].fill, "#cc0000");
}

TEST_F(StatusColourTest, ThePngShowsTheColoursBehindTheNames) {
    setPref("StatusColours", "1");
    startOrFail();
    openLinkStates();
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    const std::vector<SvgLabel> labels = labelsShown();
    ASSERT_EQ(labels.size(), 3U);
    const std::string svg = test::readFile(dir_.file("view.svg"));
    double originX = 0, originY = 0;
    const std::size_t viewBox = svg.find("viewBox=\"");
    ASSERT_NE(viewBox, std::string::npos);
    ASSERT_EQ(std::sscanf(svg.c_str() + viewBox + 9, "%lf %lf", &originX, &originY), 2);

    std::string error;
    ASSERT_TRUE(sim().renderView(dir_.file("view.png"), &error)) << error;
    const std::optional<hostsim::render::Raster> pixels = hostsim::render::decodePicture(dir_.file("view.png"), &error);
    ASSERT_TRUE(pixels) << error;

    struct Expected {
        std::uint8_t background[3];
        std::uint8_t text[3];
    };
    const Expected expected[] = {{{255, 255, 255}, {0, 0, 0}}, {{204, 0, 0}, {255, 255, 255}},
                                 {{255, 176, 0}, {0, 0, 0}}};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const SvgLabel& label = labels[i];
        int background = 0, text = 0;
        // Glyph edges are smoothed: a pixel counts for the nearer of the two colours.
        const auto distance = [](const std::uint8_t* p, const std::uint8_t (&colour)[3]) {
            return std::abs(p[0] - colour[0]) + std::abs(p[1] - colour[1]) + std::abs(p[2] - colour[2]);
        };
        for (int y = static_cast<int>(label.y - originY) + 1; y < static_cast<int>(label.y + label.height - originY);
             ++y) {
            for (int x = static_cast<int>(label.x - originX) + 1;
                 x < static_cast<int>(label.x + label.width - originX); ++x) {
                const std::uint8_t* p = pixels->at(x, y);
                const int toBackground = distance(p, expected[i].background);
                const int toText = distance(p, expected[i].text);
                if (toBackground < 30) ++background;
                else if (toText < toBackground) ++text;
            }
        }
        EXPECT_GT(text, 15) << label.text;  // the glyphs
        EXPECT_GT(background, text) << label.text;
    }
}

// ---- preference pane ----------------------------------------------------------------

struct PaneCase {
    int region;
    std::int32_t resource;
    const char* warn;
    const char* unit;
    const char* colours;
};

class PaneCases : public EffectiveResolutionTest, public ::testing::WithParamInterface<PaneCase> {};

TEST_P(PaneCases, ThePaneShowsTheNewRowsAndOKKeepsWhatWasTyped) {
    const PaneCase& c = GetParam();
    hostsim::Options options;
    options.regionCode = static_cast<std::int16_t>(c.region);
    startOrFail(options);
    std::optional<desktop::DialogRequest> view;
    for (DialogAction action :
         {DialogAction::check(11), DialogAction::setText(12, "250"), DialogAction::check(16), DialogAction::click(1)}) {
        agent_->queueDialogAction(std::move(action));
    }
    agent_->setDialogStep([&view](const desktop::DialogRequest& dialog) {
        if (!view) view = dialog;
        return DialogAction::none();
    });
    hostsim::PreferencesRun run;
    run.byUser = true;
    const hostsim::PreferencesResult result = sim().openPreferences(run);
    EXPECT_EQ(result.resourceID, c.resource);
    EXPECT_EQ(result.dialogResult, 1);
    ASSERT_TRUE(view.has_value());
    // Opened with the defaults: off, 300, off.
    ASSERT_NE(view->control(11), nullptr);
    EXPECT_EQ(view->control(11)->kind, desktop::ControlKind::CheckBox);
    EXPECT_EQ(view->control(11)->text, c.warn);
    EXPECT_EQ(view->control(11)->value, 0);
    ASSERT_NE(view->control(12), nullptr);
    EXPECT_EQ(view->control(12)->text, "300");
    ASSERT_NE(view->control(16), nullptr);
    EXPECT_EQ(view->control(16)->text, c.colours);
    EXPECT_EQ(view->control(16)->value, 0);
    bool unitShown = false;
    for (const desktop::ControlView& control : view->controls) unitShown |= control.text == c.unit;
    EXPECT_TRUE(unitShown) << c.unit;

    const std::string saved = test::readFile(settingsFile());
    for (const char* entry : {"WarnEffectivePpi=1", "MinEffectivePpi=250", "StatusColours=1"}) {
        EXPECT_NE(saved.find(entry), std::string::npos) << entry << " in " << saved;
    }
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

INSTANTIATE_TEST_SUITE_P(Languages, PaneCases,
                         ::testing::Values(PaneCase{0, 28051, "Warn below", "ppi effective", "Status colours on labels"},
                                           PaneCase{3, 28351, "Warnen unter", "ppi effektiv",
                                                    "Statusfarben auf Etiketten"}));

}  // namespace
}  // namespace lumbrel::integration
