// "xtfont": fonts by name and their instances, with the advance widths of
// the real font files the host's font catalogue names. When a font file
// cannot be had, every character is half an em wide and the transcript says
// why once.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include "hostsim/render/font_catalog.h"
#include "hostsim/render/font_engine.h"

#include <cstring>

namespace hostsim {

namespace {

constexpr const char* G = "xtfont";

// Longer names are no font names; the catalogue is not searched for them.
constexpr std::size_t kMaxFontName = 64;

std::int16_t fontIDFromName(const char* name) {
    return hostCall<std::int16_t>(G, "fontIDFromName", kNeedNothing, 0, [name](Runtime& rt) {
        if (name == nullptr) {
            rt.violation(G, "fontIDFromName", "got no name");
            return std::int16_t{0};
        }
        const render::CatalogFont* font = render::fontByName(std::string_view(name, strnlen(name, kMaxFontName + 1)));
        return font != nullptr ? font->id : std::int16_t{0};
    });
}

XTFontInst newFontInstance(const XTFontDesc* desc) {
    return hostCall<XTFontInst>(G, "newFontInstance", kNeedNothing, 0, [desc](Runtime& rt) {
        if (desc == nullptr) {
            rt.violation(G, "newFontInstance", "got no description");
            return XTFontInst{0};
        }
        const XTFontInst font = rt.nextFont++;
        rt.fonts.emplace(font, *desc);
        return font;
    });
}

Fixed charWidth(XTFontInst font, std::uint32_t codePoint) {
    return hostCall<Fixed>(G, "charWidth", kNeedNothing, 0, [font, codePoint](Runtime& rt) {
        const auto it = rt.fonts.find(font);
        if (it == rt.fonts.end()) {
            rt.violation(G, "charWidth", "got a font instance that is not live");
            return Fixed{0};
        }
        const XTFontDesc& desc = it->second;
        const std::optional<double> width = rt.fontEngine().advance(desc.fontID, fromFixed(desc.hSize), codePoint);
        if (!width) {
            if (!rt.fontFailureNoted) rt.note("font metrics unavailable: " + rt.fontEngine().error());
            rt.fontFailureNoted = true;
            return static_cast<Fixed>(desc.hSize / 2);
        }
        return toFixed(*width);
    });
}

void disposeFontInstance(XTFontInst font) {
    hostCallVoid(G, "disposeFontInstance", kNeedNothing, [font](Runtime& rt) {
        if (rt.fonts.erase(font) == 0) rt.violation(G, "disposeFontInstance", "got a font instance that is not live");
    });
}

const XTFontGroup kTable{sizeof(XTFontGroup), fontIDFromName, newFontInstance, charWidth, disposeFontInstance};

}  // namespace

const XTFontGroup& fontGroupTable() { return kTable; }

}  // namespace hostsim
