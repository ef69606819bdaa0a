// Modal alerts and the system beep, as the operating system offers them
// (a standard alert on the Mac, a message box on Windows). The module formats
// and localises every text itself; this layer only shows them and reports
// which button the user pressed.
#pragma once

namespace lumbrel::platform {

enum class AlertStyle : int {
    Note = 0,     // information, questions
    Caution = 1,  // a warning the user may override
    Stop = 2,     // an error
};

// Button item numbers, fixed whichever buttons are shown.
inline constexpr int kAlertDefaultItem = 1;  // OK, Yes: answered by Return
inline constexpr int kAlertCancelItem = 2;   // Cancel, No: answered by Escape
inline constexpr int kAlertOtherItem = 3;

// Shows a modal alert and waits for the user. Texts are NUL-terminated UTF-8.
// `informative` is the smaller second line; null or "" shows none. A null
// `defaultButton` shows the system's "OK"; a null `cancelButton` or
// `otherButton` leaves that button out.
// Answers the item number of the button pressed (1, 2 or 3; only a button that
// was shown), or 0 when the alert could not be shown (out of memory): callers
// must not take 0 for either answer.
int runAlert(AlertStyle style, const char* title, const char* message, const char* informative,
             const char* defaultButton, const char* cancelButton, const char* otherButton) noexcept;

// Sounds the system alert.
void beep() noexcept;

}  // namespace lumbrel::platform
