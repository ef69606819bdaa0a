// "xtmemory": host memory handles, real allocations the host keeps track of
// so that bad handles are caught and handles never disposed are reported at
// quit.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtmemory";
// No single handle of a module grows beyond this.
constexpr std::int32_t kMaxHandleSize = 256 << 20;

XTHandle newHandle(std::int32_t size) {
    return hostCall<XTHandle>(G, "newHandle", kNeedNothing, 0, [size](Runtime& rt) {
        if (size < 0) {
            rt.violation(G, "newHandle", "got the size " + std::to_string(size));
            return XTHandle{0};
        }
        if (size > kMaxHandleSize) return XTHandle{0};  // no memory for that
        HandleEntry entry;
        entry.bytes.assign(static_cast<std::size_t>(size), 0);
        entry.bytes.reserve(1);  // so that data() is never null
        return rt.newHandle(std::move(entry));
    });
}

void disposeHandle(XTHandle handle) {
    hostCallVoid(G, "disposeHandle", kNeedNothing, [handle](Runtime& rt) {
        if (handle == 0) return;  // disposing of no handle does nothing, as on the host
        if (rt.lookupHandle(handle, false, G, "disposeHandle") != nullptr) rt.handles.erase(handle);
    });
}

void* handleData(XTHandle handle) {
    return hostCall<void*>(G, "handleData", kNeedNothing, nullptr, [handle](Runtime& rt) -> void* {
        HandleEntry* entry = rt.lookupHandle(handle, false, G, "handleData");
        return entry != nullptr ? entry->bytes.data() : nullptr;
    });
}

std::int32_t handleSize(XTHandle handle) {
    return hostCall<std::int32_t>(G, "handleSize", kNeedNothing, 0, [handle](Runtime& rt) {
        HandleEntry* entry = rt.lookupHandle(handle, false, G, "handleSize");
        return entry != nullptr ? static_cast<std::int32_t>(entry->bytes.size()) : 0;
    });
}

const XTMemoryGroup kTable{sizeof(XTMemoryGroup), newHandle, disposeHandle, handleData, handleSize};

}  // namespace

const XTMemoryGroup& memoryGroupTable() { return kTable; }

}  // namespace hostsim
