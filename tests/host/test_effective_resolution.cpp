#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/effective_resolution.h"

namespace lumbrel {
namespace {

constexpr Fixed percent(int value) { return static_cast<Fixed>(value * 65536 / 100); }

TEST(EffectivePpi, ResolutionDividedByScaleLowerAxisWins) {
    struct Case {
        double resH, resV;
        Fixed scaleH, scaleV;
        double expected;
    };
    const Case cases[] = {
        {72, 72, percent(100), percent(100), 72},    {72, 72, percent(50), percent(50), 144},
        {72, 72, percent(400), percent(400), 18},    {150, 150, percent(50), percent(50), 300},
        {150, 150, percent(200), percent(200), 75},  {300, 300, percent(100), percent(100), 300},
        {300, 300, percent(125), percent(125), 240}, {300, 300, percent(400), percent(400), 75},
        // Unequal axes: the lower figure counts, whichever axis gives it.
        {300, 300, percent(100), percent(200), 150}, {300, 150, percent(100), percent(100), 150},
        {300, 600, percent(200), percent(100), 150}, {150, 300, percent(50), percent(200), 150},
        // A flipped picture keeps its size.
        {300, 300, -percent(200), percent(100), 150},
    };
    for (const Case& c : cases) {
        const std::optional<double> ppi = effectivePpi(c.resH, c.resV, c.scaleH, c.scaleV);
        ASSERT_TRUE(ppi.has_value()) << c.resH << "x" << c.resV << " at " << c.scaleH << "/" << c.scaleV;
        EXPECT_NEAR(*ppi, c.expected, 1e-9) << c.resH << "x" << c.resV << " at " << c.scaleH << "/" << c.scaleV;
    }
}

TEST(EffectivePpi, NoFigureWithoutBothResolutionsAndScales) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double resH, resV;
        Fixed scaleH, scaleV;
    };
    const Case cases[] = {
        {300, 300, 0, percent(100)}, {300, 300, percent(100), 0}, {0, 300, percent(100), percent(100)},
        {300, -1, percent(100), percent(100)}, {nan, 300, percent(100), percent(100)},
        {300, inf, percent(100), percent(100)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(effectivePpi(c.resH, c.resV, c.scaleH, c.scaleV).has_value())
            << c.resH << "x" << c.resV << " at " << c.scaleH << "/" << c.scaleV;
    }
}

TEST(EffectivePpi, TheThresholdComparesTheFigureAsShown) {
    struct Case {
        double ppi;
        std::int32_t threshold;
        bool below;
    };
    const Case cases[] = {{299.9994, 300, false}, {299.4, 300, true}, {300.0, 300, false},
                          {75.0, 300, true},      {75.0, 75, false},  {74.5, 75, false}};
    for (const Case& c : cases) EXPECT_EQ(belowThreshold(c.ppi, c.threshold), c.below) << c.ppi << " " << c.threshold;
}

}  // namespace
}  // namespace lumbrel
