#include "settings/xml_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lumbrel {
namespace {

TEST(XmlStream, NumberElement) {
    XMLStream stream;
    ASSERT_EQ(stream.setup(1024), 0);
    EXPECT_EQ(stream.add("cmd", 5), 0);
    EXPECT_STREQ(stream.text(), "<cmd>5</cmd>\r");
    EXPECT_EQ(stream.length(), 13);
    EXPECT_EQ(stream.add("n", -2147483647 - 1), 0);
    EXPECT_STREQ(stream.text(), "<cmd>5</cmd>\r<n>-2147483648</n>\r");
}

TEST(XmlStream, ElementsAppendUnescaped) {
    XMLStream stream;
    ASSERT_EQ(stream.setup(1024), 0);
    EXPECT_EQ(stream.add("guid", "a<b & c"), 0);
    EXPECT_EQ(stream.add("box", "12", "qid", "3\"4"), 0);
    EXPECT_EQ(stream.add("empty", ""), 0);
    const std::string expected = "<guid>a<b & c</guid>\r<box qid=\"3\"4\">12</box>\r<empty></empty>\r";
    EXPECT_EQ(stream.text(), expected);
    EXPECT_EQ(stream.length(), static_cast<std::int32_t>(expected.size()));
}

TEST(XmlStream, WithoutSetupNothingIsWritten) {
    XMLStream stream;
    EXPECT_STREQ(stream.text(), "");
    EXPECT_GT(stream.add("cmd", 5), 0);
    EXPECT_EQ(stream.length(), 0);
    EXPECT_EQ(stream.setup(0), 0);
    EXPECT_GT(stream.add("cmd", "x"), 0);
    EXPECT_STREQ(stream.text(), "");
}

TEST(XmlStream, SetupReplacesTheText) {
    XMLStream stream;
    ASSERT_EQ(stream.setup(200), 0);
    stream.add("a", "1");
    ASSERT_EQ(stream.setup(300), 0);
    EXPECT_EQ(stream.length(), 0);
    EXPECT_EQ(stream.capacity(), 300);
    EXPECT_STREQ(stream.text(), "");
    EXPECT_EQ(stream.setup(-1), kXMLStreamNoMemory);
    EXPECT_EQ(stream.capacity(), 0);
}

TEST(XmlStream, TextNeedsItsLengthAndAHundredBytes) {
    XMLStream stream;
    ASSERT_EQ(stream.setup(130), 0);
    const std::string text(30, 't');
    EXPECT_EQ(stream.add("a", text.c_str()), 0);  // 0 + 30 + 100 = 130 fits
    const std::int32_t used = stream.length();
    EXPECT_EQ(used, 38);
    const std::string before = stream.text();
    EXPECT_EQ(stream.add("b", "x"), used + 1 + 100);  // the size the rule asks for
    EXPECT_EQ(stream.text(), before);
    EXPECT_EQ(stream.length(), used);
}

TEST(XmlStream, LongNamesNeverRunPastTheBuffer) {
    // The hundred bytes of the rule do not cover a long name twice over.
    XMLStream stream;
    ASSERT_EQ(stream.setup(200), 0);
    const std::string name(100, 'n');
    const std::int32_t needed = 2 * 100 + 6 + 1;
    EXPECT_EQ(stream.add(name.c_str(), ""), needed);
    EXPECT_EQ(stream.length(), 0);
    EXPECT_STREQ(stream.text(), "");

    XMLStream exact;
    ASSERT_EQ(exact.setup(needed), 0);
    EXPECT_EQ(exact.add(name.c_str(), ""), 0);
    EXPECT_EQ(exact.length(), needed - 1);
    EXPECT_EQ(std::strlen(exact.text()), static_cast<std::size_t>(needed - 1));
}

TEST(XmlStream, AttributeFormChecksTheRealLength) {
    XMLStream stream;
    ASSERT_EQ(stream.setup(150), 0);
    const std::string value(200, 'v');
    // Only 100 bytes of room are asked for by the rule; the element is longer.
    const std::int32_t needed = static_cast<std::int32_t>(std::strlen("<box qid=\"\">1</box>\r") + 200 + 1);
    EXPECT_EQ(stream.add("box", "1", "qid", value.c_str()), needed);
    EXPECT_EQ(stream.length(), 0);
    EXPECT_STREQ(stream.text(), "");

    const std::string text(140, 't');  // 160 bytes written
    EXPECT_EQ(stream.add("box", text.c_str(), "qid", "1"), 161);
    EXPECT_EQ(stream.length(), 0);

    EXPECT_EQ(stream.add("box", "1", "qid", "2"), 0);
    EXPECT_STREQ(stream.text(), "<box qid=\"2\">1</box>\r");
    // Fewer than 100 bytes left: refused even though the element would fit.
    XMLStream tight;
    ASSERT_EQ(tight.setup(99), 0);
    EXPECT_EQ(tight.add("b", "1", "q", "2"), 100);
    EXPECT_EQ(tight.length(), 0);
}

}  // namespace
}  // namespace lumbrel
