// Unicode's own conformance file for normalisation, checked through MyStr:
// the NFC relations of every line of every part, and the rule of part 1 that
// every character not listed there is left as it is.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "util/my_str.h"

namespace lumbrel {
namespace {

using CodePoints = std::vector<char32_t>;

std::u16string toUTF16(const CodePoints& text) {
    std::u16string out;
    for (char32_t c : text) {
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

std::string toUTF8(const CodePoints& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string readBack(MyStr& s) {
    std::int32_t length = 0;
    const std::uint16_t* units = s.uStr(&length);
    return units != nullptr ? std::u16string(units, units + length) : u"<no string>";
}

// NFC through MyStr, made from UTF-8 or from UTF-16 units.
std::u16string nfc(const CodePoints& text, bool fromUTF8) {
    if (fromUTF8) {
        MyStr s(toUTF8(text).c_str(), kEncodingUTF8);
        s.normalize();
        return readBack(s);
    }
    const std::u16string units = toUTF16(text);
    const std::vector<std::uint16_t> raw(units.begin(), units.end());
    MyStr s(raw.data(), static_cast<std::int32_t>(raw.size()));
    s.normalize();
    return readBack(s);
}

struct Line {
    CodePoints columns[5];
    int part = -1;
    int number = 0;
};

bool parseLine(const std::string& text, Line& line) {
    std::istringstream fields(text.substr(0, text.find('#')));
    std::string field;
    for (auto& column : line.columns) {
        if (!std::getline(fields, field, ';')) return false;
        std::istringstream hex(field);
        std::string word;
        while (hex >> word) column.push_back(static_cast<char32_t>(std::stoul(word, nullptr, 16)));
        if (column.empty()) return false;
    }
    return true;
}

std::vector<Line> readConformanceFile() {
    std::ifstream file(LUMBREL_NORMALIZATION_TEST);
    std::vector<Line> lines;
    int part = -1;
    int number = 0;
    std::string text;
    while (std::getline(file, text)) {
        ++number;
        if (text.rfind("@Part", 0) == 0) {
            part = std::stoi(text.substr(5));
            continue;
        }
        if (text.empty() || text[0] == '#') continue;
        Line line;
        line.part = part;
        line.number = number;
        if (!parseLine(text, line)) {
            ADD_FAILURE() << "line " << number << " not understood: " << text;
            continue;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string show(const std::u16string& text) {
    std::string out;
    char hex[8];
    for (char16_t unit : text) {
        std::snprintf(hex, sizeof hex, "%04X ", static_cast<unsigned>(unit));
        out += hex;
    }
    return out;
}

class Normalization : public ::testing::Test {
protected:
    static void SetUpTestSuite() { lines_ = new std::vector<Line>(readConformanceFile()); }
    static void TearDownTestSuite() {
        delete lines_;
        lines_ = nullptr;
    }
    static std::vector<Line>* lines_;
};
std::vector<Line>* Normalization::lines_ = nullptr;

TEST_F(Normalization, EveryLineKeepsTheNFCRelations) {
    int checked = 0;
    int failures = 0;
    int parts[4] = {};
    for (const Line& line : *lines_) {
        const auto& c = line.columns;
        const std::u16string c2 = toUTF16(c[1]);
        const std::u16string c4 = toUTF16(c[3]);
        // c2 == NFC(c1) == NFC(c2) == NFC(c3) and c4 == NFC(c4) == NFC(c5),
        // each string made once from UTF-8 and once from UTF-16.
        const struct {
            int column;
            const std::u16string& expected;
        } relations[] = {{0, c2}, {1, c2}, {2, c2}, {3, c4}, {4, c4}};
        bool lineOk = true;
        for (const auto& relation : relations) {
            for (bool fromUTF8 : {true, false}) {
                const std::u16string got = nfc(c[relation.column], fromUTF8);
                if (got == relation.expected) continue;
                lineOk = false;
                if (++failures <= 10) {
                    ADD_FAILURE() << "line " << line.number << ", NFC of c" << relation.column + 1
                                  << (fromUTF8 ? " (from UTF-8)" : " (from UTF-16)") << ": got " << show(got)
                                  << "expected " << show(relation.expected);
                }
            }
        }
        if (lineOk && line.part >= 0 && line.part < 4) ++parts[line.part];
        ++checked;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(checked, 19000);
    // Every part was read and passed.
    for (int part = 0; part < 4; ++part) EXPECT_GT(parts[part], 0) << "part " << part;
}

TEST_F(Normalization, CharactersOutsidePartOneStayAsTheyAre) {
    std::unordered_set<char32_t> listed;
    for (const Line& line : *lines_) {
        if (line.part == 1 && line.columns[0].size() == 1) listed.insert(line.columns[0][0]);
    }
    ASSERT_GT(listed.size(), 10000u);

    // One string per block of code points, each followed by a space: a space
    // composes with nothing and stops any reordering of marks, so each
    // character is normalised as if it stood alone.
    constexpr char32_t kBlock = 0x1000;
    std::size_t tested = 0;
    int failedBlocks = 0;
    for (char32_t start = 0; start <= 0x10FFFF; start += kBlock) {
        CodePoints text;
        for (char32_t c = start; c < start + kBlock; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) || listed.count(c) != 0) continue;
            text.push_back(c);
            text.push_back(U' ');
        }
        if (text.empty()) continue;
        tested += text.size() / 2;
        // Half of the blocks from UTF-8 (not the first: a C string ends at U+0000).
        const bool fromUTF8 = (start / kBlock) % 2 == 1;
        if (nfc(text, fromUTF8) == toUTF16(text)) continue;
        ++failedBlocks;
        // Find the characters to name them.
        for (std::size_t i = 0; i < text.size(); i += 2) {
            const CodePoints one{text[i]};
            EXPECT_EQ(show(nfc(one, fromUTF8)), show(toUTF16(one))) << "U+" << std::hex << static_cast<unsigned>(text[i]);
        }
    }
    EXPECT_EQ(failedBlocks, 0);
    // All code points but the surrogates and those listed.
    EXPECT_EQ(tested, 0x110000u - 0x800u - listed.size());
}

}  // namespace
}  // namespace lumbrel
