// Whoever plays the user. Every decision the desktop needs from a person (which
// alert button to press, the actions inside modal dialogs, pop-up menus, the
// application chooser) is asked of the current agent: a session script, the person at the
// terminal, or a test.
//
// Extending: every new kind of decision becomes one more virtual function
// taking a request struct that describes everything the user would see, with a
// body that answers "no decision" (kTakeDefault or its equivalent), so that
// existing agents keep compiling and behave as the default agent for it.
// Agents may run module code (a terminal agent that lets the person act in the
// host before answering); the desktop keeps no reference into its own state
// across these calls, and nested questions arrive with `nesting` above 1.
// Agents must not throw: an exception is caught, counted as a fault and the
// default is taken.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumbrel::platform {
struct NativeWindow;
using WindowRef = NativeWindow*;
}  // namespace lumbrel::platform

namespace desktop {

enum class AlertStyle { Note, Caution, Stop };

// "note", "caution", "stop".
const char* alertStyleName(AlertStyle style) noexcept;

// An answer that makes no decision: the desktop takes the default button.
inline constexpr int kTakeDefault = 0;

inline constexpr int kAlertButtonCount = 3;

// Everything a modal alert shows.
struct AlertRequest {
    AlertStyle style = AlertStyle::Note;
    std::string title;
    std::string message;
    std::string informative;  // empty when there is none
    // Button titles by item number minus 1: default (1), cancel (2), other (3);
    // an empty title is a button that is not shown.
    std::array<std::string, kAlertButtonCount> buttons;
    int nesting = 1;  // 1 for an alert raised outside any other question

    bool hasButton(int item) const noexcept;
    // Item number of the shown button with exactly this title, or 0.
    int itemTitled(std::string_view buttonTitle) const noexcept;
};

// ---- Dialogs ---------------------------------------------------------------------

// What a control is to the user, from its class and style.
enum class ControlKind {
    PushButton,
    DefaultButton,
    CheckBox,
    RadioButton,
    GroupBox,
    StaticText,
    EditText,
    ListBox,
    PopUp,     // a drop-down list: choose one of its items
    ComboBox,  // an editable text with a drop-down list
    ProgressBar,
    TabControl,
    Custom,  // a window class of the module (panes, separators, radio groups, …)
};

// "push", "default push", "check box", "radio", "group", "static", "edit",
// "list", "pop-up", "combo", "progress", "tabs", "custom".
const char* controlKindName(ControlKind kind) noexcept;

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One window inside a dialog, as the user sees it.
struct ControlView {
    lumbrel::platform::WindowRef window = nullptr;
    int id = -1;
    std::string className;
    ControlKind kind = ControlKind::Custom;
    std::uint32_t style = 0;
    std::string text;  // title or contents; a password field's real text
    int value = 0;     // check state, current item (-1: none), position
    int minimum = 0;   // progress bars
    int maximum = 0;
    std::vector<std::string> items;  // pop-up, list and tab labels
    std::vector<int> selectedItems;  // list boxes
    bool enabled = true;  // the control and every ancestor enabled
    bool visible = true;  // the control and every ancestor shown
    bool focused = false;
    bool password = false;
    bool multiLine = false;
    int depth = 1;            // 1 for a direct child of the dialog
    int parentId = 0;         // identifier of the parent window, 0 for the dialog itself
    ScreenRect rect;          // in the dialog's client coordinates

    // True when a user could act on it: visible and enabled.
    bool actionable() const noexcept { return enabled && visible; }
};

// A modal dialog waiting for the user's next action.
struct DialogRequest {
    lumbrel::platform::WindowRef dialog = nullptr;
    std::string title;
    std::vector<ControlView> controls;  // depth first, in creation order
    int focusedId = 0;                  // id of the focused control; 0 when none in the dialog
    bool timerRunning = false;          // a timer of this dialog is waiting
    std::uint64_t turn = 0;             // 1 for the first question of this dialog
    int nesting = 1;

