// "xtdraw": drawing into the port of a box draw. Calls are recorded twice:
// as text (what the transcript-minded tests compare) and as geometry per box
// (what pictures of the view are drawn from); drawing outside a draw is a
// violation.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include "desktop/utf8.h"

#include <cstdio>

namespace hostsim {

namespace {

constexpr const char* G = "xtdraw";

std::string colorText(XTColor c) {
    char text[48];
    std::snprintf(text, sizeof text, "rgb(%u,%u,%u) %u%%", static_cast<unsigned>(c.red), static_cast<unsigned>(c.green),
                  static_cast<unsigned>(c.blue), static_cast<unsigned>(c.strength));
    return text;
}


render::Color renderColor(XTColor c) { return render::Color{c.red, c.green, c.blue, c.strength}; }

// The display list of the box being drawn: the last one when the same box
// draws again in a later phase.
render::DisplayList& boxList(Runtime& rt) {
    if (rt.boxDrawings.empty() || rt.boxDrawings.back().box != rt.draw.box) {
        rt.boxDrawings.push_back(render::BoxDrawing{rt.draw.box, {}});
    }
    return rt.boxDrawings.back().list;
}

bool rightPort(Runtime& rt, const char* field, XTPort port) {
    if (port == rt.draw.port) return true;
    rt.violation(G, field, "got a port that is not the one of the running draw");
    return false;
}

void fillRect(XTPort port, double left, double top, double right, double bottom, XTColor color) {
    hostCallVoid(G, "fillRect", kNeedDraw, [=](Runtime& rt) {
        if (!rightPort(rt, "fillRect", port)) return;
        rt.drawCalls.push_back(DrawCall{"fillRect", rt.draw.box,
                                        rectText(Rect{top, left, bottom, right}) + " " + colorText(color)});
        boxList(rt).ops.emplace_back(render::FillOp{render::Area{left, top, right, bottom}, renderColor(color)});
    });
}

void drawText(XTPort port, XTFontInst font, const std::uint16_t* units, std::int32_t count, double x, double y,
              XTColor color) {
    hostCallVoid(G, "drawText", kNeedDraw, [=](Runtime& rt) {
        if (!rightPort(rt, "drawText", port)) return;
        if (count < 0 || (units == nullptr && count > 0)) {
            rt.violation(G, "drawText", "got no text or a negative count");
            return;
        }
        const auto it = rt.fonts.find(font);
        if (it == rt.fonts.end()) {
            rt.violation(G, "drawText", "got a font instance that is not live");
            return;
        }
        char where[64];
        std::snprintf(where, sizeof where, " at (%s, %s) size %s ", pointsText(x).c_str(), pointsText(y).c_str(),
                      pointsText(fromFixed(it->second.hSize)).c_str());
        const std::string text = desktop::utf16ToUtf8(units, static_cast<std::size_t>(count));
        rt.drawCalls.push_back(DrawCall{"drawText", rt.draw.box,
                                        "\"" + text + "\"" + where + "font " + std::to_string(it->second.fontID) + " " +
                                            colorText(color)});
        boxList(rt).ops.emplace_back(render::TextOp{it->second.fontID, fromFixed(it->second.hSize),
                                                    fromFixed(it->second.vSize), x, y, renderColor(color),
                                                    std::u16string(units, units + count)});
    });
}

const XTDrawGroup kTable{sizeof(XTDrawGroup), fillRect, drawText};

}  // namespace

const XTDrawGroup& drawGroupTable() { return kTable; }

}  // namespace hostsim
