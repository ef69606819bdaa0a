// dialog_snapshot: runs one of the module's dialogs as the Windows build makes
// it (its description from this program's own resources, built into the
// "MyDialog" shell by the module's dialog code) and writes the real window as
// the virtual display shows it to a PNG file, then closes the dialog.
//
//   dialog_snapshot NAME E|D OUT.png
//
// NAME is a description ("EDIT", "SWAP", …) or the preference pane's resource
// number ("28051", "28351"). scripts/docs-pictures-windows.sh runs it under Wine.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hostsim/host/real_window_picture.h"
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

// The window's rectangle of the screen, as the display shows it now (the
// host's own capture, so both write the same pictures).
bool captureWindow(HWND window, const char* file) {
    std::string error;
    return hostsim::writeRealWindowPicture(reinterpret_cast<lumbrel::platform::WindowRef>(window), file, error);
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
