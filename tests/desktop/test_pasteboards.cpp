#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop/file_url.h"
#include "desktop_fixture.h"
#include "platform/pasteboard.h"
#include "support/test_support.h"

namespace lumbrel::test {
namespace {

using namespace lumbrel::platform;

class PasteboardTest : public DesktopTest {
protected:
    // Clears the clipboard and puts `text` on item 1, as the copy-name shortcut does.
    static void copyText(const std::string& text) {
        const PasteboardRef clipboard = createPasteboard(kClipboardPasteboardName);
        ASSERT_NE(clipboard, PasteboardRef::None);
        ASSERT_EQ(clearPasteboard(clipboard), 0);
        ASSERT_EQ(putPasteboardFlavor(clipboard, 1, kFlavorUtf8Text, text.data(), text.size()), 0);
        releasePasteboard(clipboard);
    }

    static std::string flavorOf(PasteboardRef pasteboard, int index, const char* flavor) {
        char buffer[256] = {};
        const std::ptrdiff_t size = pasteboardCopyFlavorData(
            pasteboard, pasteboardItemIdentifier(pasteboard, index), flavor, buffer, sizeof buffer);
        if (size < 0 || static_cast<std::size_t>(size) > sizeof buffer) return "<none>";
        return std::string(buffer, static_cast<std::size_t>(size));
    }
};

TEST_F(PasteboardTest, NamedPasteboardsAreMadeOnceAndKeepTheirContentAfterRelease) {
    const PasteboardRef first = createPasteboard("com.example.shared");
    ASSERT_NE(first, PasteboardRef::None);
    ASSERT_EQ(clearPasteboard(first), 0);
    ASSERT_EQ(putPasteboardFlavor(first, 1, kFlavorUtf8Text, "abc", 3), 0);

    const PasteboardRef second = createPasteboard("com.example.shared");
    EXPECT_NE(second, first);  // every client gets its own reference...
    EXPECT_EQ(flavorOf(second, 1, kFlavorUtf8Text), "abc");  // ...to the same pasteboard
    EXPECT_EQ(desk().openPasteboardReferences(), 2u);

    releasePasteboard(first);
    releasePasteboard(second);
    EXPECT_EQ(desk().openPasteboardReferences(), 0u);
    EXPECT_EQ(desk().badPasteboardReleases(), 0u);
    // A released reference is dead; the pasteboard is not.
    EXPECT_EQ(pasteboardItemCount(first), -1);
    const PasteboardRef again = createPasteboard("com.example.shared");
    EXPECT_EQ(flavorOf(again, 1, kFlavorUtf8Text), "abc");
    releasePasteboard(again);

    // Other names, and unnamed ones, are other pasteboards.
    const PasteboardRef other = createPasteboard("com.example.other");
    const PasteboardRef unique1 = createPasteboard(nullptr);
    const PasteboardRef unique2 = createPasteboard("");
    EXPECT_EQ(pasteboardItemCount(other), 0);
    EXPECT_EQ(pasteboardItemCount(unique1), 0);
    ASSERT_EQ(clearPasteboard(unique1), 0);
    ASSERT_EQ(putPasteboardFlavor(unique1, 1, kFlavorUtf8Text, "u", 1), 0);
    EXPECT_EQ(pasteboardItemCount(unique2), 0);
    releasePasteboard(other);
    releasePasteboard(unique1);
    releasePasteboard(unique2);
}

TEST_F(PasteboardTest, TheDragPasteboardIsBorrowedAndLivesAsLongAsTheDrag) {
    TempDir dir;
    writeFile(dir.file("a.tif"), "x");
    const std::uintptr_t drag = desk().beginDrag(
        {desktop::PasteboardItem::file(dir.file("a.tif")), desktop::PasteboardItem::text("not a file")});
    ASSERT_NE(drag, 0u);
    const PasteboardRef pasteboard = dragPasteboard(static_cast<DragRef>(drag));
    ASSERT_NE(pasteboard, PasteboardRef::None);
    EXPECT_EQ(dragPasteboard(static_cast<DragRef>(drag + 1)), PasteboardRef::None);
    EXPECT_EQ(dragPasteboard(DragRef::None), PasteboardRef::None);

    EXPECT_EQ(pasteboardItemCount(pasteboard), 2);
    EXPECT_EQ(pasteboardItemIdentifier(pasteboard, 1), 1u);
    EXPECT_EQ(pasteboardItemIdentifier(pasteboard, 2), 2u);
    EXPECT_EQ(pasteboardItemIdentifier(pasteboard, 0), 0u);
    EXPECT_EQ(pasteboardItemIdentifier(pasteboard, 3), 0u);
    std::string url;
    ASSERT_TRUE(desktop::fileUrlFromPath(dir.file("a.tif"), url));
    EXPECT_EQ(flavorOf(pasteboard, 1, kFlavorFileUrl), url);
    EXPECT_EQ(flavorOf(pasteboard, 2, kFlavorFileUrl), "<none>");  // a text item has no file URL
    EXPECT_EQ(flavorOf(pasteboard, 2, kFlavorUtf8Text), "not a file");
    EXPECT_EQ(desk().openPasteboardReferences(), 0u);  // nothing the module owns

    // The module may neither release nor overwrite what the drag source owns.
    releasePasteboard(pasteboard);
    EXPECT_EQ(desk().badPasteboardReleases(), 1u);
    EXPECT_EQ(pasteboardItemCount(pasteboard), 2);
    EXPECT_EQ(clearPasteboard(pasteboard), -1);
    EXPECT_EQ(putPasteboardFlavor(pasteboard, 1, kFlavorUtf8Text, "x", 1), -1);
    EXPECT_EQ(pasteboardItemCount(pasteboard), 2);

    desk().endDrag();
    EXPECT_FALSE(desk().dragInProgress());
    EXPECT_EQ(pasteboardItemCount(pasteboard), -1);
    EXPECT_EQ(dragPasteboard(static_cast<DragRef>(drag)), PasteboardRef::None);

    // The next drag is a different one; the old reference stays dead.
    const std::uintptr_t next = desk().beginDrag({desktop::PasteboardItem::text("t")});
    EXPECT_NE(next, drag);
    EXPECT_EQ(pasteboardItemCount(pasteboard), -1);
    EXPECT_NE(dragPasteboard(static_cast<DragRef>(next)), pasteboard);
}

TEST_F(PasteboardTest, ReleasingWhatWasNeverOwnedIsCountedAndIgnored) {
    const PasteboardRef clipboard = createPasteboard(kClipboardPasteboardName);
    releasePasteboard(clipboard);
    releasePasteboard(clipboard);                          // twice
    releasePasteboard(static_cast<PasteboardRef>(99999));  // never made
    releasePasteboard(PasteboardRef::None);                // nothing at all: no fault
    EXPECT_EQ(desk().badPasteboardReleases(), 2u);
}

TEST_F(PasteboardTest, MissingItemsAndFlavoursAnswerMinusOne) {
    const PasteboardRef pasteboard =
        dragPasteboard(static_cast<DragRef>(desk().beginDrag({desktop::PasteboardItem::text("t")})));
    char buffer[8] = {};
    EXPECT_EQ(pasteboardCopyFlavorData(pasteboard, 1, kFlavorFileUrl, buffer, sizeof buffer), -1);
    EXPECT_EQ(pasteboardCopyFlavorData(pasteboard, 5, kFlavorUtf8Text, buffer, sizeof buffer), -1);
    EXPECT_EQ(pasteboardCopyFlavorData(pasteboard, 0, kFlavorUtf8Text, buffer, sizeof buffer), -1);
    EXPECT_EQ(pasteboardCopyFlavorData(pasteboard, 1, nullptr, buffer, sizeof buffer), -1);
    EXPECT_EQ(pasteboardCopyFlavorData(PasteboardRef::None, 1, kFlavorUtf8Text, buffer, sizeof buffer), -1);
    EXPECT_EQ(pasteboardItemCount(PasteboardRef::None), -1);
    EXPECT_EQ(pasteboardCopyFlavorData(pasteboard, 1, kFlavorUtf8Text, buffer, sizeof buffer), 1);
}

TEST_F(PasteboardTest, DataTooBigForTheCallersBufferAreNotCopied) {
    const std::string url = "file:///" + std::string(1100, 'a');
    const PasteboardRef pasteboard =
        dragPasteboard(static_cast<DragRef>(desk().beginDrag({desktop::PasteboardItem::fileUrl(url)})));

    std::vector<char> buffer(1024, '\0');
    // 1,108 bytes do not fit in 1,023: the size is answered, nothing is written.
    EXPECT_EQ(pasteboardCopyFlavorData(pasteboard, 1, kFlavorFileUrl, buffer.data(), buffer.size() - 1),
              static_cast<std::ptrdiff_t>(url.size()));
    EXPECT_EQ(std::string(buffer.data()), "");
    // The size alone can be asked with no buffer.
    EXPECT_EQ(pasteboardCopyFlavorData(pasteboard, 1, kFlavorFileUrl, nullptr, 0), static_cast<std::ptrdiff_t>(url.size()));

    // Exactly fitting data are copied, with not a byte more.
    desk().endDrag();
    const PasteboardRef exact =
        dragPasteboard(static_cast<DragRef>(desk().beginDrag({desktop::PasteboardItem::text("12345")})));
    char small[6] = {'x', 'x', 'x', 'x', 'x', '#'};
    EXPECT_EQ(pasteboardCopyFlavorData(exact, 1, kFlavorUtf8Text, small, 5), 5);
    EXPECT_EQ(std::string(small, 6), "12345#");
    char tiny[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(pasteboardCopyFlavorData(exact, 1, kFlavorUtf8Text, tiny, 4), 5);
    EXPECT_EQ(std::string(tiny, 4), "####");
}

TEST_F(PasteboardTest, ClearThenPutStringLandsOnTheClipboardAndInTheTranscript) {
    desk().setClipboardText("old");
    EXPECT_EQ(desk().clipboardText(), "old");

    copyText("y.tif");
    EXPECT_EQ(desk().clipboardText(), "y.tif");
    const auto items = desk().pasteboardItems(desktop::kClipboardName);
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 1u);
    EXPECT_EQ((*items)[0].id, 1u);
    ASSERT_EQ((*items)[0].flavors.size(), 1u);
    EXPECT_EQ((*items)[0].flavors[0].type, kFlavorUtf8Text);
    EXPECT_EQ((*items)[0].flavors[0].data, "y.tif");  // no terminating zero

    // Non-ASCII text arrives byte for byte.
    copyText("Bild \xC3\xBC.tif");
    EXPECT_EQ(desk().clipboardText(), "Bild \xC3\xBC.tif");
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Clipboard),
              (std::vector<std::string>{"clipboard cleared", "clipboard \"y.tif\"", "clipboard cleared",
                                        "clipboard \"Bild \xC3\xBC.tif\""}));
    EXPECT_EQ(desk().openPasteboardReferences(), 0u);

