// "xtgroup": members of group boxes.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include <cstring>

namespace hostsim {

namespace {

constexpr const char* G = "xtgroup";

XTHandle groupMembers(XTBoxID group, std::int32_t* count) {
    return hostCall<XTHandle>(G, "groupMembers", kNeedDocument, 0, [=](Runtime& rt) {
        if (count == nullptr) {
            rt.violation(G, "groupMembers", "got no place for the count");
            return XTHandle{0};
        }
        *count = 0;
        const Box* box = rt.currentDocument()->findBox(group);
        if (box == nullptr || !box->isGroup()) return XTHandle{0};
        HandleEntry entry;
        entry.bytes.resize(box->members().size() * sizeof(XTBoxID));
        if (!entry.bytes.empty()) std::memcpy(entry.bytes.data(), box->members().data(), entry.bytes.size());
        *count = static_cast<std::int32_t>(box->members().size());
        return rt.newHandle(std::move(entry));
    });
}

const XTGroupGroup kTable{sizeof(XTGroupGroup), groupMembers};

}  // namespace

const XTGroupGroup& groupGroupTable() { return kTable; }

}  // namespace hostsim
