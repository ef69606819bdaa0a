#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "util/number_text.h"

namespace lumbrel {
namespace {

TEST(NumberText, LongReadsLikeAtolWithoutOverflow) {
    EXPECT_EQ(parseLong("12abc"), 12);
    EXPECT_EQ(parseLong("  -7"), -7);
    EXPECT_EQ(parseLong("+5"), 5);
    EXPECT_EQ(parseLong("abc"), 0);
    EXPECT_EQ(parseLong(""), 0);
    EXPECT_EQ(parseLong("- 5"), 0);
    EXPECT_EQ(parseLong("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(parseLong("-99999999999999999999999"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseLong("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(NumberText, DoubleUsesADotWhateverTheLocale) {
    // A German C locale would read "2.5" as 2; settings files always use ".".
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_DOUBLE_EQ(parseDouble("2.5"), 2.5);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_DOUBLE_EQ(parseDouble("-3.0000"), -3.0);
    EXPECT_DOUBLE_EQ(parseDouble(" 1e3x"), 1000.0);
    EXPECT_DOUBLE_EQ(parseDouble("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(parseDouble("x1"), 0.0);
    EXPECT_DOUBLE_EQ(parseDouble("1e-400"), 0.0);
    EXPECT_DOUBLE_EQ(parseDouble("1e400"), std::numeric_limits<double>::max());
}

}  // namespace
}  // namespace lumbrel
