// The output image checks: which pictures prompt, EPS header reading, and
// Cancel ending the walk.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "host/module_fixture.h"
#include "host/output_checks.h"

namespace lumbrel::test {
namespace {

std::string binaryEPS(std::uint32_t offset, const std::string& postscript) {
    std::string bytes = "\xC5\xD0\xD3\xC6";
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((offset >> (8 * i)) & 0xFFU);
    bytes.resize(offset, '\0');
    return bytes + postscript;
}

class OutputCheckTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        useStrings();
        ASSERT_EQ(start(), 0);
    }

    XTBoxID picture(const std::string& name, OSType space = 0, const std::string& content = "") {
        const XTBoxID id = next_++;
        const std::string path = dir.file(name);
        writeFile(path, content);
        host().addBox(1, id, XT_BOX_PICTURE, rectPt(0, 0, 10, 10), path).colorSpace = space;
        return id;
    }

    std::vector<std::string> prompts() const {
        std::vector<std::string> keys;
        for (const auto& alert : alerts()) keys.push_back(alert.message);
        return keys;
    }

    XTBoxID next_ = 1;
};

const char* const kNoCMYK = "The following image is no CMYK-image!";
const char* const kICC = "The following EPS-image contains a ICC profile";
const char* const kJPG = "The following image is a JPEG-image!";

TEST_F(OutputCheckTest, AllChecksOffOpensNothingAndLogsOneLine) {
    usePrefs("[Default]\rLogging=2\r");
    picture("rgb.tif", XT_CS_RGB);
    checkImages();
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(logText(), "checkImages_1\r");
}

TEST_F(OutputCheckTest, TiffsByColourSpace) {
    usePrefs("[Default]\rRGBWarning=1\rLogging=2\r");
    picture("grey.tif", XT_CS_GRAY);
    picture("cmyk.tif", XT_CS_CMYK);
    picture("rgb.tif", XT_CS_RGB);
    checkImages();
    EXPECT_EQ(prompts(), (std::vector<std::string>{kNoCMYK}));
    EXPECT_EQ(alerts()[0].informative, dir.file("rgb.tif"));
    EXPECT_EQ(logText(), "checkImages_1\rcheckImages_2\r-------------------------------\r");
}

TEST_F(OutputCheckTest, JpegWarningReplacesItsColourSpaceCheck) {
    usePrefs("[Default]\rRGBWarning=1\rJPGWarning=1\r");
    picture("photo.jpg", XT_CS_RGB);
    checkImages();
    EXPECT_EQ(prompts(), (std::vector<std::string>{kJPG}));

    usePrefs("[Default]\rRGBWarning=1\rJPGWarning=0\r");
    checkImages();
    EXPECT_EQ(prompts(), (std::vector<std::string>{kJPG, kNoCMYK}));
}

TEST_F(OutputCheckTest, OtherTypesNeverPrompt) {
    usePrefs("[Default]\rRGBWarning=1\rJPGWarning=1\rEPSWarning=1\r");
    picture("doc.pdf", XT_CS_RGB);
    picture("layers.psd", XT_CS_RGB);
    host().addBox(1, 99, XT_BOX_PICTURE, rectPt(0, 0, 10, 10));  // no picture file
    checkImages();
    EXPECT_TRUE(alerts().empty());
}

TEST_F(OutputCheckTest, EpsHeaderCommentsDecideTheCMYKCheck) {
    usePrefs("[Default]\rRGBWarning=1\r");
    picture("good.eps", 0, "%!PS-Adobe-3.0 EPSF-3.0\n%%DocumentProcessColors: Cyan\n%%EndComments\n");
    picture("late.eps", 0, "%!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\n%%DocumentProcessColors: Cyan\n");
    checkImages();
    ASSERT_EQ(prompts(), (std::vector<std::string>{kNoCMYK}));
    EXPECT_EQ(alerts()[0].informative, dir.file("late.eps"));
}

TEST_F(OutputCheckTest, EpsWithProfilePromptsIccFirstThenCMYK) {
    usePrefs("[Default]\rRGBWarning=1\rEPSWarning=1\r");
    picture("icc.eps", 0, "%!PS-Adobe-3.0\n%%EndComments\n%%BeginICCProfile: x\n");
    checkImages();
    EXPECT_EQ(prompts(), (std::vector<std::string>{kICC, kNoCMYK}));
}

TEST_F(OutputCheckTest, BinaryEpsIsSearchedFromItsPostScriptOffset) {
    const std::string path = dir.file("bin.eps");
    writeFile(path, binaryEPS(30, "%!PS\n%%CMYKCustomColor: x\n%%EndComments\n"));
    const EPSFindings findings = readEPSFindings(path.c_str());
    EXPECT_TRUE(findings.readable);
    EXPECT_TRUE(findings.processColors);

    // A marker before the offset (inside the binary header) does not count.
    std::string hidden = binaryEPS(60, "%!PS\n%%EndComments\n");
    hidden.replace(10, 21, "%%CMYKCustomColor: x\n");
    writeFile(path, hidden);
    EXPECT_FALSE(readEPSFindings(path.c_str()).processColors);

    // An offset past the file's end finds nothing but reads.
    writeFile(path, binaryEPS(8, "").substr(0, 4) + std::string("\xFF\xFF\xFF\x7F", 4));
    EXPECT_TRUE(readEPSFindings(path.c_str()).readable);
    EXPECT_FALSE(readEPSFindings(dir.file("missing.eps").c_str()).readable);
    EXPECT_FALSE(readEPSFindings(nullptr).readable);
}

TEST_F(OutputCheckTest, AnEpsPathThatIsNoFileIsUnreadableAndNeverWaitedOn) {
    for (const NonFile kind : kNonFiles) {
        SCOPED_TRACE(nonFileName(kind));
        const std::string path = dir.file(std::string("odd-") + nonFileName(kind) + ".eps");
        ASSERT_TRUE(makeNonFile(kind, path));
        const int answer = runBounded(std::chrono::seconds(10), [&] {
            const EPSFindings findings = readEPSFindings(path.c_str());
            return findings.readable || findings.iccProfile || findings.processColors ? 1 : 0;
        });
        EXPECT_EQ(answer, 0) << "-1: it blocked";
    }
}

TEST_F(OutputCheckTest, OnlyTheFirst65535BytesAreSearched) {
    const std::string path = dir.file("big.eps");
    writeFile(path, std::string(65535 - 5, ' ') + "%%BeginICCProfile");
    EXPECT_FALSE(readEPSFindings(path.c_str()).iccProfile);
    writeFile(path, std::string(65535 - 17, ' ') + "%%BeginICCProfile");
    EXPECT_TRUE(readEPSFindings(path.c_str()).iccProfile);
}

TEST_F(OutputCheckTest, CancelAtTheFirstWarningLeavesTheOthersUnchecked) {
    usePrefs("[Default]\rRGBWarning=1\r");
    picture("a.tif", XT_CS_RGB);
    picture("b.tif", XT_CS_RGB);
    picture("c.tif", XT_CS_RGB);
    agent->answerWithItem(2);
    checkImages();
    EXPECT_EQ(alerts().size(), 1U);

    agent->answerWithItem(1);
    agent->answerWithItem(1);
    agent->answerWithItem(1);
    checkImages();
    EXPECT_EQ(alerts().size(), 4U);
}

}  // namespace
}  // namespace lumbrel::test
