// The Windows form of the host interface, run in the fake host whatever the
// build: the numbers stated at activation, the interface tables acquired at
// start-up, and the event filter on window messages.
#include <gtest/gtest.h>

#include <vector>

#include "host/host_form.h"
#include "host/module_fixture.h"
#include "host/startup.h"
#include "host/window_messages.h"
#include "host/xt_groups.h"

namespace lumbrel::test {
namespace {

using WindowsFormTest = ModuleTest;
using Key = FakeHost::InterfaceKey;

std::vector<Key> expectedInterfaceOrder() {
    std::vector<Key> order;
    for (std::int32_t v = 0; v < 4; ++v) order.emplace_back(XT_FOURCC('Q', 'L', 'I', 'U'), v);
    for (std::int32_t v = 0; v < 12; ++v) order.emplace_back(XT_FOURCC('Q', 'L', 'I', 'D'), v);
    for (std::int32_t v : {0, 2, 1}) order.emplace_back(XT_FOURCC('Q', 'L', 'I', 'S'), v);
    order.emplace_back(XT_FOURCC('Q', 'L', 'O', 'T'), 0);
    return order;
}

TEST_F(WindowsFormTest, ActivationStatesTheWindowsNumbersAndRefusesWhatTheHostDoesNotAccept) {
    const struct {
        std::uint32_t answer;
        bool accepted;
    } rows[] = {{1, true}, {0x0301, true}, {0, false}, {2, false}, {0x0100, false}};
    for (const auto& row : rows) {
        resetFakeHost();
        host().compatibilityAnswer = row.answer;
        XTActivationRec record = fakeActivationRecord();
        const std::int32_t result = activateModule(&record, kWindowsHostForm);
        EXPECT_EQ(host().compatibilityArguments,
                  (std::vector<std::uint32_t>{XT_FOURCC('B', 'D', 'I', 'C'), 0, 11, 0x40A20014U, 0}));
        if (row.accepted) {
            EXPECT_EQ(result, 0) << row.answer;
            EXPECT_EQ(host().startupArguments, (std::vector<std::int32_t>{5, 200, 0}));
            EXPECT_NE(host().paneAllocProc, nullptr);
        } else {
            EXPECT_EQ(result, static_cast<std::int32_t>(XT_REFUSE)) << row.answer;
            EXPECT_EQ(host().startupProc, nullptr) << row.answer;
            EXPECT_EQ(host().paneAllocProc, nullptr) << row.answer;
        }
    }
}

TEST_F(WindowsFormTest, StartupAcquiresEveryInterfaceTableInOrderWithTheWindowsSetup) {
    ASSERT_EQ(bindHostGroups(fakeCallbackRecord(), kWindowsHostForm), 0);
    EXPECT_EQ(host().setup.apiVersion, 11);
    EXPECT_EQ(host().setup.build, 258);
    EXPECT_EQ(host().setup.hostVersion, 0x40A20000U);
    EXPECT_EQ(host().interfacesAsked, expectedInterfaceOrder());
    EXPECT_TRUE(hostGroupsBound());
    ASSERT_NE(gXtStringInterface, nullptr);
    EXPECT_EQ(gXtStringInterface->header.version, XT_IFACE_STRINGS_PLAIN);
    EXPECT_EQ(gXtString, nullptr);  // the Mac group is not asked for
}

TEST_F(WindowsFormTest, AnyTableRefusedOrNotTheOneAskedForRefusesStartupThere) {
    const std::vector<Key> order = expectedInterfaceOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (bool misnamed : {false, true}) {
            resetFakeHost();
            resetHostGroups();
            (misnamed ? host().misnamedInterface : host().refusedInterface) = order[i];
            EXPECT_EQ(bindHostGroups(fakeCallbackRecord(), kWindowsHostForm), static_cast<std::int32_t>(XT_REFUSE))
                << i << (misnamed ? " misnamed" : " refused");
            EXPECT_EQ(host().interfacesAsked.size(), i + 1) << i;  // later tables are not asked for
            EXPECT_FALSE(hostGroupsBound());
        }
    }
}

TEST_F(WindowsFormTest, AHostWithoutInterfaceTablesOrWithAnIncompleteStringTableIsRefused) {
    XTCallbackRec older = *fakeCallbackRecord();
    older.size = static_cast<std::int32_t>(offsetof(XTCallbackRec, acquireInterface));
    XTCallbackRec withoutService = *fakeCallbackRecord();
    withoutService.acquireInterface = nullptr;
    for (const XTCallbackRec* record : {&older, &withoutService}) {
        resetFakeHost();
        EXPECT_EQ(bindHostGroups(record, kWindowsHostForm), static_cast<std::int32_t>(XT_REFUSE));
        EXPECT_TRUE(host().interfacesAsked.empty());
    }
    resetFakeHost();
    host().stringInterfaceWithoutDispose = true;
    EXPECT_EQ(bindHostGroups(fakeCallbackRecord(), kWindowsHostForm), static_cast<std::int32_t>(XT_REFUSE));
}

TEST(WindowsMessages, EachMessageAsksForItsAction) {
    const struct {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::uint32_t modifiers;
        bool edit;
        char copyKey;
        MessageAction expected;
    } rows[] = {
        {XT_WM_NULL, 0, 0, false, 'c', MessageAction::Idle},
        {XT_WM_TIMER, 1, 0, false, 'c', MessageAction::Idle},
        {XT_WM_LBUTTONDOWN, 0, XT_WMOD_LBUTTON, true, 'c', MessageAction::MouseDown},
        {XT_WM_LBUTTONDOWN, 0, XT_WMOD_LBUTTON, false, 'c', MessageAction::Pass},
        {514, 0, 0, true, 'c', MessageAction::Pass},  // button up
        {XT_WM_KEYDOWN, 'C', 8, false, 'c', MessageAction::CopyName},
        {XT_WM_KEYDOWN, 'C', 8 | XT_WMOD_LBUTTON, false, 'c', MessageAction::CopyName},
        {XT_WM_KEYDOWN, 'C', 12, false, 'c', MessageAction::Pass},
        {XT_WM_KEYDOWN, 'C', 0, false, 'c', MessageAction::Pass},
        {XT_WM_KEYDOWN, 'C', 8 | XT_WMOD_ALT, false, 'c', MessageAction::Pass},
        {XT_WM_KEYDOWN, 'c', 8, false, 'c', MessageAction::Pass},  // 99 is no letter key's code
        {XT_WM_KEYDOWN, 'K', 8, false, 'c', MessageAction::Pass},
        {XT_WM_KEYDOWN, '5', 8, false, '5', MessageAction::CopyName},
        {XT_WM_KEYDOWN, 0, 8, false, '\0', MessageAction::Pass},  // empty CopyPath: off
        {XT_WM_KEYDOWN, 'R', 12, false, 'c', MessageAction::Rename},
        {XT_WM_KEYDOWN, 'R', 12 | XT_WMOD_RBUTTON, false, 'c', MessageAction::Rename},
        {XT_WM_KEYDOWN, 'R', 8, false, 'c', MessageAction::Pass},
        {XT_WM_KEYDOWN, 'R', 4, false, 'c', MessageAction::Pass},
        {XT_WM_KEYDOWN, 'r', 12, false, 'c', MessageAction::Pass},
        {XT_WM_KEYDOWN, 'R', 8, false, 'r', MessageAction::CopyName},  // the copy key wins with Control alone
    };
    for (const auto& row : rows) {
        XTWinEventRec event{};
        event.size = sizeof event;
        event.message = row.message;
        event.wParam = row.wParam;
        event.modifiers = row.modifiers;
        EXPECT_EQ(classifyWindowsMessage(event, row.edit, row.copyKey), row.expected)
            << row.message << " " << row.wParam << " " << row.modifiers;
    }
}

TEST(WindowsMessages, MessageTimesBecomeTicksSoThatAGapKeepsItsLength) {
    EXPECT_EQ(ticksFromMilliseconds(0), 0U);
    EXPECT_EQ(ticksFromMilliseconds(1000), 60U);
    EXPECT_EQ(ticksFromMilliseconds(16), 0U);
    EXPECT_EQ(ticksFromMilliseconds(17), 1U);
    // The whole range of the millisecond clock, without overflow on the way.
    EXPECT_EQ(ticksFromMilliseconds(0xFFFFFFFFU), 257698037U);
    // A host that turns its ticks into milliseconds rounding up gets them back exactly.
    for (std::uint32_t ticks : {1000U, 1010U, 1023U, 1024U, 123457U}) {
        const std::uint32_t ms = (ticks * 1000U + 59U) / 60U;
        EXPECT_EQ(ticksFromMilliseconds(ms), ticks);
    }
}

class WindowsFilterTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        usePrefs("[Default]\rCopyPath=c\rLogging=2\r");
        ASSERT_EQ(start(), 0);
        host().addBox(1, 11, XT_BOX_PICTURE, rectPt(0, 0, 100, 100), "/Volumes/pics/Summer 2024/beach.tif");
        host().addBox(1, 12, XT_BOX_TEXT, rectPt(0, 0, 100, 100));
        desktop::Desktop::instance().setClipboardText("before");
    }

    std::uint32_t filter(std::uint32_t message, std::uintptr_t wParam, std::uint32_t modifiers,
                         std::int32_t size = sizeof(XTWinEventRec)) {
        XTWinEventRec event{};
        event.size = size;
        event.message = message;
        event.wParam = wParam;
        event.modifiers = modifiers;
        filterWindowsMessage(event);
        return event.message;
    }

    std::string clipboard() { return desktop::Desktop::instance().clipboardText().value_or("<none>"); }
};

