// Activation and start-up of the real module: which hosts it accepts, what it
// does when a function group is missing, what it registers and in which
// order, and which language its menu items speak.
#include "integration_fixture.h"

#include "xtapi.h"

namespace lumbrel::integration {
namespace {

using hostsim::Registration;

class StartupTest : public ModuleTest {};

TEST_F(StartupTest, OnlyAnAnswerWhoseLowByteIsOneAcceptsTheModule) {
    for (const std::uint32_t answer : {0U, 2U, 0x100U, 0x0102U}) {
        hostsim::Options options;
        options.compatibilityAnswer = answer;
        const hostsim::ActivationResult result = start(options);
        EXPECT_TRUE(result.loaded) << answer;
        EXPECT_EQ(result.entryResult, kRefused) << answer;
        EXPECT_FALSE(result.startupRegistered) << answer;
        EXPECT_FALSE(result.startupResult.has_value()) << answer;
        // Refused: the module registered nothing at all.
        EXPECT_TRUE(sim().registrations().empty()) << answer;
        EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
        sim().quit();
    }
    // The question the module asks.
    EXPECT_TRUE(transcriptHas("compatibility 'BDIC' 0 5 0x40C70014 0 -> 2"));

    for (const std::uint32_t answer : {1U, 0x0101U, 0x0201U}) {
        hostsim::Options accepting;
        accepting.compatibilityAnswer = answer;
        EXPECT_TRUE(start(accepting).started()) << answer;
        sim().quit();
    }
}

TEST_F(StartupTest, AMissingRequiredGroupRefusesStartUpBeforeAnyCallbackIsRegistered) {
    for (const std::string withheld : {"xtdoc", "xtbox", "xtxqd", "QSB1"}) {
        hostsim::Options options;
        options.withheld.insert(withheld);
        const hostsim::ActivationResult result = start(options);
        EXPECT_EQ(result.entryResult, 0) << withheld;
        ASSERT_TRUE(result.startupResult.has_value()) << withheld;
        EXPECT_EQ(*result.startupResult, kRefused) << withheld;
        for (const Registration& registration : sim().registrations()) {
            EXPECT_NE(registration.kind, Registration::Kind::Callback) << withheld << " " << registration.code;
        }
        // The first failure ends the binding: the withheld group is the last one asked for.
        const std::vector<std::string> asked = sim().groupsBound();
        ASSERT_FALSE(asked.empty()) << withheld;
        EXPECT_NE(asked.back().find("(withheld)"), std::string::npos) << withheld << ": " << asked.back();
        EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
        sim().quit();
    }
}

TEST_F(StartupTest, MissingOptionalModulesLeaveTheModuleWorking) {
    hostsim::Options options;
    options.withheld = {"XPDF", "layers", "DEA1"};
    startOrFail(options);
    openSample();
    EXPECT_TRUE(sim().chooseMenu("Show Image Names"));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(StartupTest, RegistrationsComeInTheirOrderWithTheirArguments) {
    startOrFail();
    const std::vector<Registration>& all = sim().registrations();
    ASSERT_GE(all.size(), 3U);
    EXPECT_EQ(all[0].kind, Registration::Kind::RegistrationValue);
    EXPECT_EQ(all[0].code, 200);
    EXPECT_EQ(all[1].kind, Registration::Kind::Startup);
    EXPECT_EQ(all[2].kind, Registration::Kind::PaneAlloc);
    for (std::size_t i = 1; i <= 2; ++i) {
        EXPECT_EQ(std::vector<std::int32_t>({all[i].a, all[i].b, all[i].c}), std::vector<std::int32_t>({7, 200, 0}));
    }

    std::vector<std::int32_t> codes;
    for (const Registration& registration : all) {
        if (registration.kind != Registration::Kind::Callback) continue;
        codes.push_back(registration.code);
        // The event filter goes in with 10 as its second number, everything else with 200.
        const std::int32_t second = registration.code == XT_CB_EVENT ? 10 : 200;
        EXPECT_EQ(std::vector<std::int32_t>({registration.a, registration.b, registration.c}),
                  std::vector<std::int32_t>({7, second, 0}))
            << "callback " << registration.code;
    }
    const std::vector<std::int32_t> expected{6, 7, 618, 74, 46, 610, 282, 283, 66, 4, 10, 5, 12,
                                             XT_CB_DRAGVIEW, XT_CB_PREFPANE_INSERT};
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(transcriptHas("activation -> 0"));
    EXPECT_TRUE(transcriptHas("start-up -> 0"));
}

TEST_F(StartupTest, StartUpWritesTheStartLineToTheLog) {
    logOn();
    startOrFail();
    const std::string log = logText();
    EXPECT_EQ(log.rfind("\r####\tLumbrel 4.72: ", 0), 0U) << log;
}

// Region codes 3 and 19 are German, every other one English; the items are
// named when the host builds its menus at launch.
struct RegionCase {
    std::int16_t region;
    const char* showNames;
    const char* imageList;
    const char* swap;
};

void PrintTo(const RegionCase& region, std::ostream* out) { *out << "region " << region.region; }

class RegionTest : public ModuleTest, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(RegionTest, MenuItemsSpeakTheLanguageOfTheRegionCodeAtLaunch) {
    hostsim::Options options;
    options.regionCode = GetParam().region;
    startOrFail(options);
    std::vector<std::string> titles;
    for (const hostsim::MenuState& menu : sim().menuState()) {
        for (const hostsim::MenuItemState& item : menu.items) {
            if (item.fromModule) titles.push_back(menu.title + ">" + item.title);
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{std::string("View>") + GetParam().showNames,
                                                std::string("Utilities>") + GetParam().imageList,
                                                std::string("Utilities>") + GetParam().swap}));
}

INSTANTIATE_TEST_SUITE_P(Regions, RegionTest,
                         ::testing::Values(RegionCase{3, "Bildnamen zeigen", "Bilderliste erstellen…", "Bilder austauschen…"},
                                           RegionCase{19, "Bildnamen zeigen", "Bilderliste erstellen…", "Bilder austauschen…"},
                                           RegionCase{0, "Show Image Names", "Image List…", "Swap images…"},
                                           RegionCase{4, "Show Image Names", "Image List…", "Swap images…"},
                                           RegionCase{2, "Show Image Names", "Image List…", "Swap images…"}),
                         [](const auto& param) { return "Region" + std::to_string(param.param.region); });

TEST_F(StartupTest, ALanguageChangeWhileRunningSwitchesTheAlerts) {
    setPref("SaveWarning", "1");
    startOrFail();
    openSample();
    sim().current()->markChanged();
    for (const std::int16_t region : {std::int16_t{3}, std::int16_t{4}, std::int16_t{19}, std::int16_t{0}}) {
        sim().setLanguage(region);
        clearAlerts();
        sim().hostCommand(XT_CMD_SAVE_CHECK);
        const bool german = region == 3 || region == 19;
        EXPECT_EQ(alertLines(), std::vector<std::string>{german ? "Das Dokument wurde noch nicht gesichert!" : kNotSaved})
            << region;
    }
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

}  // namespace
}  // namespace lumbrel::integration
