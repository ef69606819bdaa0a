// Shows one of the module's dialogs as the module builds it, without a host:
// the description NAME from a resource folder, in English or German, through
// the module's dialog functions (description, placement, localised titles),
// run modal on the desktop stand-in; at its first question the picture is
// written and the dialog closed by its close box.
//
//   dialog_preview --resources DIR [--language 0|3] --out PATH.png|.svg NAME
//
// Exit codes: 0 written, 1 the dialog could not be made or the picture not
// written, 2 usage.
#include "desktop/agent.h"
#include "desktop/desktop.h"

#include "settings/localised_strings.h"
#include "settings/resources.h"
#include "ui/dialog_functions.h"
#include "ui/own_window_classes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

int usage() {
    std::fputs("usage: dialog_preview --resources DIR [--language 0|3] --out PATH.png|.svg NAME\n", stderr);
    return 2;
}

bool startShown(lumbrel::WindowPtr, std::intptr_t) { return true; }

}  // namespace

int main(int argc, char** argv) {
    std::string resources, out, name;
    long language = lumbrel::kLangEnglish;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--resources" || arg == "--out" || arg == "--language") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--resources") resources = value;
            if (arg == "--out") out = value;
            if (arg == "--language") language = std::strtol(value.c_str(), nullptr, 10);
        } else if (!arg.empty() && arg[0] != '-' && name.empty()) {
            name = arg;
        } else {
            return usage();
        }
    }
    if (resources.empty() || out.empty() || name.empty()) return usage();

    lumbrel::setResourceFolder(resources.c_str());
    lumbrel::setupLanguages(static_cast<std::int16_t>(language));
    lumbrel::setupMyStrings();
    lumbrel::setupDialogs();

    auto agent = std::make_shared<desktop::ScriptedAgent>();
    bool written = false;
    std::string title;
    agent->setDialogStep([&](const desktop::DialogRequest& dialog) {
        if (!written) {
            title = dialog.title;
            written = desktop::Desktop::instance().writeWindowPicture(dialog.dialog, out);
        }
        return desktop::DialogAction::closeBox();
    });
    desktop::Desktop::instance().setAgent(agent);
    lumbrel::doModalDialog(name.c_str(), startShown, 0);
    desktop::Desktop::instance().setAgent(nullptr);
    lumbrel::cleanupMyStrings();
    if (!written) {
        std::fprintf(stderr, "dialog_preview: no picture of %s written to %s\n", name.c_str(), out.c_str());
        return 1;
    }
    std::printf("%s: dialog \"%s\" -> %s\n", name.c_str(), title.c_str(), out.c_str());
    return 0;
}
