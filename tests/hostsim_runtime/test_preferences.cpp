// The preference pane, run with the host's messages in the host's order.
#include "host_fixture.h"

namespace hostsim::test {
namespace {

FakeTables* gTables = nullptr;
std::vector<std::int16_t> gKinds;
std::int32_t gSeenAtOK = -1;

class PreferencesTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        gTables = &fake.tables();
        gKinds.clear();
        gSeenAtOK = -1;
        fake.hook(FAKE_HOOK_PANE, [](void* record) {
            auto* message = static_cast<XTWapMessage*>(record);
            gKinds.push_back(message->kind);
            switch (message->kind) {
                case XT_WAP_CONTROL_SETUP:
                    for (std::int16_t item = 3; item <= 4; ++item) gTables->button.setup(item, 2);
                    break;
                case XT_WAP_OPEN:
                    gTables->button.setValue(3, 1);
                    gTables->wap.setupStandardButton(1, 1);
                    break;
                case XT_WAP_ITEM_HIT:
                    if (message->item == 1) gSeenAtOK = gTables->button.getValue(3) * 10 + gTables->button.getValue(4);
                    break;
                case XT_WAP_APPLY:
                    gSeenAtOK = gTables->button.getValue(3) * 10 + gTables->button.getValue(4);
                    break;
                default: break;
            }
            return 0;
        });
        sim = start();
    }
    std::unique_ptr<Simulator> sim;
};

TEST_F(PreferencesTest, MessagesComeInTheHostsOrderAndOKEndsWithOne) {
    PreferencesRun run;
    run.toggleItems = {3, 4};
    const PreferencesResult result = sim->openPreferences(run);
    EXPECT_TRUE(result.shown);
    EXPECT_EQ(result.resourceID, 142);
    EXPECT_EQ(result.dialogResult, 1);
    const std::vector<std::int16_t> expected{XT_WAP_RESOURCE_ID, XT_WAP_CONTROL_SETUP, XT_WAP_OPEN, XT_WAP_ITEM_HIT,
                                             XT_WAP_ITEM_HIT, XT_WAP_ITEM_HIT};
    EXPECT_EQ(gKinds, expected);
    EXPECT_EQ(gSeenAtOK, 1);  // item 3 was set to 1 and clicked off; item 4 clicked on
    const std::vector<std::pair<std::int16_t, std::int32_t>> controls{{3, 0}, {4, 1}};
    EXPECT_EQ(result.controls, controls);
    EXPECT_EQ(fake.count(XT_CB_PREFPANE_INSERT), 1U);
    EXPECT_TRUE(transcriptHas("preferences closed -> 1"));
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

TEST_F(PreferencesTest, CancelEndsWithZeroAndTheHostsOKApplies) {
    PreferencesRun cancel;
    cancel.ok = false;
    EXPECT_EQ(sim->openPreferences(cancel).dialogResult, 0);
    EXPECT_EQ(gSeenAtOK, -1);
    gKinds.clear();
    PreferencesRun hostOk;
    hostOk.hostOk = true;
    EXPECT_EQ(sim->openPreferences(hostOk).dialogResult, 1);
    EXPECT_EQ(gKinds.back(), XT_WAP_APPLY);
    EXPECT_EQ(gSeenAtOK, 10);
    // Outside the dialog the controls are gone.
    EXPECT_EQ(gTables->button.getValue(3), 0);
    EXPECT_EQ(messages(*sim), std::vector<std::string>{"xtxdctlbtn.getValue called while no preferences dialog is open"});
}

TEST_F(PreferencesTest, ControlSetUpOnlyInItsOwnMessage) {
    fake.hook(FAKE_HOOK_PANE, [](void* record) {
        const auto* message = static_cast<XTWapMessage*>(record);
        if (message->kind == XT_WAP_OPEN) gTables->button.setup(5, 2);
        if (message->kind == XT_WAP_CONTROL_SETUP) gTables->wap.setupStandardButton(1, 1);
        return 0;
    });
    sim->openPreferences();
    const std::vector<std::string> expected{"xtwap.setupStandardButton called outside the pane's opening message",
                                            "xtxdctlbtn.setup called outside the pane's control set-up message"};
    EXPECT_EQ(messages(*sim), expected);
}

}  // namespace
}  // namespace hostsim::test
