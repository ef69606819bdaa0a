// What a bulk relink did, told in one alert ("N of M pictures re-linked, K
// not found, A names found more than once (the first was used)") when the
// preference "SyncReport" is on; the details go to the module's log as the
// relink meets them.
#pragma once

#include <string_view>
#include <vector>

namespace lumbrel {

struct RelinkSummary {
    int pictures = 0;        // pictures that named a file to look for
    int relinked = 0;        // of those, imported from their new file
    int notFound = 0;        // no file, or no usable line, for them
    int ambiguousNames = 0;  // names (or paths) that more than one file (or line) answered
};

// Log lines of the details: a name that more than one file matched, with
// every candidate (the first is the one used), and a picture left unlinked.
// Both only while "SyncReport" is on, so the log is as before without it.
void logAmbiguousName(std::string_view name, const std::vector<std::string_view>& candidates);
void logNotFound(std::string_view picture);

// The alert with the counts; nothing when "SyncReport" is off.
void showRelinkSummary(const RelinkSummary& summary);

}  // namespace lumbrel
