// The label font program shipped with the module.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "support/test_support.h"

namespace lumbrel::test {
namespace {

std::string fontPath() {
    return sourcePath("resources/f1.ps");
}

TEST(LabelFont, IsATypeOneProgramNamedF1) {
    const std::string font = readFile(fontPath());
    EXPECT_EQ(font.rfind("%!PS-AdobeFont-1.0: __f1 ", 0), 0U);
    EXPECT_NE(font.find("/FontName /__f1 def"), std::string::npos);
    EXPECT_NE(font.find("/FontMatrix [1 1000 div 0 0 1 1000 div 0 0] readonly def"), std::string::npos);
    EXPECT_NE(font.find("/FontType 1 def"), std::string::npos);
    EXPECT_NE(font.find("dup 128 /Euro put"), std::string::npos);
    const std::size_t eexec = font.find("currentfile eexec");
    ASSERT_NE(eexec, std::string::npos);
    // The glyph programs are encrypted: no charstring operator in clear.
    EXPECT_EQ(font.find("hsbw", eexec), std::string::npos);
    EXPECT_EQ(font.find("cleartomark", eexec), font.size() - std::string("cleartomark\n").size());
    EXPECT_EQ(font.find('\0'), std::string::npos) << "sent as text";
}

// t1disasm of t1utils reads the program back; skipped where it is missing.
TEST(LabelFont, DisassemblesWithEuroAt128) {
    if (access("/usr/bin/t1disasm", X_OK) != 0) GTEST_SKIP() << "t1disasm not installed";
    const std::string command = "/usr/bin/t1disasm '" + fontPath() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) text.append(chunk.data(), n);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_NE(text.find("dup 128 /Euro put"), std::string::npos);
    EXPECT_NE(text.find("/Euro {"), std::string::npos);
    EXPECT_NE(text.find("/.notdef {"), std::string::npos);
    EXPECT_NE(text.find("/CharStrings 219 dict"), std::string::npos);
    EXPECT_NE(text.find("hsbw"), std::string::npos);
}

}  // namespace
}  // namespace lumbrel::test
