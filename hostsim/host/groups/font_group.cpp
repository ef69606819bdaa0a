// "xtfont": fonts by name and their instances. Until this host reads real
// font metrics, every character is half an em wide.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include <array>
#include <cstring>
#include <strings.h>

namespace hostsim {

namespace {

constexpr const char* G = "xtfont";

struct KnownFont {
    const char* name;
    std::int16_t id;
};
constexpr std::array<KnownFont, 5> kFonts{{{"Helvetica", 21}, {"Times", 20}, {"Courier", 22}, {"Arial", 23},
                                           {"Geneva", 3}}};

std::int16_t fontIDFromName(const char* name) {
    return hostCall<std::int16_t>(G, "fontIDFromName", kNeedNothing, 0, [name](Runtime& rt) {
        if (name == nullptr) {
            rt.violation(G, "fontIDFromName", "got no name");
            return std::int16_t{0};
        }
        for (const KnownFont& font : kFonts) {
            if (strncasecmp(name, font.name, 64) == 0) return font.id;
        }
        return std::int16_t{0};
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

Fixed charWidth(XTFontInst font, std::uint16_t unit) {
    static_cast<void>(unit);
    return hostCall<Fixed>(G, "charWidth", kNeedNothing, 0, [font](Runtime& rt) {
        const auto it = rt.fonts.find(font);
        if (it == rt.fonts.end()) {
            rt.violation(G, "charWidth", "got a font instance that is not live");
            return Fixed{0};
        }
        return static_cast<Fixed>(it->second.hSize / 2);
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
