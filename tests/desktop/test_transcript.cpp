#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop_fixture.h"
#include "platform/alerts.h"
#include "platform/pasteboard.h"
#include "platform/processes.h"
#include "support/test_support.h"

namespace lumbrel::test {
namespace {

using namespace lumbrel::platform;

class TranscriptTest : public DesktopTest {};

TEST_F(TranscriptTest, SimulatorLinesInterleaveWithWhatTheModuleShowedInOrder) {
    TempDir dir;
    const std::string doc = dir.file("list.txt");
    writeFile(doc, "x");
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    agent->answerWithButton("No");
    desk().setAgent(agent);
    desktop::Transcript& transcript = desk().transcript();

    transcript.appendSimulatorLine("menu Utilities > Image List");
    beep();
    runAlert(AlertStyle::Note, "Lumbrel", "Print image names?", nullptr, "Yes", "No", nullptr);
    transcript.appendSimulatorLine("wrote list.txt\r\n");
    openDocument(doc.c_str(), nullptr);
    const PasteboardRef clipboard = createPasteboard(kClipboardPasteboardName);
    clearPasteboard(clipboard);
    putPasteboardFlavor(clipboard, 1, kFlavorUtf8Text, "a.tif", 5);
    releasePasteboard(clipboard);
    revealInFileManager(doc.c_str());

    EXPECT_EQ(transcript.render(),
              "menu Utilities > Image List\n"
              "beep\n"
              "alert \"Lumbrel\" note: Print image names? [Yes] [No] -> No\n"
              "wrote list.txt\\r\\n\n"
              "open \"" + doc + "\" with default application\n"
              "clipboard cleared\n"
              "clipboard \"a.tif\"\n"
              "reveal \"" + doc + "\"\n"
              "front \"Finder\"\n");
    const std::vector<desktop::EntryKind> kinds = {
        desktop::EntryKind::Simulator, desktop::EntryKind::Beep,      desktop::EntryKind::Alert,
        desktop::EntryKind::Simulator, desktop::EntryKind::Open,      desktop::EntryKind::Clipboard,
        desktop::EntryKind::Clipboard, desktop::EntryKind::Reveal,    desktop::EntryKind::Front};
    ASSERT_EQ(transcript.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(transcript.entries()[i].kind, kinds[i]) << i;
    EXPECT_EQ(transcript.linesOf(desktop::EntryKind::Simulator),
              (std::vector<std::string>{"menu Utilities > Image List", "wrote list.txt\\r\\n"}));

    transcript.clear();
    EXPECT_EQ(transcript.render(), "");
}

TEST_F(TranscriptTest, TheListenerSeesEveryEntryOnceInOrderEvenThoseItCauses) {
    desktop::Transcript& transcript = desk().transcript();
    transcript.appendSimulatorLine("before the listener");
    std::vector<std::string> heard;
    transcript.setListener([&](const desktop::TranscriptEntry& entry) {
        heard.push_back(entry.line);
        // A terminal session echoing a beep as it prints: the new entry must
        // come after this one, not inside it.
        if (entry.line == "trigger") beep();
    });
    transcript.appendSimulatorLine("one");
    transcript.appendSimulatorLine("trigger");
    transcript.appendSimulatorLine("two");
    EXPECT_EQ(heard, (std::vector<std::string>{"one", "trigger", "beep", "two"}));
    EXPECT_EQ(transcript.render(), "before the listener\none\ntrigger\nbeep\ntwo\n");

    transcript.setListener(nullptr);
    transcript.appendSimulatorLine("unheard");
    EXPECT_EQ(heard.size(), 4u);
}

TEST_F(TranscriptTest, EscapingKeepsEveryEntryOnOneLine) {
    EXPECT_EQ(desktop::escapeForTranscript("a\rb\nc\td\x7f" "e\x1b" "f \xC3\xA4\\\""), "a\\rb\\nc\\td\\x7Fe\\x1Bf \xC3\xA4\\\"");
    EXPECT_EQ(desktop::quoteForTranscript("x\ny"), "\"x\\ny\"");
    EXPECT_EQ(desktop::escapeForTranscript(std::string("a\0b", 3)), "a\\x00b");
}

}  // namespace
}  // namespace lumbrel::test
