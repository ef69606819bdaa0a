// Splitting one line of a session script into words. A word is a run of
// bytes without blanks, or a quoted string ("..." with the escapes \" \\ \n
// \r \t). A "#" that starts a word begins a comment to the end of the line.
// Columns are counted in bytes from 1, so that an error can point at the
// place a person has to fix.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostsim::session {

struct Token {
    std::string text;    // quotes removed, escapes decoded
    int column = 0;      // where the word (or its opening quote) starts
    int endColumn = 0;   // one past its last byte
    bool quoted = false;
};

struct LexResult {
    std::vector<Token> tokens;
    std::string error;  // empty on success
    int errorColumn = 0;
    bool ok() const noexcept { return error.empty(); }
};

LexResult splitLine(std::string_view line);

}  // namespace hostsim::session
