#include "terminal_agent.h"

#include <cctype>
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
