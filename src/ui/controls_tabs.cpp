// Tab pages: the pages of a tab control are its sub-controls in order, or
// the controls numbered 100 + n of its dialog.
#include "ui/controls.h"

namespace lumbrel {

namespace {

constexpr unsigned long kFirstPageId = 100;

}  // namespace

void showTabs(ControlRef tabs) noexcept {
    if (!platform::isWindow(tabs)) return;
    const long current = getControlValue(tabs);
    long position = 1;
    for (auto page = platform::firstChild(tabs); page != nullptr; page = platform::nextSibling(page), ++position) {
        platform::showWindow(page, position == current);
    }
    platform::invalidateWindow(tabs);
}

void setTabValue(ControlRef tabs, long value) noexcept {
    lumbrel::setControlValue(tabs, static_cast<int>(value));
    showTabs(tabs);
}

void showTab(ControlRef tabs) noexcept {
    if (!platform::isWindow(tabs)) return;
    const long current = getControlValue(tabs);
    const WindowPtr owner = getControlOwner(tabs);
    const int count = platform::itemCount(tabs);
    for (int n = 1; n <= count; ++n) {
        if (auto page = getControl(owner, kFirstPageId + static_cast<unsigned long>(n))) {
            platform::showWindow(page, n == current);
        }
    }
    platform::invalidateWindow(tabs);
}

ControlRef getTabUserPane(ControlRef tabs, const char* label) noexcept {
    if (!platform::isWindow(tabs)) return nullptr;
    long position = getControlValue(tabs);
    if (label != nullptr && label[0] != '\0') {
        position = 0;
        try {
            const int count = platform::itemCount(tabs);
            for (int i = 0; i < count; ++i) {
                if (platform::itemText(tabs, i) == label) {
                    position = i + 1;
                    break;
                }
            }
        } catch (...) {
            return nullptr;
        }
    }
    return getSubControl(tabs, position);
}

}  // namespace lumbrel
