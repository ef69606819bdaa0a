// Parses arbitrary text as a session script, and each of its lines as the
// words a person types in a dialog, and checks what every parse must hold:
// faults point at a line and column that exist and say what is wrong, and the
// actions keep the line numbers of the text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hostsim/session/dialog_lines.h"
#include "hostsim/session/script.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Lines as the parser counts them: LF, CR LF and CR each end one.
int lineCount(std::string_view text) {
    int lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++lines;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const hostsim::session::Script script = hostsim::session::parseScript(text);
    const int lines = lineCount(text);
    int previous = 0;
    for (const hostsim::session::ParseError& error : script.errors) {
        check(error.line >= 1 && error.line <= lines);
        check(error.line > previous);  // one fault per line, in order
        previous = error.line;
        check(error.column >= 1);
        check(!error.message.empty());
        check(!hostsim::session::formatError(error, "fuzz").empty());
    }
    previous = 0;
    for (const hostsim::session::Action& action : script.actions) {
        check(action.line >= 1 && action.line <= lines);
        check(action.line > previous);
        previous = action.line;
    }

    // The same text, line by line, as typed at the terminal inside a dialog.
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        hostsim::session::DialogLine line;
        std::string error;
        if (!hostsim::session::parseDialogText(text.substr(start, end - start), line, error)) {
            check(!error.empty());
        }
        start = end + 1;
    }
    return 0;
}
