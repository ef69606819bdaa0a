#include "host/window_messages.h"

#include <algorithm>

#include "editing/double_click.h"
#include "editing/rename_picture.h"
#include "host/callbacks.h"
#include "host/feature_entry_points.h"
#include "settings/preferences.h"

namespace lumbrel {

namespace {

constexpr std::uintptr_t kRenameKey = 'R';
constexpr std::uint32_t kCopyNameModifiers = XT_WMOD_CONTROL;
constexpr std::uint32_t kRenameModifiers = XT_WMOD_CONTROL | XT_WMOD_SHIFT;

std::int16_t clamp16(std::int32_t value) noexcept {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, INT16_MIN, INT16_MAX));
}

void swallow(XTWinEventRec& event) noexcept {
    event.message = XT_WM_NULL;
}

// The click as the double-click test reads it: a classic mouse-down.
bool mouseDownHandled(const XTWinEventRec& event) {
    XTEventRec click{};
    click.what = XT_EVT_MOUSEDOWN;
    click.when = ticksFromMilliseconds(event.time);
    click.where = XTPoint{clamp16(event.y), clamp16(event.x)};
    doMouseDown(&click);
    return click.what == XT_EVT_NULL;
}

}  // namespace

std::uintptr_t virtualKeyOf(char character) noexcept {
    const auto c = static_cast<unsigned char>(character);
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    return c;
}

std::uint32_t ticksFromMilliseconds(std::uint32_t milliseconds) noexcept {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(milliseconds) * 60U / 1000U);
}

MessageAction classifyWindowsMessage(const XTWinEventRec& event, bool edit, char copyKey) noexcept {
    switch (event.message) {
        case XT_WM_NULL:
        case XT_WM_TIMER: return MessageAction::Idle;
        case XT_WM_LBUTTONDOWN: return edit ? MessageAction::MouseDown : MessageAction::Pass;
        case XT_WM_KEYDOWN: {
            const std::uint32_t modifiers = event.modifiers & ~static_cast<std::uint32_t>(XT_WMOD_BUTTONS);
            if (copyKey != 0 && event.wParam == virtualKeyOf(copyKey) && modifiers == kCopyNameModifiers)
                return MessageAction::CopyName;
            if (event.wParam == kRenameKey && modifiers == kRenameModifiers) return MessageAction::Rename;
            return MessageAction::Pass;
        }
        default: return MessageAction::Pass;
    }
}

void filterWindowsMessage(XTWinEventRec& event) {
    if (event.size < static_cast<std::int32_t>(sizeof(XTWinEventRec))) return;
    switch (classifyWindowsMessage(event, getEdit(), getCopyPathKey())) {
        case MessageAction::Idle: doDropIdle(); break;
        case MessageAction::MouseDown:
            if (mouseDownHandled(event)) swallow(event);
            break;
        case MessageAction::CopyName:
            if (copyPictureNameToClipboard()) swallow(event);
            break;
        case MessageAction::Rename:
            if (renamePicture() == XT_EVT_NULL) swallow(event);
            break;
        case MessageAction::Pass: break;
    }
}

}  // namespace lumbrel
