// Drawing the front window: the box-drawing callback (66) for every box of
// the current spread, in chain order and in three phases each; and the
// output-job hooks around the host's own output.
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr std::int16_t kFirstPhase = 1;
constexpr std::int16_t kLastPhase = 3;

}  // namespace

void Runtime::redrawNow() {
    redrawPending = false;
    drawCalls.clear();
    const Document* doc = currentDocument();
    if (doc == nullptr || !registered(XT_CB_DRAWBOX)) return;
    const std::vector<BoxId>* chain = doc->chain(doc->currentSpread());
    if (chain == nullptr) return;
    // The module may change the chain while it draws.
    const std::vector<BoxId> boxes = *chain;
    const XTPort port = nextPort++;
    for (const BoxId box : boxes) {
        for (std::int16_t step = kFirstPhase; step <= kLastPhase; ++step) {
            draw = DrawState{true, port, box, step};
            XTDrawBoxRec record{};
            record.size = sizeof record;
            record.box = box;
            record.phase = step;
            record.port = port;
            dispatch(XT_CB_DRAWBOX, &record);
            draw = DrawState{};
        }
    }
}

void Runtime::flushRedraw() {
    if (redrawPending && running.empty()) redrawNow();
}

void Runtime::beginOutputJob(std::int16_t kind) {
    jobRunning = true;
    outputKind = kind;
    postScript.clear();
    XTPrintJobRec record{};
    record.size = sizeof record;
    record.docID = currentID();
    record.outputKind = kind;
    dispatch(XT_CB_PRINTJOB_START, &record);
}

void Runtime::endOutputJob() {
    XTPrintJobRec record{};
    record.size = sizeof record;
    record.docID = currentID();
    record.outputKind = outputKind;
    dispatch(XT_CB_PRINTJOB_END, &record);
    jobRunning = false;
    outputKind = XT_OUTPUT_SCREEN;
}

void Simulator::redraw() {
    Runtime& rt = runtime();
    if (!rt.beginAction("redraw")) return;
    rt.redrawNow();
}

}  // namespace hostsim
