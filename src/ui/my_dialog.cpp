// The dialog object: its shell, modal and modeless runs, events and the
// accessors of its items.
#include "ui/my_dialog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ui/control_kind.h"
#include "ui/description_builder.h"
#include "ui/dialog_functions.h"
#include "util/bounded.h"
#include "util/number_text.h"

namespace lumbrel {

namespace {

using platform::Message;
using platform::Notification;

constexpr std::uint32_t kTagDialogObject = fourCC("dlog");
// Posted to the shell once the dialog was ended: the callback gets -2 while
// the window still stands, then the loop ends.
constexpr auto kFinishMessage = static_cast<Message>(static_cast<std::uint32_t>(Message::User) + 0x100);

}  // namespace

// The window procedure of the dialog object's shells.
struct MyDialogShell {
    static CMyDialog* object(platform::WindowRef window) {
        return reinterpret_cast<CMyDialog*>(getWindowProperty(window, kTagDialogObject));
    }

    static bool build(CMyDialog& dialog, platform::WindowRef window) {
        dialog.window_ = window;
        setWindowProperty(window, kTagDialogObject, reinterpret_cast<std::intptr_t>(&dialog));
        if (!buildDialog(window, dialog.windowName_)) return false;
        placeDialog(window);
        localiseWindow(window);
        return true;
    }

    static void finish(CMyDialog& dialog, platform::WindowRef window) {
        if (dialog.finished_) return;
        dialog.finished_ = true;
        dialog.doEvent(kItemLoopEnded);
        platform::endDialog(window, dialog.result_);
    }

    static void command(CMyDialog& dialog, platform::WindowRef window, std::uintptr_t wParam, std::intptr_t lParam) {
        const int id = platform::commandId(wParam);
        const Notification notification = platform::commandNotification(wParam);
        if (id < 0 || notification == Notification::EditChange) return;
        ControlRef control = lParam != 0 ? reinterpret_cast<ControlRef>(lParam)
                                         : lumbrel::getControl(window, static_cast<unsigned long>(id));
        if (control != nullptr) {
            const std::uint32_t kind = getControlKind(control);
            if ((kind == kKindPopup || kind == kKindCombo) && notification != Notification::CloseUp) return;
        }
        // A command without its control comes from the keyboard (Return asks
        // for item 1): it presses nothing the user could not press.
        if (lParam == 0 && !canBePressed(control)) return;
        dialog.doEvent(static_cast<std::int16_t>(id));
    }

