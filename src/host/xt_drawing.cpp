#include "host/xt_drawing.h"

#include "host/xt_groups.h"

namespace lumbrel {

std::int16_t xt_outputkind() {
    if (gXtPrint.printInfo == nullptr) return XT_OUTPUT_SCREEN;
    XTPrintInfo info{};
    info.outputKind = XT_OUTPUT_SCREEN;
    gXtPrint.printInfo(&info);
    return info.outputKind;
}

std::int16_t xt_fontidfromname(const char* name) {
    if (name == nullptr || gXtFont.fontIDFromName == nullptr) return 0;
    return gXtFont.fontIDFromName(name);
}

XTFontInst xt_newfontinstance(const XTFontDesc& desc) {
    return gXtFont.newFontInstance != nullptr ? gXtFont.newFontInstance(&desc) : XTFontInst{0};
}

void xt_disposefontinstance(XTFontInst font) {
    if (font != 0 && gXtFont.disposeFontInstance != nullptr) gXtFont.disposeFontInstance(font);
}

Fixed xt_charwidth(XTFontInst font, char32_t codePoint) {
    if (font == 0 || gXtFont.charWidth == nullptr) return 0;
    return gXtFont.charWidth(font, static_cast<std::uint32_t>(codePoint));
}

void xt_fillrect(XTPort port, double left, double top, double right, double bottom, XTColor color) {
    if (gXtDraw.fillRect != nullptr) gXtDraw.fillRect(port, left, top, right, bottom, color);
}

void xt_drawtext(XTPort port, XTFontInst font, const std::uint16_t* units, std::int32_t count, double x, double y,
                 XTColor color) {
    if (units == nullptr || count <= 0 || gXtDraw.drawText == nullptr) return;
    gXtDraw.drawText(port, font, units, count, x, y, color);
}

XTError xt_psoutput(const void* data, std::int32_t length) {
    if (gXtUtility.psOutput == nullptr) return -1;
    return gXtUtility.psOutput(data, length);
}

}  // namespace lumbrel
