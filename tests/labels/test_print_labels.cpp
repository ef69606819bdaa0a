// Labels in print output: the question per job, the PostScript snippet byte
// for byte, the font program once per job, and input that must not break
// the job.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "labels/label_draw.h"
#include "labels/label_fixture.h"
#include "labels/labels.h"
#include "labels/ps_output.h"
#include "settings/resources.h"
#include "support/test_support.h"

namespace lumbrel::test {
namespace {

class PrintLabelTest : public LabelFixture {
protected:
    void SetUp() override {
        LabelFixture::SetUp();
        labelState().mode = kLabelsFileName;
        host().outputKind = XT_OUTPUT_POSTSCRIPT;
    }

    // A job that prints labels without a question.
    void printingJob() {
        usePrefs("[Labels]\rAsk=0\r");
        jobStart();
        ASSERT_TRUE(labelState().printNames);
    }

    static std::string snippet(const std::string& font, const std::string& body) {
        return lines("\rgsave\r") + font + lines(body);
    }
};

const std::string kAbcBody =
    "/__f1 findfont [8 0 0 -8 0 0] makefont setfont\r"
    "1 setgray 101.00 190.60 (abc) stringwidth pop 8 rectfill\r"
    "0 setgray 101.00 197.00 moveto\r(abc) show\r"
    "grestore\r\r";

TEST_F(PrintLabelTest, WorkedExampleWithoutTheFontResource) {
    printingJob();
    pictureBox(1, 100, 200, "/Volumes/Jobs/abc");
    draw(1);
    EXPECT_EQ(host().postScript, snippet("", kAbcBody));
    EXPECT_TRUE(labelState().fontSent) << "the font is tried once per job, found or not";
    EXPECT_TRUE(host().fills.empty());
    EXPECT_TRUE(host().fontInstances.empty());
}

TEST_F(PrintLabelTest, FontProgramGoesOutBeforeTheFirstLabelOfEachJob) {
    setResourceFolder(sourcePath("resources").c_str());
    const std::string font = readFile(sourcePath("resources/f1.ps"));
    ASSERT_GT(font.size(), 1000U);
    pictureBox(1, 100, 200, "/Volumes/Jobs/abc");

    printingJob();
    draw(1);
    EXPECT_EQ(host().postScript, snippet(font, kAbcBody));
    host().postScript.clear();
    draw(1);
    EXPECT_EQ(host().postScript, snippet("", kAbcBody)) << "the second label goes straight to findfont";
    jobEnd();

    host().postScript.clear();
    printingJob();
    draw(1);
    EXPECT_EQ(host().postScript, snippet(font, kAbcBody)) << "a new job sends the font again";
}

TEST_F(PrintLabelTest, SettingsChangeFontSizeAndOffset) {
    usePrefs("[Labels]\rFontName=Helvetica\rFontSize=12\rOffset=-5.9\r");
    setupDrawLabel();
    printingJob();
    pictureBox(1, 10, 20, "Disk:Folder:pic (1).tif");
    draw(1);
    // y = 20 - 5 = 15; top of the background 15 - 0.8 * 12 = 5.4.
    EXPECT_EQ(host().postScript, snippet("", "/Helvetica findfont [12 0 0 -12 0 0] makefont setfont\r"
                                             "1 setgray 11.00 5.40 (pic \\(1\\).tif) stringwidth pop 12 rectfill\r"
                                             "0 setgray 11.00 15.00 moveto\r(pic \\(1\\).tif) show\r"
                                             "grestore\r\r"));
}

TEST_F(PrintLabelTest, NegativeCoordinatesAndFractions) {
    printingJob();
    host().addBox(1, 1, XT_BOX_PICTURE, XTFixedRect{-10 * kPt, -50 * kPt - kPt / 2, 0, 0}, "/x/n.tif");
    draw(1);
    EXPECT_NE(host().postScript.find("1 setgray -49.50 -19.40 (n.tif)"), std::string::npos) << host().postScript;
    EXPECT_NE(host().postScript.find("0 setgray -49.50 -13.00 moveto"), std::string::npos) << host().postScript;
}

TEST_F(PrintLabelTest, BackslashesAndParenthesesAreEscaped) {
    printingJob();
    const std::string name = "a(b))\\c((.tif";
    pictureBox(1, 0, 0, "/x/" + name);
    draw(1);
    EXPECT_NE(host().postScript.find("(a\\(b\\)\\)\\\\c\\(\\(.tif) show"), std::string::npos) << host().postScript;
    std::vector<std::string> strings;
    ASSERT_TRUE(psStrings(host().postScript, &strings));
    EXPECT_EQ(strings, (std::vector<std::string>{name, name}));
}

TEST_F(PrintLabelTest, LongPathWithControlAndHighBytesStaysOneString) {
    printingJob();
    labelState().mode = kLabelsShift;  // the whole path
    std::string path = "/";
    std::string printed = "/";
    const std::string piece = "\\(\r\n\t\x01\xE9\xFF)";
    while (path.size() + piece.size() <= 511) {
        path += piece;
        printed += "\\(\r\n\t\x01?" "?)";  // the two bytes are no UTF-8
    }
    printed += std::string(511 - path.size(), ')');
    path.resize(511, ')');
    pictureBox(1, 0, 0, path);
    draw(1);
    std::vector<std::string> strings;
    ASSERT_TRUE(psStrings(host().postScript, &strings));
    ASSERT_EQ(strings.size(), 2U);
    EXPECT_EQ(strings[0], printed);
    EXPECT_EQ(strings[1], printed);
    EXPECT_EQ(host().postScript.substr(host().postScript.size() - lines("grestore\r\r").size()), lines("grestore\r\r"));
}

// The label font reads code page 1252; names arrive as UTF-8 in either
// Unicode form. Inside the string literal every byte from 0x80 up and every
// control byte is an octal escape.
TEST_F(PrintLabelTest, NamesAreWrittenInTheFontsCodePageAsOctalEscapes) {
    const struct {
        const char* name;     // UTF-8, as the host reports it
        const char* literal;  // between the parentheses of the snippet
    } rows[] = {
        {"abc ~!.tif", "abc ~!.tif"},
        {"B\xC3\xA4rbel Gr\xC3\xB6\xC3\x9F" "e.tif", "B\\344rbel Gr\\366\\337e.tif"},        // composed
        {"Ba\xCC\x88rbel Gro\xCC\x88\xC3\x9F" "e.tif", "B\\344rbel Gr\\366\\337e.tif"},      // decomposed
        {"caf\xC3\xA9 \xE2\x82\xAC" "5", "caf\\351 \\2005"},                                  // the euro is 0x80
        {"\xE2\x80\x9Cq\xE2\x80\x9D \xC5\x93 \xE2\x84\xA2", "\\223q\\224 \\234 \\231"},       // from the 0x80 block
        {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1.tif", "?????.tif"},                         // Greek: one "?" each
        {"\xF0\x9F\x93\xB7 \xE4\xB8\xAD \xC2\x81", "? ? ?"},                                 // no such character
        {"q\xCC\x83", "q?"},                                 // no composed form: the mark alone is lost
        {"bad\xFF\xFE\xC3", "bad???"},                       // no UTF-8: one "?" per byte
        {"a\r%%EOF\rb\n\t\x01\x7F", "a\\015%%EOF\\015b\\012\\011\\001\\177"},
        {"(x)\\", "\\(x\\)\\\\"},
    };
    printingJob();
    XTBoxID box = 0;
    for (const auto& row : rows) {
        host().postScript.clear();
        pictureBox(++box, 0, 0, std::string("/x/") + row.name);
        draw(box);
        const std::string literal = std::string("(") + row.literal + ")";
        EXPECT_NE(host().postScript.find(literal + " stringwidth pop"), std::string::npos) << host().postScript;
        EXPECT_NE(host().postScript.find(lines("moveto\r") + literal + lines(" show\r")), std::string::npos)
            << host().postScript;
        // 7-bit, and the only control bytes are the snippet's own line ends.
        EXPECT_EQ(std::count_if(host().postScript.begin(), host().postScript.end(),
                                [](char c) {
                                    const auto byte = static_cast<unsigned char>(c);
                                    return (byte < 0x20 || byte >= 0x7F) && c != '\r' && c != '\n';
                                }),
                  0)
            << row.name;
    }
}

TEST_F(PrintLabelTest, UnusableFontNamesFallBackToTheLabelFont) {
    for (const char* bad : {"My Font", "Font/Bold", "a(b", "", "Tab\there", "%comment"}) {
        EXPECT_STREQ(printLabelFontName(bad), "__f1") << bad;
    }
    EXPECT_STREQ(printLabelFontName("Helvetica-Bold"), "Helvetica-Bold");

    usePrefs("[Labels]\rFontName=" + std::string(40, 'F') + "\r");
    setupDrawLabel();
    printingJob();
    pictureBox(1, 0, 0, "/x/a");
    draw(1);
    EXPECT_NE(host().postScript.find("/" + std::string(31, 'F') + " findfont"), std::string::npos);
    EXPECT_EQ(host().postScript.find(std::string(32, 'F')), std::string::npos);

    host().postScript.clear();
    usePrefs("[Labels]\rFontName=Times Roman\rAsk=0\r");
    setupDrawLabel();
    draw(1);
    EXPECT_NE(host().postScript.find(lines("\r/__f1 findfont")), std::string::npos) << host().postScript;
}

TEST_F(PrintLabelTest, FontSizesOutsideTheUsableRange) {
    EXPECT_EQ(printLabelSize(0), 8);
    EXPECT_EQ(printLabelSize(-4), 8);
    EXPECT_EQ(printLabelSize(1), 1);
    EXPECT_EQ(printLabelSize(1000), 1000);
    EXPECT_EQ(printLabelSize(10000), 1000);

    usePrefs("[Labels]\rFontSize=-12\rAsk=0\r");
    setupDrawLabel();
    jobStart();
    pictureBox(1, 100, 200, "/x/abc");
    draw(1);
    EXPECT_EQ(host().postScript, snippet("", kAbcBody)) << "no \"--12\" in the matrix";

    host().postScript.clear();
    usePrefs("[Labels]\rFontSize=10000\rOffset=zero\rAsk=0\r");
    setupDrawLabel();
    EXPECT_EQ(labelState().printOffset, 0);
    draw(1);
    EXPECT_NE(host().postScript.find("[1000 0 0 -1000 0 0]"), std::string::npos);
    EXPECT_NE(host().postScript.find("1 setgray 101.00 -600.00 (abc) stringwidth pop 1000 rectfill"),
              std::string::npos)
        << host().postScript;
}

TEST_F(PrintLabelTest, NoAnswerSuppressesLabelsInEveryOutput) {
    useStrings();
    agent->answerWithButton("No");
    jobStart();
    ASSERT_EQ(alerts().size(), 1U);
    pictureBox(1, 0, 0, "/x/a.tif");
    draw(1);
    host().outputKind = XT_OUTPUT_DEVICE;
    draw(1);
    EXPECT_TRUE(host().postScript.empty());
    EXPECT_TRUE(host().fills.empty());
    EXPECT_TRUE(host().texts.empty());
    jobEnd();

    host().outputKind = XT_OUTPUT_SCREEN;
    draw(1);
    EXPECT_EQ(host().texts.size(), 1U) << "after the job the screen shows labels again";
}

TEST_F(PrintLabelTest, DeviceOutputDrawsLikeTheScreen) {
    host().outputKind = XT_OUTPUT_DEVICE;
    printingJob();
    pictureBox(1, 100, 200, "/x/abc");
    draw(1);
    EXPECT_TRUE(host().postScript.empty());
    ASSERT_EQ(host().texts.size(), 1U);
    EXPECT_EQ(host().texts[0].units, u"abc");
    ASSERT_EQ(host().fills.size(), 1U);
    EXPECT_DOUBLE_EQ(host().fills[0].left, 102.0);
}

TEST_F(PrintLabelTest, AskZeroPrintsWithoutQuestionAndLabelsOffAskNothing) {
    useStrings();
    usePrefs("[Labels]\rAsk=0\r");
    pictureBox(1, 0, 0, "/x/a.tif");
    jobStart();
    draw(1);
    EXPECT_TRUE(alerts().empty());
    EXPECT_FALSE(host().postScript.empty());
    jobEnd();

    host().postScript.clear();
    host().psOutputCalls = 0;
    usePrefs("[Labels]\rAsk=1\r");
    labelState().mode = kLabelsOff;
    jobStart();
    draw(1);
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(host().postScript.empty());
    EXPECT_EQ(host().psOutputCalls, 0);
}

TEST(PsOutput, FixedTwoDecimalsRoundLikePrintf) {
    const double values[] = {0.0,    0.005,  0.015,   0.125,    0.375,   2.675,   -0.005, -0.004,
                             190.6F, 197.0F, -19.4F,  1e6 + .5, -49.995, 12345.678, 1.0 / 3.0, 0.995};
    for (const double v : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.2f", v);
        EXPECT_EQ(formatFixed2(v), expected) << v;
    }
    EXPECT_EQ(formatFixed2(std::nan("")), "0.00");
}

TEST(PsOutput, FixedTwoDecimalsIgnoreTheLocale) {
    const char* const names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "German"};
    const char* chosen = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
    char comma[16];
    std::snprintf(comma, sizeof comma, "%.2f", 1.5);
    const std::string fixed = formatFixed2(101.0);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_STREQ(comma, "1,50") << chosen << " does use a comma";
    EXPECT_EQ(fixed, "101.00");
}

TEST_F(PrintLabelTest, PrintfCutsAt4095BytesAndSendStopsAtNul) {
    const std::string big(5000, 'x');
    EXPECT_EQ(psPrintf("%s!", big.c_str()), 0);
    EXPECT_EQ(host().postScript, std::string(4095, 'x'));
    host().postScript.clear();
    EXPECT_EQ(psSend("ab\0cd", 0), 0);
    EXPECT_EQ(psSend("ab\0cd", 5), 0);
    EXPECT_EQ(host().postScript, std::string("ab") + std::string("ab\0cd", 5));
}

}  // namespace
}  // namespace lumbrel::test
