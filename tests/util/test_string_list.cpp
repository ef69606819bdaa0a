#include "util/string_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lumbrel {
namespace {

// The strings in order, read in one walk over the buffer.
std::vector<std::string> contents(const CMyStringList& list) {
    std::vector<std::string> out;
    const char* p = list.getBuffer();
    for (std::int32_t i = 0; i < list.getCount(); ++i) {
        out.emplace_back(p);
        p += out.back().size() + 1;
    }
    return out;
}

using Strings = std::vector<std::string>;

// Packed bytes of the strings with their terminators: the buffer must hold
// exactly these, back to back.
std::string packed(const Strings& strings) {
    std::string bytes;
    for (const auto& s : strings) bytes.append(s).push_back('\0');
    return bytes;
}

void expectList(const CMyStringList& list, const Strings& expected) {
    EXPECT_EQ(contents(list), expected);
    const std::string bytes = packed(expected);
    ASSERT_EQ(list.getUsed(), static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(std::string(list.getBuffer(), bytes.size()), bytes);
}

CMyStringList* makeBC(CMyStringList& list) {
    EXPECT_EQ(list.add("b", CMyStringList::kAppend), 0);
    EXPECT_EQ(list.add("c", CMyStringList::kAppend), 0);
    return &list;
}

TEST(CMyStringList, InsertionPoints) {
    {
        CMyStringList list(100);
        makeBC(list);
        EXPECT_EQ(list.add("x", -1), 0);
        expectList(list, {"x", "b", "c"});
    }
    {
        CMyStringList list(100);
        makeBC(list);
        EXPECT_EQ(list.add("x", 1), 0);
        expectList(list, {"b", "x", "c"});
    }
    {
        CMyStringList list(100);
        makeBC(list);
        EXPECT_EQ(list.add("x", -2), 0);
        expectList(list, {"b", "c", "x"});
    }
    {
        CMyStringList list(100);
        makeBC(list);
        EXPECT_EQ(list.add("x", 0), 0);
        expectList(list, {"x", "b", "c"});
        // Positions that name no string are no insertion points.
        EXPECT_EQ(list.add("y", 3), -1);
        EXPECT_EQ(list.add("y", -3), -1);
        expectList(list, {"x", "b", "c"});
    }
}

TEST(CMyStringList, GetPtrSpecialPositions) {
    CMyStringList list(100);
    EXPECT_EQ(list.getPtr(CMyStringList::kStart), list.getBuffer());
    EXPECT_EQ(list.getPtr(CMyStringList::kAppend), list.getBuffer());
    EXPECT_EQ(list.getPtr(0), nullptr);
    makeBC(list);
    EXPECT_EQ(list.getPtr(CMyStringList::kStart), list.getBuffer());
    EXPECT_EQ(list.getPtr(CMyStringList::kAppend), list.getBuffer() + 4);
    EXPECT_STREQ(list.getPtr(1), "c");
    EXPECT_EQ(list.getPtr(2), nullptr);
    EXPECT_EQ(list.getPtr(-3), nullptr);
}

TEST(CMyStringList, CapacityIsFixed) {
    CMyStringList list(10);
    EXPECT_EQ(list.add("abcd", -2), 0);
    EXPECT_EQ(list.add("efgh", -2), 0);
    EXPECT_EQ(list.getUsed(), 10);
    EXPECT_EQ(list.add("i", -2), -1);
    EXPECT_EQ(list.add("i", -1), -1);
    expectList(list, {"abcd", "efgh"});
    EXPECT_EQ(list.getCapacity(), 10);

    // Freed room is usable again.
    EXPECT_TRUE(list.remove("abcd"));
    EXPECT_EQ(list.add("i", -1), 0);
    expectList(list, {"i", "efgh"});
}

TEST(CMyStringList, ListWithoutBufferTakesNothing) {
    CMyStringList none;
    EXPECT_EQ(none.getCapacity(), 0);
    EXPECT_EQ(none.getPtr(CMyStringList::kAppend), nullptr);
    EXPECT_EQ(none.add("a", -2), -1);
    EXPECT_EQ(none.getCount(), 0);
    EXPECT_EQ(none.getPtr("a"), nullptr);
    EXPECT_FALSE(none.remove("a"));

    CMyStringList negative(-5);
    EXPECT_EQ(negative.getCapacity(), 0);
    EXPECT_EQ(negative.add("", -2), -1);
}

TEST(CMyStringList, DuplicatesAreRefusedCaseSensitively) {
    CMyStringList list(100);
    ASSERT_EQ(list.add("Image.tif", -2), 0);
    const std::int32_t used = list.getUsed();
    EXPECT_EQ(list.add("Image.tif", -2), -1);
    EXPECT_EQ(list.add("Image.tif", -1), -1);
    EXPECT_EQ(list.getUsed(), used);
    EXPECT_EQ(list.getCount(), 1);
    EXPECT_EQ(list.add("image.tif", -2), 0);
    EXPECT_EQ(list.add("A", -2), 0);
    EXPECT_EQ(list.add("a", -2), 0);
    expectList(list, {"Image.tif", "image.tif", "A", "a"});
    // A prefix of a present string is a string of its own.
    EXPECT_EQ(list.add("Image", -2), 0);
    EXPECT_EQ(list.getPos("Image"), 4);
}

TEST(CMyStringList, EmptyStringIsAnEntry) {
    CMyStringList list(10);
    EXPECT_EQ(list.add("", -2), 0);
    EXPECT_EQ(list.add("", -2), -1);
    EXPECT_EQ(list.add("a", -2), 0);
    expectList(list, {"", "a"});
    EXPECT_EQ(list.getPos(""), 0);
    EXPECT_TRUE(list.remove(""));
    expectList(list, {"a"});
}

TEST(CMyStringList, LookupsByTextAndPascalText) {
    CMyStringList list(100);
    makeBC(list);
    ASSERT_EQ(list.add("longer name", -2), 0);
    EXPECT_EQ(list.getPos("c"), 1);
    EXPECT_EQ(list.getPos("longer name"), 2);
    EXPECT_EQ(list.getPos("longer"), -1);
    EXPECT_EQ(list.getPos(static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(list.getPtr("longer name"), list.getPtr(2));
    EXPECT_EQ(list.getPtr("nothing"), nullptr);

    const unsigned char pascal[] = {11, 'l', 'o', 'n', 'g', 'e', 'r', ' ', 'n', 'a', 'm', 'e', 'X'};
    EXPECT_EQ(list.getPos(pascal), 2);
    const unsigned char shortPascal[] = {1, 'c', 'X'};
    EXPECT_EQ(list.getPos(shortPascal), 1);
    unsigned char full[256];
    full[0] = 255;
    std::memset(full + 1, 'z', 255);
    EXPECT_EQ(list.getPos(full), -1);
}

TEST(CMyStringList, RemoveByTextAndPosition) {
    CMyStringList list(100);
    for (const char* s : {"one", "two", "three", "four"}) ASSERT_EQ(list.add(s, -2), 0);

    EXPECT_TRUE(list.remove("two"));
    expectList(list, {"one", "three", "four"});
    EXPECT_FALSE(list.remove("two"));
    EXPECT_FALSE(list.remove("Three"));

    EXPECT_TRUE(list.remove(2));
    expectList(list, {"one", "three"});
    EXPECT_FALSE(list.remove(2));
    EXPECT_FALSE(list.remove(CMyStringList::kAppend));
    expectList(list, {"one", "three"});
    EXPECT_TRUE(list.remove(CMyStringList::kStart));  // where the first string starts
    expectList(list, {"three"});
    EXPECT_TRUE(list.remove(0));
    expectList(list, {});
    EXPECT_FALSE(list.remove(CMyStringList::kStart));
    // The used bytes end in a NUL after removal.
    EXPECT_EQ(list.getBuffer()[0], '\0');
}

TEST(CMyStringList, RmvTakesStringStartsOnly) {
    CMyStringList list(100);
    for (const char* s : {"alpha", "beta", "gamma"}) ASSERT_EQ(list.add(s, -2), 0);
    char* beta = list.getPtr(1);
    EXPECT_FALSE(list.rmv(beta + 1));                          // inside a string
    EXPECT_FALSE(list.rmv(list.getPtr(CMyStringList::kAppend)));  // the append point
    EXPECT_FALSE(list.rmv(nullptr));
    const char outside[] = "beta";
    EXPECT_FALSE(list.rmv(outside));
    expectList(list, {"alpha", "beta", "gamma"});
    EXPECT_TRUE(list.rmv(beta));
    expectList(list, {"alpha", "gamma"});
    EXPECT_EQ(list.getBuffer()[list.getUsed()], '\0');
}

TEST(CMyStringList, AddingATailOfItsOwnString) {
    CMyStringList list(100);
    ASSERT_EQ(list.add("prefix-tail", -2), 0);
    ASSERT_EQ(list.add("z", -2), 0);
    const char* tail = list.getPtr(0) + 7;
    ASSERT_EQ(list.add(tail, 0), 0);
    expectList(list, {"tail", "prefix-tail", "z"});
    ASSERT_EQ(list.add(list.getPtr(0) + 2, -2), 0);
    expectList(list, {"tail", "prefix-tail", "z", "il"});
}

TEST(CMyStringList, SetupReturnsTrueOnFailure) {
    CMyStringList list;
    EXPECT_FALSE(list.setup(10));
    EXPECT_EQ(list.getCapacity(), 10);
    EXPECT_EQ(list.add("abcd", -2), 0);
    EXPECT_TRUE(list.setup(0));
    EXPECT_TRUE(list.setup(-1));
    expectList(list, {"abcd"});  // a failed setup changes nothing

    // A new buffer holds no strings.
    EXPECT_FALSE(list.setup(20));
    EXPECT_EQ(list.getCapacity(), 20);
    expectList(list, {});
    EXPECT_EQ(list.add("abcd", -2), 0);
}

TEST(CMyStringList, ClearKeepsTheBuffer) {
    CMyStringList list(10);
    makeBC(list);
    const char* buffer = list.getBuffer();
    list.clear();
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_EQ(list.getUsed(), 0);
    EXPECT_EQ(list.getBuffer(), buffer);
    EXPECT_EQ(list.getPtr("b"), nullptr);
    EXPECT_EQ(list.add("b", -2), 0);
    expectList(list, {"b"});
}

// Looks strings up without regard to ASCII case: what a specialised list
// does by overriding the virtual lookup.
class CaseInsensitiveList : public CMyStringList {
public:
    using CMyStringList::CMyStringList;
    using CMyStringList::getPtr;
    char* getPtr(const char* text) const noexcept override {
        for (std::int32_t i = 0; i < getCount(); ++i) {
            char* p = getPtr(i);
            if (strcasecmp(p, text) == 0) return p;
        }
        return nullptr;
    }
};

TEST(CMyStringList, RemoveAndAddGoThroughTheVirtualLookup) {
    CaseInsensitiveList derived(100);
    CMyStringList& list = derived;
    ASSERT_EQ(list.add("Image.TIF", -2), 0);
    EXPECT_EQ(list.add("image.tif", -2), -1);
    EXPECT_TRUE(list.remove("IMAGE.tif"));
    EXPECT_EQ(list.getCount(), 0);
}

// Two non-zero bytes: 65025 different strings of 3 bytes with terminator.
std::string nameOf(std::int32_t i) {
    return {static_cast<char>(1 + i % 255), static_cast<char>(1 + i / 255)};
}

TEST(CMyStringList, BeyondSixteenBitCountsAndSizes) {
    const std::int32_t n = 40000;  // 120000 used bytes
    CMyStringList list(n * 3 + 10);
    for (std::int32_t i = 0; i < n; ++i) ASSERT_EQ(list.add(nameOf(i).c_str(), -2), 0) << i;
    ASSERT_EQ(list.getCount(), n);
    ASSERT_EQ(list.getUsed(), n * 3);
    EXPECT_EQ(list.getPtr(39999), nameOf(39999));
    EXPECT_EQ(list.getPos(nameOf(35000).c_str()), 35000);
    EXPECT_EQ(list.add(nameOf(34567).c_str(), -1), -1);

    // Insert in the middle, with far more than 32767 bytes behind the point.
    ASSERT_EQ(list.add("mid", 100), 0);
    EXPECT_EQ(list.getPtr(99), nameOf(99));
    EXPECT_STREQ(list.getPtr(100), "mid");
    EXPECT_EQ(list.getPtr(101), nameOf(100));
    EXPECT_EQ(list.getPtr(n), nameOf(n - 1));
    // And beyond position 32767.
    ASSERT_EQ(list.add("late", 33000), 0);
    EXPECT_STREQ(list.getPtr(33000), "late");
    EXPECT_EQ(list.getPtr(32999), nameOf(32998));
    EXPECT_EQ(list.getPtr(33001), nameOf(32999));
    EXPECT_EQ(list.getPos("late"), 33000);
    EXPECT_EQ(list.getCount(), n + 2);
    EXPECT_EQ(list.getUsed(), n * 3 + 9);

    // Of the 10 spare bytes one is left: only an empty string fits.
    EXPECT_EQ(list.add("z", -2), -1);
    EXPECT_EQ(list.add("", -2), 0);
    EXPECT_TRUE(list.remove(""));

    // Remove from the start, the middle and past position 32767.
    EXPECT_TRUE(list.remove(0));
    EXPECT_TRUE(list.remove("mid"));
    EXPECT_TRUE(list.remove("late"));
    EXPECT_TRUE(list.remove(34000));  // nameOf(34001)
    EXPECT_EQ(list.getCount(), n - 2);
    EXPECT_EQ(list.getUsed(), (n - 2) * 3);
    EXPECT_EQ(list.getPtr(0), nameOf(1));
    EXPECT_EQ(list.getPtr(33999), nameOf(34000));
    EXPECT_EQ(list.getPtr(34000), nameOf(34002));
    EXPECT_EQ(list.getPtr(n - 3), nameOf(n - 1));
    EXPECT_EQ(list.getPos(nameOf(34001).c_str()), -1);
    EXPECT_EQ(list.getPos(nameOf(n - 1).c_str()), n - 3);
    // The whole buffer is still the strings back to back.
    std::vector<std::string> expected;
    for (std::int32_t i = 1; i < n; ++i) {
        if (i != 34001) expected.push_back(nameOf(i));
    }
    expectList(list, expected);
}

}  // namespace
}  // namespace lumbrel
