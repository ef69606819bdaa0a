// Pop-up menus: the agent chooses an item or dismisses the menu.
#include <exception>

#include "desktop/desktop.h"
#include "platform/window_system.h"
#include "state.h"

namespace lumbrel::platform {

int trackPopupMenu(WindowRef owner, const std::vector<std::string>& items, int screenX, int screenY,
                   int preselected) {
    desktop::Desktop& desk = desktop::Desktop::instance();
    desktop::Desktop::State& s = desk.state();
    desktop::PopupMenuRequest request;
    request.owner = owner;
    request.items = items;
    request.preselected = preselected >= 0 && static_cast<std::size_t>(preselected) < items.size() ? preselected : -1;
    request.x = screenX;
    request.y = screenY;
    const int outer = s.nesting;
    request.nesting = outer + 1;

    desktop::PopupMenuAnswer answer;
    std::string note;
    if (owner != nullptr && !isWindow(owner)) {
        // A menu needs a live window to send its messages to.
        note = "no owner window, dismissed";
        ++desk.state().agentFaults;
    } else if (request.nesting > desktop::kMaxAgentNesting) {
        note = "nested too deep, dismissed";
    } else {
        const std::shared_ptr<desktop::Agent> agent = desk.agent();
        s.nesting = outer + 1;
        try {
            answer = agent->answerPopupMenu(request);
        } catch (const std::exception& error) {
            note = std::string("agent error: ") + error.what() + ", dismissed";
        } catch (...) {
            note = "agent error, dismissed";
        }
        desk.state().nesting = outer;
    }

    int chosen = -1;
    if (!note.empty()) {
        if (note.rfind("agent error", 0) == 0) ++desk.state().agentFaults;
    } else if (answer.kind == desktop::PopupMenuAnswer::Kind::None) {
        note = "default";
    } else if (answer.kind == desktop::PopupMenuAnswer::Kind::Choose) {
        if (!answer.text.empty()) {
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (items[i] == answer.text) {
                    chosen = static_cast<int>(i);
                    break;
                }
            }
        } else if (answer.index >= 0 && static_cast<std::size_t>(answer.index) < items.size()) {
            chosen = answer.index;
        }
        if (chosen < 0) {
            ++desk.state().agentFaults;
            note = "no item " + (answer.text.empty() ? std::to_string(answer.index) : desktop::quoteForTranscript(answer.text)) +
                   ", dismissed";
        }
    }

    std::string line = "popup menu";
    for (std::size_t i = 0; i < items.size(); ++i) {
        line += static_cast<int>(i) == request.preselected ? " [*" : " [";
        line += desktop::escapeForTranscript(items[i]);
        line += ']';
    }
    line += " -> ";
    line += chosen >= 0 ? desktop::quoteForTranscript(items[static_cast<std::size_t>(chosen)]) : "dismissed";
    if (!note.empty()) line += " (" + note + ")";
    desk.state().transcript.add(desktop::EntryKind::Menu, std::move(line));
    return chosen;
}

}  // namespace lumbrel::platform
