// "xterror": the host's own alert for an error code.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include "desktop/desktop.h"
#include "hostsim/model/status.h"

#include <cstring>

namespace hostsim {

namespace {

constexpr const char* G = "xterror";

void showError(XTError error) {
    hostCallVoid(G, "showError", kNeedNothing, [error](Runtime&) {
        desktop::Desktop& desk = desktop::Desktop::instance();
        desktop::AlertRequest alert;
        alert.style = desktop::AlertStyle::Stop;
        alert.title = desk.hostName();
        alert.message = "The operation could not be completed. (error " + std::to_string(error) + ")";
        const char* why = statusText(error);
        if (why != nullptr && *why != '\0') alert.informative = why;
        alert.buttons = {"OK", "", ""};
        desk.runAlert(std::move(alert));
    });
}

const XTErrorGroup kTable{sizeof(XTErrorGroup), showError};

}  // namespace

const XTErrorGroup& errorGroupTable() { return kTable; }

}  // namespace hostsim
