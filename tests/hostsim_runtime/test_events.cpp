// Callbacks driven as a host drives them: menus, commands, events, language,
// switch-in, drags and redraws.
#include "host_fixture.h"

#include <algorithm>

namespace hostsim::test {
namespace {

FakeTables* gTables = nullptr;
std::vector<XTEventRec> gEvents;
// What the module read from the host while each event was delivered: the tool and the clock.
std::vector<std::pair<std::int16_t, std::uint32_t>> gSeenDuringEvent;
std::vector<std::int16_t> gCommands;
std::vector<std::int32_t> gDuringCommand;  // draw callbacks seen while a command ran
bool gInCommand = false;
std::intptr_t gDragDuringDrop = 0;
XTDragInfo gDropInfo{};

class EventTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        gTables = &fake.tables();
        gEvents.clear();
        gSeenDuringEvent.clear();
        gCommands.clear();
        gDuringCommand.clear();
        gInCommand = false;
        gDragDuringDrop = 0;
        fake.hook(XT_CB_EVENT, [](void* record) {
            auto* event = static_cast<XTEventRec*>(record);
            gEvents.push_back(*event);
            gSeenDuringEvent.emplace_back(gTables->system.currentTool(), gTables->system.ticks());
            // Control-k on anything, and every click while Option is held, are the module's.
            if (event->what == XT_EVT_KEYDOWN && (event->message & 0xFFU) == 'k' &&
                (event->modifiers & ~XT_MOD_BUTTON) == XT_MOD_CONTROL) {
                event->what = XT_EVT_NULL;
            }
            if (event->what == XT_EVT_MOUSEDOWN && (event->modifiers & XT_MOD_OPTION) != 0) event->what = XT_EVT_NULL;
            return 0;
        });
        fake.hook(XT_CB_COMMAND, [](void* record) {
            gCommands.push_back(static_cast<XTCommandRec*>(record)->command);
            gInCommand = true;
            gTables->doc.redraw(0);
            gInCommand = false;
            return 0;
        });
        fake.hook(XT_CB_DRAWBOX, [](void*) {
            if (gInCommand) gDuringCommand.push_back(XT_CB_DRAWBOX);
            return 0;
        });
        sim = start();
    }
    std::unique_ptr<Simulator> sim;
};

const MenuItemState* findItem(const std::vector<MenuState>& menus, const std::string& menu, const std::string& title) {
    for (const MenuState& m : menus) {
        if (m.title != menu) continue;
        for (const MenuItemState& item : m.items) {
            if (item.title == title) return &item;
        }
    }
    return nullptr;
}

TEST_F(EventTest, KeysTheModuleSwallowsNeverReachTheHost) {
    const EventResult swallowed = sim->key('k', XT_MOD_CONTROL);
    EXPECT_TRUE(swallowed.delivered);
    EXPECT_TRUE(swallowed.swallowed);
    const EventResult passed = sim->key('k', XT_MOD_COMMAND);
    EXPECT_TRUE(passed.delivered);
    EXPECT_FALSE(passed.swallowed);
    ASSERT_EQ(gEvents.size(), 2U);
    EXPECT_EQ(gEvents[0].what, XT_EVT_KEYDOWN);
    EXPECT_EQ(gEvents[0].message & 0xFFU, static_cast<std::uint32_t>('k'));
    EXPECT_EQ(gEvents[0].modifiers, XT_MOD_CONTROL);
    EXPECT_EQ(gEvents[1].when - gEvents[0].when, kActionTicks);
    EXPECT_TRUE(transcriptHas("key control+'k' -> swallowed by the module"));
    EXPECT_TRUE(transcriptHas("key command+'k' -> host"));
}

