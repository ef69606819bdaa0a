#include "script_lexer.h"

namespace hostsim::session {

namespace {

bool isBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

int columnOf(std::size_t index) noexcept { return static_cast<int>(index) + 1; }

}  // namespace

LexResult splitLine(std::string_view line) {
    LexResult result;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;  // a comment runs to the end of the line

        Token token;
        token.column = columnOf(i);
        if (line[i] == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i];
                if (c == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (c == '\\') {
                    if (i + 1 >= line.size()) break;  // reported as unterminated below
                    const char e = line[i + 1];
                    switch (e) {
                        case '"': token.text += '"'; break;
                        case '\\': token.text += '\\'; break;
                        case 'n': token.text += '\n'; break;
                        case 'r': token.text += '\r'; break;
                        case 't': token.text += '\t'; break;
                        default:
                            result.error = std::string("unknown escape \\") + e + " (use \\\" \\\\ \\n \\r or \\t)";
                            result.errorColumn = columnOf(i);
                            return result;
                    }
                    i += 2;
                    continue;
                }
                token.text += c;
                ++i;
            }
            if (!closed) {
                result.error = "unterminated string";
                result.errorColumn = token.column;
                return result;
            }
            if (i < line.size() && !isBlank(line[i]) && line[i] != '#') {
                result.error = "a blank must follow a closing quote";
                result.errorColumn = columnOf(i);
                return result;
            }
        } else {
            const std::size_t start = i;
            while (i < line.size() && !isBlank(line[i])) {
                if (line[i] == '"') {
                    result.error = "a quote inside a word (quote the whole word)";
                    result.errorColumn = columnOf(i);
                    return result;
                }
                ++i;
            }
            token.text.assign(line.substr(start, i - start));
        }
        token.endColumn = columnOf(i);
        result.tokens.push_back(std::move(token));
    }
    return result;
}

}  // namespace hostsim::session
