// Fonts and drawing on a Canvas over GDI.
#include <string>

#include "platform/win32/canvas.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

COLORREF toColour(std::uint32_t rgb) noexcept {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

RECT toRect(const WindowRect& r) noexcept { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

bool usable(const Canvas* canvas) noexcept { return canvas != nullptr && canvas->dc != nullptr; }

}  // namespace

FontRef createFont(const char* face, int heightPixels, int weight) noexcept {
    std::wstring wideFace;
    try {
        if (face == nullptr || !win32::toWide(face, wideFace)) return nullptr;
    } catch (...) {
        return nullptr;
    }
    // A negative height asks for the character height, as the module's sizes mean.
    const HFONT font = ::CreateFontW(-heightPixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, wideFace.c_str());
    return reinterpret_cast<FontRef>(font);
}

void setWindowFont(WindowRef window, FontRef font) noexcept {
    if (::IsWindow(win32::toHwnd(window))) {
        ::SendMessageW(win32::toHwnd(window), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

FontRef windowFont(WindowRef window) noexcept {
    if (!::IsWindow(win32::toHwnd(window))) return nullptr;
    return reinterpret_cast<FontRef>(::SendMessageW(win32::toHwnd(window), WM_GETFONT, 0, 0));
}

void fillRect(Canvas* canvas, const WindowRect& rect, std::uint32_t rgb) noexcept {
    if (!usable(canvas)) return;
    const RECT r = toRect(rect);
    const HBRUSH brush = ::CreateSolidBrush(toColour(rgb));
    ::FillRect(canvas->dc, &r, brush);
    ::DeleteObject(brush);
}

void frameRect(Canvas* canvas, const WindowRect& rect, std::uint32_t rgb) noexcept {
    if (!usable(canvas)) return;
    const RECT r = toRect(rect);
    const HBRUSH brush = ::CreateSolidBrush(toColour(rgb));
    ::FrameRect(canvas->dc, &r, brush);
    ::DeleteObject(brush);
}

void drawLine(Canvas* canvas, int x1, int y1, int x2, int y2, std::uint32_t rgb) noexcept {
    if (!usable(canvas)) return;
    const HPEN pen = ::CreatePen(PS_SOLID, 1, toColour(rgb));
    const HGDIOBJ old = ::SelectObject(canvas->dc, pen);
    ::MoveToEx(canvas->dc, x1, y1, nullptr);
    ::LineTo(canvas->dc, x2, y2);
    ::SelectObject(canvas->dc, old);
    ::DeleteObject(pen);
}

void drawText(Canvas* canvas, const WindowRect& rect, std::string_view utf8, int align, std::uint32_t rgb,
              FontRef font) noexcept {
    if (!usable(canvas)) return;
    std::wstring text;
    try {
        if (!win32::toWide(std::string(utf8).c_str(), text)) return;
    } catch (...) {
        return;
    }
    RECT r = toRect(rect);
    const HGDIOBJ old = font != nullptr ? ::SelectObject(canvas->dc, reinterpret_cast<HFONT>(font)) : nullptr;
    const int oldMode = ::SetBkMode(canvas->dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(canvas->dc, toColour(rgb));
    const UINT horizontal = align == 1 ? DT_CENTER : align == 2 ? DT_RIGHT : DT_LEFT;
    ::DrawTextW(canvas->dc, text.c_str(), static_cast<int>(text.size()), &r,
                horizontal | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(canvas->dc, oldColour);
    ::SetBkMode(canvas->dc, oldMode);
    if (old != nullptr) ::SelectObject(canvas->dc, old);
}

void invertRect(Canvas* canvas, const WindowRect& rect) noexcept {
    if (!usable(canvas)) return;
    const RECT r = toRect(rect);
    ::InvertRect(canvas->dc, &r);
}

}  // namespace lumbrel::platform
