// "xtfixedrect": rectangle arithmetic in 16.16 points.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtfixedrect";

std::uint8_t rectsMeet(const XTFixedRect* a, const XTFixedRect* b) {
    return hostCall<std::uint8_t>(G, "rectsMeet", kNeedNothing, 0, [=](Runtime& rt) {
        if (a == nullptr || b == nullptr) {
            rt.violation(G, "rectsMeet", "got no rectangle");
            return std::uint8_t{0};
        }
        const bool meet = a->left <= b->right && b->left <= a->right && a->top <= b->bottom && b->top <= a->bottom;
        return static_cast<std::uint8_t>(meet ? 1 : 0);
    });
}

std::uint8_t pointInRect(const XTFixedPoint* point, const XTFixedRect* rect) {
    return hostCall<std::uint8_t>(G, "pointInRect", kNeedNothing, 0, [=](Runtime& rt) {
        if (point == nullptr || rect == nullptr) {
            rt.violation(G, "pointInRect", "got no point or no rectangle");
            return std::uint8_t{0};
        }
        const bool inside =
            point->v >= rect->top && point->v <= rect->bottom && point->h >= rect->left && point->h <= rect->right;
        return static_cast<std::uint8_t>(inside ? 1 : 0);
    });
}

const XTFixedRectGroup kTable{sizeof(XTFixedRectGroup), rectsMeet, pointInRect};

}  // namespace

const XTFixedRectGroup& fixedRectGroupTable() { return kTable; }

}  // namespace hostsim
