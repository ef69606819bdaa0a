#include "host/message_box.h"

#include <cstdarg>
#include <cstdio>

#include "host/key_state.h"
#include "platform/alerts.h"
#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {

enum class Buttons { Ok, OkCancel, YesNo };

int showAlert(Buttons buttons, const char* key, std::va_list arguments) {
    char format[kShortTextSize];
    getString(key, format);
    char message[kMessageSize];
    // The format is the module's own message text from the string table; its
    // placeholders match what each caller passes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    if (std::vsnprintf(message, sizeof message, format, arguments) < 0) message[0] = '\0';
#pragma GCC diagnostic pop

    char defaultTitle[kShortTextSize];
    char cancelTitle[kShortTextSize];
    getString(buttons == Buttons::YesNo ? "yes" : "ok", defaultTitle);
    getString(buttons == Buttons::YesNo ? "no" : "cancel", cancelTitle);

    beep();
    const int answer =
        platform::runAlert(platform::AlertStyle::Note, platform::kProductName, message, getMsg2(), defaultTitle,
                           buttons == Buttons::Ok ? nullptr : cancelTitle, nullptr);
    clearMsgs();

    if (buttons == Buttons::Ok) return kAnswerDefault;
    return answer == kAnswerDefault ? kAnswerDefault : kAnswerCancel;
}

}  // namespace

int msgBox(const char* key, ...) {
    std::va_list arguments;
    va_start(arguments, key);
    const int answer = showAlert(Buttons::Ok, key, arguments);
    va_end(arguments);
    return answer;
}

int msgBoxOkCancel(const char* key, ...) {
    std::va_list arguments;
    va_start(arguments, key);
    const int answer = showAlert(Buttons::OkCancel, key, arguments);
    va_end(arguments);
    return answer;
}

int msgBoxYesNo(const char* key, ...) {
    std::va_list arguments;
    va_start(arguments, key);
    const int answer = showAlert(Buttons::YesNo, key, arguments);
    va_end(arguments);
    return answer;
}

}  // namespace lumbrel
