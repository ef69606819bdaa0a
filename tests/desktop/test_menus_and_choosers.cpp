#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/file_chooser.h"
#include "support/test_support.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
using desktop::DialogAction;
using pw::WindowRef;
using namespace dialog_ids;

class MenuAndChooserTest : public DialogTest {};

TEST_F(MenuAndChooserTest, PopupMenusAreAnsweredByTitleOrIndexAndDismissedWithoutADecision) {
    const std::vector<std::string> items{"Name", "Date", "Size"};
    agent->choosePopupItem("Size");
    agent->choosePopupIndex(1);
    agent->dismissPopup();
    agent->choosePopupItem("Colour");  // no such item: a fault
    agent->choosePopupIndex(3);
    EXPECT_EQ(pw::trackPopupMenu(nullptr, items, 10, 20, 0), 2);
    EXPECT_EQ(pw::trackPopupMenu(nullptr, items, 10, 20, -1), 1);
    EXPECT_EQ(pw::trackPopupMenu(nullptr, items, 10, 20, 7), -1);
    EXPECT_EQ(pw::trackPopupMenu(nullptr, items, 10, 20, 0), -1);
    EXPECT_EQ(pw::trackPopupMenu(nullptr, items, 10, 20, 0), -1);
    EXPECT_EQ(pw::trackPopupMenu(nullptr, items, 10, 20, 0), -1);  // the queue is empty: dismissed
    EXPECT_EQ(desk().agentFaults(), 2u);

    ASSERT_EQ(agent->popupMenusSeen().size(), 6u);
    EXPECT_EQ(agent->popupMenusSeen()[0].items, items);
    EXPECT_EQ(agent->popupMenusSeen()[0].preselected, 0);
    EXPECT_EQ(agent->popupMenusSeen()[0].x, 10);
    EXPECT_EQ(agent->popupMenusSeen()[2].preselected, -1);  // out of range: none marked
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Menu),
              (std::vector<std::string>{
                  "popup menu [*Name] [Date] [Size] -> \"Size\"",
                  "popup menu [Name] [Date] [Size] -> \"Date\"",
                  "popup menu [Name] [Date] [Size] -> dismissed",
                  "popup menu [*Name] [Date] [Size] -> dismissed (no item \"Colour\", dismissed)",
                  "popup menu [*Name] [Date] [Size] -> dismissed (no item 3, dismissed)",
                  "popup menu [*Name] [Date] [Size] -> dismissed (default)",
              }));
}

// TrackPopupMenuEx sends the menu's messages to its owner: a window that is
// gone fails the call before the user sees anything.
TEST_F(MenuAndChooserTest, APopupMenuBelongsToItsOwnerWindowAndNeedsALiveOne) {
    const std::vector<std::string> items{"Name", "Date"};
    const WindowRef owner = pw::createWindow("Static", "", 0, 0, {}, nullptr, 0);
    const WindowRef gone = pw::createWindow("Static", "", 0, 0, {}, nullptr, 0);
    ASSERT_NE(owner, nullptr);
    ASSERT_NE(gone, nullptr);
    pw::destroyWindow(gone);
    agent->choosePopupIndex(1);
    agent->choosePopupIndex(0);
    EXPECT_EQ(pw::trackPopupMenu(gone, items, 0, 0, -1), -1);
    EXPECT_EQ(pw::trackPopupMenu(owner, items, 0, 0, -1), 1);
    ASSERT_EQ(agent->popupMenusSeen().size(), 1u);  // the dead owner's menu was never shown
    EXPECT_EQ(agent->popupMenusSeen()[0].owner, owner);
    EXPECT_EQ(desk().agentFaults(), 1u);
    pw::destroyWindow(owner);
}

TEST_F(MenuAndChooserTest, ClickingAPopUpInADialogOpensItsMenu) {
    agent->queueDialogAction(DialogAction::click(kPopup));
    agent->queueDialogAction(DialogAction::click(kOk));
    agent->choosePopupItem("Millimetres");
    DialogScript script;
    EXPECT_EQ(runTestDialog(script), 1);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"command 8 selchange", "command 8 closeup", "command 1 clicked"}));
    ASSERT_EQ(agent->popupMenusSeen().size(), 1u);
    EXPECT_EQ(agent->popupMenusSeen()[0].nesting, 2);  // asked from inside the dialog
    EXPECT_NE(agent->popupMenusSeen()[0].owner, nullptr);  // the dialog owns its control's menu
    EXPECT_EQ(agent->dialogsSeen().back().control(kPopup)->value, 1);
    EXPECT_EQ(agent->dialogsSeen().back().focusedId, kPopup);
}