    // First control with this identifier / title (text); null when none.
    const ControlView* control(int id) const noexcept;
    const ControlView* controlTitled(std::string_view title) const noexcept;
};

// The dialog as text for a person deciding at a terminal: the title, then one
// line per control indented by depth, e.g.
//   dialog "Image List"
//     1 default push "OK"
//     3 check box "Labels" [x]
//     8 pop-up "Inches" {*Inches | Millimetres}
//     11 push "Off" (disabled)
std::string dialogSummary(const DialogRequest& dialog);

// Keys a user can press in a dialog.
enum class DialogKey { Tab, ShiftTab, Return, Escape, Space, Up, Down, Backspace, Character };

// "Tab", "Shift-Tab", "Return", "Escape", "Space", "Up", "Down", "Backspace", "Character".
const char* dialogKeyName(DialogKey key) noexcept;

// The user's next action in a dialog. A control is named by `id`, or by its
// title when `title` is not empty.
struct DialogAction {
    enum class Kind {
        None,      // no decision: the desktop takes the default (see Desktop)
        SetText,   // replaces the text of an edit field or combo box, as typing would
        Check,     // check box or radio button
        Uncheck,   // check box
        Choose,    // item of a pop-up, list or tab control, by `text` or (text empty) `index`
        Click,
        ContextClick,  // right click at (x, y) in the control's client area; -1: its middle
        Key,       // `key`; for Character, `text` holds the characters typed (UTF-8)
        Wait,      // lets time pass up to the next timer
        CloseBox,  // the dialog's close box
    };
    Kind kind = Kind::None;
    int id = 0;
    std::string title;
    std::string text;
    int index = -1;
    int x = -1;
    int y = -1;
    DialogKey key = DialogKey::Return;

    static DialogAction none() { return {}; }
    static DialogAction setText(int id, std::string text);
    static DialogAction check(int id);
    static DialogAction uncheck(int id);
    static DialogAction choose(int id, std::string itemText);
    static DialogAction chooseIndex(int id, int index);
    static DialogAction click(int id);
    static DialogAction clickTitled(std::string title);
    static DialogAction contextClick(int id, int x = -1, int y = -1);
    static DialogAction press(DialogKey key);
    static DialogAction type(std::string characters);
    static DialogAction wait();
    static DialogAction closeBox();
};

// A pop-up menu the user has to choose from.
struct PopupMenuRequest {
    std::vector<std::string> items;
    int preselected = -1;  // 0-based, -1 for none
    int x = 0;             // screen position
    int y = 0;
    int nesting = 1;
    lumbrel::platform::WindowRef owner = nullptr;  // the window the menu belongs to; null: the active one
};

struct PopupMenuAnswer {
    enum class Kind { None, Choose, Dismiss };  // None: no decision, the menu is dismissed
    Kind kind = Kind::None;
    std::string text;  // the item by title, or
    int index = -1;    // by 0-based index when text is empty
};

// The application chooser.
struct ApplicationRequest {
    std::string prompt;
    int nesting = 1;
};

struct ApplicationAnswer {
    enum class Kind { None, Choose, Cancel };  // None: no decision, Cancel is taken
    Kind kind = Kind::None;
    std::string path;  // an executable file or an application package (a folder ending in ".app")
};

class Agent {
public:
    virtual ~Agent();
    // Item number of the button to press, or kTakeDefault. An item that is not
    // shown is a fault: the default is taken and the fault counted.
    virtual int answerAlert(const AlertRequest& alert) = 0;
    // The next action in a modal dialog. An action on a missing, disabled or
    // hidden control is refused and counted as a fault; the dialog stays.
    virtual DialogAction nextDialogAction(const DialogRequest& dialog);
    // Told when the desktop refused the action just given (typing into a
    // check box, checking a push button, …); `why` is the transcript's line.
    // The dialog stays and asks again.
    virtual void dialogActionRefused(const DialogRequest& dialog, const DialogAction& action, const std::string& why);
    virtual PopupMenuAnswer answerPopupMenu(const PopupMenuRequest& menu);
    virtual ApplicationAnswer chooseApplication(const ApplicationRequest& request);
};

// The agent in charge when nobody else is: it makes no decision, so every
// alert gets its default button, and the transcript says so. It counts the
// questions it was asked.
class DefaultAgent final : public Agent {
public:
    int answerAlert(const AlertRequest& alert) override;
    DialogAction nextDialogAction(const DialogRequest& dialog) override;
    PopupMenuAnswer answerPopupMenu(const PopupMenuRequest& menu) override;
    ApplicationAnswer chooseApplication(const ApplicationRequest& request) override;
    std::size_t alertsAnswered() const noexcept { return alertsAnswered_; }
    std::size_t dialogQuestions() const noexcept { return dialogQuestions_; }
    std::size_t popupMenusAnswered() const noexcept { return popupMenus_; }
    std::size_t choosersAnswered() const noexcept { return choosers_; }

private:
    std::size_t alertsAnswered_ = 0;
    std::size_t dialogQuestions_ = 0;
    std::size_t popupMenus_ = 0;
    std::size_t choosers_ = 0;
};

// Answers from queues filled in advance, one queue per kind of question, and
// keeps every question it was shown. With a queue empty it makes no decision.
// Alerts: by button title or by item number. Dialogs: actions in order, or a
// step function asked before the queue (a test that looks at the dialog before
// deciding; it answers DialogAction::none() to fall back on the queue).
class ScriptedAgent : public Agent {
public:
    void answerWithButton(std::string title);  // a title no shown button has is a fault
    void answerWithItem(int item);
    std::size_t pendingAnswers() const noexcept { return answers_.size(); }
    const std::vector<AlertRequest>& alertsSeen() const noexcept { return seen_; }

