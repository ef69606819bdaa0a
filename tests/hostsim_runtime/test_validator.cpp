// The validator: calls in a state no host allows are recorded with the group
// and field, written to the transcript, answered harmlessly, and never crash.
#include "host_fixture.h"

namespace hostsim::test {
namespace {

FakeTables* gTables = nullptr;
Simulator* gSim = nullptr;
XTBoxID (*gStashedFirstBox)(std::int16_t) = nullptr;

class ValidatorTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        gTables = &fake.tables();
    }
};

TEST_F(ValidatorTest, BoxCallWithoutDocumentIsNamed) {
    auto sim = start();
    // Straight through the module's tables, as a module would from a stray timer.
    EXPECT_EQ(gTables->box.firstBox(1), 0);
    EXPECT_EQ(gTables->page.numPages(), 0);
    const std::vector<std::string> expected{"xtbox.firstBox called with no document open",
                                            "xtpage.numPages called with no document open"};
    EXPECT_EQ(messages(*sim), expected);
    EXPECT_EQ(sim->violations()[0].group, "xtbox");
    EXPECT_EQ(sim->violations()[0].field, "firstBox");
    EXPECT_TRUE(transcriptHas("violation: xtbox.firstBox called with no document open"));
    // What needs no document answers without complaint.
    EXPECT_EQ(gTables->doc.curDocID(), -1);
    EXPECT_EQ(gTables->window.curWindow(), 0);
    EXPECT_EQ(sim->violations().size(), 2U);
    // With a document the same call is fine.
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    EXPECT_NE(gTables->box.firstBox(1), 0);
    EXPECT_EQ(sim->violations().size(), 2U);
}

TEST_F(ValidatorTest, DrawingOnlyInsideABoxDrawAndOnItsPort) {
    fake.hook(XT_CB_COMMAND, [](void*) {
        gTables->draw.fillRect(1, 0, 0, 10, 10, XTColor{255, 255, 255, 100});
        return 0;
    });
    fake.hook(XT_CB_DRAWBOX, [](void* record) {
        const auto* draw = static_cast<const XTDrawBoxRec*>(record);
        if (draw->phase != XT_DRAW_PHASE_CONTENT) return 0;
        gTables->draw.fillRect(draw->port, 1, 2, 3, 4, XTColor{255, 255, 255, 100});
        gTables->draw.fillRect(draw->port + 1, 1, 2, 3, 4, XTColor{0, 0, 0, 100});
        return 0;
    });
    auto sim = start();
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    // Two boxes on the current spread, each drawn once in the content phase.
    ASSERT_EQ(sim->drawCalls().size(), 2U);
    EXPECT_EQ(sim->drawCalls()[0].kind, "fillRect");
    EXPECT_EQ(sim->drawCalls()[0].detail, "[2, 1, 4, 3] rgb(255,255,255) 100%");
    EXPECT_EQ(sim->drawCalls()[0].box, sim->current()->firstBox(1));
    const std::vector<std::string> drawn{"xtdraw.fillRect got a port that is not the one of the running draw",
                                         "xtdraw.fillRect got a port that is not the one of the running draw"};
    EXPECT_EQ(messages(*sim), drawn);
    ASSERT_TRUE(sim->chooseMenu("Fake View Item"));
    EXPECT_EQ(messages(*sim).back(), "xtdraw.fillRect called outside a box draw");
}

TEST_F(ValidatorTest, CallsDuringActivationAndAfterShutdown) {
    {
        auto first = start();
        gStashedFirstBox = gTables->box.firstBox;
    }
    fake.reset();
    // A module that keeps a host function from an earlier run and calls it
    // before the host bound anything.
    fake.hook(FAKE_HOOK_ACTIVATION, [](void*) {
        gStashedFirstBox(1);
        return 0;
    });
    auto sim = start();
    ASSERT_FALSE(sim->violations().empty());
    EXPECT_EQ(sim->violations()[0].message, "xtbox.firstBox called during activation, before start-up");
    sim->quit();
    gStashedFirstBox(1);
    EXPECT_EQ(sim->violations().back().message, "xtbox.firstBox called after shutdown");
}

