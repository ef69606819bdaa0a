// The alert and beep calls of the module, answered by the desktop's agent.
#include "platform/alerts.h"

#include "desktop/desktop.h"

namespace lumbrel::platform {

namespace {

desktop::AlertStyle toDesktop(AlertStyle style) noexcept {
    switch (style) {
        case AlertStyle::Caution: return desktop::AlertStyle::Caution;
        case AlertStyle::Stop: return desktop::AlertStyle::Stop;
        case AlertStyle::Note: break;
    }
    return desktop::AlertStyle::Note;
}

const char* orEmpty(const char* text) noexcept { return text != nullptr ? text : ""; }

}  // namespace

int runAlert(AlertStyle style, const char* title, const char* message, const char* informative,
             const char* defaultButton, const char* cancelButton, const char* otherButton) noexcept {
    try {
        desktop::AlertRequest request;
        request.style = toDesktop(style);
        request.title = orEmpty(title);
        request.message = orEmpty(message);
        request.informative = orEmpty(informative);
        request.buttons = {orEmpty(defaultButton), orEmpty(cancelButton), orEmpty(otherButton)};
        return desktop::Desktop::instance().runAlert(std::move(request));
    } catch (...) {
        return 0;
    }
}

void beep() noexcept {
    try {
        desktop::Desktop::instance().beep();
    } catch (...) {
        // A beep that cannot be recorded is still a beep.
    }
}

}  // namespace lumbrel::platform