TEST_F(MenuAndChooserTest, ChoosingItemsChecksAndTabsInADialog) {
    agent->queueDialogAction(DialogAction::choose(kPopup, "Millimetres"));
    agent->queueDialogAction(DialogAction::chooseIndex(kList, 1));
    agent->queueDialogAction(DialogAction::choose(kTabs, "Labels"));
    agent->queueDialogAction(DialogAction::check(kRadioB));
    agent->queueDialogAction(DialogAction::check(kRadioB));  // already: nothing happens
    agent->queueDialogAction(DialogAction::uncheck(kCheck));  // already unchecked
    agent->queueDialogAction(DialogAction::setText(kPassword, "pässword"));
    agent->queueDialogAction(DialogAction::type("x"));  // the field has the focus now
    agent->queueDialogAction(DialogAction::click(kOk));
    DialogScript script;
    EXPECT_EQ(runTestDialog(script), 1);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"command 8 selchange", "command 8 closeup", "command 9 selchange",
                                                     "notify 10 -551", "command 6 clicked", "command 15 change",
                                                     "command 15 change", "command 1 clicked"}));
    const desktop::DialogRequest& last = agent->dialogsSeen().back();
    EXPECT_EQ(last.control(kList)->selectedItems, std::vector<int>{1});
    EXPECT_EQ(last.control(kTabs)->value, 1);
    EXPECT_EQ(last.control(kRadioB)->value, 1);
    const std::vector<std::string> lines = dialogLines();
    EXPECT_EQ(lines[1], "dialog \"Test Dialog\": choose 8 \"Millimetres\"");
    EXPECT_EQ(lines[5], "dialog \"Test Dialog\": check 6 \"Date\" (already)");
    EXPECT_EQ(lines[7], "dialog \"Test Dialog\": set text 15 \"********\"");  // passwords stay unseen
    EXPECT_EQ(lines[8], "dialog \"Test Dialog\": type \"*\"");
    EXPECT_EQ(last.control(kPassword)->text, "pässwordx");
}

TEST_F(MenuAndChooserTest, TheApplicationChooserTakesOnlyApplications) {
    TempDir dir;
    const std::string tool = dir.file("tool");
    writeFile(tool, "#!/bin/sh\n");
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    const std::string text = dir.file("notes.txt");
    writeFile(text, "x");
    std::filesystem::create_directories(dir.file("Edit.app/Contents"));
    std::filesystem::create_directories(dir.file("Folder"));

    agent->chooseApplicationAt(dir.file("Edit.app") + "/");
    agent->chooseApplicationAt(tool);
    agent->chooseApplicationAt(text);
    agent->chooseApplicationAt(dir.file("Folder"));
    agent->chooseApplicationAt(dir.file("missing"));
    agent->cancelApplicationChooser();
    std::string path = "untouched";
    EXPECT_TRUE(pw::chooseApplication("Choose an editor:", path));
    EXPECT_EQ(path, dir.file("Edit.app"));
    EXPECT_TRUE(pw::chooseApplication("Choose an editor:", path));
    EXPECT_EQ(path, tool);
    path = "untouched";
    for (int refused = 0; refused < 4; ++refused) EXPECT_FALSE(pw::chooseApplication("Choose an editor:", path));
    EXPECT_FALSE(pw::chooseApplication(nullptr, path));  // no decision: Cancel
    EXPECT_EQ(path, "untouched");
    EXPECT_EQ(desk().agentFaults(), 3u);
    ASSERT_EQ(agent->applicationChoosersSeen().size(), 7u);
    EXPECT_EQ(agent->applicationChoosersSeen()[0].prompt, "Choose an editor:");
    const std::vector<std::string> lines = desk().transcript().linesOf(desktop::EntryKind::Chooser);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "choose application \"Choose an editor:\" -> \"" + dir.file("Edit.app") + "\"");
    EXPECT_EQ(lines[2], "choose application \"Choose an editor:\" -> Cancel (\"" + text +
                            "\": not an application, Cancel taken)");
    EXPECT_EQ(lines[5], "choose application \"Choose an editor:\" -> Cancel");
    EXPECT_EQ(lines[6], "choose application \"\" -> Cancel (default)");
}

}  // namespace
}  // namespace lumbrel::test
