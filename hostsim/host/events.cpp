// Events the host hands to the module's event callback (10) — null events
// at idle time, mouse-downs with their tick times, key-downs with modifiers —
// and the host's own handling of those the module does not swallow. The
// Windows host hands the same events over as window messages: 0 at idle
// time, 513 for a click, 256 for a key, with a modifier value.
#include "hostsim/host/held_modifiers.h"
#include "hostsim/host/host_flavour.h"
#include "hostsim/host/runtime.h"

#include "desktop/desktop.h"

#include <algorithm>
#include <cstdio>

namespace hostsim {

namespace {

std::int16_t clamp16(int value) noexcept {
    return static_cast<std::int16_t>(std::clamp(value, static_cast<int>(INT16_MIN), static_cast<int>(INT16_MAX)));
}

std::string keyText(unsigned char character, std::uint16_t modifiers) {
    char key[16];
    if (character >= 0x20 && character < 0x7F && character != '\'') {
        std::snprintf(key, sizeof key, "'%c'", character);
    } else {
        std::snprintf(key, sizeof key, "0x%02X", static_cast<unsigned>(character));
    }
    return modifierText(modifiers) + key;
}

std::string pointText(const SpreadPoint& p) {
    // x,y as the session gives points, like "pixel X,Y" of screen points.
    return "spread " + std::to_string(p.spread) + " point " + pointsText(p.h) + "," + pointsText(p.v);
}

// ---- the Windows host's messages ----

std::uint32_t windowMessageOf(std::uint16_t what) noexcept {
    switch (what) {
        case XT_EVT_MOUSEDOWN: return XT_WM_LBUTTONDOWN;
        case XT_EVT_KEYDOWN: return XT_WM_KEYDOWN;
        default: return XT_WM_NULL;
    }
}

// The virtual-key code of a key the session names by its character: letter
// keys are their capitals, the arrows have codes of their own; Escape,
// Return, Tab, Space, Backspace and the digits are their characters.
std::uintptr_t virtualKey(unsigned char character) noexcept {
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    switch (character) {
        case 0x1C: return 0x25;  // left
        case 0x1D: return 0x27;  // right
        case 0x1E: return 0x26;  // up
        case 0x1F: return 0x28;  // down
        case 0x7F: return 0x2E;  // forward delete
        default: return character;
    }
}

std::uint32_t windowsModifiers(std::uint16_t modifiers, std::uint16_t what) noexcept {
    std::uint32_t value = what == XT_EVT_MOUSEDOWN ? XT_WMOD_LBUTTON : 0U;
    if ((modifiers & (XT_MOD_SHIFT | desktop::kModRightShift)) != 0) value |= XT_WMOD_SHIFT;
    if ((modifiers & (XT_MOD_CONTROL | desktop::kModRightControl)) != 0) value |= XT_WMOD_CONTROL;
    if ((modifiers & (XT_MOD_OPTION | desktop::kModRightOption)) != 0) value |= XT_WMOD_ALT;
    return value;
}

// The host's clock counts ticks; its messages carry milliseconds, rounded up
// so that a module turning them back into ticks gets the same ticks.
std::uint32_t millisecondsOf(std::uint32_t ticks) noexcept {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(ticks) * 1000U + 59U) / 60U);
}

// The event as the Windows host hands it: one window message. Writing
// XT_WM_NULL into it swallows it, as a null event does on the Mac.
EventResult deliverMessage(Runtime& rt, const XTEventRec& event) {
    XTWinEventRec message{};
    message.size = sizeof message;
    const XTDocID doc = rt.currentID();
    message.hwnd = event.what == XT_EVT_NULL || doc < 0 ? 0 : Runtime::windowOf(doc);
    message.message = windowMessageOf(event.what);
    message.wParam = event.what == XT_EVT_KEYDOWN ? virtualKey(static_cast<unsigned char>(event.message & 0xFFU)) : 0;
    message.time = millisecondsOf(event.when);
    message.x = event.where.h;
    message.y = event.where.v;
    message.modifiers = windowsModifiers(event.modifiers, event.what);
    EventResult result;
    result.delivered = rt.dispatch(XT_CB_EVENT, &message) > 0;
    const std::uint32_t sent = windowMessageOf(event.what);
    result.swallowed = result.delivered && sent != XT_WM_NULL && message.message == XT_WM_NULL;
    result.whatAfter = message.message == sent ? event.what : static_cast<std::uint16_t>(message.message);
    return result;
}

// The event callback with the record; what the module did with it.
EventResult deliver(Runtime& rt, XTEventRec& event) {
    if constexpr (kWindowsHost) return deliverMessage(rt, event);
    const std::uint16_t what = event.what;
    EventResult result;
    result.delivered = rt.dispatch(XT_CB_EVENT, &event) > 0;
    result.whatAfter = event.what;
    result.swallowed = result.delivered && what != XT_EVT_NULL && event.what == XT_EVT_NULL;
    return result;
}