    // Other named pasteboards are not the clipboard: nothing in the transcript.
    const std::size_t lines = desk().transcript().size();
    const PasteboardRef other = createPasteboard("com.example.other");
    clearPasteboard(other);
    putPasteboardFlavor(other, 1, kFlavorUtf8Text, "z", 1);
    releasePasteboard(other);
    EXPECT_EQ(desk().transcript().size(), lines);
    EXPECT_EQ(desk().clipboardText(), "Bild \xC3\xBC.tif");
}

TEST_F(PasteboardTest, OnlyTheClientThatClearedMayPutAndEachFlavourOnce) {
    desk().setClipboardText("from another application");
    const PasteboardRef clipboard = createPasteboard(kClipboardPasteboardName);
    EXPECT_EQ(putPasteboardFlavor(clipboard, 1, kFlavorUtf8Text, "x", 1), -1);  // not cleared by us
    EXPECT_EQ(desk().clipboardText(), "from another application");

    ASSERT_EQ(clearPasteboard(clipboard), 0);
    EXPECT_EQ(pasteboardItemCount(clipboard), 0);
    EXPECT_EQ(desk().clipboardText(), std::nullopt);
    EXPECT_EQ(putPasteboardFlavor(clipboard, 0, kFlavorUtf8Text, "x", 1), -1);  // no item 0
    EXPECT_EQ(putPasteboardFlavor(clipboard, 1, "", "x", 1), -1);
    EXPECT_EQ(putPasteboardFlavor(clipboard, 1, kFlavorUtf8Text, nullptr, 1), -1);
    ASSERT_EQ(putPasteboardFlavor(clipboard, 1, kFlavorUtf8Text, "first", 5), 0);
    EXPECT_EQ(putPasteboardFlavor(clipboard, 1, kFlavorUtf8Text, "second", 6), -1);
    ASSERT_EQ(putPasteboardFlavor(clipboard, 1, "public.tiff", "\0\1\2", 3), 0);  // another flavour, same item
    ASSERT_EQ(putPasteboardFlavor(clipboard, 7, kFlavorUtf8Text, "", 0), 0);     // a second item
    EXPECT_EQ(pasteboardItemCount(clipboard), 2);
    EXPECT_EQ(pasteboardItemIdentifier(clipboard, 2), 7u);
    EXPECT_EQ(flavorOf(clipboard, 1, kFlavorUtf8Text), "first");
    EXPECT_EQ(flavorOf(clipboard, 1, "public.tiff"), std::string("\0\1\2", 3));
    EXPECT_EQ(flavorOf(clipboard, 2, kFlavorUtf8Text), "");

    // Another client clearing takes the pasteboard over.
    const PasteboardRef second = createPasteboard(kClipboardPasteboardName);
    ASSERT_EQ(clearPasteboard(second), 0);
    EXPECT_EQ(putPasteboardFlavor(clipboard, 1, kFlavorUtf8Text, "x", 1), -1);
    EXPECT_EQ(putPasteboardFlavor(second, 1, kFlavorUtf8Text, "x", 1), 0);
    releasePasteboard(clipboard);
    releasePasteboard(second);

    const auto lines = desk().transcript().linesOf(desktop::EntryKind::Clipboard);
    EXPECT_EQ(lines, (std::vector<std::string>{"clipboard cleared", "clipboard \"first\"",
                                               "clipboard public.tiff 3 bytes", "clipboard \"\"",
                                               "clipboard cleared", "clipboard \"x\""}));
}

