#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/platform_traits.h"
#include "platform/user_folders.h"
#include "support/test_support.h"
#include "util/log.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string kBOM = "\xEF\xBB\xBF";

// Each test gets a documents folder of its own in a scratch folder, so the
// log lands there. The mode goes back to 0 while the scratch folder is still
// the documents folder, so no real log is touched.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(home_.path() / "Documents");
        documents_ = home_.text() + kSeparator + "Documents";
        ASSERT_TRUE(redirect_.set(documents_));
        logFile_ = documents_ + kSeparator + "Lumbrel" + (kSeparator == '\\' ? ".log" : ".txt");
    }
    void TearDown() override { setupDump(0); }
    bool logExists() const { return fs::exists(test::pathFromUtf8(logFile_)); }
    std::string log() const { return readFile(logFile_); }

    static constexpr char kSeparator = platform::Traits::kPathSeparator;
    TempDir home_;
    test::DocumentsFolderRedirect redirect_;
    std::string documents_;
    std::string logFile_;
};

TEST_F(LogTest, LogLiesInTheDocumentsFolderNamedAfterTheProduct) {
    EXPECT_EQ(setupDump(2), 2);
    EXPECT_EQ(getLogMode(), 2);
    EXPECT_EQ(std::string(getLogPath()), logFile_);
}

TEST_F(LogTest, ModeOneStartsANewFileWithTheByteOrderMark) {
    setupDump(1);
    EXPECT_EQ(log(), kBOM);
    EXPECT_EQ(dprintf("doOpen%s", "\r"), 7);
    EXPECT_EQ(dprintf("checkImages_%d\r", 1), 14);
    EXPECT_EQ(log(), kBOM + "doOpen\rcheckImages_1\r");
}

TEST_F(LogTest, ModeOneWritesTheMarkOverTheFirstThreeBytes) {
    writeFile(logFile_, "abcdefgh");
    setupDump(1);
    EXPECT_EQ(log(), kBOM + "defgh");
}

TEST_F(LogTest, ModeTwoAppendsWithoutAMark) {
    writeFile(logFile_, "earlier\r");
    setupDump(2);
    EXPECT_EQ(log(), "earlier\r");
    dprintf("doSave...\r");
    EXPECT_EQ(log(), "earlier\rdoSave...\r");
}

TEST_F(LogTest, ModeZeroDoesNothing) {
    setupDump(0);
    EXPECT_EQ(dprintf("%s", "text"), 0);
    dumpTime("start ");
    EXPECT_FALSE(logExists());
}

TEST_F(LogTest, NegativeModeFormatsButWritesNothing) {
    setupDump(-1);
    EXPECT_EQ(dprintf("%d", 12345), 5);
    dumpTime("start ");
    EXPECT_FALSE(logExists());
}

TEST_F(LogTest, EmptyTextWritesNothing) {
    setupDump(2);
    EXPECT_EQ(dprintf("%s", ""), 0);
    EXPECT_FALSE(logExists());
}

TEST_F(LogTest, LogOfExactly100000BytesStays) {
    writeFile(logFile_, std::string(100000, 'x'));
    setupDump(0);
    ASSERT_TRUE(logExists());
    EXPECT_EQ(fs::file_size(test::pathFromUtf8(logFile_)), 100000u);
}

TEST_F(LogTest, LogOneByteLargerIsDeletedInEveryMode) {
    for (const std::int16_t mode : {std::int16_t{0}, std::int16_t{-1}, std::int16_t{2}}) {
        writeFile(logFile_, std::string(100001, 'x'));
        setupDump(mode);
        EXPECT_FALSE(logExists()) << mode;
    }
    writeFile(logFile_, std::string(100001, 'x'));
    setupDump(1);
    EXPECT_EQ(log(), kBOM);
}

TEST_F(LogTest, LongMessageIsCutToTheBuffer) {
    setupDump(2);
    const std::string message(10000, 'm');
    EXPECT_EQ(dprintf("%s", message.c_str()), 8191);
    EXPECT_EQ(log(), std::string(8191, 'm'));
}

TEST_F(LogTest, TheFileIsNotHeldOpen) {
    setupDump(2);
    dprintf("one\r");
    fs::remove(test::pathFromUtf8(logFile_));
    dprintf("two\r");
    EXPECT_EQ(log(), "two\r");
}

// "hh:mm:ss" (a leap second included).
bool isClock(const std::string& text) {
    return text.size() == 8 && text[2] == ':' && text[5] == ':' && text[0] <= '2' && text[3] <= '5' &&
           text[6] <= '6' && std::all_of(text.begin(), text.end(), [](char c) { return c == ':' || (c >= '0' && c <= '9'); });
}

// The clock as the build's log writes it at `when`: local time on the Mac
// side, UTC after ": " on Windows.
std::string clockAt(std::time_t when) {
    std::tm time{};
    const bool utc = platform::Traits::kLogClockInUtc;
    EXPECT_TRUE(utc ? platform::utcTime(when, time) : platform::localTime(when, time));
    char clock[16] = {};
    std::strftime(clock, sizeof clock, "%H:%M:%S", &time);
    return (utc ? std::string(": ") : std::string()) + clock;
}

TEST_F(LogTest, DumpTimeWritesPrefixTimeAndSuffix) {
    setupDump(2);
    const std::string prefix = std::string(platform::Traits::kLineEnd) + "####\tLumbrel 4.72: ";
    const std::string lineEnd = platform::Traits::kLineEnd;
    const std::size_t clockSize = clockAt(0).size();
    const std::time_t before = std::time(nullptr);
    dumpTime(prefix.c_str());
    dumpTime("", "|");
    const std::time_t after = std::time(nullptr);
    const std::string text = log();
    ASSERT_EQ(text.size(), prefix.size() + clockSize + lineEnd.size() + clockSize + 1) << text;
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    for (const std::size_t at : {prefix.size(), prefix.size() + clockSize + lineEnd.size()}) {
        const std::string clock = text.substr(at, clockSize);
        EXPECT_TRUE(isClock(clock.substr(clockSize - 8))) << text;
        EXPECT_TRUE(clock == clockAt(before) || clock == clockAt(after)) << clock << " vs " << clockAt(before);
    }
    EXPECT_EQ(text.substr(prefix.size() + clockSize, lineEnd.size()), lineEnd);
    EXPECT_EQ(text.back(), '|');
}

TEST_F(LogTest, UnwritableLogLosesTheLineSilently) {
    fs::remove(home_.path() / "Documents");
    EXPECT_EQ(setupDump(1), 1);
    EXPECT_EQ(dprintf("lost\r"), 5);
    EXPECT_FALSE(fs::exists(home_.path() / "Documents"));
}

TEST_F(LogTest, LogPathThatDoesNotFitIsNotUsed) {
    // A documents folder of 500 bytes leaves no room for the log's name;
    // one of 600 bytes does not fit a path at all.
    for (const std::size_t size : {std::size_t{500}, std::size_t{600}}) {
        SCOPED_TRACE(size);
        std::string folder = home_.text() + kSeparator;
        folder += std::string(size - folder.size(), 'h');
        ASSERT_TRUE(redirect_.set(folder));
        std::string taken;
        if (!platform::findSpecialFolder(platform::SpecialFolder::Documents, taken) || taken != folder) {
            GTEST_SKIP() << "the system keeps no documents folder this long";  // the shell (MAX_PATH)
        }
        setupDump(2);
        EXPECT_STREQ(getLogPath(), "");
        EXPECT_EQ(dprintf("x\r"), 2);
    }
}

}  // namespace
}  // namespace lumbrel