TEST_F(ValidatorTest, CallsBeforeTheirGroupIsBound) {
    {
        auto first = start();
        gStashedFirstBox = gTables->box.firstBox;
    }
    fake.reset();
    fake.hook(FAKE_HOOK_BEFORE_BIND, [](void*) {
        gStashedFirstBox(1);
        return 0;
    });
    auto sim = start();
    EXPECT_TRUE(sim->started());
    EXPECT_EQ(messages(*sim), std::vector<std::string>{"xtbox.firstBox called before the group was bound"});
}

TEST_F(ValidatorTest, PostScriptOnlyInsideAnOutputJob) {
    auto sim = start();
    EXPECT_EQ(gTables->utility.psOutput("x", 1), XT_PARAMERR);
    EXPECT_EQ(messages(*sim).back(), "xtutility.psOutput called outside a PostScript output job");
    XTPrintInfo info{};
    info.outputKind = 99;
    gTables->print.printInfo(&info);
    EXPECT_EQ(info.outputKind, XT_OUTPUT_SCREEN);
    gTables->print.printInfo(nullptr);
    EXPECT_EQ(messages(*sim).back(), "xtprint.printInfo got no record");
}

TEST_F(ValidatorTest, CallbacksMustAnswerZero) {
    fake.hook(XT_CB_MENUUPDATE, [](void*) { return 5; });
    auto sim = start();
    sim->menuState();
    EXPECT_EQ(messages(*sim), std::vector<std::string>{"callback 7 answered 5 (callbacks answer 0)"});
}

TEST_F(ValidatorTest, HandlesAreCheckedAndLeaksReportedAtQuit) {
    auto sim = start();
    const XTHandle kept = gTables->memory.newHandle(16);
    const XTHandle gone = gTables->memory.newHandle(4);
    ASSERT_NE(kept, 0);
    ASSERT_NE(gTables->memory.handleData(kept), nullptr);
    EXPECT_EQ(gTables->memory.handleSize(kept), 16);
    gTables->memory.disposeHandle(gone);
    EXPECT_TRUE(sim->violations().empty());
    gTables->memory.disposeHandle(gone);
    EXPECT_EQ(gTables->memory.handleData(gone), nullptr);
    ASSERT_EQ(sim->violations().size(), 2U);
    EXPECT_NE(sim->violations()[0].message.find("xtmemory.disposeHandle got handle 0x"), std::string::npos);
    EXPECT_NE(sim->violations()[0].message.find("which is not live"), std::string::npos);
    EXPECT_EQ(sim->violations()[1].field, "handleData");
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    const XTHandle record = gTables->boxRecord.newBoxRecord(gTables->doc.curDocID(), XT_BOX_PICTURE, XT_SHAPE_RECT);
    gTables->memory.disposeHandle(record);
    EXPECT_EQ(messages(*sim).back(), "xtmemory.disposeHandle got a box record where a memory handle belongs");
    EXPECT_EQ(sim->liveHandles(), 2U);
    const std::size_t before = sim->violations().size();
    sim->quit();
    const std::vector<std::string> all = messages(*sim);
    const std::vector<std::string> leaks(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    const std::vector<std::string> expected{"xtmemory: 1 handle(s) never disposed at quit",
                                            "xtxtbox: 1 box record(s) never disposed at quit"};
    EXPECT_EQ(leaks, expected);
}

TEST_F(ValidatorTest, HostStringsAreTrackedLikeHandles) {
    auto sim = start();
    const std::uint16_t units[] = {'a', 0x00E4, 'b'};
    QXStringRef__* string = gTables->strings->create(units, 3);
    ASSERT_NE(string, nullptr);
    EXPECT_EQ(gTables->strings->length(string), 3);
    std::uint16_t out[2] = {};
    EXPECT_EQ(gTables->strings->copyUnits(string, out, 2), 2);
    EXPECT_EQ(out[1], 0x00E4);
    QXStringRef__* leaked = gTables->strings->create(units, 1);
    ASSERT_NE(leaked, nullptr);
    gTables->strings->dispose(string);
    EXPECT_TRUE(sim->violations().empty());
    gTables->strings->dispose(string);
    EXPECT_EQ(messages(*sim).back(), "strings.dispose got a string that is not live");
    sim->quit();
    EXPECT_EQ(messages(*sim).back(), "strings: 1 host string(s) never disposed at quit");
}

// An agent that tries to use the host's menus while an alert is up.
class MenuDuringAlert : public desktop::Agent {
public:
    int answerAlert(const desktop::AlertRequest&) override {
        chosen = gSim->chooseMenu("Fake View Item");
        return desktop::kTakeDefault;
    }
    bool chosen = true;
};

TEST_F(ValidatorTest, MenuCommandWhileACommandRunsIsRefused) {
    fake.hook(XT_CB_COMMAND, [](void*) {
        gTables->error.showError(XT_FNF);
        return 0;
    });
    auto sim = start();
    gSim = sim.get();
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    auto agent = std::make_shared<MenuDuringAlert>();
    desktop::Desktop::instance().setAgent(agent);
    ASSERT_TRUE(sim->chooseMenu("View>Fake View Item"));
    EXPECT_FALSE(agent->chosen);
    EXPECT_EQ(fake.count(XT_CB_COMMAND), 1U);
    EXPECT_EQ(messages(*sim),
              std::vector<std::string>{
                  "callback 618 re-entered: menu \"Fake View Item\" while callback 618 is running"});
    const auto alerts = desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Alert);
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_NE(alerts[0].find("(error -43)"), std::string::npos) << alerts[0];
    desktop::Desktop::instance().setAgent(nullptr);
}

