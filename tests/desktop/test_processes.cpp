#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop_fixture.h"
#include "platform/processes.h"
#include "support/test_support.h"

namespace lumbrel::test {
namespace {

using namespace lumbrel::platform;

class ProcessTest : public DesktopTest {};

TEST_F(ProcessTest, OpeningDocumentsIsRecordedAndBringsANamedApplicationForward) {
    TempDir dir;
    const std::string list = dir.file("Image list.txt");
    const std::string app = dir.file("Edit.app");
    writeFile(list, "x");
    std::filesystem::create_directory(app);
    desk().setHostName("Layout");

    EXPECT_EQ(openDocument(list.c_str(), nullptr), 0);
    EXPECT_EQ(desk().frontProcess(), "Layout");  // the default application is not modelled
    EXPECT_EQ(openDocument(list.c_str(), app.c_str()), 0);
    EXPECT_EQ(desk().frontProcess(), "Edit");
    EXPECT_EQ(openDocument(list.c_str(), app.c_str()), 0);  // already in front: no new line

    ASSERT_EQ(desk().openedDocuments().size(), 3u);
    EXPECT_EQ(desk().openedDocuments()[0].document, list);
    EXPECT_EQ(desk().openedDocuments()[0].application, "");
    EXPECT_EQ(desk().openedDocuments()[1].application, app);
    EXPECT_EQ(desk().transcript().render(),
              "open \"" + list + "\" with default application\n"
              "open \"" + list + "\" with \"" + app + "\"\n"
              "front \"Edit\"\n"
              "open \"" + list + "\" with \"" + app + "\"\n");
}

TEST_F(ProcessTest, OpeningByCreatorFindsTheInstalledApplicationOfThatCreator) {
    TempDir dir;
    const std::string list = dir.file("list.txt");
    writeFile(list, "x");
    const std::string missing = dir.file("gone.txt");

    EXPECT_EQ(openDocumentWithCreator(list.c_str(), kFileTypeText, 0x522A6368), 0);  // 'R*ch'
    EXPECT_EQ(desk().frontProcess(), "BBEdit");
    EXPECT_EQ(openDocumentWithCreator(list.c_str(), kFileTypeText, 0x58585858), -1);  // 'XXXX'
    EXPECT_EQ(openDocumentWithCreator(missing.c_str(), kFileTypeText, 0x74747874), -1);
    ASSERT_EQ(desk().openedDocuments().size(), 1u);
    EXPECT_EQ(desk().openedDocuments()[0].application, "/Applications/BBEdit.app");
    EXPECT_EQ(desk().openedDocuments()[0].creator, 0x522A6368u);
    EXPECT_EQ(desk().openedDocuments()[0].type, kFileTypeText);
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Open),
              (std::vector<std::string>{
                  "open \"" + list + "\" with \"/Applications/BBEdit.app\" (type TEXT, creator R*ch)",
                  "open \"" + list + "\" with the application of its creator (type TEXT, creator XXXX) failed: "
                  "no application has that creator",
                  "open \"" + missing + "\" with \"/Applications/TextEdit.app\" (type TEXT, creator ttxt) failed: "
                  "no such file",
              }));
}

TEST_F(ProcessTest, OpeningByCreatorWithoutATypeLeavesTheTypeOut) {
    TempDir dir;
    const std::string picture = dir.file("a.tif");
    writeFile(picture, "x");
    EXPECT_EQ(openDocumentWithCreator(picture.c_str(), 0, 0x74747874), 0);  // 'ttxt'
    ASSERT_EQ(desk().openedDocuments().size(), 1u);
    EXPECT_EQ(desk().openedDocuments()[0].type, 0u);
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Open),
              std::vector<std::string>{"open \"" + picture + "\" with \"/Applications/TextEdit.app\" (creator ttxt)"});
}

TEST_F(ProcessTest, MissingDocumentsAndApplicationsFailAndAreNotCounted) {
    TempDir dir;
    const std::string doc = dir.file("a.tif");
    writeFile(doc, "x");
    const std::string missing = dir.file("gone.tif");
    const std::string noApp = dir.file("None.app");

    EXPECT_EQ(openDocument(missing.c_str(), nullptr), -1);
    EXPECT_EQ(openDocument(doc.c_str(), noApp.c_str()), -1);
    EXPECT_EQ(openDocument(nullptr, nullptr), -1);
    EXPECT_EQ(openDocument("", nullptr), -1);
    EXPECT_EQ(revealInFileManager(missing.c_str()), -1);
    EXPECT_EQ(revealInFileManager(nullptr), -1);
    EXPECT_TRUE(desk().openedDocuments().empty());
    EXPECT_TRUE(desk().revealedFiles().empty());
    EXPECT_EQ(desk().frontProcess(), "Host");
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Open),
              (std::vector<std::string>{
                  "open \"" + missing + "\" with default application failed: no such file",
                  "open \"" + doc + "\" with \"" + noApp + "\" failed: no such application",
                  "open \"\" with default application failed: no such file",
                  "open \"\" with default application failed: no such file",
              }));
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Reveal),
              (std::vector<std::string>{"reveal \"" + missing + "\" failed: no such file",
                                        "reveal \"\" failed: no such file"}));
}

TEST_F(ProcessTest, RevealingShowsTheFileManager) {
    TempDir dir;
    const std::string doc = dir.file("a b.tif");
    writeFile(doc, "x");
    EXPECT_EQ(revealInFileManager(doc.c_str()), 0);
    EXPECT_EQ(desk().revealedFiles(), std::vector<std::string>{doc});
    EXPECT_EQ(desk().frontProcess(), desktop::kFileManagerName);
    EXPECT_EQ(desk().transcript().render(), "reveal \"" + doc + "\"\nfront \"Finder\"\n");
}

TEST_F(ProcessTest, TheFrontProcessIsRememberedAndBroughtBack) {
    desk().setHostName("Layout");
    desk().bringToFront("Print Centre");
    ProcessRef previous = ProcessRef::None;
    EXPECT_EQ(bringApplicationToFront(kCreatorThisHost, &previous), 0);
    EXPECT_EQ(desk().frontProcess(), "Layout");
    EXPECT_NE(previous, ProcessRef::None);
    EXPECT_EQ(bringProcessToFront(previous), 0);
    EXPECT_EQ(desk().frontProcess(), "Print Centre");

    // Nothing remembered, or no such application: nothing changes.
    EXPECT_EQ(bringProcessToFront(ProcessRef::None), -1);
    EXPECT_EQ(bringApplicationToFront(0x54455854, nullptr), -1);  // 'TEXT'
    EXPECT_EQ(desk().frontProcess(), "Print Centre");
    EXPECT_EQ(bringApplicationToFront(kCreatorFileManager, nullptr), 0);
    EXPECT_EQ(desk().frontProcess(), "Finder");

    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Front),
              (std::vector<std::string>{"front \"Print Centre\"", "front \"Layout\"", "front \"Print Centre\"",
                                        "front \"Finder\""}));

    // Processes remembered before a reset are gone with it.
    desk().reset();
    EXPECT_EQ(bringProcessToFront(previous), -1);
    EXPECT_EQ(desk().frontProcess(), "Host");
}

}  // namespace
}  // namespace lumbrel::test
