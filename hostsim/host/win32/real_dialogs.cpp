#include "hostsim/host/win32/real_dialogs.h"

#include "hostsim/host/win32/dialog_results.h"

#include "desktop/desktop.h"
#include "desktop/transcript.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace hostsim::win32 {

using desktop::ControlKind;
using desktop::ControlView;
using desktop::DialogAction;
using desktop::DialogKey;
using desktop::DialogRequest;
using desktop::files::utf8Text;
using desktop::files::wideText;
using desktop::quoteForTranscript;

namespace {

// The message text of the module's message box.
constexpr int kMessageTextId = 10;

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return utf8Text(text);
}

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    const int got = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(std::max(got, 0)));
}

bool sameClass(const std::wstring& name, const wchar_t* wanted) { return lstrcmpiW(name.c_str(), wanted) == 0; }

std::uint32_t styleOf(HWND window) { return static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWL_STYLE)); }

bool isDialogWindow(HWND window) { return sameClass(classOf(window), L"#32770"); }

ControlKind kindOf(const std::wstring& name, std::uint32_t style) {
    if (sameClass(name, WC_BUTTONW)) {
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON: return ControlKind::PushButton;
            case BS_DEFPUSHBUTTON: return ControlKind::DefaultButton;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE: return ControlKind::CheckBox;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
            case BS_GROUPBOX: return ControlKind::GroupBox;
            default: return ControlKind::Custom;
        }
    }
    if (sameClass(name, WC_STATICW)) return ControlKind::StaticText;
    if (sameClass(name, WC_EDITW)) return ControlKind::EditText;
    if (sameClass(name, WC_LISTBOXW)) return ControlKind::ListBox;
    if (sameClass(name, WC_COMBOBOXW)) {
        return (style & 0x3U) == CBS_DROPDOWNLIST ? ControlKind::PopUp : ControlKind::ComboBox;
    }
    if (sameClass(name, PROGRESS_CLASSW)) return ControlKind::ProgressBar;
    if (sameClass(name, WC_TABCONTROLW)) return ControlKind::TabControl;
    return ControlKind::Custom;
}

int sendInt(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
    return static_cast<int>(SendMessageW(window, message, w, l));
}

std::string itemText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
    const int length = sendInt(window, lengthMessage, static_cast<WPARAM>(index));
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = sendInt(window, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return utf8Text(text);
}