    void queueDialogAction(DialogAction action);
    std::size_t pendingDialogActions() const noexcept { return dialogActions_.size(); }
    using DialogStep = std::function<DialogAction(const DialogRequest&)>;
    void setDialogStep(DialogStep step) { dialogStep_ = std::move(step); }
    // Every dialog question, in order (the dialog handle goes stale once it closed).
    const std::vector<DialogRequest>& dialogsSeen() const noexcept { return dialogsSeen_; }

    void choosePopupItem(std::string title);
    void choosePopupIndex(int index);
    void dismissPopup();
    std::size_t pendingPopupAnswers() const noexcept { return popupAnswers_.size(); }
    const std::vector<PopupMenuRequest>& popupMenusSeen() const noexcept { return popupsSeen_; }

    void chooseApplicationAt(std::string path);
    void cancelApplicationChooser();
    std::size_t pendingApplicationAnswers() const noexcept { return applicationAnswers_.size(); }
    const std::vector<ApplicationRequest>& applicationChoosersSeen() const noexcept { return choosersSeen_; }

    int answerAlert(const AlertRequest& alert) override;
    DialogAction nextDialogAction(const DialogRequest& dialog) override;
    PopupMenuAnswer answerPopupMenu(const PopupMenuRequest& menu) override;
    ApplicationAnswer chooseApplication(const ApplicationRequest& request) override;

private:
    struct Answer {
        std::string title;
        int item = 0;  // used when title is empty
    };
    std::deque<Answer> answers_;
    std::vector<AlertRequest> seen_;
    std::deque<DialogAction> dialogActions_;
    DialogStep dialogStep_;
    std::vector<DialogRequest> dialogsSeen_;
    std::deque<PopupMenuAnswer> popupAnswers_;
    std::vector<PopupMenuRequest> popupsSeen_;
    std::deque<ApplicationAnswer> applicationAnswers_;
    std::vector<ApplicationRequest> choosersSeen_;
};

}  // namespace desktop