    static std::intptr_t proc(platform::WindowRef window, Message message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
        if (message == Message::InitDialog) {
            auto* dialog = reinterpret_cast<CMyDialog*>(lParam);
            if (dialog == nullptr) return 0;
            dialog->built_ = build(*dialog, window);
            if (!dialog->modal_) return 0;
            if (!dialog->built_) {
                platform::endDialog(window, 0);
                return 0;
            }
            dialog->doEvent(kItemWillShow);
            // Ended before it was shown: the loop never starts, yet -2 still arrives.
            if (dialog->ended_) finish(*dialog, window);
            return 0;
        }
        CMyDialog* dialog = object(window);
        if (dialog == nullptr) return platform::defWindowProc(window, message, wParam, lParam);
        switch (message) {
            case Message::Command:
                command(*dialog, window, wParam, lParam);
                return 0;
            case Message::Close:
                return 0;  // the close box is consumed; the dialog's buttons end it
            case Message::Destroy:
                if (dialog->window_ == window) dialog->window_ = nullptr;
                break;
            default:
                if (message == kFinishMessage) {
                    finish(*dialog, window);
                    return 0;
                }
                if (handleCommonDialogMessage(window, message, wParam, lParam)) return 0;
                break;
        }
        return platform::defWindowProc(window, message, wParam, lParam);
    }
};

CMyDialog::CMyDialog(std::int16_t resourceId, std::int16_t defaultItem, std::int16_t cancelItem, long) noexcept
    : resourceId_(resourceId), defaultItem_(defaultItem), cancelItem_(cancelItem) {}

CMyDialog::CMyDialog(OpaqueIBNibRef* nib, const char* windowName, long defaultItem, long cancelItem, long) noexcept
    : nib_(nib),
      defaultItem_(static_cast<std::int16_t>(defaultItem)),
      cancelItem_(static_cast<std::int16_t>(cancelItem)) {
    copyBounded(windowName_, windowName != nullptr ? windowName : "");
}

CMyDialog::CMyDialog(WindowPtr window) noexcept : window_(window) {}

CMyDialog::CMyDialog(OpaqueDialogPtr* dialog) noexcept : dialog_(dialog) {}

CMyDialog::~CMyDialog() {
    if (ownsWindow_ && platform::isWindow(window_)) {
        removeControlProperty(window_, kTagDialogObject);
        platform::destroyWindow(window_);
    }
}

bool CMyDialog::fromDescription() const noexcept { return resourceId_ <= 0 && windowName_[0] != '\0'; }

WindowPtr CMyDialog::create() {
    if (platform::isWindow(window_)) return window_;
    if (!fromDescription()) return nullptr;
    const bool wasModal = modal_;
    modal_ = false;
    built_ = false;
    WindowPtr window = platform::createModelessDialog(MyDialogShell::proc, reinterpret_cast<std::intptr_t>(this));
    modal_ = wasModal;
    if (window == nullptr) {
        window_ = nullptr;
        return nullptr;
    }
    if (!built_) {
        removeControlProperty(window, kTagDialogObject);
        platform::destroyWindow(window);
        window_ = nullptr;
        return nullptr;
    }
    ownsWindow_ = true;
    return window_;
}

long CMyDialog::doModal(MyDialogCallback callback, std::intptr_t user) {
    callback_ = callback;
    user_ = user;
    // Each run starts afresh: an object run before must not answer its old
    // result without showing the dialog.
    ended_ = false;
    result_ = 0;
    if (!fromDescription()) return 0;  // no resource dialogs, and a wrapped window has no loop of its own
    if (ownsWindow_ && platform::isWindow(window_)) {
        removeControlProperty(window_, kTagDialogObject);
        platform::destroyWindow(window_);
    }
    window_ = nullptr;
    ownsWindow_ = false;
    modal_ = true;
    built_ = false;
    finished_ = false;
    platform::runModalDialog(MyDialogShell::proc, reinterpret_cast<std::intptr_t>(this));
    modal_ = false;
    window_ = nullptr;  // the loop disposed of it
    return built_ ? result_ : 0;
}

WindowPtr CMyDialog::doModeless(MyDialogCallback callback, std::intptr_t user) {
    callback_ = callback;
    user_ = user;
    modal_ = false;
    if (!platform::isWindow(window_)) {
        ended_ = false;
        result_ = 0;
    }
    if (create() == nullptr) return nullptr;
    doEvent(kItemWillShow);
    if (!platform::isWindow(window_)) return nullptr;
    platform::showWindow(window_, true);
    return window_;
}

void CMyDialog::doEvent(std::int16_t item) { doEvent(item, callback_, user_); }

void CMyDialog::doEvent(std::int16_t item, MyDialogCallback callback, std::intptr_t user) {
    if (callback != nullptr && callback(this, item, user)) return;
    if (defaultItem_ > 0 && item == defaultItem_) {
        endDialog(item);
    } else if (cancelItem_ > 0 && item == cancelItem_) {
        endDialog(item);
    }
}

void CMyDialog::endDialog(long result) {
    if (ended_) return;
    result_ = result;
    ended_ = true;
    // While -1 is being handled the shell finishes by itself; later the loop
    // ends through the shell, so that -2 comes before the window goes.
    if (modal_ && platform::isWindow(window_) && !finished_) platform::postMessage(window_, kFinishMessage);
}

ControlRef CMyDialog::getControl(std::int16_t item) {
    if (item < 0 || !platform::isWindow(window_)) return nullptr;
    return lumbrel::getControl(window_, static_cast<unsigned long>(item));
}

void CMyDialog::setText(std::int16_t item, const char* format, ...) {
    va_list args;
    va_start(args, format);
    setControlTextWithFormatV(getControl(item), format, args);
    va_end(args);
}

void CMyDialog::setText(std::int16_t item, long number) { setControlText(getControl(item), number); }

void CMyDialog::setText(std::int16_t item, const unsigned char* pascalText) {
    setControlText(getControl(item), pascalText);
}

long CMyDialog::getText(std::int16_t item, char* out, long size) {
    if (out != nullptr && size > 0) out[0] = '\0';
    return getControlText(getControl(item), out, size);
}

std::int16_t CMyDialog::getTextAsValue(std::int16_t item) { return static_cast<std::int16_t>(getInt32(item)); }

std::int32_t CMyDialog::getInt32(std::int16_t item) {
    char text[kShortTextSize];
    getText(item, text, static_cast<long>(sizeof text));
    return parseLong(text);
}

double CMyDialog::getFloat(std::int16_t item) {
    char text[kShortTextSize];
    getText(item, text, static_cast<long>(sizeof text));
    return parseDouble(text);
}

void CMyDialog::setValue(std::int16_t item, std::int16_t value) { lumbrel::setControlValue(getControl(item), value); }

std::int16_t CMyDialog::getValue(std::int16_t item) { return getControlValue(getControl(item)); }

void CMyDialog::setValues(std::int16_t first, std::int16_t last, const std::int16_t* values) {
    if (values == nullptr || first < 0) return;
    for (int item = first; item <= last; ++item) setValue(static_cast<std::int16_t>(item), values[item]);
}

void CMyDialog::getValues(std::int16_t first, std::int16_t last, std::int16_t* values) {
    if (values == nullptr || first < 0) return;
    for (int item = first; item <= last; ++item) values[item] = getValue(static_cast<std::int16_t>(item));
}

std::int16_t CMyDialog::toggleValue(std::int16_t item) {
    const auto value = static_cast<std::int16_t>(1 - getValue(item));
    setValue(item, value);
    return value;
}

void CMyDialog::selectText(std::int16_t item, std::int16_t start, std::int16_t end) {
    lumbrel::setEditSelection(getControl(item), start, end);
}

void CMyDialog::show(std::int16_t item, bool visible) { showControl(getControl(item), visible); }

void CMyDialog::show(std::int16_t first, std::int16_t last, bool visible) {
    for (int item = first; item <= last; ++item) show(static_cast<std::int16_t>(item), visible);
}

void CMyDialog::hide(std::int16_t item) { show(item, false); }

void CMyDialog::enable(std::int16_t item, bool enabled) { enableControl(getControl(item), enabled); }

void CMyDialog::enable(std::int16_t first, std::int16_t last, bool enabled) {
    for (int item = first; item <= last; ++item) enable(static_cast<std::int16_t>(item), enabled);
}

MenuRef CMyDialog::getMenu(std::int16_t item) { return lumbrel::getMenu(getControl(item)); }

bool CMyDialog::getMenuText(std::int16_t item, char* out) {
    if (out == nullptr) return false;
    out[0] = '\0';
    ControlRef control = getControl(item);
    const std::int16_t selected = getControlValue(control);
    return getMenuItemText(lumbrel::getMenu(control), selected, out, kShortTextSize);
}

void CMyDialog::addMenuItem(std::int16_t item, const char* keyOrText) {
    addMenuItemText(lumbrel::getMenu(getControl(item)), keyOrText);
}

void CMyDialog::addMenuItem(std::int16_t item, const unsigned char* pascalText) {
    MyStr text(pascalText, kEncodingMacRoman);
    if (!text.hasString()) return;
    // Added as it stands: a Mac OS Roman text is no key.
    platform::addItem(lumbrel::getMenu(getControl(item)), text.UTF8Str());
}

void CMyDialog::setMenuText(std::int16_t item, const char* text) { setMenuItemText(getControl(item), text, 0); }

void CMyDialog::setFocus(std::int16_t item) {
    clearFocus(window_);
    lumbrel::setFocus(getControl(item));
}

std::int16_t CMyDialog::getFocus() {
    const platform::WindowRef focused = platform::focusedWindow();
    if (focused == nullptr || !platform::isWindow(window_) || platform::topLevelWindow(focused) != window_) return 0;
    const int id = platform::controlId(focused);
    return static_cast<std::int16_t>(id > 0 ? id : 0);
}

void CMyDialog::setKeyFilter(std::int16_t item, KeyFilterProc filter) { lumbrel::setKeyFilter(getControl(item), filter); }

void CMyDialog::setTitle(const FileRef* file) {
    if (file == nullptr || !platform::isWindow(window_)) return;
    const std::string_view path(file->path, strnlen(file->path, sizeof file->path));
    const std::size_t slash = path.find_last_of('/');
    platform::setWindowText(window_, slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void CMyDialog::setProperty(std::uint32_t tag, std::intptr_t value) { setWindowProperty(window_, tag, value); }

std::intptr_t CMyDialog::getProperty(std::uint32_t tag, std::intptr_t defaultValue) {
    if (!platform::isWindow(window_)) return defaultValue;
    try {
        if (!platform::hasProperty(window_, valuePropertyName(tag))) return defaultValue;
    } catch (...) {
        return defaultValue;
    }
    return static_cast<std::intptr_t>(getWindowProperty(window_, tag));
}

void CMyDialog::freeProperty(std::uint32_t tag) {
    if (!platform::isWindow(window_)) return;
    std::free(reinterpret_cast<void*>(getWindowProperty(window_, tag)));
    removeControlProperty(window_, tag);
}

ControlRef CMyDialog::getRootControl() { return lumbrel::getRootControl(window_); }

void CMyDialog::redraw() {
    if (!platform::isWindow(window_)) return;
    EnumControls(
        window_,
        [](ControlRef control, std::uint32_t, std::intptr_t) {
            platform::invalidateWindow(control);
            return true;
        },
        0);
    platform::invalidateWindow(window_);
}

}  // namespace lumbrel
