// The scripting event ('AMSo') answered by the real module: identifiers
// written by cmd 3 survive a save and a reopen, the walks of cmd 1 and 2
// cover every box of every document spread, and bad requests neither crash
// the module nor make it misuse the host.
#include "integration_fixture.h"

#include "hostsim/model/document_json.h"

#include "xtapi.h"

namespace lumbrel::integration {
namespace {

class ScriptingTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        if (HasFatalFailure()) return;
        startOrFail();
    }

    std::string request(const std::string& xml) {
        const std::optional<std::string> reply = sim().scriptRequest(xml);
        EXPECT_TRUE(reply.has_value()) << xml.substr(0, 200);
        return reply.value_or("");
    }

    const std::string* identifier(hostsim::BoxId box) {
        return sim().current()->slug(box, hostsim::SlugKind::picture, hostsim::fourCC("bDIC"));
    }
};

TEST_F(ScriptingTest, IdentifiersOfTwoBoxesSurviveASaveAndAReopen) {
    openSample();
    EXPECT_EQ(request("<cmd>3</cmd><qid=\"3\">order-1</qid><qid=\"12\">order-2</qid>"), "<cmd>3</cmd>\r");
    // Each box got the text of its own element.
    ASSERT_NE(identifier(kRgbTiffBox), nullptr);
    EXPECT_EQ(*identifier(kRgbTiffBox), "order-1");
    ASSERT_NE(identifier(kPdfBox), nullptr);
    EXPECT_EQ(*identifier(kPdfBox), "order-2");
    EXPECT_EQ(sim().current()->changeState, hostsim::kChangeStateChanged);

    const std::string saved = dir_.file("tagged.json");
    ASSERT_TRUE(sim().save(saved)) << sim().lastError();
    sim().quit();

    // A new host, the module loaded afresh, the saved file opened.
    startOrFail();
    ASSERT_TRUE(sim().open(saved).ok());
    EXPECT_EQ(request("<cmd>2</cmd><qid>12</qid><qid>3</qid><qid>4</qid>"),
              "<cmd>2</cmd>\r<guid qid=\"3\">order-1</guid>\r<guid qid=\"12\">order-2</guid>\r");
    EXPECT_EQ(request("<cmd>1</cmd><x>order-2</x>"), "<cmd>1</cmd>\r<qid guid=\"order-2\">12</qid>\r");
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ScriptingTest, TheWalksCoverEveryDocumentSpreadButNoMaster) {
    openSample();
    // Pictures on all three spreads, the one inside the group included.
    EXPECT_EQ(request("<cmd>3</cmd><qid=\"13\">e13</qid><qid=\"8\">g8</qid><qid=\"3\">p3</qid>"
                      "<qid=\"12\">p12</qid><qid=\"6\">p6</qid>"),
              "<cmd>3</cmd>\r");
    // Boxes of the master spread are never visited, so they get nothing.
    clearAlerts();
    request("<cmd>3</cmd><qid=\"1\">m1</qid><qid=\"2\">m2</qid>");
    EXPECT_EQ(identifier(kMastheadBox), nullptr);
    EXPECT_TRUE(alerts().empty());

    // Chain order, spread after spread, whatever the order of the request.
    EXPECT_EQ(request("<cmd>2</cmd><qid>13</qid><qid>12</qid><qid>8</qid><qid>6</qid><qid>3</qid><qid>1</qid>"
                      "<qid>4</qid>"),
              "<cmd>2</cmd>\r<guid qid=\"3\">p3</guid>\r<guid qid=\"6\">p6</guid>\r<guid qid=\"8\">g8</guid>\r"
              "<guid qid=\"12\">p12</guid>\r<guid qid=\"13\">e13</guid>\r");
    EXPECT_EQ(request("<cmd>1</cmd><a>e13</a><a>p3</a><a>m1</a><a>g8</a>"),
              "<cmd>1</cmd>\r<qid guid=\"p3\">3</qid>\r<qid guid=\"g8\">8</qid>\r<qid guid=\"e13\">13</qid>\r");
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ScriptingTest, ABoxWithoutPictureSlugsGetsTheHostsErrorDisplay) {
    openSample();
    // Identifiers live with pictures: the host refuses one for a text box and
    // the module hands the error to the host's error display.
    clearAlerts();
    EXPECT_EQ(request("<cmd>3</cmd><qid=\"4\">t4</qid>"), "<cmd>3</cmd>\r");
    EXPECT_EQ(alerts().size(), 1U) << ::testing::PrintToString(alertLines());
    EXPECT_EQ(request("<cmd>2</cmd><qid>4</qid>"), "<cmd>2</cmd>\r");
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ScriptingTest, TheAnyBoxWalkGoesOverAllFiveSpreads) {
    ASSERT_TRUE(sim().newDocument(spreadsDocument(5)).ok());
    std::string tag = "<cmd>3</cmd>";
    std::string ask = "<cmd>2</cmd>";
    std::string expected = "<cmd>2</cmd>\r";
    for (const hostsim::BoxId box : {1, 3, 5, 7, 9}) {  // the picture box of every spread
        const std::string id = std::to_string(box);
        tag += "<qid=\"" + id + "\">id-" + id + "</qid>";
        ask += "<qid>" + id + "</qid>";
        expected += "<guid qid=\"" + id + "\">id-" + id + "</guid>\r";
    }
    request(tag);
    EXPECT_EQ(request(ask), expected);
}

