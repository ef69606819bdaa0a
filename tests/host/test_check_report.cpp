// The order of the report's rows under each column, both ways.
#include <gtest/gtest.h>

#include <vector>

#include "host/check_report.h"

namespace lumbrel::test {
namespace {

TEST(CheckReportOrder, EachColumnSortsBothWaysAndTiesKeepTheDocumentsOrder) {
    // Pages as numbers ("10" after "9"), names and paths by their bytes
    // (capitals first), equal keys in document order either way.
    const std::vector<CheckFinding> findings = {
        {"b.tif", 10, "10", "not CMYK", "/z/b.tif"},
        {"a.tif", 9, "9", "JPEG image", "/y/a.tif"},
        {"B.tif", 0, "pasteboard", "not CMYK", "/x/B.tif"},
        {"a.tif", 9, "9", "EPS with ICC profile", "/y/a.tif"},
    };
    using Order = std::vector<std::size_t>;
    const struct {
        ReportColumn column;
        bool descending;
        Order order;
    } cases[] = {
        {ReportColumn::Picture, false, Order{2, 1, 3, 0}},
        {ReportColumn::Picture, true, Order{0, 1, 3, 2}},
        {ReportColumn::Page, false, Order{2, 1, 3, 0}},
        {ReportColumn::Page, true, Order{0, 1, 3, 2}},
        {ReportColumn::Finding, false, Order{3, 1, 0, 2}},
        {ReportColumn::Finding, true, Order{0, 2, 1, 3}},
        {ReportColumn::Path, false, Order{2, 1, 3, 0}},
        {ReportColumn::Path, true, Order{0, 1, 3, 2}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reportOrder(findings, c.column, c.descending), c.order)
            << "column " << static_cast<int>(c.column) << (c.descending ? " descending" : " ascending");
    }
    EXPECT_TRUE(reportOrder({}, ReportColumn::Page, true).empty());
}

}  // namespace
}  // namespace lumbrel::test