void readItems(HWND window, ControlView& view) {
    switch (view.kind) {
        case ControlKind::PopUp:
        case ControlKind::ComboBox: {
            const int count = sendInt(window, CB_GETCOUNT);
            for (int i = 0; i < count; ++i) view.items.push_back(itemText(window, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
            view.value = sendInt(window, CB_GETCURSEL);
            break;
        }
        case ControlKind::ListBox: {
            const int count = sendInt(window, LB_GETCOUNT);
            const bool strings = (view.style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0 ||
                                 (view.style & LBS_HASSTRINGS) != 0;
            for (int i = 0; i < count; ++i) {
                view.items.push_back(strings ? itemText(window, LB_GETTEXTLEN, LB_GETTEXT, i) : std::string());
            }
            if ((view.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0) {
                for (int i = 0; i < count; ++i) {
                    if (sendInt(window, LB_GETSEL, static_cast<WPARAM>(i)) > 0) view.selectedItems.push_back(i);
                }
                view.value = sendInt(window, LB_GETCARETINDEX);
            } else {
                view.value = sendInt(window, LB_GETCURSEL);
                if (view.value >= 0) view.selectedItems.push_back(view.value);
            }
            break;
        }
        case ControlKind::TabControl: {
            const int count = sendInt(window, TCM_GETITEMCOUNT);
            for (int i = 0; i < count; ++i) {
                wchar_t label[256] = {};
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = label;
                item.cchTextMax = 256;
                SendMessageW(window, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                view.items.push_back(utf8Text(label));
            }
            view.value = sendInt(window, TCM_GETCURSEL);
            break;
        }
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: view.value = sendInt(window, BM_GETCHECK); break;
        case ControlKind::ProgressBar:
            view.value = sendInt(window, PBM_GETPOS);
            view.minimum = sendInt(window, PBM_GETRANGE, TRUE);
            view.maximum = sendInt(window, PBM_GETRANGE, FALSE);
            break;
        default: break;
    }
}

bool enabledUpTo(HWND window, HWND dialog) {
    for (HWND w = window; w != nullptr && w != dialog; w = GetParent(w)) {
        if (!IsWindowEnabled(w)) return false;
    }
    return IsWindowEnabled(dialog) != FALSE;
}

struct Collect {
    HWND dialog;
    DialogRequest* request;
};

BOOL CALLBACK collectControl(HWND window, LPARAM param) {
    Collect& c = *reinterpret_cast<Collect*>(param);
    ControlView view;
    view.window = reinterpret_cast<lumbrel::platform::WindowRef>(window);
    view.id = GetDlgCtrlID(window);
    const std::wstring name = classOf(window);
    view.className = utf8Text(name);
    view.style = styleOf(window);
    view.kind = kindOf(name, view.style);
    view.text = windowText(window);
    view.enabled = enabledUpTo(window, c.dialog);
    view.visible = IsWindowVisible(window) != FALSE;
    view.focused = GetFocus() == window;
    view.password = view.kind == ControlKind::EditText && (view.style & ES_PASSWORD) != 0;
    view.multiLine = view.kind == ControlKind::EditText && (view.style & ES_MULTILINE) != 0;
    view.depth = 0;
    for (HWND w = window; w != nullptr && w != c.dialog; w = GetParent(w)) ++view.depth;
    const HWND parent = GetParent(window);
    view.parentId = parent == c.dialog || parent == nullptr ? 0 : GetDlgCtrlID(parent);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    MapWindowPoints(HWND_DESKTOP, c.dialog, reinterpret_cast<POINT*>(&bounds), 2);
    view.rect = {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
    readItems(window, view);
    if (view.focused) c.request->focusedId = view.id;
    c.request->controls.push_back(std::move(view));
    return TRUE;
}

// ---- Acting ------------------------------------------------------------------

std::string masked(const ControlView& control, const std::string& text) {
    if (!control.password) return quoteForTranscript(text);
    const std::wstring wide = wideText(text);
    std::size_t points = 0;
    for (const wchar_t unit : wide) points += (unit >= 0xDC00 && unit <= 0xDFFF) ? 0 : 1;
    return quoteForTranscript(std::string(points, '*'));
}

std::string describeControl(const ControlView& control) {
    std::string out = std::to_string(control.id);
    if (!control.text.empty() && !control.password) out += ' ' + quoteForTranscript(control.text);
    return out;
}

const char* verbOf(DialogAction::Kind kind) noexcept {
    switch (kind) {
        case DialogAction::Kind::SetText: return "set text";
        case DialogAction::Kind::Check: return "check";
        case DialogAction::Kind::Uncheck: return "uncheck";
        case DialogAction::Kind::Choose: return "choose";
        case DialogAction::Kind::Click: return "click";
        case DialogAction::Kind::ContextClick: return "context click";
        case DialogAction::Kind::Key: return "key";
        case DialogAction::Kind::Wait: return "wait";
        case DialogAction::Kind::CloseBox: return "close box";
        case DialogAction::Kind::None: break;
    }
    return "nothing";
}

RealActionOutcome refuse(std::string line) { return {true, "refused " + line}; }

const ControlView* targetOf(const DialogRequest& request, const DialogAction& action) {
    if (action.title.empty()) return request.control(action.id);
    // A visible control with that title first, as the user sees only those.
    const ControlView* hidden = nullptr;
    for (const ControlView& control : request.controls) {
        if (control.text != action.title) continue;
        if (control.visible) return &control;
        if (hidden == nullptr) hidden = &control;
    }
    return hidden;
}

std::string targetName(const DialogAction& action) {
    return action.title.empty() ? std::to_string(action.id) : "titled " + quoteForTranscript(action.title);
}

void notifyParent(HWND control, WORD code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

// Keys go through the dialog's own loop, so that IsDialogMessage and the
// control's WM_GETDLGCODE decide as for a person's key press.
void postKey(HWND target, UINT virtualKey, wchar_t character) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    if (character != 0) PostMessageW(target, WM_CHAR, character, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001U));
}

void pressKey(HWND dialog, DialogKey key, const std::string& text) {
    const HWND focused = GetFocus();
    const HWND target = focused != nullptr && (focused == dialog || IsChild(dialog, focused)) ? focused : dialog;
    switch (key) {
        case DialogKey::Tab: postKey(target, VK_TAB, 0); return;
        // The Shift key's state cannot be posted with the key; the dialog manager moves back itself.
        case DialogKey::ShiftTab: PostMessageW(dialog, WM_NEXTDLGCTL, 1, FALSE); return;
        case DialogKey::Return: postKey(target, VK_RETURN, 0); return;
        case DialogKey::Escape: postKey(target, VK_ESCAPE, 0); return;
        case DialogKey::Space: postKey(target, VK_SPACE, L' '); return;
        case DialogKey::Up: postKey(target, VK_UP, 0); return;
        case DialogKey::Down: postKey(target, VK_DOWN, 0); return;
        case DialogKey::Backspace: postKey(target, VK_BACK, L'\b'); return;
        case DialogKey::Character:
            for (const wchar_t unit : wideText(text)) PostMessageW(target, WM_CHAR, unit, 1);
            return;
    }
}

void chooseItem(HWND control, const ControlView& view, int index) {
    switch (view.kind) {
        case ControlKind::PopUp:
        case ControlKind::ComboBox:
            SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            notifyParent(control, CBN_SELCHANGE);
            return;
        case ControlKind::ListBox:
            if ((view.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0) {
                SendMessageW(control, LB_SETSEL, FALSE, -1);
                SendMessageW(control, LB_SETSEL, TRUE, index);
                SendMessageW(control, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
            } else {
                SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            }
            if ((view.style & LBS_NOTIFY) != 0) notifyParent(control, LBN_SELCHANGE);
            return;
        case ControlKind::TabControl: {
            NMHDR header{};
            header.hwndFrom = control;
            header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
            header.code = static_cast<UINT>(TCN_SELCHANGING);
            if (SendMessageW(GetParent(control), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)) != 0) return;
            SendMessageW(control, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
            header.code = static_cast<UINT>(TCN_SELCHANGE);
            SendMessageW(GetParent(control), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
            return;
        }
        default: return;
    }
}

void clickInside(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(control, WM_LBUTTONUP, 0, middle);
}

bool isButtonKind(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::RadioButton;
}

}  // namespace

DialogRequest describeRealDialog(HWND dialog) {
    DialogRequest request;
    request.dialog = reinterpret_cast<lumbrel::platform::WindowRef>(dialog);
    request.title = windowText(dialog);
    Collect collect{dialog, &request};
    EnumChildWindows(dialog, collectControl, reinterpret_cast<LPARAM>(&collect));
    return request;
}

RealActionOutcome performRealAction(HWND dialog, const DialogAction& action) {
    using Kind = DialogAction::Kind;
    const std::string verb = verbOf(action.kind);
    switch (action.kind) {
        case Kind::None: return {};
        case Kind::Key: {
            if (action.key == DialogKey::Character) {
                if (action.text.empty() || wideText(action.text).empty()) {
                    return refuse("type " + quoteForTranscript(action.text) + ": no valid characters");
                }
                const DialogRequest now = describeRealDialog(dialog);
                const ControlView* focused = now.control(now.focusedId);
                const std::string shown = focused != nullptr ? masked(*focused, action.text) : quoteForTranscript(action.text);
                pressKey(dialog, action.key, action.text);
                return {false, "type " + shown};
            }
            pressKey(dialog, action.key, action.text);
            return {false, std::string("key ") + desktop::dialogKeyName(action.key)};
        }
        // Real timers run on the real clock: the next turn comes after some of it has passed.
        case Kind::Wait: return {false, "wait"};
        case Kind::CloseBox:
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            return {false, "close box"};
        default: break;
    }

    const DialogRequest request = describeRealDialog(dialog);
    const ControlView* view = targetOf(request, action);
    if (view == nullptr) return refuse(verb + ' ' + targetName(action) + ": no such control");
    const HWND control = reinterpret_cast<HWND>(view->window);
    const std::string name = describeControl(*view);
    if (!view->visible) return refuse(verb + ' ' + name + ": the control is hidden");
    if (!view->enabled) return refuse(verb + ' ' + name + ": the control is disabled");

    switch (action.kind) {
        case Kind::Click:
            if (isButtonKind(view->kind)) {
                SendMessageW(control, BM_CLICK, 0, 0);
            } else {
                clickInside(control);
            }
            return {false, "click " + name};
        case Kind::ContextClick: {
            RECT client{};
            GetClientRect(control, &client);
            POINT at{action.x >= 0 ? action.x : client.right / 2, action.y >= 0 ? action.y : client.bottom / 2};
            if (at.x >= client.right || at.y >= client.bottom) {
                return refuse(verb + ' ' + name + " at " + std::to_string(at.x) + ',' + std::to_string(at.y) +
                              ": outside the control");
            }
            const std::string line = verb + ' ' + name + " at " + std::to_string(at.x) + ',' + std::to_string(at.y);
            ClientToScreen(control, &at);
            SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(at.x, at.y));
            return {false, line};
        }
        case Kind::SetText: {
            const bool editable = view->kind == ControlKind::EditText || view->kind == ControlKind::ComboBox;
            if (!editable) return refuse(verb + ' ' + name + ": the control takes no typing");
            const std::string line = "set text " + std::to_string(view->id) + ' ' + masked(*view, action.text);
            SetFocus(control);
            if (!IsWindow(control)) return {false, line};
            const std::wstring text = wideText(action.text);
            // A single-line edit reports its new text itself (EN_CHANGE on WM_SETTEXT).
            SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            if (view->kind == ControlKind::ComboBox) {
                notifyParent(control, CBN_EDITCHANGE);
            } else {
                const auto end = static_cast<WPARAM>(text.size());
                SendMessageW(control, EM_SETSEL, end, static_cast<LPARAM>(end));
                if (view->multiLine) notifyParent(control, EN_CHANGE);
            }
            return {false, line};
        }
        case Kind::Check:
        case Kind::Uncheck: {
            const bool wanted = action.kind == Kind::Check;
            const bool radio = view->kind == ControlKind::RadioButton;
            if (view->kind != ControlKind::CheckBox && !radio) {
                return refuse(verb + ' ' + name + ": not a check box or radio button");
            }
            if (!wanted && radio) return refuse(verb + ' ' + name + ": a radio button is unchecked by choosing another");
            if ((view->value != 0) == wanted) return {false, verb + ' ' + name + " (already)"};
            SendMessageW(control, BM_CLICK, 0, 0);
            return {false, verb + ' ' + name};
        }
        case Kind::Choose: {
            if (view->items.empty() && view->kind != ControlKind::PopUp && view->kind != ControlKind::ComboBox &&
                view->kind != ControlKind::ListBox && view->kind != ControlKind::TabControl) {
                return refuse(verb + ' ' + name + ": the control has no items");
            }
            int index = -1;
            if (!action.text.empty()) {
                const auto found = std::find(view->items.begin(), view->items.end(), action.text);
                if (found == view->items.end()) return refuse(verb + ' ' + name + ": no item " + quoteForTranscript(action.text));
                index = static_cast<int>(found - view->items.begin());
            } else {
                index = action.index;
                if (index < 0 || static_cast<std::size_t>(index) >= view->items.size()) {
                    return refuse(verb + ' ' + name + ": no item " + std::to_string(index));
                }
            }
            const std::string line =
                verb + ' ' + std::to_string(view->id) + ' ' + quoteForTranscript(view->items[static_cast<std::size_t>(index)]);
            if (view->kind != ControlKind::TabControl) SetFocus(control);
            if (IsWindow(control)) chooseItem(control, *view, index);
            return {false, line};
        }
        default: break;
    }
    return refuse(verb);
}

// ---- The driver ----------------------------------------------------------------

namespace {

struct Tracked {
    HWND dialog = nullptr;
    std::string title;
    std::uint64_t questions = 0;
    bool defaultReturnPressed = false;
    bool alert = false;  // transcribed as an alert, not as a dialog
    int ticksWaited = 0;  // for a dialog that runs on its own timer
};

// A dialog with a progress bar steps on its own timer and ends itself: with
// no decision the driver lets it run (up to about 10 s at the default period)
// as the desktop stand-in waits for a dialog's timer.
constexpr int kMostTicksForATimer = 500;

BOOL CALLBACK stopAtProgressBar(HWND window, LPARAM found) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (!sameClass(name, PROGRESS_CLASSW)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool showsProgress(HWND dialog) {
    bool found = false;
    EnumChildWindows(dialog, stopAtProgressBar, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The one driver of the thread: its dialogs, innermost last.
struct DriverState {
    std::vector<Tracked> dialogs;
    HHOOK hook = nullptr;
    int depth = 0;  // turns running (a turn's action may run a nested dialog)
};
thread_local DriverState* driverState = nullptr;

void record(std::string line) { desktop::Desktop::instance().transcript().add(desktop::EntryKind::Dialog, std::move(line)); }

std::string prefix(const std::string& title) { return "dialog " + quoteForTranscript(title); }

// The dialog is gone: its end is written when it goes, in order with what the module does next.
LRESULT CALLBACK onWindowEvent(int code, WPARAM wParam, LPARAM lParam) {
    DriverState* s = driverState;
    if (s != nullptr && code == HCBT_DESTROYWND) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        // Taken for every window, so that a later window given the same handle starts with none.
        const std::optional<INT_PTR> result = takeDialogResult(window);
        for (auto at = s->dialogs.begin(); at != s->dialogs.end(); ++at) {
            if (at->dialog != window) continue;
            if (!at->alert) record(prefix(at->title) + " closed -> " + (result ? std::to_string(*result) : "?"));
            s->dialogs.erase(at);
            break;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && IsWindowEnabled(window) && isDialogWindow(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// The dialog the user acts in: the active one, else the first shown and enabled one of the thread.
HWND innermostDialog() {
    const HWND active = GetActiveWindow();
    if (active != nullptr && IsWindowVisible(active) && IsWindowEnabled(active) && isDialogWindow(active)) return active;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

DialogAction askAgent(const DialogRequest& request, std::string& note) {
    const std::shared_ptr<desktop::Agent> agent = desktop::Desktop::instance().agent();
    try {
        return agent->nextDialogAction(request);
    } catch (const std::exception& error) {
        note = std::string("agent error: ") + error.what();
    } catch (...) {
        note = "agent error";
    }
    return DialogAction::none();
}

void tellRefused(const DialogRequest& request, const DialogAction& action, const std::string& why) {
    const std::shared_ptr<desktop::Agent> agent = desktop::Desktop::instance().agent();
    try {
        agent->dialogActionRefused(request, action, why);
    } catch (...) {
        // Agents must not throw; the dialog asks again.
    }
}

// The message box the module makes from its "MSGBOX" template: the text
// (10) and push buttons 1 to 3, nothing else.
bool isMessageBox(const DialogRequest& request) {
    bool text = false;
    for (const ControlView& control : request.controls) {
        if (control.id == kMessageTextId && control.kind == ControlKind::StaticText) {
            text = true;
        } else if (control.id < 1 || control.id > desktop::kAlertButtonCount ||
                   (control.kind != ControlKind::PushButton && control.kind != ControlKind::DefaultButton)) {
            return false;
        }
    }
    return text;
}

// Asks the agent about a message box as about any alert, and presses the button it names.
void answerMessageBox(HWND dialog, const DialogRequest& request) {
    desktop::AlertRequest alert;
    alert.title = request.title;
    if (const ControlView* text = request.control(kMessageTextId)) {
        const std::size_t gap = text->text.find("\r\r");
        alert.message = text->text.substr(0, gap);
        if (gap != std::string::npos) alert.informative = text->text.substr(gap + 2);
    }
    for (int item = 1; item <= desktop::kAlertButtonCount; ++item) {
        const ControlView* button = request.control(item);
        if (button != nullptr && button->visible) alert.buttons[static_cast<std::size_t>(item - 1)] = button->text;
    }
    alert.nesting = request.nesting;
    int answer = desktop::kTakeDefault;
    std::string note;
    try {
        answer = desktop::Desktop::instance().agent()->answerAlert(alert);
    } catch (...) {
        note = "agent error, default taken";
    }
    int item = answer;
    if (answer == desktop::kTakeDefault) {
        item = 1;
        if (note.empty()) note = "default";
    } else if (!alert.hasButton(answer)) {
        note = "invalid answer " + std::to_string(answer) + ", default taken";
        item = 1;
    }
    desktop::Desktop::instance().transcript().add(desktop::EntryKind::Alert, desktop::alertLine(alert, item, note));
    SendMessageW(GetDlgItem(dialog, item), BM_CLICK, 0, 0);
}

// Closes the dialog for the user: the close request first, then, if the
// dialog still runs, its end with Cancel (a dialog that ignores its close
// box would otherwise keep the session waiting for ever).
void closeForUser(HWND dialog) {
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) endDialogRecorded(dialog, IDCANCEL);
}

// One turn of the user: the innermost dialog gets one action.
bool answerInnermostDialog() {
    DriverState* s = driverState;
    if (s == nullptr || s->depth >= desktop::kMaxAgentNesting) return false;
    const HWND dialog = innermostDialog();
    if (dialog == nullptr) return false;
    auto tracked = std::find_if(s->dialogs.begin(), s->dialogs.end(), [&](const Tracked& t) { return t.dialog == dialog; });
    DialogRequest request = describeRealDialog(dialog);
    if (tracked == s->dialogs.end()) {
        s->dialogs.push_back({dialog, request.title, 0, false, isMessageBox(request)});
        if (!s->dialogs.back().alert) record(prefix(request.title) + " opened");
        tracked = s->dialogs.end() - 1;
    }
    ++s->depth;
    struct Leave {
        DriverState* s;
        ~Leave() { --s->depth; }
    } leave{s};
    if (tracked->alert) {
        request.nesting = static_cast<int>(s->dialogs.size());
        answerMessageBox(dialog, request);
        return true;
    }

    tracked->title = request.title;
    request.turn = ++tracked->questions;
    request.nesting = static_cast<int>(s->dialogs.size());
    const std::string title = request.title;
    std::string note;
    const DialogAction action = askAgent(request, note);
    if (!IsWindow(dialog)) return true;  // the agent's own doings ended it
    if (!note.empty()) record(prefix(title) + ": " + note);
    // The agent may have run a nested dialog: find this one again before changing it.
    tracked = std::find_if(s->dialogs.begin(), s->dialogs.end(), [&](const Tracked& t) { return t.dialog == dialog; });
    if (tracked == s->dialogs.end()) return true;

    if (action.kind == DialogAction::Kind::None) {
        if (tracked->ticksWaited < kMostTicksForATimer && showsProgress(dialog)) {
            if (tracked->ticksWaited++ == 0) record(prefix(title) + ": no decision, waiting for the timer");
            return true;
        }
        if (tracked->defaultReturnPressed) {
            // Return did not end it; nothing else will without a decision.
            tracked->defaultReturnPressed = false;
            record(prefix(title) + ": no decision again, closed (default)");
            closeForUser(dialog);
            return true;
        }
        tracked->defaultReturnPressed = true;
        record(prefix(title) + ": no decision, key Return (default)");
        pressKey(dialog, DialogKey::Return, std::string());
        return true;
    }
    tracked->defaultReturnPressed = false;
    const RealActionOutcome outcome = performRealAction(dialog, action);
    record(prefix(title) + ": " + outcome.line);
    if (outcome.refused) tellRefused(request, action, outcome.line);
    return true;
}

}  // namespace

RealDialogDriver::RealDialogDriver(unsigned periodMs) {
    if (driverState != nullptr) return;  // one per thread
    driverState = new DriverState;
    driverState->hook = SetWindowsHookExW(WH_CBT, onWindowEvent, nullptr, GetCurrentThreadId());
    timer_ = SetTimer(nullptr, 0, periodMs, onTimer);
}

RealDialogDriver::~RealDialogDriver() {
    if (timer_ == 0) return;
    KillTimer(nullptr, timer_);
    if (driverState->hook != nullptr) UnhookWindowsHookEx(driverState->hook);
    delete driverState;
    driverState = nullptr;
}

void CALLBACK RealDialogDriver::onTimer(HWND, UINT, UINT_PTR, DWORD) { answerInnermostDialog(); }

bool RealDialogDriver::turn() { return answerInnermostDialog(); }

}  // namespace hostsim::win32
