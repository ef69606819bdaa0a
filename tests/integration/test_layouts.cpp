// Layout files as the host opens them with the module running: the sample
// is what the host would import from its picture files, bad files are
// refused with a clear message and leave the open documents alone, and a
// 100,000-box layout opens and is walked by the module.
#include "integration_fixture.h"

#include "hostsim/model/document_json.h"
#include "hostsim/model/picture_probe.h"
#include "hostsim/model/sample_document.h"

#include <filesystem>

namespace lumbrel::integration {
namespace {

TEST(SampleLayout, RecordsWhatTheHostFindsInItsPictureFiles) {
    const hostsim::LoadResult loaded = hostsim::loadDocument(samplePath());
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    const hostsim::Document& doc = *loaded.document;
    EXPECT_EQ(doc.numSpreads(), 3);
    EXPECT_EQ(doc.numMasterSpreads(), 1);
    EXPECT_EQ(doc.numPages(), 5);
    EXPECT_TRUE(doc.facingPages);
    EXPECT_EQ(doc.projectName, "Lumbrel Sample");
    int pictures = 0;
    for (const auto& [id, box] : doc.boxes()) {
        if (!box.picture()) continue;
        ++pictures;
        hostsim::Picture recorded = *box.picture();
        const std::string file = samplePicture(std::filesystem::path(recorded.path).filename().string());
        hostsim::ImportOptions options;
        if (recorded.pdf) {
            options.pdfPage = recorded.pdf->page;
            options.pdfBox = recorded.pdf->pageBox;
        }
        hostsim::ProbeResult probed = hostsim::probePicture(file, options);
        ASSERT_EQ(probed.status, hostsim::kNoErr) << file << ": " << probed.message;
        // The path as written and the import time are the layout's own.
        probed.picture.path = recorded.path;
        EXPECT_EQ(probed.picture.imported.size, recorded.imported.size) << file;
        probed.picture.imported = recorded.imported;
        EXPECT_EQ(probed.picture, recorded) << file;
    }
    EXPECT_EQ(pictures, 8);  // and one empty picture box
}

TEST(SampleLayout, IsInTheHostsOwnFileForm) {
    // Opening and saving it unchanged gives the same bytes.
    const std::string text = test::readFile(samplePath());
    const hostsim::LoadResult loaded = hostsim::parseDocument(text, "sample.json");
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    std::string saved;
    ASSERT_TRUE(hostsim::documentToJson(*loaded.document, saved));
    EXPECT_EQ(saved, text);
}

class LayoutTest : public ModuleTest {
protected:
    // Opens a file that must be refused; the message must contain `reason`.
    void expectRefused(const std::string& name, const std::string& text, const std::string& reason) {
        const std::string path = dir_.file(name);
        test::writeFile(path, text);
        const XTDocID before = sim().currentID();
        const std::size_t open = sim().documentIDs().size();
        const hostsim::OpenResult opened = sim().open(path);
        EXPECT_FALSE(opened.ok()) << name;
        EXPECT_NE(opened.message.find(path), std::string::npos) << opened.message;
        EXPECT_NE(opened.message.find(reason), std::string::npos) << opened.message;
        EXPECT_EQ(sim().currentID(), before) << name;
        EXPECT_EQ(sim().documentIDs().size(), open) << name;
    }
};

TEST_F(LayoutTest, BadFilesAreRefusedWithTheirReasonAndNothingOfTheOpenDocumentIsLost) {
    logOn();
    startOrFail();
    openSample();
    const std::string before = logText();
    std::string good;
    ASSERT_TRUE(hostsim::documentToJson(*sim().current(), good));
    const std::string sample = test::readFile(samplePath());

    expectRefused("truncated.json", sample.substr(0, sample.size() / 2), "not valid JSON");
    expectRefused("empty.json", "", "empty");

    std::string unknownKind = sample;
    const std::string textKind = "\"id\":4,\"kind\":\"text\"";
    ASSERT_NE(unknownKind.find(textKind), std::string::npos);
    unknownKind.replace(unknownKind.find(textKind), textKind.size(), "\"id\":4,\"kind\":\"table\"");
    expectRefused("unknown-kind.json", unknownKind, "/spreads/0/boxes/1");
    expectRefused("unknown-kind.json", unknownKind, "table");

    std::string duplicate = sample;
    const std::string line = "{\"id\":9,\"kind\":\"line\"";
    ASSERT_NE(duplicate.find(line), std::string::npos);
    duplicate.replace(duplicate.find(line), line.size(), "{\"id\":6,\"kind\":\"line\"");
    expectRefused("duplicate-id.json", duplicate, "box id 6 is used twice");

    expectRefused("not-a-layout.json", "{\"format\": \"something-else\", \"version\": 1}", "not a layout document");

    // The open callback ran for none of them, and the sample is as it was.
    EXPECT_EQ(logText(), before);
    std::string after;
    ASSERT_TRUE(hostsim::documentToJson(*sim().current(), after));
    EXPECT_EQ(after, good);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(LayoutTest, AHundredThousandBoxLayoutOpensAndIsWalked) {
    hostsim::SampleSpec spec;
    spec.spreads = 1000;
    spec.boxesPerSpread = 100;
    spec.pictureFolder = dir_.file("pictures");
    const hostsim::Document doc = hostsim::makeSampleDocument(spec);
    ASSERT_GE(doc.boxCount(), 100000U);
    const std::string path = dir_.file("big.json");
    ASSERT_TRUE(hostsim::saveDocument(doc, path));

    logOn();
    startOrFail();
    const hostsim::OpenResult opened = sim().open(path);
    ASSERT_TRUE(opened.ok()) << opened.message;
    EXPECT_NE(logText().find("doOpen\r"), std::string::npos);
    EXPECT_EQ(sim().current()->boxCount(), doc.boxCount());

    // The last spread's first box carries an identifier: the walk reaches it.
    const hostsim::BoxId last = sim().current()->firstBox(sim().current()->numSpreads());
    const std::string* guid = sim().current()->slug(last, hostsim::SlugKind::picture, hostsim::fourCC("bDIC"));
    ASSERT_NE(guid, nullptr);
    const std::optional<std::string> reply = sim().scriptRequest("<cmd>2</cmd><qid>" + std::to_string(last) + "</qid>");
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, "<cmd>2</cmd>\r<guid qid=\"" + std::to_string(last) + "\">" + *guid + "</guid>\r");
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

}  // namespace
}  // namespace lumbrel::integration