// The frontmost (last in chain order) box that is no group and contains the
// point; with another tool than the content tool its outermost group.
BoxId hitBox(const Document& doc, const SpreadPoint& p, std::int16_t tool) {
    const std::vector<BoxId>* chain = doc.chain(p.spread);
    if (chain == nullptr) return 0;
    for (auto it = chain->rbegin(); it != chain->rend(); ++it) {
        const Box* box = doc.findBox(*it);
        if (box == nullptr || box->isGroup() || !box->bounds().contains(p.v, p.h)) continue;
        BoxId hit = box->id();
        if (tool != XT_TOOL_CONTENT) {
            while (const Box* b = doc.findBox(hit)) {
                if (b->group() == 0) break;
                hit = b->group();
            }
        }
        return hit;
    }
    return 0;
}

// The host's own click: the page under the point becomes current (the view
// does not move) and the box under it is selected.
std::string hostClick(Runtime& rt, const SpreadPoint& p) {
    Document* doc = rt.currentDocument();
    if (doc == nullptr) return "no document";
    if (p.spread > 0 && p.spread <= doc->numSpreads() && doc->showMaster() == 0) {
        int page = doc->firstPageOfSpread(p.spread);
        for (int n = page; n > 0 && doc->spreadOfPage(n) == p.spread; ++n) {
            const Page* pg = doc->page(n);
            if (pg != nullptr && p.h >= pg->left && p.h <= pg->left + doc->pageWidth) page = n;
        }
        const int before = doc->currentSpread();
        if (page > 0 && page != doc->currentPage()) {
            double v0 = 0, h0 = 0;
            Runtime::spreadOrigin(*doc, p.spread, v0, h0);
            doc->setCurrentPage(page);
            if (doc->currentSpread() != before) doc->view.originV = v0;
        }
    }
    const BoxId box = hitBox(*doc, p, rt.tool);
    doc->setCurrentBox(box);
    doc->setSelection(box != 0 ? std::vector<BoxId>{box} : std::vector<BoxId>{});
    return box != 0 ? "box " + std::to_string(box) + " selected" : std::string("nothing selected");
}

EventResult mouseDown(Runtime& rt, ScreenPoint screen, const SpreadPoint& at, std::uint32_t when,
                      std::uint16_t modifiers) {
    rt.clock = std::max(rt.clock, when);
    rt.mouse = XTPoint{clamp16(screen.v), clamp16(screen.h)};
    XTEventRec event{};
    event.what = XT_EVT_MOUSEDOWN;
    event.when = when;
    event.where = rt.mouse;
    event.modifiers = modifiers;
    EventResult result;
    {
        HeldModifiers held(modifiers);
        result = deliver(rt, event);
    }
    const std::string where = modifierText(modifiers) + "click " + pointText(at) + " at tick " + std::to_string(when);
    if (result.swallowed) {
        rt.note(where + " -> swallowed by the module");
    } else {
        rt.note(where + " -> " + hostClick(rt, at));
    }
    return result;
}

}  // namespace

EventResult Simulator::key(unsigned char character, std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("key")) return {};
    rt.clock += kActionTicks;
    XTEventRec event{};
    event.what = XT_EVT_KEYDOWN;
    event.message = character;
    event.when = rt.clock;
    event.where = rt.mouse;
    event.modifiers = modifiers;
    EventResult result;
    {
        HeldModifiers held(modifiers);
        result = deliver(rt, event);
    }
    std::string line = "key " + keyText(character, modifiers);
    if (result.swallowed) {
        line += " -> swallowed by the module";
    } else if (result.whatAfter != XT_EVT_KEYDOWN) {
        line += " -> host (event kind changed to " + std::to_string(result.whatAfter) + ")";
    } else {
        line += " -> host";
    }
    rt.note(line);
    rt.flushRedraw();
    return result;
}

EventResult Simulator::click(SpreadPoint point, std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("click")) return {};
    rt.clock += kActionTicks;
    const EventResult result = mouseDown(rt, toScreen(point), point, rt.clock, modifiers);
    rt.flushRedraw();
    return result;
}

EventResult Simulator::click(ScreenPoint point, std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("click")) return {};
    rt.clock += kActionTicks;
    const EventResult result = mouseDown(rt, point, toSpread(point), rt.clock, modifiers);
    rt.flushRedraw();
    return result;
}

EventResult Simulator::doubleClick(SpreadPoint point, std::uint32_t gap, std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("double-click")) return {};
    rt.clock += kActionTicks;
    const ScreenPoint screen = toScreen(point);
    mouseDown(rt, screen, point, rt.clock, modifiers);
    rt.flushRedraw();
    const EventResult result = mouseDown(rt, screen, point, rt.clock + gap, modifiers);
    rt.flushRedraw();
    return result;
}

EventResult Simulator::doubleClick(ScreenPoint point, std::uint32_t gap, std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("double-click")) return {};
    rt.clock += kActionTicks;
    const SpreadPoint at = toSpread(point);
    mouseDown(rt, point, at, rt.clock, modifiers);
    rt.flushRedraw();
    const EventResult result = mouseDown(rt, point, at, rt.clock + gap, modifiers);
    rt.flushRedraw();
    return result;
}

void Simulator::idle(int count) {
    Runtime& rt = runtime();
    if (!rt.beginAction("idle")) return;
    for (int i = 0; i < count; ++i) {
        rt.clock += 1;
        XTEventRec event{};
        event.what = XT_EVT_NULL;
        event.when = rt.clock;
        event.where = rt.mouse;
        deliver(rt, event);
        rt.flushRedraw();
    }
}

}  // namespace hostsim