TEST_F(EventTest, ClicksCarryTicksAndTheHostSelectsWhatTheModuleLeaves) {
    Document doc = testDocument(1);
    // A third box over the picture box: the frontmost takes the click.
    const BoxId over = doc.addBox(1, kBoxPicture, Rect{150, 150, 250, 350});
    const XTDocID id = sim->newDocument(std::move(doc)).doc;
    ASSERT_GE(id, 0);
    gEvents.clear();
    sim->click(SpreadPoint{1, 160, 160});
    EXPECT_EQ(sim->current()->currentBox(), over);
    sim->click(SpreadPoint{1, 120, 120});
    const BoxId under = sim->current()->firstBox(1);
    EXPECT_EQ(sim->current()->currentBox(), under);
    const EventResult optionClick = sim->click(SpreadPoint{1, 160, 160}, XT_MOD_OPTION);
    EXPECT_TRUE(optionClick.swallowed);
    EXPECT_EQ(sim->current()->currentBox(), under);  // the host ignored it
    sim->click(SpreadPoint{1, 700, 10});
    EXPECT_EQ(sim->current()->currentBox(), 0);
    ASSERT_EQ(gEvents.size(), 4U);
    EXPECT_EQ(gEvents[1].when - gEvents[0].when, kActionTicks);
    const ScreenPoint screen = sim->toScreen(SpreadPoint{1, 160, 160});
    EXPECT_EQ(gEvents[0].where.v, screen.v);
    EXPECT_EQ(gEvents[0].where.h, screen.h);
    const std::string line = "click spread 1 point 120,120 at tick " + std::to_string(gEvents[1].when) + " -> box " +
                             std::to_string(under) + " selected";
    EXPECT_TRUE(transcriptHas(line)) << line;

    gEvents.clear();
    sim->doubleClick(SpreadPoint{1, 120, 120}, 23);
    ASSERT_EQ(gEvents.size(), 2U);
    EXPECT_EQ(gEvents[1].when - gEvents[0].when, 23U);
    EXPECT_EQ(gEvents[0].what, XT_EVT_MOUSEDOWN);
}

TEST_F(EventTest, MouseDownsCarryTheirTickAndTheToolOfTheMoment) {
    ASSERT_GE(sim->newDocument(testDocument(1)).doc, 0);
    struct Case {
        std::int16_t tool;
        std::uint32_t gap;
    };
    for (const Case c : {Case{XT_TOOL_CONTENT, 23}, Case{XT_TOOL_CONTENT, 24}, Case{1, 0}, Case{3, 600}}) {
        gEvents.clear();
        gSeenDuringEvent.clear();
        sim->setTool(c.tool);
        sim->doubleClick(SpreadPoint{1, 120, 120}, c.gap);
        ASSERT_EQ(gEvents.size(), 2U) << c.tool << " " << c.gap;
        EXPECT_EQ(gEvents[1].when - gEvents[0].when, c.gap);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(gEvents[i].what, XT_EVT_MOUSEDOWN);
            // The host's clock reads the event's time while the event is handled.
            EXPECT_EQ(gSeenDuringEvent[i], std::make_pair(c.tool, gEvents[i].when)) << c.tool << " " << c.gap;
        }
    }
    // The next action comes well after the last mouse-down, never as its double-click.
    gEvents.clear();
    const std::uint32_t before = gSeenDuringEvent.back().second;
    sim->click(SpreadPoint{1, 120, 120});
    ASSERT_EQ(gEvents.size(), 1U);
    EXPECT_GT(gEvents[0].when - before, 23U);
}

TEST_F(EventTest, IdleSendsNullEventsOneTickApart) {
    sim->idle(3);
    ASSERT_EQ(gEvents.size(), 3U);
    for (const XTEventRec& event : gEvents) EXPECT_EQ(event.what, XT_EVT_NULL);
    EXPECT_EQ(gEvents[2].when - gEvents[0].when, 2U);
}