TEST_F(ScriptingTest, OtherCommandsAndNoDocumentGiveTheCommandOnly) {
    EXPECT_EQ(request("<cmd>2</cmd><qid>3</qid>"), "<cmd>2</cmd>\r");  // no document: nothing walked
    EXPECT_EQ(request("<cmd>3</cmd><qid=\"3\">x</qid>"), "<cmd>3</cmd>\r");
    openSample();
    request("<cmd>3</cmd><qid=\"3\">x</qid>");
    EXPECT_EQ(request("<cmd>4</cmd><qid>3</qid>"), "<cmd>4</cmd>\r");
    EXPECT_EQ(request("<cmd>-7</cmd>"), "<cmd>-7</cmd>\r");
    EXPECT_EQ(request("<qid>3</qid>"), "<cmd>0</cmd>\r");  // without cmd
    EXPECT_EQ(request(""), "<cmd>0</cmd>\r");
    // No direct parameter at all: no reply.
    EXPECT_FALSE(sim().scriptRequest(std::nullopt, XT_FOURCC('A', 'M', 'S', 'o'), XT_FOURCC('A', 'M', 'S', 'o')));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ScriptingTest, IdentifiersAreCutAt255BytesAndEndAtTheNextTag) {
    openSample();
    const std::string long300(300, 'a');
    request("<cmd>3</cmd><qid=\"3\">" + long300 + "</qid><qid=\"5\">left<right</qid><qid=\"6\"></qid><qid=\"7\">tail");
    ASSERT_NE(identifier(kRgbTiffBox), nullptr);
    EXPECT_EQ(*identifier(kRgbTiffBox), std::string(255, 'a'));
    ASSERT_NE(identifier(kCmykTiffBox), nullptr);
    EXPECT_EQ(*identifier(kCmykTiffBox), "left");
    EXPECT_EQ(identifier(kGreyTiffBox), nullptr);  // empty text: nothing stored
    ASSERT_NE(identifier(kJpegBox), nullptr);
    EXPECT_EQ(*identifier(kJpegBox), "tail");  // the request's end ends the text

    // A 300-byte identifier in a cmd 1 request matches nothing and breaks nothing.
    EXPECT_EQ(request("<cmd>1</cmd><x>" + long300 + "</x>"), "<cmd>1</cmd>\r");
    EXPECT_EQ(request("<cmd>1</cmd><x>" + std::string(255, 'a') + "</x>"),
              "<cmd>1</cmd>\r<qid guid=\"" + std::string(255, 'a') + "\">3</qid>\r");
    EXPECT_EQ(request("<cmd>2</cmd><qid>3</qid>"), "<cmd>2</cmd>\r<guid qid=\"3\">" + std::string(255, 'a') + "</guid>\r");
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// An identifier is text: the request writes it as XML does, the reply too,
// and the partner gets back the identifier it set, in well-formed XML.
TEST_F(ScriptingTest, IdentifiersWithMarkupCharactersComeBackAsTheSameIdentifier) {
    openSample();
    std::string quotes;
    for (int i = 0; i < 256; ++i) quotes += "&quot;";
    request("<cmd>3</cmd><qid=\"3\">x&quot; evil=&quot;1</qid><qid=\"5\">a&lt;b&gt;c &amp; d&apos;s</qid>"
            "<qid=\"6\">plain-6</qid><qid=\"7\">R&D &copy;</qid><qid=\"8\">" + quotes + "</qid>");
    const struct {
        hostsim::BoxId box;
        std::string stored, written;  // as kept in the slug, as in a reply
    } rows[] = {
        {kRgbTiffBox, "x\" evil=\"1", "x&quot; evil=&quot;1"},
        {kCmykTiffBox, "a<b>c & d's", "a&lt;b&gt;c &amp; d's"},
        {kGreyTiffBox, "plain-6", "plain-6"},
        {kJpegBox, "R&D &copy;", "R&amp;D &amp;copy;"},  // no entity of the five: taken as it stands
        {kCmykEpsBox, std::string(255, '"'), quotes.substr(6)},  // read first, then cut to 255 bytes
    };
    std::string ask = "<cmd>2</cmd>", replyTwo = "<cmd>2</cmd>\r", find = "<cmd>1</cmd>", replyOne = "<cmd>1</cmd>\r";
    for (const auto& row : rows) {
        const std::string id = std::to_string(row.box);
        ASSERT_NE(identifier(row.box), nullptr) << id;
        EXPECT_EQ(*identifier(row.box), row.stored);
        ask += "<qid>" + id + "</qid>";
        replyTwo += "<guid qid=\"" + id + "\">" + row.written + "</guid>\r";
        find += "<guid>" + row.written + "</guid>";
        replyOne += "<qid guid=\"" + row.written + "\">" + id + "</qid>\r";
    }
    EXPECT_EQ(request(ask), replyTwo);
    EXPECT_EQ(request(find), replyOne);
    // XML text may hold '"', '>' and "'" as they are; identifiers written
    // without any escaping are still found as before.
    for (const char* form : {"<guid>x\" evil=\"1</guid><guid>a&lt;b>c &amp; d's</guid>",
                             "<guid>x\" evil=\"1</guid><guid>a<b>c & d's</guid>"}) {
        EXPECT_EQ(request(std::string("<cmd>1</cmd>") + form),
                  "<cmd>1</cmd>\r<qid guid=\"x&quot; evil=&quot;1\">3</qid>\r<qid guid=\"a&lt;b&gt;c &amp; d's\">5</qid>\r");
    }
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ScriptingTest, AOneMegabyteRequestIsAnsweredWhole) {
    openSample();
    std::string big = "<cmd>3</cmd>";
    big += "<qid=\"3\">big-3</qid>";
    big.append(1048576 - big.size() - 20, 'x');
    big += "<qid=\"13\">big-13</qid>";
    ASSERT_GE(big.size(), 1048576U);
    EXPECT_EQ(request(big), "<cmd>3</cmd>\r");
    ASSERT_NE(identifier(kRgbTiffBox), nullptr);
    ASSERT_NE(identifier(kEmptyPictureBox), nullptr);
    EXPECT_EQ(*identifier(kEmptyPictureBox), "big-13");

    std::string ask = "<cmd>2</cmd>" + std::string(1048576, '<') + "<qid>13</qid>";
    EXPECT_EQ(request(ask), "<cmd>2</cmd>\r<guid qid=\"13\">big-13</guid>\r");
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ScriptingTest, AFullReplyStopsAddingElementsBeforeItsEnd) {
    // 200 boxes with 255-byte identifiers would need about 55 KB of reply.
    hostsim::Document doc = spreadsDocument(1);
    std::string ask = "<cmd>2</cmd>";
    for (int i = 0; i < 200; ++i) {
        const hostsim::BoxId box = doc.addBox(1, hostsim::kBoxPicture, hostsim::Rect{0.0, 0.0, 10.0, 10.0});
        doc.setSlug(box, hostsim::SlugKind::picture, hostsim::fourCC("bDIC"), std::string(250, 'g') + std::to_string(1000 + i));
        ask += "<qid>" + std::to_string(box) + "</qid>";
    }
    ASSERT_TRUE(sim().newDocument(std::move(doc)).ok());
    const std::string reply = request(ask);
    EXPECT_LE(reply.size(), 16384U);
    EXPECT_GT(reply.size(), 16384U - 100U - 300U);
    // Whole elements only.
    EXPECT_EQ(reply.back(), '\r');
    EXPECT_EQ(reply.rfind("</guid>\r"), reply.size() - 8);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

}  // namespace
}  // namespace lumbrel::integration
