// A real window's picture: its rectangle copied from the screen (the virtual
// display under Wine) after it has painted itself, written as PNG.
#include "hostsim/host/real_window_picture.h"

#include "hostsim/render/page_renderer.h"

#include "desktop/files/win32/windows_api.h"

#include <vector>

namespace hostsim {

namespace {

constexpr int kMaxSide = 8192;

bool endsWithPng(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".png") == 0;
}

}  // namespace

bool writeRealWindowPicture(lumbrel::platform::WindowRef window, const std::string& path, std::string& error) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    if (!endsWithPng(path)) {
        error = "a real window's picture is a PNG file";
        return false;
    }
    if (hwnd == nullptr || !IsWindow(hwnd) || !IsWindowVisible(hwnd)) {
        error = "no real window shown";
        return false;
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        error = "the window has no size a picture can take";
        return false;
    }
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // rows top down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> bgra(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    const int rows = copied ? GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bgra.data(), &format, DIB_RGB_COLORS) : 0;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        error = "the display could not be read";
        return false;
    }
    render::Raster raster;
    raster.width = width;
    raster.height = height;
    raster.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (std::size_t i = 0, pixels = raster.rgb.size() / 3; i < pixels; ++i) {
        raster.rgb[i * 3] = bgra[i * 4 + 2];
        raster.rgb[i * 3 + 1] = bgra[i * 4 + 1];
        raster.rgb[i * 3 + 2] = bgra[i * 4];
    }
    return render::writePng(raster, path, &error);
}

}  // namespace hostsim