TEST_F(EventTest, MenusShowTheModulesItemsEnabledByItsUpdate) {
    const std::size_t updates = fake.count(XT_CB_MENUUPDATE);
    std::vector<MenuState> menus = sim->menuState();
    EXPECT_EQ(fake.count(XT_CB_MENUUPDATE), updates + 1);
    const MenuItemState* view = findItem(menus, "View", "Fake View Item");
    const MenuItemState* tool = findItem(menus, "Utilities", "Fake Tool\xE2\x80\xA6");
    ASSERT_NE(view, nullptr);
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(view->fromModule);
    EXPECT_FALSE(view->enabled);
    EXPECT_FALSE(findItem(menus, "File", "Save")->enabled);
    EXPECT_FALSE(sim->chooseMenu("Fake View Item"));
    EXPECT_TRUE(gCommands.empty());
    EXPECT_TRUE(transcriptHas("menu View>Fake View Item is disabled"));

    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    menus = sim->menuState();
    EXPECT_TRUE(findItem(menus, "View", "Fake View Item")->enabled);
    EXPECT_TRUE(findItem(menus, "File", "Save")->enabled);
    ASSERT_TRUE(sim->chooseMenu("Utilities > Fake Tool..."));
    ASSERT_EQ(gCommands.size(), 1U);
    EXPECT_EQ(gCommands[0], gTables->utilitiesItem);
    EXPECT_TRUE(transcriptHas("menu Utilities>Fake Tool\xE2\x80\xA6"));
    ASSERT_TRUE(sim->chooseCommand(gTables->viewItem));
    EXPECT_EQ(gCommands.back(), gTables->viewItem);
    EXPECT_FALSE(sim->chooseMenu("Edit>Nothing"));
    EXPECT_EQ(sim->lastError(), "no menu item \"Edit>Nothing\"");
    // A host command reaches the module with the host's number.
    sim->hostCommand(XT_CMD_SAVE_CHECK);
    EXPECT_EQ(gCommands.back(), XT_CMD_SAVE_CHECK);
    ASSERT_TRUE(sim->chooseMenu("200%"));
    EXPECT_EQ(sim->current()->view.scale, 2 * kFixedOne);
}

TEST_F(EventTest, ARedrawAskedForDuringACommandComesAfterIt) {
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    const std::size_t draws = fake.count(XT_CB_DRAWBOX);
    ASSERT_TRUE(sim->chooseMenu("Fake View Item"));
    EXPECT_TRUE(gDuringCommand.empty());
    EXPECT_EQ(fake.count(XT_CB_DRAWBOX), draws + 2 * 3);  // two boxes, three phases
}

TEST_F(EventTest, LanguageSwitchInAndShutdownAreDelivered) {
    static std::int16_t region;
    region = 0;
    fake.hook(XT_CB_LANGUAGE, [](void* record) {
        region = static_cast<XTLanguageRec*>(record)->regionCode;
        return 0;
    });
    sim->setLanguage(3);
    EXPECT_EQ(region, 3);
    sim->switchIn();
    EXPECT_EQ(fake.count(XT_CB_SWITCHIN), 1U);
    EXPECT_EQ(desktop::Desktop::instance().frontProcess(), desktop::Desktop::instance().hostName());
    sim->quit();
    const std::vector<std::int32_t> calls = fake.calls();
    EXPECT_EQ(calls.back(), XT_CB_SHUTDOWN);
}

TEST_F(EventTest, DropsGoThroughTheModulesHandlersWithTheDragOnThePasteboard) {
    fake.hook(FAKE_HOOK_DROP, [](void* record) {
        gDropInfo = *static_cast<XTDragInfo*>(record);
        gDragDuringDrop = gTables->dataExchange->currentDrag();
        return 1;
    });
    EXPECT_EQ(sim->dragViewKinds(), std::vector<std::int32_t>{XT_VIEW_LAYOUT});
    EXPECT_FALSE(sim->drop({desktop::PasteboardItem::file("/x/a.tif")}, SpreadPoint{1, 10, 10}));
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    EXPECT_TRUE(sim->drop({desktop::PasteboardItem::file("/x/a.tif")}, SpreadPoint{1, 10, 20}));
    EXPECT_NE(gDragDuringDrop, 0);
    EXPECT_EQ(gTables->dataExchange->currentDrag(), 0);
    EXPECT_FALSE(desktop::Desktop::instance().dragInProgress());
    EXPECT_EQ(gDropInfo.dropEffect, XT_DROP_EFFECT_COPY);
    EXPECT_EQ(gDropInfo.window, gTables->doc.docWindow());
    EXPECT_EQ(gDropInfo.where.v, kContentTop + 10);
    EXPECT_TRUE(transcriptHas("drop accepted"));

    fake.hook(FAKE_HOOK_DRAG_ENTERED, [](void*) { return 0; });
    gDragDuringDrop = 0;
    EXPECT_FALSE(sim->drop({desktop::PasteboardItem::file("/x/a.tif")}, SpreadPoint{1, 10, 20}));
    EXPECT_EQ(gDragDuringDrop, 0);
    EXPECT_TRUE(transcriptHas("drag refused by the module"));
}

}  // namespace
}  // namespace hostsim::test
