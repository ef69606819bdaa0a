// Activation, start-up refusal, group binding and the callbacks start-up
// registers.
#include <gtest/gtest.h>

#include "host/module_fixture.h"
#include "host/startup.h"
#include "host/xt_groups.h"

namespace lumbrel::test {
namespace {

using StartupTest = ModuleTest;

TEST_F(StartupTest, HostThatDoesNotAcceptTheModuleIsRefusedBeforeAnythingIsRegistered) {
    for (std::uint32_t answer : {0U, 2U, 0x100U, 0xFFFFFF00U}) {
        resetFakeHost();
        host().compatibilityAnswer = answer;
        XTActivationRec record = fakeActivationRecord();
        EXPECT_EQ(activateModule(&record), static_cast<std::int32_t>(XT_REFUSE)) << answer;
        EXPECT_EQ(host().startupProc, nullptr) << answer;
        EXPECT_EQ(host().paneAllocProc, nullptr) << answer;
        EXPECT_EQ(host().registrationValue, -1) << answer;
    }
}

TEST_F(StartupTest, AcceptedHostGetsTheRegistrationsWithTheModulesNumbers) {
    host().compatibilityAnswer = 0x1201;  // only the low byte counts
    XTActivationRec record = fakeActivationRecord();
    ASSERT_EQ(activateModule(&record), 0);
    EXPECT_EQ(host().compatibilityArguments,
              (std::vector<std::uint32_t>{XT_FOURCC('B', 'D', 'I', 'C'), 0, 5, 0x40C70014U, 0}));
    EXPECT_EQ(gXtRefNum, 42);
    EXPECT_EQ(host().registrationValue, 200);
    EXPECT_NE(host().startupProc, nullptr);
    EXPECT_NE(host().paneAllocProc, nullptr);
    EXPECT_EQ(host().startupArguments, (std::vector<std::int32_t>{7, 200, 0}));
}

TEST_F(StartupTest, MissingRequiredGroupRefusesAtOnceAndRegistersNothing) {
    host().refusedGroup = "xtpicture";
    EXPECT_EQ(startModule(), static_cast<std::int32_t>(XT_REFUSE));
    EXPECT_TRUE(host().registrations.empty());
    // Groups after the refused one are not asked for.
    ASSERT_FALSE(host().boundGroups.empty());
    EXPECT_EQ(host().boundGroups.back(), "xtpicture");
    EXPECT_FALSE(hostGroupsBound());
}

TEST_F(StartupTest, MissingStringGroupRefuses) {
    host().refuseStringGroup = true;
    EXPECT_EQ(startModule(), static_cast<std::int32_t>(XT_REFUSE));
    EXPECT_TRUE(host().registrations.empty());
}

TEST_F(StartupTest, EveryGroupIsBoundWithTheStatedVersions) {
    ASSERT_EQ(startModule(), 0);
    EXPECT_EQ(host().setup.apiVersion, 5);
    EXPECT_EQ(host().setup.build, 295);
    EXPECT_EQ(host().setup.hostVersion, 0x40C70000U);
    const std::vector<std::string> expected = {
        "xtdoc",   "xtdocdisplay", "xtwindow", "xtbox",    "xtgroup",   "xtfixedrect", "xtxtbox",
        "xtpicture", "xtxio",      "xtpage",   "xtspread", "xtmaster",  "xtmenu",      "xtprint",
        "xtutility", "xterror",    "xtmemory", "xtsystem", "xtproject", "xtslug",      "xtfont",
        "xtdraw",  "xtwap",        "xtxdctlbtn", "xtxqd",    "xtfile"};
    EXPECT_EQ(host().boundGroups, expected);
    EXPECT_EQ(gXPressVersion, 0x40C70014U);
}

TEST_F(StartupTest, CallbacksAreRegisteredInTheTablesOrderWithTheirNumbers) {
    ASSERT_EQ(startModule(), 0);
    EXPECT_EQ(host().registeredCodes(),
              (std::vector<std::int32_t>{6, 7, 618, 74, 46, 610, 282, 283, 66, 4, 10, 5, 12, 1064, 279}));
    for (const Registration& r : host().registrations) {
        EXPECT_EQ(r.a, 7) << r.code;
        EXPECT_EQ(r.b, r.code == 10 ? 10 : 200) << r.code;
        EXPECT_EQ(r.c, 0) << r.code;
    }
}

TEST_F(StartupTest, OptionalModulesSetTheirFlagsOnlyWhenPresent) {
    ASSERT_EQ(startModule(), 0);
    EXPECT_EQ(gPDFActive, 0);
    EXPECT_EQ(gLayersActive, 0);
    EXPECT_EQ(gDataExchangeActive, 0);

    resetFakeHost();
    host().hasPDFModule = true;
    host().hasDataExchange = true;
    ASSERT_EQ(startModule(), 0);
    EXPECT_EQ(gPDFActive, 1);
    EXPECT_EQ(gLayersActive, 0);
    EXPECT_EQ(gDataExchangeActive, 1);
    EXPECT_NE(gXtPDF, nullptr);
}

TEST_F(StartupTest, StartupWritesTheStartLineToTheLog) {
    usePrefs("[Default]\rLogging=2\r");
    ASSERT_EQ(startModule(), 0);
    const std::string log = logText();
    EXPECT_EQ(log.rfind("\r####\tLumbrel 4.72: ", 0), 0U) << log;
    // The line ends in the time of day and the line end.
    ASSERT_GE(log.size(), 20U + 9U);
    EXPECT_EQ(log.back(), '\r');
}

TEST_F(StartupTest, TheTestProgramIsNoBundleSoStartupSaysSoAndGoesOn) {
    ASSERT_EQ(startModule(), 0);
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_EQ(alerts()[0].message, "Internal error: gBdl = NULL");
    EXPECT_EQ(alerts()[0].title, "Lumbrel");
}

TEST_F(StartupTest, PaneAllocationBeforeStartupTouchesNoTable) {
    XTActivationRec record = fakeActivationRecord();
    ASSERT_EQ(activateModule(&record), 0);
    EXPECT_EQ(host().paneAllocProc(nullptr), 0);  // no group bound yet: must not crash
}

TEST_F(StartupTest, LayoutViewsGetDragHandlersThatRefuseEveryDragForNow) {
    ASSERT_EQ(startModule(), 0);
    XTDragViewRec other{sizeof(XTDragViewRec), 0, 2};
    host().call(XT_CB_DRAGVIEW, &other);
    EXPECT_TRUE(host().dragHandlers.empty());

    XTDragViewRec layout{sizeof(XTDragViewRec), 0, XT_VIEW_LAYOUT};
    EXPECT_EQ(host().call(XT_CB_DRAGVIEW, &layout), 0);
    ASSERT_EQ(host().dragHandlers.count(XT_VIEW_LAYOUT), 1U);
    const XTDragHandlers& handlers = host().dragHandlers[XT_VIEW_LAYOUT];
    XTDragInfo info{};
    info.dropEffect = XT_DROP_EFFECT_COPY;
    EXPECT_EQ(handlers.entered(&info), 0);
}

}  // namespace
}  // namespace lumbrel::test
