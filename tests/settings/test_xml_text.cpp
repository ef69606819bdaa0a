#include "settings/xml_text.h"
#include "platform/platform_traits.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace lumbrel {
namespace {

struct Collected {
    std::vector<std::string> elements;
    std::size_t stopAfter = 0;  // 0: never stop
};

bool collect(const char* element, std::size_t length, std::intptr_t value) {
    auto* collected = reinterpret_cast<Collected*>(value);
    EXPECT_EQ(std::strlen(element), length);
    collected->elements.emplace_back(element, length);
    return collected->stopAfter == 0 || collected->elements.size() < collected->stopAfter;
}

std::string dataOf(const char* text, const char* name) {
    char* data = getXMLData(text, name);
    if (data == nullptr) return "<null>";
    std::string result(data);
    std::free(data);
    return result;
}

TEST(XmlTextSearch, TagsMatchWithoutRegardToCase) {
    const char* text = "<?xml?>\r\n<KSHOWPATH>Show</kshowpath>\r\n";
    char out[256] = "untouched";
    EXPECT_EQ(getXMLString(text, "kShowPath", out), 4u);
    EXPECT_STREQ(out, "Show");
    EXPECT_EQ(getXMLString(text, "KSHOWPATH", out), 4u);
    EXPECT_STREQ(out, "Show");
    EXPECT_EQ(dataOf(text, "kshowpath"), "Show");
}

TEST(XmlTextSearch, ContentIsTakenRawAndNeedNotStartALine) {
    char out[256];
    EXPECT_EQ(getXMLString("x<a>Tom &amp; Jerry</a>", "a", out), 15u);
    EXPECT_STREQ(out, "Tom &amp; Jerry");
    EXPECT_EQ(getXMLString("<a>&amp;</a>", "a", out), 5u);
    EXPECT_STREQ(out, "&amp;");
    getXMLString("<p>Page %s:\r\n\r\n</p>", "p", out);
    EXPECT_STREQ(out, "Page %s:\r\n\r\n");
    getXMLString("<a> padded </a>", "a", out);
    EXPECT_STREQ(out, " padded ");
}

TEST(XmlTextSearch, FirstClosingTagEndsTheContent) {
    char out[256];
    getXMLString("<a>1<a>2</a>3</a>", "a", out);
    EXPECT_STREQ(out, "1<a>2");
    // An element of a name that is the start of another name is not confused with it.
    getXMLString("<okay>no</okay><ok>yes</ok>", "ok", out);
    EXPECT_STREQ(out, "yes");
}

TEST(XmlTextSearch, NothingFoundLeavesBufferUntouched) {
    char out[256] = "untouched";
    EXPECT_EQ(getXMLString("<a>open only", "a", out), 0u);               // no closing tag
    EXPECT_EQ(getXMLString("text </a> <a>after", "a", out), 0u);         // closing tag only before
    EXPECT_EQ(getXMLString("<a x=\"1\">attr</a>", "a", out), 0u);        // attributes hide the tag
    EXPECT_EQ(getXMLString("<b>b</b>", "a", out), 0u);
    EXPECT_EQ(getXMLString(nullptr, "a", out), 0u);
    EXPECT_EQ(getXMLString("<a>x</a>", "", out), 0u);
    EXPECT_EQ(getXMLString("<a>x</a>", nullptr, out), 0u);
    EXPECT_STREQ(out, "untouched");
    EXPECT_EQ(dataOf("<a>open only", "a"), "<null>");
    EXPECT_EQ(dataOf(nullptr, "a"), "<null>");
    EXPECT_EQ(dataOf("<a>x</a>", ""), "<null>");
}

TEST(XmlTextSearch, EmptyElementGivesEmptyContent) {
    char out[256] = "untouched";
    EXPECT_EQ(getXMLString("<a></a>", "a", out), 0u);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(dataOf("<a></a>", "a"), "");
}

TEST(XmlTextSearch, OnlyAsciiLettersFoldCase) {
    char out[256] = "untouched";
    // "É" and "é" differ in one bit of their second byte, as "E" and "e" do.
    EXPECT_EQ(getXMLString("<\xC3\x89>x</\xC3\x89>", "\xC3\xA9", out), 0u);
    EXPECT_EQ(getXMLString("<\xC3\xA9>x</\xC3\xA9>", "\xC3\xA9", out), 1u);
    EXPECT_EQ(getXMLString("<[>x</[>", "{", out), 0u);  // "[" is "{" minus 0x20
}

TEST(XmlTextSearch, LongContentIsCutAtTheBuffer) {
    const std::string content(300, 'x');
    const std::string text = "<a>" + content + "</a>";
    char out[260];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(getXMLString(text.c_str(), "a", out, 256), 255u);
    EXPECT_EQ(std::string(out), content.substr(0, 255));
    for (std::size_t i = 256; i < sizeof out; ++i) EXPECT_EQ(out[i], '#') << i;
    char small[4];
    EXPECT_EQ(getXMLString("<a>abcdef</a>", "a", small), 3u);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(getXMLString("<a>abcdef</a>", "a", small, 0), 0u);
    EXPECT_EQ(dataOf(text.c_str(), "a"), content);  // the copying reader is not cut
}

TEST(XmlTextSearch, OverlongNamesFindNothing) {
    const std::string name(kMaxXMLNameLength, 'n');
    const std::string text = "<" + name + ">fits</" + name + ">";
    char out[256];
    EXPECT_EQ(getXMLString(text.c_str(), name.c_str(), out), 4u);
    const std::string longer = name + "n";
    const std::string longText = "<" + longer + ">too long</" + longer + ">";
    EXPECT_EQ(getXMLString(longText.c_str(), longer.c_str(), out), 0u);
    EXPECT_EQ(dataOf(longText.c_str(), longer.c_str()), "<null>");
}

TEST(XmlTextSearch, HugeElements) {
    const std::string content(1 << 20, 'z');
    const std::string text = std::string(1 << 20, ' ') + "<Big>" + content + "</BIG>";
    EXPECT_EQ(dataOf(text.c_str(), "big"), content);
    char out[256];
    EXPECT_EQ(getXMLString(text.c_str(), "big", out), 255u);
    // A megabyte of near misses: every "<" starts a tag that is not the one.
    std::string misses;
    while (misses.size() < (1u << 20)) misses += "<bi<bii<b<";
    EXPECT_EQ(getXMLString((misses + "<big>y</big>").c_str(), "big", out), 1u);
    EXPECT_STREQ(out, "y");
}

TEST(XmlTextData, NameWithAttributesClosesAtTheBareName) {
    const char* text = "<window id=\"1\">body</window>";
    EXPECT_EQ(dataOf(text, "window id=\"1\""), "body");
    EXPECT_EQ(dataOf(text, "WINDOW ID=\"1\""), "body");
    EXPECT_EQ(dataOf(text, "window id=\"2\""), "<null>");
    // The string reader keeps the whole name for the closing tag.
    char out[256] = "untouched";
    EXPECT_EQ(getXMLString(text, "window id=\"1\"", out), 0u);
}

TEST(XmlTextValue, Numbers) {
    EXPECT_EQ(getXMLValue("<v>12abc</v>", "v", -1), 12);
    EXPECT_EQ(getXMLValue("<v>42</v>", "V", -1), 42);
    EXPECT_EQ(getXMLValue("<v>-7</v>", "v", -1), -7);
    EXPECT_EQ(getXMLValue("<v>  +8</v>", "v", -1), 8);
    EXPECT_EQ(getXMLValue("<v>abc</v>", "v", -1), 0);
    EXPECT_EQ(getXMLValue("<v> </v>", "v", -1), 0);
    EXPECT_EQ(getXMLValue("<v>0x10</v>", "v", -1), 0);
    EXPECT_EQ(getXMLValue("<v>99999999999</v>", "v", -1), INT32_MAX);
    EXPECT_EQ(getXMLValue("<v>-99999999999</v>", "v", -1), INT32_MIN);
}

TEST(XmlTextValue, DefaultWhenMissingOrEmpty) {
    EXPECT_EQ(getXMLValue("<v></v>", "v", 77), 77);
    EXPECT_EQ(getXMLValue("<w>1</w>", "v", 77), 77);
    EXPECT_EQ(getXMLValue("<v>1", "v", 77), 77);
    EXPECT_EQ(getXMLValue(nullptr, "v", 77), 77);
}

// The Windows build reads numbers only: "true" is no number and reads 0.
TEST(XmlTextValue, BooleanWordsExactlyInLowerCase) {
    const bool words = platform::Traits::kXmlBooleanWords;
    EXPECT_EQ(getXMLValue("<v>true</v>", "v", 5), words ? 1 : 0);
    EXPECT_EQ(getXMLValue("<v>false</v>", "v", 5), 0);
    EXPECT_EQ(getXMLValue("<v>TRUE</v>", "v", 5), 0);
    EXPECT_EQ(getXMLValue("<v>true </v>", "v", 5), 0);
    EXPECT_EQ(getXMLValue("<v>1true</v>", "v", 5), 1);
}

TEST(XmlTextEnum, WholeElementsInTextOrder) {
    Collected collected;
    EXPECT_TRUE(EnumXMLData("<c>1</c><C>22</c>\r<d>x</d><c>3</C>", "c", collect,
                            reinterpret_cast<std::intptr_t>(&collected)));
    EXPECT_EQ(collected.elements, (std::vector<std::string>{"<c>1</c>", "<C>22</c>", "<c>3</C>"}));
}

TEST(XmlTextEnum, TwoConsecutiveElements) {
    Collected collected;
    EnumXMLData("<control>a</control><control>b</control>", "control", collect,
                reinterpret_cast<std::intptr_t>(&collected));
    EXPECT_EQ(collected.elements, (std::vector<std::string>{"<control>a</control>", "<control>b</control>"}));
}

TEST(XmlTextEnum, NextSearchStartsAfterThePreviousOpeningTag) {
    Collected collected;
    EnumXMLData("<a>1<a>2</a>3</a><a>4</a>", "a", collect, reinterpret_cast<std::intptr_t>(&collected));
    EXPECT_EQ(collected.elements, (std::vector<std::string>{"<a>1<a>2</a>", "<a>2</a>", "<a>4</a>"}));
}

TEST(XmlTextEnum, StopsWhenTheCallbackSaysSoOrAtAMissingClosingTag) {
    Collected stopped;
    stopped.stopAfter = 1;
    EXPECT_FALSE(EnumXMLData("<a>1</a><a>2</a>", "a", collect, reinterpret_cast<std::intptr_t>(&stopped)));
    EXPECT_EQ(stopped.elements.size(), 1u);

    Collected unclosed;
    EXPECT_TRUE(EnumXMLData("<a>1</a><a>2", "a", collect, reinterpret_cast<std::intptr_t>(&unclosed)));
    EXPECT_EQ(unclosed.elements, (std::vector<std::string>{"<a>1</a>"}));

    Collected none;
    EXPECT_TRUE(EnumXMLData(nullptr, "a", collect, reinterpret_cast<std::intptr_t>(&none)));
    EXPECT_TRUE(EnumXMLData("<a>1</a>", "", collect, reinterpret_cast<std::intptr_t>(&none)));
    EXPECT_TRUE(none.elements.empty());
}

struct Shape {
    std::size_t count = 0;
    std::size_t total = 0;
    bool wellFormed = true;
};

bool measure(const char* element, std::size_t length, std::intptr_t value) {
    auto* shape = reinterpret_cast<Shape*>(value);
    const std::string_view e(element, length);
    shape->wellFormed = shape->wellFormed && std::strlen(element) == length && e.substr(0, 3) == "<a>" &&
                        e.substr(e.size() - 4) == "</a>";
    ++shape->count;
    shape->total += length;
    return true;
}

TEST(XmlTextEnum, ManyOpeningTagsSharingOneClosingTag) {
    // Every opening tag starts an element ending at the one closing tag, so
    // the elements overlap: 3 * (n - i) + 4 bytes for the i-th.
    constexpr std::size_t n = 100000;
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += "<a>";
    text += "</a>";
    Shape shape;
    EXPECT_TRUE(EnumXMLData(text.c_str(), "a", measure, reinterpret_cast<std::intptr_t>(&shape)));
    EXPECT_EQ(shape.count, n);
    EXPECT_EQ(shape.total, 3 * n * (n + 1) / 2 + 4 * n);
    EXPECT_TRUE(shape.wellFormed);
}

TEST(XmlTextEnum, HugeElement) {
    const std::string content(1 << 20, 'q');
    const std::string text = "<a>" + content + "</a><a>" + content + "</a>";
    Shape shape;
    EXPECT_TRUE(EnumXMLData(text.c_str(), "A", measure, reinterpret_cast<std::intptr_t>(&shape)));
    EXPECT_EQ(shape.count, 2u);
    EXPECT_EQ(shape.total, text.size());
    EXPECT_TRUE(shape.wellFormed);
}

}  // namespace
}  // namespace lumbrel
