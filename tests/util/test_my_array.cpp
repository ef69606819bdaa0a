#include "util/my_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace lumbrel {
namespace {

std::int32_t valueAt(const MyArray& array, std::int32_t index) {
    std::int32_t value = 0;
    std::memcpy(&value, array.getElem(index), sizeof value);
    return value;
}

void fill(MyArray& array, std::int32_t first, std::int32_t n) {
    for (std::int32_t v = first; v < first + n; ++v) ASSERT_TRUE(array.addElem(&v));
}

TEST(MyArray, DefaultArrayHasNoBlockAndGrowsByOneStepOnFirstAdd) {
    MyArray array;
    EXPECT_EQ(array.getCount(), 0);
    EXPECT_EQ(array.getCapacity(), 0);
    EXPECT_EQ(array.getData(), nullptr);
    EXPECT_EQ(array.getElem(0), nullptr);

    // An array made empty learns its element size through setup().
    ASSERT_TRUE(array.setup(0, 4));
    const std::int32_t v = 42;
    ASSERT_TRUE(array.addElem(&v));
    EXPECT_EQ(array.getCapacity(), 1000);
    EXPECT_EQ(array.getCount(), 1);
    EXPECT_EQ(valueAt(array, 0), 42);
}

TEST(MyArray, NewBlockIsZeroFilled) {
    MyArray array(10, 16);
    ASSERT_NE(array.getData(), nullptr);
    EXPECT_EQ(array.getCount(), 0);
    EXPECT_EQ(array.getCapacity(), 10);
    EXPECT_EQ(array.getElemSize(), 16u);
    const auto* bytes = static_cast<const unsigned char*>(array.getData());
    for (int i = 0; i < 160; ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(MyArray, GrowsByExactlyOneThousandAndKeepsValues) {
    MyArray array(1000, 4);
    fill(array, 0, 1000);
    EXPECT_EQ(array.getCapacity(), 1000);
    fill(array, 1000, 1);
    EXPECT_EQ(array.getCapacity(), 2000);
    EXPECT_EQ(array.getCount(), 1001);
    for (std::int32_t i = 0; i < 1001; ++i) ASSERT_EQ(valueAt(array, i), i);
    // The grown part is zero-filled like a new block.
    const auto* bytes = static_cast<const unsigned char*>(array.getData());
    for (std::size_t i = 1001 * 4; i < 2000 * 4; ++i) ASSERT_EQ(bytes[i], 0) << i;

    fill(array, 1001, 999);
    EXPECT_EQ(array.getCapacity(), 2000);
    fill(array, 2000, 1);
    EXPECT_EQ(array.getCapacity(), 3000);
}

TEST(MyArray, SmallCapacityStillGrowsByOneThousand) {
    MyArray array(1, 16);
    const char entry[16] = "first entry";
    const char next[16] = "second entry";
    ASSERT_TRUE(array.addElem(entry));
    ASSERT_TRUE(array.addElem(next));
    EXPECT_EQ(array.getCapacity(), 1001);
    EXPECT_STREQ(static_cast<const char*>(array.getElem(0)), "first entry");
    EXPECT_STREQ(static_cast<const char*>(array.getElem(1)), "second entry");
}

TEST(MyArray, GetElemAndRmvElemOutsideTheElements) {
    MyArray array(10, 4);
    fill(array, 7, 3);
    EXPECT_EQ(array.getElem(3), nullptr);
    EXPECT_EQ(array.getElem(-1), nullptr);
    EXPECT_NE(array.getElem(2), nullptr);
    // Slots behind the count hold bytes but are no elements.
    EXPECT_EQ(array.getElem(5), nullptr);

    EXPECT_EQ(array.rmvElem(3), 3);
    EXPECT_EQ(array.rmvElem(-1), 3);
    EXPECT_EQ(array.getCount(), 3);
    EXPECT_EQ(valueAt(array, 0), 7);
    EXPECT_EQ(valueAt(array, 2), 9);
}

TEST(MyArray, RmvElemMovesTheRestDownAndKeepsCapacity) {
    MyArray array(1000, 4);
    fill(array, 0, 1500);
    EXPECT_EQ(array.rmvElem(0), 1499);
    EXPECT_EQ(valueAt(array, 0), 1);
    EXPECT_EQ(array.rmvElem(700), 1498);
    EXPECT_EQ(valueAt(array, 699), 700);
    EXPECT_EQ(valueAt(array, 700), 702);
    EXPECT_EQ(array.rmvElem(1497), 1497);  // the last one
    EXPECT_EQ(valueAt(array, 1496), 1498);
    EXPECT_EQ(array.getCapacity(), 2000);
}

TEST(MyArray, GetPosComparesAllElementBytes) {
    struct Entry {
        std::int32_t id;
        char name[12];
    };
    MyArray array(4, sizeof(Entry));
    const Entry a{1, "alpha"};
    const Entry b{2, "beta"};
    const Entry b2{2, "beta2"};
    ASSERT_TRUE(array.addElem(&a));
    ASSERT_TRUE(array.addElem(&b));
    ASSERT_TRUE(array.addElem(&b));
    EXPECT_EQ(array.getPos(&a), 0);
    EXPECT_EQ(array.getPos(&b), 1);  // the first of two equal ones
    EXPECT_EQ(array.getPos(&b2), -1);
    EXPECT_EQ(array.getPos(nullptr), -1);

    // Elements removed by lowering the count are no longer found.
    array.setCnt(1);
    EXPECT_EQ(array.getPos(&b), -1);
}

TEST(MyArray, SetCntNeverRaisesTheCount) {
    MyArray array(10, 4);
    fill(array, 0, 5);
    array.setCnt(6);
    EXPECT_EQ(array.getCount(), 5);
    array.setCnt(5);
    EXPECT_EQ(array.getCount(), 5);
    array.setCnt(-1);
    EXPECT_EQ(array.getCount(), 5);
    array.setCnt(2);
    EXPECT_EQ(array.getCount(), 2);
    EXPECT_EQ(array.getElem(2), nullptr);
    // Appending reuses the freed slots.
    const std::int32_t v = 99;
    ASSERT_TRUE(array.addElem(&v));
    EXPECT_EQ(valueAt(array, 2), 99);
    array.setCnt(0);
    EXPECT_EQ(array.getCount(), 0);
}

TEST(MyArray, AddElemsAppendsInOrderIncludingFromItself) {
    MyArray a(1000, 4);
    MyArray b(2, 4);
    fill(a, 0, 999);
    fill(b, 5000, 3);
    a.addElems(&b);
    ASSERT_EQ(a.getCount(), 1002);
    EXPECT_EQ(a.getCapacity(), 2000);
    EXPECT_EQ(valueAt(a, 998), 998);
    EXPECT_EQ(valueAt(a, 999), 5000);
    EXPECT_EQ(valueAt(a, 1001), 5002);
    EXPECT_EQ(b.getCount(), 3);

    // Doubling an array onto itself across a growth reads every element
    // from the moved block.
    MyArray self(1000, 4);
    fill(self, 0, 800);
    self.addElems(&self);
    ASSERT_EQ(self.getCount(), 1600);
    for (std::int32_t i = 0; i < 1600; ++i) ASSERT_EQ(valueAt(self, i), i % 800) << i;

    a.addElems(nullptr);
    EXPECT_EQ(a.getCount(), 1002);
}

TEST(MyArray, AddElemOfOwnElementAcrossGrowth) {
    MyArray array(1, 4);
    const std::int32_t v = 1234;
    ASSERT_TRUE(array.addElem(&v));
    // The source lies in the block that the growth reallocates.
    ASSERT_TRUE(array.addElem(array.getElem(0)));
    EXPECT_EQ(array.getCapacity(), 1001);
    EXPECT_EQ(valueAt(array, 1), 1234);
}

TEST(MyArray, InvalidSizesLeaveTheArrayUnchanged) {
    MyArray negative(-1, 4);
    EXPECT_EQ(negative.getData(), nullptr);
    EXPECT_EQ(negative.getCapacity(), 0);

    MyArray array(10, 4);
    fill(array, 0, 3);
    void* block = array.getData();
    EXPECT_FALSE(array.setup(10, -4));
    EXPECT_FALSE(array.setup(-10, 4));
    EXPECT_EQ(array.getData(), block);
    EXPECT_EQ(array.getCapacity(), 10);
    EXPECT_EQ(array.getCount(), 3);
    EXPECT_EQ(valueAt(array, 2), 2);
    EXPECT_FALSE(array.addElem(nullptr));
    EXPECT_EQ(array.getCount(), 3);
}

TEST(MyArray, SetupKeepsTheCountWithinTheNewBlock) {
    MyArray array(10, 4);
    fill(array, 1, 5);
    ASSERT_TRUE(array.setup(20, 4));
    EXPECT_EQ(array.getCapacity(), 20);
    EXPECT_EQ(array.getCount(), 5);
    EXPECT_EQ(valueAt(array, 4), 0);  // a new zero-filled block
    ASSERT_TRUE(array.setup(2, 4));
    EXPECT_EQ(array.getCount(), 2);
    EXPECT_EQ(array.getElem(2), nullptr);
}

}  // namespace
}  // namespace lumbrel
