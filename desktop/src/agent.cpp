#include "desktop/agent.h"

#include <algorithm>
#include <utility>

namespace desktop {

const char* alertStyleName(AlertStyle style) noexcept {
    switch (style) {
        case AlertStyle::Note: return "note";
        case AlertStyle::Caution: return "caution";
        case AlertStyle::Stop: return "stop";
    }
    return "note";
}

bool AlertRequest::hasButton(int item) const noexcept {
    return item >= 1 && item <= kAlertButtonCount && !buttons[static_cast<std::size_t>(item - 1)].empty();
}

int AlertRequest::itemTitled(std::string_view buttonTitle) const noexcept {
    for (int item = 1; item <= kAlertButtonCount; ++item) {
        if (hasButton(item) && buttons[static_cast<std::size_t>(item - 1)] == buttonTitle) return item;
    }
    return 0;
}

Agent::~Agent() = default;

int DefaultAgent::answerAlert(const AlertRequest&) {
    ++alertsAnswered_;
    return kTakeDefault;
}

void ScriptedAgent::answerWithButton(std::string title) { answers_.push_back({std::move(title), 0}); }

void ScriptedAgent::answerWithItem(int item) { answers_.push_back({std::string(), item}); }

int ScriptedAgent::answerAlert(const AlertRequest& alert) {
    seen_.push_back(alert);
    if (answers_.empty()) return kTakeDefault;
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    if (answer.title.empty()) return answer.item;
    const int item = alert.itemTitled(answer.title);
    return item != 0 ? item : -1;  // a title nobody shows is a fault, not "no decision"
}

}  // namespace desktop

namespace desktop {

const char* controlKindName(ControlKind kind) noexcept {
    switch (kind) {
        case ControlKind::PushButton: return "push";
        case ControlKind::DefaultButton: return "default push";
        case ControlKind::CheckBox: return "check box";
        case ControlKind::RadioButton: return "radio";
        case ControlKind::GroupBox: return "group";
        case ControlKind::StaticText: return "static";
        case ControlKind::EditText: return "edit";
        case ControlKind::ListBox: return "list";
        case ControlKind::PopUp: return "pop-up";
        case ControlKind::ComboBox: return "combo";
        case ControlKind::ProgressBar: return "progress";
        case ControlKind::TabControl: return "tabs";
        case ControlKind::Custom: break;
    }
    return "custom";
}

const char* dialogKeyName(DialogKey key) noexcept {
    switch (key) {
        case DialogKey::Tab: return "Tab";
        case DialogKey::ShiftTab: return "Shift-Tab";
        case DialogKey::Return: return "Return";
        case DialogKey::Escape: return "Escape";
        case DialogKey::Space: return "Space";
        case DialogKey::Up: return "Up";
        case DialogKey::Down: return "Down";
        case DialogKey::Backspace: return "Backspace";
        case DialogKey::Character: break;
    }
    return "Character";
}

const ControlView* DialogRequest::control(int wanted) const noexcept {
    for (const auto& view : controls) {
        if (view.id == wanted) return &view;
    }
    return nullptr;
}

const ControlView* DialogRequest::controlTitled(std::string_view wanted) const noexcept {
    for (const auto& view : controls) {
        if (view.text == wanted) return &view;
    }
    return nullptr;
}

namespace {

DialogAction targeted(DialogAction::Kind kind, int id) {
    DialogAction action;
    action.kind = kind;
    action.id = id;
    return action;
}

}  // namespace

DialogAction DialogAction::setText(int id, std::string text) {
    DialogAction action = targeted(Kind::SetText, id);
    action.text = std::move(text);
    return action;
}

DialogAction DialogAction::check(int id) { return targeted(Kind::Check, id); }

DialogAction DialogAction::uncheck(int id) { return targeted(Kind::Uncheck, id); }

DialogAction DialogAction::choose(int id, std::string itemText) {
    DialogAction action = targeted(Kind::Choose, id);
    action.text = std::move(itemText);
    return action;
}

DialogAction DialogAction::chooseIndex(int id, int index) {
    DialogAction action = targeted(Kind::Choose, id);
    action.index = index;
    return action;
}

DialogAction DialogAction::click(int id) { return targeted(Kind::Click, id); }

DialogAction DialogAction::clickTitled(std::string title) {
    DialogAction action = targeted(Kind::Click, 0);
    action.title = std::move(title);
    return action;
}

DialogAction DialogAction::contextClick(int id, int x, int y) {
    DialogAction action = targeted(Kind::ContextClick, id);
    action.x = x;
    action.y = y;
    return action;
}

DialogAction DialogAction::press(DialogKey key) {
    DialogAction action = targeted(Kind::Key, 0);
    action.key = key;
    return action;
}

DialogAction DialogAction::type(std::string characters) {
    DialogAction action = press(DialogKey::Character);
    action.text = std::move(characters);
    return action;
}

DialogAction DialogAction::wait() { return targeted(Kind::Wait, 0); }

DialogAction DialogAction::closeBox() { return targeted(Kind::CloseBox, 0); }

DialogAction Agent::nextDialogAction(const DialogRequest&) { return DialogAction::none(); }

void Agent::dialogActionRefused(const DialogRequest&, const DialogAction&, const std::string&) {}

PopupMenuAnswer Agent::answerPopupMenu(const PopupMenuRequest&) { return {}; }

ApplicationAnswer Agent::chooseApplication(const ApplicationRequest&) { return {}; }

DialogAction DefaultAgent::nextDialogAction(const DialogRequest&) {
    ++dialogQuestions_;
    return DialogAction::none();
}

PopupMenuAnswer DefaultAgent::answerPopupMenu(const PopupMenuRequest&) {
    ++popupMenus_;
    return {};
}

ApplicationAnswer DefaultAgent::chooseApplication(const ApplicationRequest&) {
    ++choosers_;
    return {};
}

void ScriptedAgent::queueDialogAction(DialogAction action) { dialogActions_.push_back(std::move(action)); }

DialogAction ScriptedAgent::nextDialogAction(const DialogRequest& dialog) {
    dialogsSeen_.push_back(dialog);
    if (dialogStep_) {
        // Copied: the step may replace itself.
        const DialogStep step = dialogStep_;
        DialogAction action = step(dialog);
        if (action.kind != DialogAction::Kind::None) return action;
    }
    if (dialogActions_.empty()) return DialogAction::none();
    DialogAction action = std::move(dialogActions_.front());
    dialogActions_.pop_front();
    return action;
}

void ScriptedAgent::choosePopupItem(std::string title) {
    PopupMenuAnswer answer;
    answer.kind = PopupMenuAnswer::Kind::Choose;
    answer.text = std::move(title);
    popupAnswers_.push_back(std::move(answer));
}

void ScriptedAgent::choosePopupIndex(int index) {
    PopupMenuAnswer answer;
    answer.kind = PopupMenuAnswer::Kind::Choose;
    answer.index = index;
    popupAnswers_.push_back(std::move(answer));
}

void ScriptedAgent::dismissPopup() {
    PopupMenuAnswer answer;
    answer.kind = PopupMenuAnswer::Kind::Dismiss;
    popupAnswers_.push_back(std::move(answer));
}

PopupMenuAnswer ScriptedAgent::answerPopupMenu(const PopupMenuRequest& menu) {
    popupsSeen_.push_back(menu);
    if (popupAnswers_.empty()) return {};
    PopupMenuAnswer answer = std::move(popupAnswers_.front());
    popupAnswers_.pop_front();
    return answer;
}

void ScriptedAgent::chooseApplicationAt(std::string path) {
    applicationAnswers_.push_back({ApplicationAnswer::Kind::Choose, std::move(path)});
}

void ScriptedAgent::cancelApplicationChooser() {
    applicationAnswers_.push_back({ApplicationAnswer::Kind::Cancel, std::string()});
}

ApplicationAnswer ScriptedAgent::chooseApplication(const ApplicationRequest& request) {
    choosersSeen_.push_back(request);
    if (applicationAnswers_.empty()) return {};
    ApplicationAnswer answer = std::move(applicationAnswers_.front());
    applicationAnswers_.pop_front();
    return answer;
}

}  // namespace desktop

