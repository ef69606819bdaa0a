// The report dialog: a list box whose rows the module draws in four columns,
// under push buttons that stand as the column headers. A click on a header
// sorts by that column; a second click on the same header reverses the order.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "host/check_report.h"
#include "platform/window_system.h"
#include "ui/list_box.h"
#include "ui/my_dialog.h"
#include "ui/own_window_classes.h"

namespace lumbrel {

namespace {

constexpr std::int16_t kReportSaveAnyway = 1;
constexpr std::int16_t kReportCancel = 2;
constexpr std::int16_t kReportList = 3;
constexpr std::int16_t kReportFirstHeader = 4;  // Picture, Page, Finding, Path: 4 to 7

constexpr std::uint32_t kBlack = 0x000000;
constexpr int kCellPadding = 3;
constexpr const char* kAscending = " \xE2\x96\xB2";   // ▲
constexpr const char* kDescending = " \xE2\x96\xBC";  // ▼

struct ReportState {
    const std::vector<CheckFinding>* findings = nullptr;
    std::vector<std::size_t> order;
    std::array<std::string, kReportColumns> headers;  // the titles as described
    std::array<int, kReportColumns + 1> columnLeft{};  // in list coordinates; the last is the right edge
    int sortedBy = -1;                                 // no column until the first click
    bool descending = false;
};

std::string cellText(const CheckFinding& finding, std::size_t column) {
    switch (static_cast<ReportColumn>(column)) {
        case ReportColumn::Picture: return finding.picture;
        case ReportColumn::Page: return finding.pageLabel;
        case ReportColumn::Finding: return finding.finding;
        case ReportColumn::Path: return finding.path;
    }
    return {};
}

// The row's text holds the cells separated by tabs, so that the row reads
// whole where it is not drawn (the dialog's text form, a screen reader).
std::string rowText(const CheckFinding& finding) {
    std::string text;
    for (std::size_t column = 0; column < kReportColumns; ++column) {
        if (column > 0) text += '\t';
        text += cellText(finding, column);
    }
    return text;
}

void drawRow(std::int16_t row, std::int16_t, std::int16_t, Rect* rect, ControlRef control) {
    const auto* state = reinterpret_cast<const ReportState*>(getControlUserData(control));
    platform::Canvas* canvas = currentListCanvas();
    if (state == nullptr || canvas == nullptr || rect == nullptr || row < 0 ||
        static_cast<std::size_t>(row) >= state->order.size()) {
        return;
    }
    const CheckFinding& finding = (*state->findings)[state->order[static_cast<std::size_t>(row)]];
    for (std::size_t column = 0; column < kReportColumns; ++column) {
        platform::WindowRect cell;
        cell.left = state->columnLeft[column] + kCellPadding;
        cell.top = rect->top;
        cell.width = std::max(0, state->columnLeft[column + 1] - state->columnLeft[column] - 2 * kCellPadding);
        cell.height = rect->bottom - rect->top;
        // Pages are numbers: right-aligned, as a column of numbers reads.
        const int align = static_cast<ReportColumn>(column) == ReportColumn::Page ? 2 : 0;
        platform::drawText(canvas, cell, cellText(finding, column), align, kBlack, dialogFont());
    }
}

void fillRows(CMyDialog& dialog, ReportState& state) {
    CMyListBox list(dialog.window(), kReportList);
    list.clear();
    for (const std::size_t index : state.order) list.addString(rowText((*state.findings)[index]).c_str());
    for (std::size_t column = 0; column < kReportColumns; ++column) {
        std::string title = state.headers[column];
        if (static_cast<int>(column) == state.sortedBy) title += state.descending ? kDescending : kAscending;
        dialog.setText(static_cast<std::int16_t>(kReportFirstHeader + column), "%s", title.c_str());
    }
    list.draw();
}

void prepare(CMyDialog& dialog, ReportState& state) {
    ControlRef list = dialog.getControl(kReportList);
    const Rect listBounds = getControlBounds(list);
    for (std::size_t column = 0; column < kReportColumns; ++column) {
        ControlRef header = dialog.getControl(static_cast<std::int16_t>(kReportFirstHeader + column));
        state.headers[column] = getControlText(header);
        state.columnLeft[column] = getControlBounds(header).left - listBounds.left;
    }
    state.columnLeft[kReportColumns] = listBounds.right - listBounds.left;
    setupListBox(list, drawRow, reinterpret_cast<std::intptr_t>(&state));
    fillRows(dialog, state);
}

void sortBy(CMyDialog& dialog, ReportState& state, int column) {
    state.descending = column == state.sortedBy && !state.descending;
    state.sortedBy = column;
    state.order = reportOrder(*state.findings, static_cast<ReportColumn>(column), state.descending);
    fillRows(dialog, state);
}

bool handleItem(CMyDialog* dialog, std::int16_t item, std::intptr_t user) {
    auto& state = *reinterpret_cast<ReportState*>(user);
    if (item == kItemWillShow) {
        prepare(*dialog, state);
        return true;
    }
    if (item == kItemLoopEnded) {
        // The rows outlive nothing of the state: the draw procedure goes first.
        setupListBox(dialog->getControl(kReportList), nullptr, 0);
        return true;
    }
    if (item >= kReportFirstHeader && item < kReportFirstHeader + static_cast<std::int16_t>(kReportColumns)) {
        sortBy(*dialog, state, item - kReportFirstHeader);
        return true;
    }
    return false;
}

}  // namespace

bool showCheckReport(const std::vector<CheckFinding>& findings) {
    ReportState state;
    state.findings = &findings;
    state.order.resize(findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) state.order[i] = i;
    CMyDialog dialog(nullptr, "REPORT", kReportSaveAnyway, kReportCancel, 0);
    return dialog.doModal(handleItem, reinterpret_cast<std::intptr_t>(&state)) == kReportSaveAnyway;
}

}  // namespace lumbrel
