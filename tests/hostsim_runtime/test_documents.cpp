// Documents as the user handles them, and the callbacks around them.
#include "host_fixture.h"

#include "hostsim/model/document_json.h"

#include <filesystem>

namespace hostsim::test {
namespace {

FakeTables* gTables = nullptr;
std::string gSavedPath;
bool gFileExistedAtSave = true;
XTDocID gOpenedDoc = 0;

class DocumentTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        gTables = &fake.tables();
        gOpenedDoc = 0;
    }
};

TEST_F(DocumentTest, OpenSendsTheOpenCallbackWithTheNewDocument) {
    const std::string path = tmp.file("layout.json");
    ASSERT_TRUE(saveDocument(testDocument(), path));
    fake.hook(XT_CB_DOCOPEN, [](void* record) {
        gOpenedDoc = static_cast<XTDocRec*>(record)->docID;
        // The document is current while the module hears of it.
        return gTables->doc.curDocID() == gOpenedDoc ? 0 : 1;
    });
    auto sim = start();
    const OpenResult opened = sim->open(path);
    ASSERT_TRUE(opened.ok()) << opened.message;
    EXPECT_EQ(gOpenedDoc, opened.doc);
    EXPECT_EQ(sim->currentID(), opened.doc);
    EXPECT_EQ(sim->current()->path, path);
    EXPECT_TRUE(transcriptHas("open \"" + path + "\" -> document " + std::to_string(opened.doc)));
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

TEST_F(DocumentTest, ABadFileIsReportedAndNothingOpens) {
    const std::string path = tmp.file("bad.json");
    lumbrel::test::writeFile(path, "{\"format\": \"hostsim-layout\", ");
    auto sim = start();
    const OpenResult opened = sim->open(path);
    EXPECT_FALSE(opened.ok());
    EXPECT_FALSE(opened.message.empty());
    EXPECT_EQ(sim->lastError(), opened.message);
    EXPECT_EQ(sim->currentID(), -1);
    EXPECT_EQ(fake.count(XT_CB_DOCOPEN), 0U);
}

TEST_F(DocumentTest, SaveRunsTheSaveCallbackBeforeWritingAndTheFileReadsBack) {
    const std::string path = tmp.file("saved.json");
    gSavedPath = path;
    fake.hook(XT_CB_DOCSAVE, [](void*) {
        gFileExistedAtSave = std::filesystem::exists(gSavedPath);
        return 0;
    });
    auto sim = start();
    ASSERT_TRUE(sim->newDocument(testDocument(), "Brochure").ok());
    EXPECT_FALSE(sim->save());  // never saved, no path
    EXPECT_EQ(fake.count(XT_CB_DOCSAVE), 0U);
    sim->current()->markChanged();
    ASSERT_TRUE(sim->save(path)) << sim->lastError();
    EXPECT_FALSE(gFileExistedAtSave);
    EXPECT_EQ(sim->current()->changeState, kChangeStateUnchanged);
    EXPECT_EQ(sim->current()->path, path);
    EXPECT_TRUE(transcriptHas("saved \"" + path + "\""));
    const LoadResult back = loadDocument(path);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(*back.document, *sim->current());
    // The host's own Save command saves to the document's path.
    sim->current()->markChanged();
    ASSERT_TRUE(sim->chooseMenu("File>Save"));
    EXPECT_EQ(fake.count(XT_CB_DOCSAVE), 2U);
    EXPECT_EQ(sim->current()->changeState, kChangeStateUnchanged);
}

TEST_F(DocumentTest, ClosingAChangedDocumentAsks) {
    auto sim = start();
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    sim->current()->markChanged();
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    desktop::Desktop::instance().setAgent(agent);
    agent->answerWithButton("Cancel");
    EXPECT_FALSE(sim->close());
    EXPECT_NE(sim->current(), nullptr);
    agent->answerWithButton("Don't Save");
    EXPECT_TRUE(sim->close());
    EXPECT_EQ(sim->current(), nullptr);
    ASSERT_EQ(agent->alertsSeen().size(), 2U);
    EXPECT_EQ(agent->alertsSeen()[0].message, "Save changes to \"Untitled\" before closing?");
    desktop::Desktop::instance().setAgent(nullptr);
}

TEST_F(DocumentTest, SeveralDocumentsWithOneInFront) {
    auto sim = start();
    const XTDocID first = sim->newDocument(testDocument(1), "One").doc;
    const XTDocID second = sim->newDocument(testDocument(2), "Two").doc;
    ASSERT_GE(first, 1);
    ASSERT_GT(second, first);
    EXPECT_EQ(sim->currentID(), second);
    EXPECT_EQ(gTables->spread.numSpreads(), 2);
    ASSERT_TRUE(sim->setCurrent(first));
    EXPECT_EQ(gTables->doc.curDocID(), first);
    EXPECT_EQ(gTables->spread.numSpreads(), 1);
    EXPECT_EQ(gTables->window.curWindow(), gTables->doc.docWindow());
    EXPECT_EQ(sim->documentIDs(), (std::vector<XTDocID>{first, second}));
    EXPECT_FALSE(sim->setCurrent(99));
    ASSERT_TRUE(sim->close());
    EXPECT_EQ(sim->currentID(), second);
    ASSERT_TRUE(sim->close());
    EXPECT_EQ(sim->currentID(), -1);
    EXPECT_EQ(gTables->doc.curDocID(), -1);
    EXPECT_EQ(gTables->doc.docRef(first), -1);
}

}  // namespace
}  // namespace hostsim::test