TEST_F(WindowsFilterTest, CopyNameSwallowsTheKeyOnAPictureBoxAndLeavesItOnATextBox) {
    host().currentBox = 12;
    EXPECT_EQ(filter(XT_WM_KEYDOWN, 'C', XT_WMOD_CONTROL), XT_WM_KEYDOWN);
    EXPECT_EQ(clipboard(), "before");
    host().currentBox = 11;
    // A record shorter than the module reads is not looked at.
    EXPECT_EQ(filter(XT_WM_KEYDOWN, 'C', XT_WMOD_CONTROL, 8), XT_WM_KEYDOWN);
    EXPECT_EQ(clipboard(), "before");
    EXPECT_EQ(filter(XT_WM_KEYDOWN, 'C', XT_WMOD_CONTROL), XT_WM_NULL);
    EXPECT_EQ(clipboard(), "beach.tif");
}

TEST_F(WindowsFilterTest, ControlShiftRReachesRenameWhateverBoxIsCurrentAndIdleMessagesPassOn) {
    for (XTBoxID box : {0, 11, 12}) {
        host().currentBox = box;
        EXPECT_EQ(filter(XT_WM_KEYDOWN, 'R', XT_WMOD_CONTROL | XT_WMOD_SHIFT), XT_WM_NULL) << box;
    }
    host().documentOpen = false;
    EXPECT_EQ(filter(XT_WM_TIMER, 1, 0), XT_WM_TIMER);
    EXPECT_EQ(filter(XT_WM_NULL, 0, 0), XT_WM_NULL);
    EXPECT_EQ(filter(XT_WM_LBUTTONDOWN, 0, XT_WMOD_LBUTTON), XT_WM_LBUTTONDOWN);
}

TEST(HostForms, EachFormRunsTheOutputCheckOnItsOwnCommandsOnly) {
    const struct {
        std::int16_t command;
        bool mac, windows;
    } rows[] = {{117, true, false}, {113, false, true}, {118, false, true}, {105, false, false}, {0, false, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(isOutputCheckCommand(kMacHostForm, row.command), row.mac) << row.command;
        EXPECT_EQ(isOutputCheckCommand(kWindowsHostForm, row.command), row.windows) << row.command;
    }
    EXPECT_EQ(&kHostForm, platform::Traits::kWindowsHostForm ? &kWindowsHostForm : &kMacHostForm);
}

}  // namespace
}  // namespace lumbrel::test