TEST_F(PasteboardTest, FileUrlsResolveToExistingFilesWithinTheCallersBuffer) {
    TempDir dir;
    const std::string file = dir.file("My Picture 100%.tif");
    writeFile(file, "x");
    std::string url;
    ASSERT_TRUE(desktop::fileUrlFromPath(file, url));

    char path[512];
    EXPECT_EQ(resolveFileUrl(url.data(), url.size(), path, sizeof path), static_cast<std::ptrdiff_t>(file.size()));
    EXPECT_EQ(std::string(path), file);

    // A folder URL ends in "/"; the path does not.
    const desktop::PasteboardItem folderItem = desktop::PasteboardItem::file(dir.path().string());
    const std::string folderUrl = folderItem.find(kFlavorFileUrl)->data;
    EXPECT_EQ(folderUrl.back(), '/');
    EXPECT_EQ(resolveFileUrl(folderUrl.data(), folderUrl.size(), path, sizeof path),
              static_cast<std::ptrdiff_t>(dir.path().string().size()));
    EXPECT_EQ(std::string(path), dir.path().string());

    // A file that went away does not resolve.
    std::string gone;
    ASSERT_TRUE(desktop::fileUrlFromPath(dir.file("gone.tif"), gone));
    EXPECT_EQ(resolveFileUrl(gone.data(), gone.size(), path, sizeof path), -1);

    // A path that does not fit the buffer with its zero is refused, untouched.
    std::memset(path, '#', sizeof path);
    EXPECT_EQ(resolveFileUrl(url.data(), url.size(), path, file.size()), -1);
    EXPECT_EQ(path[0], '#');
    EXPECT_EQ(resolveFileUrl(url.data(), url.size(), path, file.size() + 1),
              static_cast<std::ptrdiff_t>(file.size()));

    // Not file URLs, bad escapes, embedded zeros.
    const std::string bad[] = {"http://x/y", "file:" + file, url + "%2", url.substr(0, 10) + "%zz" + url.substr(10),
                               std::string("file:///tmp\0/x", 14)};
    for (const auto& text : bad) EXPECT_EQ(resolveFileUrl(text.data(), text.size(), path, sizeof path), -1) << text;
    EXPECT_EQ(resolveFileUrl(nullptr, 0, path, sizeof path), -1);
}

}  // namespace
}  // namespace lumbrel::test
