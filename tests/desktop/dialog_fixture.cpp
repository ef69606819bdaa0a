#include "dialog_fixture.h"

namespace lumbrel::test {

namespace pw = platform;
namespace st = platform::style;
using pw::Message;
using pw::WindowRef;

namespace {

std::vector<const DialogScript*>& scripts() {
    static std::vector<const DialogScript*> stack;
    return stack;
}

const DialogScript* scriptOf(WindowRef dialog) {
    return reinterpret_cast<const DialogScript*>(pw::property(dialog, "script"));
}

void build(WindowRef dialog) {
    using namespace dialog_ids;
    const std::uint32_t child = st::kChild | st::kVisible;
    const auto make = [&](const char* cls, const char* text, std::uint32_t style, std::uint32_t ex, pw::WindowRect r,
                          int id) { return pw::createWindow(cls, text, child | style, ex, r, dialog, id); };
    make(pw::kButtonClass, "OK", st::kDefPushButton | st::kTabStop | st::kGroup, 0, {220, 160, 70, 24}, kOk);
    make(pw::kButtonClass, "Cancel", st::kPushButton | st::kTabStop | st::kGroup, 0, {140, 160, 70, 24}, kCancel);
    make(pw::kButtonClass, "Labels", st::kAutoCheckBox | st::kTabStop | st::kGroup, 0, {10, 10, 120, 24}, kCheck);
    make(pw::kEditClass, "start", st::kTabStop | st::kEditAutoHScroll, st::kExClientEdge, {10, 40, 150, 19}, kEdit);
    make(pw::kButtonClass, "Name", st::kAutoRadioButton | st::kTabStop | st::kGroup, 0, {170, 10, 80, 24}, kRadioA);
    make(pw::kButtonClass, "Date", st::kAutoRadioButton, 0, {170, 34, 80, 24}, kRadioB);
    make(pw::kButtonClass, "Size", st::kAutoRadioButton | st::kGroup, 0, {170, 58, 80, 24}, kRadioC);
    const WindowRef popup = make(pw::kComboBoxClass, "", st::kComboDropDownList | st::kTabStop, 0, {10, 70, 120, 200}, kPopup);
    pw::addItem(popup, "Inches");
    pw::addItem(popup, "Millimetres");
    pw::setControlValue(popup, 0);
    const WindowRef list = make(pw::kListBoxClass, "", st::kListNotify | st::kTabStop | st::kVScroll, st::kExClientEdge,
                                {10, 100, 120, 52}, kList);
    pw::addItem(list, "alpha.tif");
    pw::addItem(list, "beta.eps");
    const WindowRef tabs = make(pw::kTabControlClass, "", st::kTabButtons, 0, {260, 10, 150, 60}, kTabs);
    pw::addItem(tabs, "General");
    pw::addItem(tabs, "Labels");
    pw::setControlValue(tabs, 0);
    const WindowRef off = make(pw::kButtonClass, "Off", st::kPushButton | st::kTabStop, 0, {300, 160, 50, 24}, kDisabled);
    pw::enableWindow(off, false);
    const WindowRef hidden = make(pw::kButtonClass, "Hidden", st::kPushButton | st::kTabStop, 0, {360, 160, 50, 24}, kHidden);
    pw::showWindow(hidden, false);
    make(pw::kStaticClass, "Units:", st::kStaticLeftNoWordWrap, 0, {140, 72, 40, 16}, kLabel);
    const WindowRef bar = make(pw::kProgressClass, "", st::kProgressSmooth, 0, {260, 80, 150, 12}, kProgress);
    pw::setControlRange(bar, 0, 4);
    pw::setControlValue(bar, 1);
    make(pw::kEditClass, "secret", st::kEditPassword | st::kTabStop, st::kExClientEdge, {140, 100, 100, 19}, kPassword);
}

const char* notificationName(pw::Notification code) {
    switch (code) {
        case pw::Notification::Clicked: return "clicked";
        case pw::Notification::SelectionChange: return "selchange";
        case pw::Notification::EditChange: return "change";
        case pw::Notification::CloseUp: return "closeup";
    }
    return "?";
}

}  // namespace

std::vector<std::string>& dialogLog() {
    static std::vector<std::string> log;
    return log;
}

std::intptr_t LUMBREL_CALLBACK testDialogProc(WindowRef dialog, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case Message::InitDialog: {
            const auto* script = reinterpret_cast<const DialogScript*>(lParam);
            pw::setProperty(dialog, "script", lParam);
            pw::setWindowText(dialog, script->title);
            pw::setWindowRect(dialog, pw::outerRectForClient({100, 100, 420, 200}));
            build(dialog);
            if (script->onInit) script->onInit(dialog);
            return 1;
        }
        case Message::Command: {
            const int id = pw::commandId(wParam);
            const pw::Notification code = pw::commandNotification(wParam);
            dialogLog().push_back("command " + std::to_string(id) + ' ' + notificationName(code) +
                                  (lParam == 0 ? " (no control)" : ""));
            const DialogScript* script = scriptOf(dialog);
            if (script != nullptr && script->onCommand && script->onCommand(dialog, id, code)) return 0;
            if (id == dialog_ids::kOk || id == dialog_ids::kCancel) pw::endDialog(dialog, id);
            return 0;
        }
        case Message::Notify: {
            const auto* info = reinterpret_cast<const pw::NotifyInfo*>(lParam);
            dialogLog().push_back("notify " + std::to_string(info->id) + ' ' + std::to_string(static_cast<std::int32_t>(info->code)));
            return 0;
        }
        case Message::ContextMenu: {
            // Logged in the clicked control's own client coordinates, as a handler would use them.
            const auto control = reinterpret_cast<WindowRef>(wParam);
            const pw::WindowPoint at = pw::screenToClient(control, pw::pointFromParam(lParam));
            dialogLog().push_back("context " + std::to_string(pw::controlId(control)) + " at " + std::to_string(at.x) +
                                  ',' + std::to_string(at.y));
            return 0;
        }
        case Message::Timer: {
            dialogLog().push_back("timer " + std::to_string(wParam));
            const DialogScript* script = scriptOf(dialog);
            if (script != nullptr && script->onTimer) script->onTimer(dialog, wParam);
            return 0;
        }
        case Message::Close: {
            dialogLog().push_back("close");
            const DialogScript* script = scriptOf(dialog);
            if (script != nullptr && script->handleClose) {
                pw::endDialog(dialog, 2);
                return 0;
            }
            break;
        }
        default: break;
    }
    return pw::defWindowProc(dialog, message, wParam, lParam);
}

std::intptr_t runTestDialog(const DialogScript& script) {
    scripts().push_back(&script);
    const std::intptr_t result = pw::runModalDialog(testDialogProc, reinterpret_cast<std::intptr_t>(&script));
    scripts().pop_back();
    return result;
}

}  // namespace lumbrel::test
