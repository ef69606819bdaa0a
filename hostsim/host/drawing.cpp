// Drawing the front window: the box-drawing callback (66) for every box of
// the current spread, in chain order and in three phases each. Print jobs
// are in printing.cpp.
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr std::int16_t kFirstPhase = 1;
constexpr std::int16_t kLastPhase = 3;

}  // namespace

void Runtime::redrawNow() {
    redrawPending = false;
    drawCalls.clear();
    boxDrawings.clear();
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

void Simulator::redraw() {
    Runtime& rt = runtime();
    if (!rt.beginAction("redraw")) return;
    rt.redrawNow();
}

}  // namespace hostsim
