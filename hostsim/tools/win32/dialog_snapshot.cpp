// dialog_snapshot: runs one of the module's dialogs as the Windows build makes
// it (its description from this program's own resources, built into the
// "MyDialog" shell by the module's dialog code) and writes the real window as
// the virtual display shows it to a PNG file, then closes the dialog.
//
//   dialog_snapshot NAME E|D OUT.png
//
// NAME is a description ("EDIT", "SWAP", …) or the preference pane's resource
// number ("28051", "28351"). scripts/docs-pictures-windows.sh runs it under Wine.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "settings/localised_strings.h"
#include "settings/resources.h"
#include "ui/dialog_functions.h"
#include "ui/own_window_classes.h"

namespace {

struct Snapshot {
    const char* outFile = nullptr;
    int ticks = 0;
    bool written = false;
};
Snapshot gSnapshot;

// The modal dialog now shown: the active window of this thread.
HWND shownDialog() {
    const HWND active = ::GetActiveWindow();
    return active != nullptr && ::IsWindowVisible(active) ? active : nullptr;
}

bool writePng(const char* file, int width, int height, const std::vector<unsigned char>& rgb) {
    std::FILE* out = std::fopen(file, "wb");
    if (out == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, out);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            png_write_row(png, rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3);
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return std::fclose(out) == 0 && ok;
}

// The window's rectangle of the screen, as the display shows it now.
bool captureWindow(HWND window, const char* file) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    if (!::GetWindowRect(window, &r)) return false;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return false;

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const BOOL copied = ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(memory, old);

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // rows top down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> bgra(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    const int rows = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bgra.data(), &format, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (!copied || rows != height) return false;

    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (std::size_t i = 0, o = 0; i < bgra.size(); i += 4, o += 3) {
        rgb[o] = bgra[i + 2];
        rgb[o + 1] = bgra[i + 1];
        rgb[o + 2] = bgra[i];
    }
    return writePng(file, width, height, rgb);
}

// Waits a few ticks for the dialog to be drawn, takes its picture, closes it.
void CALLBACK snapshotTick(HWND, UINT, UINT_PTR, DWORD) {
    constexpr int kSettleTicks = 5;
    constexpr int kGiveUpTicks = 200;
    const HWND dialog = shownDialog();
    if (++gSnapshot.ticks > kGiveUpTicks) {
        if (dialog != nullptr) ::EndDialog(dialog, 2);
        return;
    }
    if (dialog == nullptr || gSnapshot.ticks < kSettleTicks || gSnapshot.written) return;
    gSnapshot.written = captureWindow(dialog, gSnapshot.outFile);
    ::EndDialog(dialog, 2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::strcmp(argv[2], "E") != 0 && std::strcmp(argv[2], "D") != 0)) {
        std::fprintf(stderr, "usage: dialog_snapshot NAME E|D OUT.png\n");
        return 2;
    }
    using namespace lumbrel;
    setLanguage(std::strcmp(argv[2], "D") == 0 ? kLangGerman : kLangEnglish);
    if (setupMyStrings() != 0 || !setupDialogs()) {
        std::fprintf(stderr, "dialog_snapshot: the string table or the dialog classes are missing\n");
        return 1;
    }
    gSnapshot.outFile = argv[3];
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &snapshotTick);
    doModalDialog(argv[1], nullptr, 0);
    ::KillTimer(nullptr, timer);
    if (!gSnapshot.written) {
        std::fprintf(stderr, "dialog_snapshot: no picture of %s (%s)\n", argv[1], argv[2]);
        return 1;
    }
    std::printf("%s\n", argv[3]);
    return 0;
}
