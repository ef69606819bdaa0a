#include "terminal_agent.h"

#include "dialog_lines.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

namespace hostsim::session {

namespace {

std::string trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Alert texts use the Mac's CR line ends; the terminal wants LF.
void printText(std::FILE* out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            std::fputc('\n', out);
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            std::fputc(c, out);
        }
    }
    std::fputc('\n', out);
}

}  // namespace

int itemOfTypedAnswer(const desktop::AlertRequest& alert, const std::string& typed) {
    const std::string answer = trimmed(typed);
    if (answer.empty()) return desktop::kTakeDefault;
    if (answer.size() == 1 && answer[0] >= '1' && answer[0] <= '9') {
        const int item = answer[0] - '0';
        return alert.hasButton(item) ? item : 0;
    }
    if (const int item = alert.itemTitled(answer); item != 0) return item;
    for (int item = 1; item <= desktop::kAlertButtonCount; ++item) {
        if (alert.hasButton(item) && equalIgnoringCase(alert.buttons[static_cast<std::size_t>(item - 1)], answer)) {
            return item;
        }
    }
    return 0;
}

int TerminalAgent::answerAlert(const desktop::AlertRequest& alert) {
    std::fprintf(output_, "--- alert \"%s\" (%s) ---\n", alert.title.c_str(), desktop::alertStyleName(alert.style));
    printText(output_, alert.message);
    if (!alert.informative.empty()) printText(output_, alert.informative);
    for (int item = 1; item <= desktop::kAlertButtonCount; ++item) {
        if (!alert.hasButton(item)) continue;
        std::fprintf(output_, "  [%d] %s%s\n", item, alert.buttons[static_cast<std::size_t>(item - 1)].c_str(),
                     item == 1 ? " (default)" : "");
    }
    for (;;) {
        std::fputs("button (number or title, empty for the default): ", output_);
        std::fflush(output_);
        const std::optional<std::string> typed = input_.readLine();
        if (!typed && input_.takeInterrupt()) {
            // Ctrl-C as the host's Command-period: the cancel button when there is one.
            constexpr int kCancelItem = 2;
            const bool cancel = alert.hasButton(kCancelItem);
            std::fputs(cancel ? "\n(interrupted: cancel button)\n" : "\n(interrupted: default button)\n", output_);
            std::fflush(output_);
            return cancel ? kCancelItem : desktop::kTakeDefault;
        }
        if (!typed) {
            std::fputs("\n(end of input: default button)\n", output_);
            std::fflush(output_);
            return desktop::kTakeDefault;
        }
        if (echo_) std::fprintf(output_, "%s\n", typed->c_str());
        const int item = itemOfTypedAnswer(alert, *typed);
        if (item != 0 || trimmed(*typed).empty()) return item;
        std::fprintf(output_, "no button \"%s\" here\n", trimmed(*typed).c_str());
    }
}

}  // namespace hostsim::session

namespace hostsim::session {

namespace {

// The line typed, echoed for input that is no terminal; nullopt at the end of input.
std::optional<std::string> readAnswer(LineInput& input, std::FILE* out, bool echo, const char* prompt) {
    std::fputs(prompt, out);
    std::fflush(out);
    std::optional<std::string> typed = input.readLine();
    if (typed && echo) std::fprintf(out, "%s\n", typed->c_str());
    return typed;
}

}  // namespace

desktop::DialogAction TerminalAgent::nextDialogAction(const desktop::DialogRequest& dialog) {
    std::fputs(describeForTerminal(dialog).c_str(), output_);
    for (;;) {
        const std::optional<std::string> typed = readAnswer(input_, output_, echo_, "dialog action (help lists them): ");
        if (!typed) {
            std::fputs("\n(end of input: the dialog is closed)\n", output_);
            std::fflush(output_);
            return desktop::DialogAction::closeBox();
        }
        const std::string text = trimmed(*typed);
        if (text.empty()) return desktop::DialogAction::none();
        if (text == "help" || text == "?") {
            std::fputs(dialogWordsSummary(), output_);
            std::fputs("  (empty line: no decision; end of input: close)\n", output_);
            continue;
        }
        if (text == "show") {
            std::fputs(describeForTerminal(dialog).c_str(), output_);
            continue;
        }
        DialogLine line;
        std::string error;
        if (!parseDialogText(text, line, error)) {
            std::fprintf(output_, "error: %s\n", error.c_str());
            continue;
        }
        if (line.kind == DialogLine::Kind::Snapshot) {
            const std::string why = writeSnapshot(dialog, line.path);
            std::fprintf(output_, "%s\n", why.empty() ? ("picture written to " + line.path).c_str() : why.c_str());
            continue;
        }
        if (line.kind == DialogLine::Kind::Expect) {
            const std::string why = checkFailure(dialog, line);
            std::fprintf(output_, "%s\n", why.empty() ? "yes" : ("no: " + why).c_str());
            continue;
        }
        if (const std::string why = whyNotPossible(dialog, line); !why.empty()) {
            std::fprintf(output_, "cannot: %s\n", why.c_str());
            continue;
        }
        return line.action;
    }
}

desktop::PopupMenuAnswer TerminalAgent::answerPopupMenu(const desktop::PopupMenuRequest& menu) {
    std::fputs("--- pop-up menu ---\n", output_);
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        std::fprintf(output_, "  [%zu] %s%s\n", i + 1, menu.items[i].c_str(),
                     static_cast<int>(i) == menu.preselected ? " (marked)" : "");
    }
    for (;;) {
        const std::optional<std::string> typed =
            readAnswer(input_, output_, echo_, "item (number or title, empty to dismiss): ");
        desktop::PopupMenuAnswer answer;
        if (!typed || trimmed(*typed).empty()) {
            answer.kind = desktop::PopupMenuAnswer::Kind::Dismiss;
            return answer;
        }
        const std::string text = trimmed(*typed);
        answer.kind = desktop::PopupMenuAnswer::Kind::Choose;
        char* end = nullptr;
        const long number = std::strtol(text.c_str(), &end, 10);
        if (end != nullptr && *end == '\0' && number >= 1 && static_cast<std::size_t>(number) <= menu.items.size()) {
            answer.index = static_cast<int>(number - 1);
            return answer;
        }
        for (const std::string& item : menu.items) {
            if (equalIgnoringCase(item, text)) {
                answer.text = item;
                return answer;
            }
        }
        std::fprintf(output_, "no item \"%s\" here\n", text.c_str());
    }
}

desktop::ApplicationAnswer TerminalAgent::chooseApplication(const desktop::ApplicationRequest& request) {
    std::fprintf(output_, "--- choose an application: %s ---\n", request.prompt.c_str());
    const std::optional<std::string> typed = readAnswer(input_, output_, echo_, "path (empty to cancel): ");
    desktop::ApplicationAnswer answer;
    if (!typed || trimmed(*typed).empty()) {
        answer.kind = desktop::ApplicationAnswer::Kind::Cancel;
        return answer;
    }
    answer.kind = desktop::ApplicationAnswer::Kind::Choose;
    answer.path = trimmed(*typed);
    return answer;
}

}  // namespace hostsim::session
