#include "host/xt_mouse.h"

#include "host/xt_boxes.h"
#include "host/xt_documents.h"
#include "host/xt_groups.h"
#include "host/xt_pages.h"
#include "host/xt_views.h"

namespace lumbrel {

namespace {

constexpr std::int64_t kFixedOne = 0x10000;

// A local pixel coordinate at the view's scale to points at 100 %. A scale
// that is no scale (0 or negative) counts as 100 %, so nothing divides by 0.
std::int32_t unscale(std::int16_t pixels, Fixed scale) noexcept {
    if (scale <= 0) scale = static_cast<Fixed>(kFixedOne);
    return static_cast<std::int32_t>(std::int64_t{pixels} * kFixedOne / scale);
}

Fixed toFixed(std::int32_t points) noexcept {
    const std::int64_t value = std::int64_t{points} * kFixedOne;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<Fixed>(value);
}

}  // namespace

std::int16_t XTGetMousePos(XTWindow window, XTPoint where, XTBoxID* box, XTFixedPoint* point) {
    if (gXtWindow.isDocWindow(window) != 1 || !hasCurrentDocument()) return 1;

    std::int32_t spread = XTGetCurSpread();
    setsprdorigin(static_cast<std::int16_t>(spread));
    XTPoint local = where;
    gXtDocDisplay.globalToLocal(window, &local);

    const Fixed scale = gXtDocDisplay.viewScale();
    const std::int32_t h = unscale(local.h, scale);
    std::int32_t v = unscale(local.v, scale);

    const std::int32_t height = xt_spreadscreenheight(1);
    if (height > 0) {
        const std::int32_t below = v / height;
        if (below > 0) {
            spread += below;
            v -= below * height;
        }
    }
    if (spread > INT16_MAX) spread = INT16_MAX;

    const XTFixedPoint at{toFixed(v), toFixed(h)};
    XTBoxID found = 0;
    if (spread >= 1 && spread <= numsprds()) found = whichBox(static_cast<std::int16_t>(spread), at);
    if (box != nullptr) *box = found;
    if (point != nullptr) *point = at;
    return static_cast<std::int16_t>(spread);
}

}  // namespace lumbrel
