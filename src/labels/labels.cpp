#include "labels/labels.h"

#include <string_view>

#include "host/key_state.h"
#include "host/menus.h"
#include "host/message_box.h"
#include "host/xt_boxes.h"
#include "host/xt_drawing.h"
#include "host/xt_pages.h"
#include "host/xt_pictures.h"
#include "host/xt_slugs.h"
#include "labels/label_draw.h"
#include "labels/label_state.h"
#include "platform/platform_traits.h"
#include "platform/processes.h"
#include "settings/preferences.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {

// The process that was in front when the print question was asked; it gets
// the front back when the job ends.
platform::ProcessRef gFrontBeforeQuestion = platform::ProcessRef::None;

}  // namespace

void doShowPath(XTMenuRef menu, XTCommandID item) {
    static_cast<void>(menu);  // the host checks items by command id
    LabelState& state = labelState();
    if (shiftKeyPressed()) {
        state.mode = kLabelsShift;
        XTCheckMenuItem(item, true);
    } else if (state.mode != kLabelsOff) {
        state.mode = kLabelsOff;
        XTCheckMenuItem(item, false);
    } else {
        state.mode = kLabelsFileName;
        XTCheckMenuItem(item, true);
    }
}

std::int32_t doJobStart(const XTPrintJobRec* record) {
    static_cast<void>(record);
    LabelState& state = labelState();
    state.printing = true;
    state.printNames = false;
    state.fontSent = false;
    if (state.mode == kLabelsOff) return 0;

    if (getPrefs()->get(pref::kLabels, "Ask", 1) == 1) {
        // The question must be seen: the host (and its alert) comes to the
        // front while a print dialog of another process may be in front.
        if constexpr (platform::Traits::kBringsHostToFront) {
            platform::bringApplicationToFront(platform::kCreatorThisHost, &gFrontBeforeQuestion);
        }
        state.printNames = msgBoxYesNo("addNamesToPS") == kAnswerDefault;
    } else {
        state.printNames = true;
    }
    return 0;
}

std::int32_t doJobEnd(const XTPrintJobRec* record) {
    static_cast<void>(record);
    LabelState& state = labelState();
    state.printing = false;
    state.printNames = false;
    if (gFrontBeforeQuestion != platform::ProcessRef::None) {
        platform::bringProcessToFront(gFrontBeforeQuestion);
        gFrontBeforeQuestion = platform::ProcessRef::None;
    }
    return 0;
}

std::int32_t drawBox(const XTDrawBoxRec* record) {
    const LabelState& state = labelState();
    if (record == nullptr || state.mode == kLabelsOff) return 0;
    if (state.printing && !state.printNames) return 0;
    if (!xt_ispictbox(record->box)) return 0;
    if (record->phase != XT_DRAW_PHASE_CONTENT) return 0;
    char pathOrName[kPathSize] = {};
    if (getPathOrName(record->box, pathOrName, sizeof pathOrName) <= 0 || pathOrName[0] == '\0') return 0;

    const std::string_view text = labelText(pathOrName, state.mode);
    XTFixedRect bounds{};
    xt_getboxbounds(record->box, &bounds);
    const std::int16_t outputKind = xt_outputkind();
    if (outputKind == XT_OUTPUT_POSTSCRIPT) {
        writePostScriptLabel(bounds, text);
    } else if (outputKind == XT_OUTPUT_SCREEN && getStatusColours()) {
        // Only the screen shows the link status; printed labels stay plain.
        drawScreenLabel(record->port, bounds, xtget_docscale(), text,
                        statusLabelColours(XTGetPictureStatus(record->box)));
    } else {
        drawScreenLabel(record->port, bounds, xtget_docscale(), text);
    }
    return 0;
}

}  // namespace lumbrel
