#include "labels/label_draw.h"

#include <cstdlib>
#include <new>
#include <string>

#include "host/xt_drawing.h"
#include "labels/label_encoding.h"
#include "labels/label_state.h"
#include "labels/ps_output.h"
#include "platform/platform_traits.h"
#include "settings/resources.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

constexpr double kFixedOne = 65536.0;
constexpr XTColor kWhite{255, 255, 255, 100};
constexpr XTColor kBlack{0, 0, 0, 100};
constexpr XTColor kMissingRed{204, 0, 0, 100};
constexpr XTColor kModifiedAmber{255, 176, 0, 100};
constexpr std::int16_t kDefaultPrintSize = 8;
constexpr std::int16_t kLargestPrintSize = 1000;
constexpr const char* kLabelFontName = "__f1";

// The label font program is a resource "f1" of type "ps".
void sendLabelFont() {
    std::int32_t length = 0;
    char* program = getResourceData("f1", "ps", 0, &length);
    if (program == nullptr) return;
    if (length > 0) psSend(program, length);
    std::free(program);
}

}  // namespace

std::string_view labelText(std::string_view pathOrName, std::uint16_t mode) noexcept {
    if (mode != kLabelsFileName) return pathOrName;
    // As the host's paths are split everywhere: "/" for a path that begins
    // with one, else the colon of "Volume:Folder:File" paths, or "\" where
    // the system's paths are "C:\Folder\File".
    const bool posixPath = !pathOrName.empty() && pathOrName.front() == '/';
    const char separator = posixPath ? '/' : platform::Traits::kHfsPaths ? ':' : platform::Traits::kPathSeparator;
    const std::size_t last = pathOrName.rfind(separator);
    return last == std::string_view::npos ? pathOrName : pathOrName.substr(last + 1);
}

LabelColours statusLabelColours(std::int16_t status) noexcept {
    switch (status) {
        case XT_STATUS_MISSING: return LabelColours{kMissingRed, kWhite};
        case XT_STATUS_MODIFIED: return LabelColours{kModifiedAmber, kBlack};
        default: return LabelColours{};
    }
}

void drawScreenLabel(XTPort port, const XTFixedRect& bounds, Fixed viewScale, std::string_view text,
                     const LabelColours& colours) {
    double scale = viewScale / kFixedOne;
    if (!(scale > 0.01)) scale = 1.0;
    const double screenSize = LabelState::screenFontSize;
    const double x = bounds.left / kFixedOne + 2.0 / scale;
    const double y = bounds.top / kFixedOne + (screenSize + 2.0) / scale;

    std::string utf8;
    try {
        utf8.assign(text);
    } catch (const std::bad_alloc&) {
        return;
    }
    MyStr label(utf8.c_str(), kEncodingUTF8);
    if (!label.hasString()) return;
    std::int32_t count = 0;
    const std::uint16_t* units = label.uStr(&count);
    if (units == nullptr) return;

    XTFontDesc desc{};
    desc.fontID = xt_fontidfromname(LabelState::screenFontName);
    desc.style = 0;
    desc.hSize = static_cast<Fixed>(screenSize / scale * kFixedOne);
    desc.vSize = desc.hSize;
    const XTFontInst font = xt_newfontinstance(desc);

    // A surrogate pair is one character drawn as one glyph: it is measured
    // once, by its code point.
    std::int64_t sum = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00U);
            ++i;
        }
        sum += xt_charwidth(font, c);
    }
    const double width = static_cast<double>(sum) / kFixedOne;

    xt_fillrect(port, x, y - screenSize / scale, x + width + 2.0, y + 2.0 / scale, colours.background);
    xt_drawtext(port, font, units, count, x, y, colours.text);
    xt_disposefontinstance(font);
}

std::int16_t printLabelSize(std::int16_t setting) noexcept {
    if (setting < 1) return kDefaultPrintSize;
    return setting > kLargestPrintSize ? kLargestPrintSize : setting;
}

const char* printLabelFontName(const char* setting) noexcept {
    return isPlainPSName(setting) ? setting : kLabelFontName;
}

void writePostScriptLabel(const XTFixedRect& bounds, std::string_view text) {
    LabelState& state = labelState();
    const char* eol = platform::Traits::kLineEnd;
    const std::int16_t size = printLabelSize(state.printFontSize);

    // Page coordinates with the y axis running down; single precision as
    // the snippet has always been computed.
    const float left = static_cast<float>(bounds.left) / 65536.0F;
    const float top = static_cast<float>(bounds.top) / 65536.0F;
    const float x = left + 1.0F;
    const float y = top + static_cast<float>(state.printOffset);
    const float yTop = y + static_cast<float>(size) * -0.8F;

    std::string escaped = escapePSString(labelTextInWindowsLatin1(text));
    const auto length = static_cast<std::int32_t>(escaped.size());

    psPrintf("%sgsave%s", eol, eol);
    if (!state.fontSent) {
        // Once per job, also when the program cannot be had: findfont then
        // falls back to the printer's own substitute.
        sendLabelFont();
        state.fontSent = true;
    }
    psPrintf("/%s findfont [%d 0 0 -%d 0 0] makefont setfont%s", printLabelFontName(state.printFontName), size, size,
             eol);
    // The text goes out by itself so that no buffer can cut a string literal.
    psPrintf("1 setgray %s %s (", formatFixed2(static_cast<double>(x)).c_str(),
             formatFixed2(static_cast<double>(yTop)).c_str());
    psSend(escaped.data(), length);
    psPrintf(") stringwidth pop %d rectfill%s", size, eol);
    psPrintf("0 setgray %s %s moveto%s(", formatFixed2(static_cast<double>(x)).c_str(),
             formatFixed2(static_cast<double>(y)).c_str(), eol);
    psSend(escaped.data(), length);
    psPrintf(") show%s", eol);
    psPrintf("grestore%s%s", eol, eol);
}

}  // namespace lumbrel
