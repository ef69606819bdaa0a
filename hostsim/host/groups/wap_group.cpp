// "xtwap": panes of the host's preferences dialog: dialog ids, the pane's
// handler, inserting it into the dialog's tab control, and the standard
// OK/Cancel buttons of a pane that runs on its own.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtwap";

std::int16_t allocDialogID() {
    return hostCall<std::int16_t>(G, "allocDialogID", kNeedNothing, 0, [](Runtime& rt) {
        if (rt.nextDialogID == INT16_MAX) {
            rt.violation(G, "allocDialogID", "ran out of dialog ids");
            return std::int16_t{0};
        }
        const std::int16_t id = rt.nextDialogID++;
        rt.dialogIDs.insert(id);
        return id;
    });
}

XTError registerPane(std::int16_t dialogID, XTWapHandler handler) {
    return hostCall<XTError>(G, "registerPane", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (rt.dialogIDs.count(dialogID) == 0) {
            rt.violation(G, "registerPane", "got dialog id " + std::to_string(dialogID) + ", which the host did not hand out");
            return XTError{XT_PARAMERR};
        }
        if (handler == nullptr) {
            rt.violation(G, "registerPane", "got no handler");
            return XTError{XT_PARAMERR};
        }
        rt.paneHandlers[dialogID] = handler;
        return XTError{XT_NOERR};
    });
}

XTError insertPane(std::int32_t tabControl, std::int16_t dialogID) {
    return hostCall<XTError>(G, "insertPane", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (rt.running.empty() || rt.running.back() != XT_CB_PREFPANE_INSERT) {
            rt.violation(G, "insertPane", "called outside the pane insertion callback");
            return XTError{XT_PARAMERR};
        }
        if (tabControl != kPreferencesTabControl) {
            rt.violation(G, "insertPane", "got a tab control the host did not hand over");
            return XTError{XT_PARAMERR};
        }
        if (rt.dialogIDs.count(dialogID) == 0) {
            rt.violation(G, "insertPane", "got dialog id " + std::to_string(dialogID) + ", which the host did not hand out");
            return XTError{XT_PARAMERR};
        }
        rt.insertedPane = dialogID;
        return XTError{XT_NOERR};
    });
}

void setupStandardButton(std::int16_t item, std::int32_t value) {
    hostCallVoid(G, "setupStandardButton", kNeedPane, [=](Runtime& rt) {
        if (rt.pane.messageKind != XT_WAP_OPEN) {
            rt.violation(G, "setupStandardButton", "called outside the pane's opening message");
            return;
        }
        if (value != 1) return;
        rt.pane.standardButtons.insert(item);
    });
}

const XTWapGroup kTable{sizeof(XTWapGroup), allocDialogID, registerPane, insertPane, setupStandardButton};

}  // namespace

const XTWapGroup& wapGroupTable() { return kTable; }

}  // namespace hostsim
