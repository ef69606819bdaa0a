// 'QSB\1': host strings of UTF-16 code units, tracked so that bad strings
// are caught and strings never disposed are reported at quit.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include <algorithm>

namespace hostsim {

namespace {

constexpr const char* G = "strings";
constexpr std::int32_t kMaxUnits = 1 << 24;

bool live(Runtime& rt, const char* field, QXStringRef__* string) {
    if (string != nullptr && rt.strings.count(string) != 0) return true;
    rt.violation(G, field, "got a string that is not live");
    return false;
}

QXStringRef__* create(const std::uint16_t* units, std::int32_t length) {
    return hostCall<QXStringRef__*>(G, "create", kNeedNothing, nullptr, [=](Runtime& rt) -> QXStringRef__* {
        if (length < 0 || (units == nullptr && length > 0)) {
            rt.violation(G, "create", "got no units or a negative length");
            return nullptr;
        }
        if (length > kMaxUnits) return nullptr;
        auto string = std::make_unique<QXStringRef__>();
        string->units.assign(units, units + length);
        QXStringRef__* raw = string.get();
        rt.strings.insert(raw);
        string.release();
        return raw;
    });
}

std::int32_t length(QXStringRef__* string) {
    return hostCall<std::int32_t>(G, "length", kNeedNothing, 0, [=](Runtime& rt) {
        return live(rt, "length", string) ? static_cast<std::int32_t>(string->units.size()) : 0;
    });
}

std::int32_t copyUnits(QXStringRef__* string, std::uint16_t* out, std::int32_t capacity) {
    return hostCall<std::int32_t>(G, "copyUnits", kNeedNothing, 0, [=](Runtime& rt) {
        if (!live(rt, "copyUnits", string)) return 0;
        if (capacity < 0 || (out == nullptr && capacity > 0)) {
            rt.violation(G, "copyUnits", "got no buffer or a negative capacity");
            return 0;
        }
        const std::size_t n = std::min(string->units.size(), static_cast<std::size_t>(capacity));
        std::copy_n(string->units.begin(), n, out);
        return static_cast<std::int32_t>(n);
    });
}

void dispose(QXStringRef__* string) {
    hostCallVoid(G, "dispose", kNeedNothing, [=](Runtime& rt) {
        if (string == nullptr) return;
        if (!live(rt, "dispose", string)) return;
        rt.strings.erase(string);
        delete string;
    });
}

const XTStringGroup kTable{sizeof(XTStringGroup), create, length, copyUnits, dispose};

}  // namespace

const XTStringGroup& stringGroupTable() { return kTable; }

}  // namespace hostsim