namespace desktop {

namespace {

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

}  // namespace

std::string dialogSummary(const DialogRequest& dialog) {
    std::string out = "dialog " + quoted(dialog.title) + "\n";
    for (const auto& control : dialog.controls) {
        out.append(static_cast<std::size_t>(2 * std::max(1, control.depth)), ' ');
        out += std::to_string(control.id);
        out += ' ';
        out += control.kind == ControlKind::Custom ? control.className : controlKindName(control.kind);
        if (control.password) {
            out += " \"" + std::string(control.text.empty() ? 0 : 8, '*') + "\"";
        } else if (!control.text.empty() || control.kind == ControlKind::EditText) {
            out += ' ' + quoted(control.text);
        }
        if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::RadioButton) {
            out += control.value != 0 ? " [x]" : " [ ]";
        }
        if (control.kind == ControlKind::ProgressBar) {
            out += ' ' + std::to_string(control.value) + " of " + std::to_string(control.minimum) + ".." +
                   std::to_string(control.maximum);
        }
        if (!control.items.empty()) {
            out += " {";
            for (std::size_t i = 0; i < control.items.size(); ++i) {
                if (i > 0) out += " | ";
                const bool current =
                    control.kind == ControlKind::ListBox
                        ? std::find(control.selectedItems.begin(), control.selectedItems.end(), static_cast<int>(i)) !=
                              control.selectedItems.end()
                        : control.value == static_cast<int>(i);
                if (current) out += '*';
                out += control.items[i];
            }
            out += '}';
        }
        if (control.focused) out += " (focused)";
        if (!control.visible) {
            out += " (hidden)";
        } else if (!control.enabled) {
            out += " (disabled)";
        }
        out += '\n';
    }
    return out;
}

}  // namespace desktop