TEST_F(ValidatorTest, PaneAndMenuCallsOutOfPlace) {
    auto sim = start();
    EXPECT_EQ(gTables->button.getValue(3), 0);
    EXPECT_EQ(gTables->wap.insertPane(kPreferencesTabControl, gTables->dialogID), XT_PARAMERR);
    EXPECT_EQ(gTables->menu.appendItem(999, gTables->viewItem, "X"), XT_PARAMERR);
    gTables->menu.enableItem(77, 1);
    EXPECT_EQ(gTables->menu.appendItem(gTables->viewMenu, 5000, "X"), XT_PARAMERR);
    const std::vector<std::string> expected{
        "xtxdctlbtn.getValue called while no preferences dialog is open",
        "xtwap.insertPane called outside the pane insertion callback",
        "xtmenu.appendItem got menu 999, which the host does not have",
        "xtmenu.enableItem got command id 77, which has no item",
        "xtmenu.appendItem got command id 5000, which the host did not hand out"};
    EXPECT_EQ(messages(*sim), expected);
}

TEST_F(ValidatorTest, MissingOutParametersAreReportedNotFollowed) {
    auto sim = start();
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    const XTBoxID box = gTables->box.firstBox(1);
    EXPECT_EQ(gTables->box.getBounds(box, nullptr), XT_PARAMERR);
    EXPECT_EQ(gTables->group.groupMembers(box, nullptr), 0);
    gTables->display.globalToLocal(gTables->doc.docWindow(), nullptr);
    EXPECT_EQ(gTables->picture.picturePath(box, nullptr, 10), 0);
    EXPECT_EQ(gTables->slug.getSlugData(box, 0, XT_SLUG_IMAGENAME, nullptr, 5), -1);
    EXPECT_EQ(sim->violations().size(), 5U) << ::testing::PrintToString(messages(*sim));
    EXPECT_EQ(messages(*sim)[0], "xtbox.getBounds got no rectangle");
}

}  // namespace
}  // namespace hostsim::test
