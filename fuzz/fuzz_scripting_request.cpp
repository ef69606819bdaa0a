// Feeds arbitrary bytes, as another program sends them through the host's
// scripting socket, to the module's scripting event over a small host of
// this program's own: 3 spreads of 4 boxes, boxes 1 to 8 carrying an
// identifier. Checks what every reply must hold: it starts with the
// request's <cmd> element, fits the reply buffer, and every identifier the
// request sets is at most 255 bytes and comes back out of its escaped reply
// form unchanged, with no markup character left in that form.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "host/scripting.h"
#include "host/xt_groups.h"
#include "settings/xml_entities.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

constexpr int kSpreads = 3;
constexpr int kBoxesPerSpread = 4;
constexpr OSType kIdentifierKey = 0x62444943;  // 'bDIC'

std::map<XTBoxID, std::string> gIdentifiers;
std::map<XTHandle, std::vector<char>> gHandles;
XTHandle gNextHandle = 1;

XTDocID curDocID() { return 1; }
std::int16_t numSpreads() { return kSpreads; }
XTBoxID firstBox(std::int16_t spread) { return spread >= 1 && spread <= kSpreads ? (spread - 1) * kBoxesPerSpread + 1 : 0; }
XTBoxID nextBox(XTBoxID box) { return box % kBoxesPerSpread == 0 ? 0 : box + 1; }
void setDirtyFlag(std::int16_t) {}
void showError(XTError) {}

std::int32_t getSlugData(XTBoxID owner, std::int16_t, OSType key, void* buffer, std::int32_t size) {
    const auto found = gIdentifiers.find(owner);
    if (key != kIdentifierKey || found == gIdentifiers.end()) return -1;
    const auto length = static_cast<std::int32_t>(found->second.size());
    std::memcpy(buffer, found->second.data(), static_cast<std::size_t>(std::min(length, size)));
    return length;
}

XTError setSlug(XTBoxID owner, std::int16_t, OSType key, XTHandle data) {
    const auto handle = gHandles.find(data);
    if (key != kIdentifierKey || handle == gHandles.end()) return -50;
    gIdentifiers[owner].assign(handle->second.begin(), handle->second.end());
    return 0;
}

XTHandle newHandle(std::int32_t size) {
    if (size < 0) return 0;
    gHandles[gNextHandle].resize(static_cast<std::size_t>(size));
    return gNextHandle++;
}
void disposeHandle(XTHandle handle) { gHandles.erase(handle); }
void* handleData(XTHandle handle) {
    const auto found = gHandles.find(handle);
    return found != gHandles.end() ? found->second.data() : nullptr;
}
std::int32_t handleSize(XTHandle handle) {
    const auto found = gHandles.find(handle);
    return found != gHandles.end() ? static_cast<std::int32_t>(found->second.size()) : -1;
}

void bindHost() {
    lumbrel::gXtDoc.curDocID = curDocID;
    lumbrel::gXtDoc.setDirtyFlag = setDirtyFlag;
    lumbrel::gXtSpread.numSpreads = numSpreads;
    lumbrel::gXtBox.firstBox = firstBox;
    lumbrel::gXtBox.nextBox = nextBox;
    lumbrel::gXtSlug.getSlugData = getSlugData;
    lumbrel::gXtSlug.setSlug = setSlug;
    lumbrel::gXtMemory.newHandle = newHandle;
    lumbrel::gXtMemory.disposeHandle = disposeHandle;
    lumbrel::gXtMemory.handleData = handleData;
    lumbrel::gXtMemory.handleSize = handleSize;
    lumbrel::gXtError.showError = showError;
}

void keepReply(void* context, const char* text, std::size_t length) {
    auto* reply = static_cast<std::string*>(context);
    check(reply->empty());  // at most one reply
    reply->assign(text, length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool bound = (bindHost(), true);
    static_cast<void>(bound);
    gIdentifiers.clear();
    for (XTBoxID box = 1; box <= 8; ++box) gIdentifiers[box] = "guid-" + std::to_string(box);

    std::string reply;
    const lumbrel::platform::ScriptRequest request{reinterpret_cast<const char*>(data), size};
    lumbrel::handleScriptEvent(request, lumbrel::platform::ScriptReply{keepReply, &reply});
    check(reply.rfind("<cmd>", 0) == 0);
    check(reply.size() < static_cast<std::size_t>(lumbrel::kScriptReplySize));
    for (const auto& [box, identifier] : gIdentifiers) {
        check(identifier.size() <= lumbrel::kMaxIdentifierLength);
        const std::string escaped = lumbrel::escapeXMLMarkup(identifier);
        check(escaped.find_first_of("<>\"") == std::string::npos);
        check(lumbrel::unescapeXMLEntities(escaped) == identifier);
    }
    check(gHandles.empty());  // every handle given back
    return 0;
}
