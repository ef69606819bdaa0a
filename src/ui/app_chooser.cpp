// The application chooser over the platform's file chooser.
#include "ui/app_chooser.h"

#include <string>

#include "platform/file_chooser.h"
#include "util/bounded.h"
#include "util/my_str.h"

namespace lumbrel {

bool doGetAppPath(char* path, const char* promptKey) {
    if (path == nullptr) return false;
    try {
        MyStr prompt(promptKey != nullptr ? promptKey : "");
        const char* promptText = prompt.hasString() ? prompt.UTF8Str() : "";
        std::string chosen;
        if (!platform::chooseApplication(promptText != nullptr ? promptText : "", chosen)) return false;
        // A cut path would name another file: refuse it rather than shorten it.
        if (chosen.empty() || chosen.size() >= kPathSize || chosen.find('\0') != std::string::npos) return false;
        copyBounded(path, kPathSize, chosen);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace lumbrel
