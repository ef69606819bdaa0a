#include "host/xt_documents.h"

#include "host/message_box.h"
#include "host/xt_groups.h"
#include "settings/localised_strings.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

// The host takes sizes as 32-bit values.
std::int32_t hostSize(std::size_t size) noexcept {
    return size > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(size);
}

// Terminates `buffer` after the host's answer `length`, which may be the
// full length of a longer text. Answers the bytes kept.
std::int32_t terminate(char* buffer, std::size_t size, std::int32_t length) noexcept {
    if (length < 0) length = 0;
    if (static_cast<std::size_t>(length) >= size) length = static_cast<std::int32_t>(size - 1);
    buffer[length] = '\0';
    return length;
}

}  // namespace

XTDocID XTGetCurDocID() {
    return gXtDoc.curDocID();
}

XTDocRef XTGetCurDocRef() {
    const XTDocID doc = XTGetCurDocID();
    if (doc < 0) return -1;
    return gXtDoc.docRef(doc);
}

bool hasCurrentDocument() {
    return XTGetCurDocID() >= 0;
}

bool isalib(XTDocID doc) {
    if (doc < 0) return false;
    return gXtDoc.isLibrary(doc) == 1;
}

std::int16_t xtget_dirtyflag() {
    if (!hasCurrentDocument()) return 0;
    return gXtDoc.dirtyFlag();
}

std::int16_t xtget_horzmeasure() {
    if (!hasCurrentDocument() || gXtDoc.horizontalUnit == nullptr) return XT_UNIT_INCHES;
    return gXtDoc.horizontalUnit();
}

void verydirty() {
    if (!hasCurrentDocument()) return;
    gXtDoc.setDirtyFlag(XT_DIRTY_CHANGED);
}

void redrawDoc(XTDocID doc) {
    if (doc == 0 && !hasCurrentDocument()) return;
    if (doc < 0) return;
    gXtDoc.redraw(doc);
}

int XTGetDocPath(XTDocID doc, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    if (doc >= 0) {
        const std::int32_t length = gXtDoc.docPath(doc, buffer, hostSize(size));
        if (length > 1 && static_cast<std::size_t>(length) < size) {
            buffer[length] = '\0';
            return 1;
        }
        buffer[0] = '\0';
    }
    XTGetMyProjectName(buffer, size);
    return 0;
}

std::int32_t XTGetMyProjectName(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    if (!hasCurrentDocument()) return 0;
    return terminate(buffer, size, gXtProject.projectName(buffer, hostSize(size)));
}

XTPrintInfo xtget_printinfo() {
    XTPrintInfo info{};
    info.outputKind = XT_OUTPUT_SCREEN;
    gXtPrint.printInfo(&info);
    return info;
}

int checkImagePath(const char* path) {
    if (path != nullptr && fileExists(path)) return 1;
    // The path goes in as an argument, never as a format: a "%" in a file
    // name is text.
    setMsg2("%s", path != nullptr ? path : "");
    msgBox("imgMissing");
    return 0;
}

}  // namespace lumbrel
