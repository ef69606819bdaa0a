// The output checks as one report: every finding of the document gathered
// first (picture, page, finding, path), then one modal dialog listing them,
// sortable by column, with "Save anyway" and "Cancel". Cancel ends the checks
// as Cancel at an alert does; the host's save or output goes on as it always
// does after the checks. No finding, no dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/output_checks.h"

namespace lumbrel {

struct CheckFinding {
    std::string picture;    // the picture file's name
    std::int16_t page = 0;  // the document page it stands on; 0 for the pasteboard
    std::string pageLabel;  // the host's label of that page
    std::string finding;    // the finding in the user's language
    std::string path;       // the picture file's full path
};

enum class ReportColumn : std::uint8_t { Picture, Page, Finding, Path };
inline constexpr std::size_t kReportColumns = 4;

// The findings' indices in the order of `column`: names, findings and paths
// by their bytes, pages by number; findings that compare equal keep the
// document's order, also when `descending`.
std::vector<std::size_t> reportOrder(const std::vector<CheckFinding>& findings, ReportColumn column, bool descending);

// Walks the picture boxes of every spread of the current document, gathers
// what the checks of `flags` find and shows the report when anything was
// found. True when the user chose "Save anyway" or nothing was found.
bool reportImageChecks(const ImageCheckFlags& flags);

// The report dialog (host/check_report_dialog.cpp): true for "Save anyway".
bool showCheckReport(const std::vector<CheckFinding>& findings);

}  // namespace lumbrel
