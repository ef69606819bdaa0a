#include "host/fake_host.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "host/menus.h"
#include "host/startup.h"
#include "host/xt_groups.h"

namespace lumbrel::test {

namespace {

std::unique_ptr<FakeHost> gHost = std::make_unique<FakeHost>();

FakeHost& h() {
    return *gHost;
}

bool docOpen() {
    return h().documentOpen;
}

std::vector<FakeBox>* spreadBoxes(std::int16_t spread) {
    if (!docOpen() || spread < 1 || static_cast<std::size_t>(spread) > h().spreads.size()) return nullptr;
    return &h().spreads[static_cast<std::size_t>(spread - 1)];
}

std::int32_t copyOut(const std::string& text, char* buffer, std::int32_t size) {
    if (buffer != nullptr && size > 0) {
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<std::int32_t>(text.size());
}

// ---- xtdoc ----
XTDocID curDocID() { return docOpen() ? 1 : -1; }
XTDocRef docRef(XTDocID doc) { return doc == 1 && docOpen() ? 1001 : -1; }
std::uint8_t isLibrary(XTDocID doc) { return doc == 1 && docOpen() && h().library ? 1 : 0; }
std::int16_t dirtyFlag() { return h().dirty; }
void setDirtyFlag(std::int16_t state) { h().dirty = state; }
std::int32_t docPath(XTDocID, char* buffer, std::int32_t size) { return copyOut(h().documentPath, buffer, size); }
void redraw(XTDocID) { ++h().redraws; }
XTWindow docWindow() { return docOpen() ? 77 : 0; }
std::int16_t horizontalUnit() { return docOpen() ? h().unit : 0; }

// ---- xtdocdisplay ----
Fixed viewScale() { return h().viewScale; }
Fixed docScaleFactor() { return kPt; }
XTViewRef viewOfWindow(XTWindow) { return 1; }
XTDocID viewDoc(XTViewRef) { return 1; }
std::int16_t viewCurPage(XTViewRef) { return 1; }
void setSpreadOrigin(std::int16_t spread) { h().originSpread = spread; }
void globalToLocal(XTWindow, XTPoint* point) {
    point->v = static_cast<std::int16_t>(point->v - h().windowOrigin.v);
    point->h = static_cast<std::int16_t>(point->h - h().windowOrigin.h);
}
std::int16_t spreadScreenBounds(std::int16_t, XTRect* bounds) {
    *bounds = h().spreadScreenBounds;
    return 0;
}

// ---- xtwindow ----
XTWindow curWindow() { return 77; }
std::uint8_t isDocWindow(XTWindow window) { return window == 77 && h().frontIsDocWindow ? 1 : 0; }
void selectWindow(XTWindow) {}

// ---- xtbox ----
XTBoxID firstBox(std::int16_t spread) {
    auto* boxes = spreadBoxes(spread);
    return boxes != nullptr && !boxes->empty() ? boxes->front().id : 0;
}
XTBoxID nextBox(XTBoxID box) {
    for (auto& spread : h().spreads) {
        for (std::size_t i = 0; i < spread.size(); ++i) {
            if (spread[i].id == box) return i + 1 < spread.size() ? spread[i + 1].id : 0;
        }
    }
    return 0;
}
XTBoxID curBox() { return h().currentBox; }
void setCurBox(XTBoxID box) { h().currentBox = box; }
void deselectAll() { h().currentBox = 0; }
std::int16_t boxKind(XTBoxID box) {
    const FakeBox* found = h().findBox(box);
    return found != nullptr ? found->kind : std::int16_t{0};
}
std::uint8_t isPictureBox(XTBoxID box) { return boxKind(box) == XT_BOX_PICTURE ? 1 : 0; }
std::uint8_t isGroupBox(XTBoxID box) { return boxKind(box) == XT_BOX_GROUP ? 1 : 0; }
XTError getBounds(XTBoxID box, XTFixedRect* bounds) {
    const FakeBox* found = h().findBox(box);
    if (found == nullptr) return XT_PARAMERR;
    *bounds = found->bounds;
    return 0;
}
XTError setBounds(XTBoxID box, const XTFixedRect* bounds) {
    FakeBox* found = h().findBox(box);
    if (found == nullptr) return XT_PARAMERR;
    found->bounds = *bounds;
    return 0;
}
std::uint8_t canTakePicture(XTBoxID box) { return isPictureBox(box); }
std::int16_t boxSpread(XTBoxID box) {
    for (std::size_t s = 0; s < h().spreads.size(); ++s) {
        for (const FakeBox& b : h().spreads[s]) {
            if (b.id == box) return static_cast<std::int16_t>(s + 1);
        }
    }
    return 0;
}

// ---- xtmemory ----
XTHandle newHandle(std::int32_t size) {
    if (h().noMemory || size < 0) return 0;
    const XTHandle handle = h().nextHandle++;
    h().handles[handle] = std::string(static_cast<std::size_t>(size), '\0');
    return handle;
}
void disposeHandle(XTHandle handle) { h().handles.erase(handle); }
void* handleData(XTHandle handle) {
    auto it = h().handles.find(handle);
    return it != h().handles.end() ? it->second.data() : nullptr;
}
std::int32_t handleSize(XTHandle handle) {
    auto it = h().handles.find(handle);
    return it != h().handles.end() ? static_cast<std::int32_t>(it->second.size()) : 0;
}

// ---- xtgroup ----
XTHandle groupMembers(XTBoxID group, std::int32_t* count) {
    const FakeBox* found = h().findBox(group);
    if (found == nullptr || found->kind != XT_BOX_GROUP) return 0;
    const XTHandle handle = newHandle(static_cast<std::int32_t>(found->members.size() * sizeof(XTBoxID)));
    if (handle == 0) return 0;
    std::memcpy(handleData(handle), found->members.data(), found->members.size() * sizeof(XTBoxID));
    *count = static_cast<std::int32_t>(found->members.size());
    return handle;
}

// ---- xtfixedrect ----
std::uint8_t rectsMeet(const XTFixedRect* a, const XTFixedRect* b) {
    return a->left <= b->right && b->left <= a->right && a->top <= b->bottom && b->top <= a->bottom ? 1 : 0;
}
std::uint8_t pointInRect(const XTFixedPoint* p, const XTFixedRect* r) {
    return p->v >= r->top && p->v <= r->bottom && p->h >= r->left && p->h <= r->right ? 1 : 0;
}

// ---- xtpicture ----
std::int32_t picturePath(XTBoxID box, char* buffer, std::int32_t size) {
    const FakeBox* found = h().findBox(box);
    if (found == nullptr) return 0;
    return copyOut(found->picturePath, buffer, size);
}
OSType colorSpace(XTBoxID box) {
    const FakeBox* found = h().findBox(box);
    return found != nullptr ? found->colorSpace : 0;
}
double resolution(XTBoxID) { return 300.0; }
std::int16_t status(XTBoxID, char* text, std::int32_t size) {
    copyOut("OK", text, size);
    return XT_STATUS_OK;
}
XTError pictureBounds(XTBoxID, XTFixedRect*) { return 0; }
XTError fitPicture(XTBoxID, std::int16_t, std::int16_t) { return 0; }
XTError updatePicture(XTBoxID, std::int16_t) { return 0; }
XTError setupClipping(XTBoxID) { return 0; }

// ---- xtxio ----
XTError importPicture(XTBoxID box, const char* path) {
    h().imports.emplace_back(box, path);
    return 0;
}
XTError importText(XTBoxID, const char*) { return 0; }

// ---- xtpage / xtspread / xtmaster ----
std::int16_t numPages() { return static_cast<std::int16_t>(h().spreads.size()); }
std::int16_t numMasterPages() { return 1; }
std::int16_t curPage() { return h().currentSpread; }
std::int16_t pageToSpread(std::int16_t page) { return page == 0 ? h().currentSpread : page; }
std::int16_t seqToPage(std::int16_t sequence) { return static_cast<std::int16_t>(sequence - 1); }
XTError pageRectInSpread(std::int16_t page, XTFixedRect* rect) {
    // One page per spread, 10 points in from the spread's origin.
    *rect = XTFixedRect{10 * kPt, 20 * kPt, 10 * kPt + 792 * kPt, 20 * kPt + 612 * kPt};
    return page >= 1 ? 0 : XT_PARAMERR;
}
std::int32_t pageName(std::int16_t page, char* buffer, std::int32_t size) {
    return copyOut("Page " + std::to_string(page), buffer, size);
}
std::uint8_t gotoPage(std::int16_t page) { return page >= 1 && page <= numPages() ? 1 : 0; }
Fixed pageWidth() { return 612 * kPt; }
Fixed pageLength() { return 792 * kPt; }
std::int16_t numSpreads() { return static_cast<std::int16_t>(h().spreads.size()); }
std::int16_t curSpread() { return h().currentSpread; }
XTBoxID spreadBox(std::int16_t spread) { return 9000 + spread; }
XTError spreadBounds(std::int16_t, XTFixedRect* bounds) {
    *bounds = XTFixedRect{0, 0, 800 * kPt, 1200 * kPt};
    return 0;
}
std::uint8_t gotoMaster(std::int16_t master) { return master == 1 ? 1 : 0; }
std::uint8_t showingMaster() { return 0; }

// ---- xtmenu ----
XTCommandID newCommandID() { return h().nextCommand++; }
XTError appendItem(XTMenuRef menu, XTCommandID command, const char* title) {
    h().menuItems.push_back(MenuItem{menu, command, title});
    return 0;
}
void enableItem(XTCommandID command, std::uint8_t on) { h().enabled[command] = on == 1; }
void checkItem(XTCommandID command, std::uint8_t on) { h().checked[command] = on == 1; }

// ---- small groups ----
void printInfo(XTPrintInfo* info) { info->outputKind = h().outputKind; }
XTError psOutput(const void* data, std::int32_t length) {
    ++h().psOutputCalls;
    if (data == nullptr || length <= 0) return 0;
    h().postScript.append(static_cast<const char*>(data), static_cast<std::size_t>(length));
    return 0;
}
void showError(XTError error) { h().shownErrors.push_back(error); }
std::uint32_t hostVersion() { return 0x40C70014; }
std::int16_t currentTool() { return XT_TOOL_CONTENT; }
std::uint32_t ticks() { return 0; }
std::int32_t projectName(char* buffer, std::int32_t size) { return copyOut(h().projectName, buffer, size); }

// ---- xtslug ----
std::int32_t getSlugData(XTBoxID owner, std::int16_t kind, OSType key, void* buffer, std::int32_t size) {
    if (owner == 0) owner = h().currentBox;
    auto it = h().slugs.find({owner, kind, key});
    if (it == h().slugs.end()) return -1;
    std::memcpy(buffer, it->second.data(), std::min(it->second.size(), static_cast<std::size_t>(size)));
    return static_cast<std::int32_t>(it->second.size());
}
XTHandle getSlug(XTBoxID owner, std::int16_t kind, OSType key) {
    if (owner == 0) owner = h().currentBox;
    auto it = h().slugs.find({owner, kind, key});
    if (it == h().slugs.end()) return 0;
    const XTHandle handle = newHandle(static_cast<std::int32_t>(it->second.size()));
    if (handle != 0) h().handles[handle] = it->second;
    return handle;
}
XTError setSlug(XTBoxID owner, std::int16_t kind, OSType key, XTHandle data) {
    if (h().slugError != 0) return h().slugError;
    if (owner == 0) owner = h().currentBox;
    auto it = h().handles.find(data);
    if (it == h().handles.end()) return XT_PARAMERR;
    h().slugs[{owner, kind, key}] = it->second;
    return 0;
}

// ---- xtfont / xtdraw ----
std::int16_t fontIDFromName(const char* name) {
    h().fontNamesAsked.emplace_back(name != nullptr ? name : "");
    return 3;
}
XTFontInst newFontInstance(const XTFontDesc* desc) {
    h().fontInstances.push_back(*desc);
    return static_cast<XTFontInst>(h().fontInstances.size());
}
Fixed charWidth(XTFontInst, std::uint32_t) { return h().unitWidth; }
void disposeFontInstance(XTFontInst font) { h().disposedFonts.push_back(font); }
void fillRect(XTPort port, double left, double top, double right, double bottom, XTColor color) {
    h().fills.push_back(FakeFill{port, left, top, right, bottom, color});
}
void drawText(XTPort port, XTFontInst font, const std::uint16_t* units, std::int32_t count, double x, double y,
              XTColor color) {
    std::u16string text;
    for (std::int32_t i = 0; i < count; ++i) text.push_back(static_cast<char16_t>(units[i]));
    h().texts.push_back(FakeText{port, font, text, x, y, color});
}

// ---- xtwap / xtxdctlbtn / xtxqd ----
std::int16_t allocDialogID() { return h().nextDialogID; }
XTError registerPane(std::int16_t, XTWapHandler handler) {
    h().paneHandler = handler;
    return 0;
}
XTError insertPane(std::int32_t tab, std::int16_t dialog) {
    h().insertedPanes.emplace_back(tab, dialog);
    return 0;
}
void setupStandardButton(std::int16_t item, std::int32_t value) { h().standardButtons.emplace_back(item, value); }
std::int32_t getValue(std::int16_t item) { return h().buttonValues[item]; }
void setValue(std::int16_t item, std::int32_t value) { h().buttonValues[item] = value; }
void setup(std::int16_t item, std::int32_t value) { h().buttonSetups.emplace_back(item, value); }
XTError registerDragHandlers(std::int32_t viewKind, const XTDragHandlers* handlers) {
    h().dragHandlers[viewKind] = *handlers;
    return 0;
}

// ---- acquired groups ----
QXStringRef__* stringCreate(const std::uint16_t*, std::int32_t) { return nullptr; }
std::int32_t stringLength(QXStringRef__*) { return 0; }
std::int32_t stringCopy(QXStringRef__*, std::uint16_t*, std::int32_t) { return 0; }
void stringDispose(QXStringRef__*) {}
const XTStringGroup kStringGroup = {sizeof(XTStringGroup), stringCreate, stringLength, stringCopy, stringDispose};
intptr_t currentDrag() { return 0; }
const XTDataExchangeGroup kDataExchange = {sizeof(XTDataExchangeGroup), currentDrag};
std::int16_t pdfGetOptions(XTBoxID, XTPDFOptions*) { return 0; }
std::int16_t pdfSetOptions(const XTPDFOptions*) { return 0; }
std::int16_t pdfPageCount(XTStreamRef) { return 0; }
const XTPDFGroup kPDFGroup = {sizeof(XTPDFGroup), pdfGetOptions, pdfSetOptions, pdfPageCount};
std::int32_t layerFlags() { return 0; }
const XTLayerGroup kLayerGroup = {sizeof(XTLayerGroup), layerFlags};
constexpr OSType kPDFGroupID = XT_FOURCC('P', 'D', 'F', 'G');
constexpr OSType kLayerGroupID = XT_FOURCC('L', 'Y', 'R', 'G');

// ---- the callback record ----
void initSetup(XTSetupRec* rec, std::int32_t api, std::int32_t build, std::uint32_t version) {
    *rec = XTSetupRec{api, build, version};
    h().setup = *rec;
}

template <typename Table>
Table* as(void* table, std::size_t size) {
    return size == sizeof(Table) ? static_cast<Table*>(table) : nullptr;
}

std::int32_t bindGroup(const XTSetupRec*, const char* name, void* table, std::size_t size) {
    const std::string group = name;
    h().boundGroups.push_back(group);
    if (group == h().refusedGroup) return XT_PARAMERR;
    if (group == "xtdoc") {
        if (auto* t = as<XTDocGroup>(table, size))
            *t = {t->size, curDocID, docRef, isLibrary, dirtyFlag, setDirtyFlag, docPath, redraw, docWindow, horizontalUnit};
    } else if (group == "xtdocdisplay") {
        if (auto* t = as<XTDocDisplayGroup>(table, size))
            *t = {t->size,       viewScale,   docScaleFactor,  viewOfWindow, viewDoc, viewCurPage, setSpreadOrigin,
                  globalToLocal, spreadScreenBounds};
    } else if (group == "xtwindow") {
        if (auto* t = as<XTWindowGroup>(table, size)) *t = {t->size, curWindow, isDocWindow, selectWindow};
    } else if (group == "xtbox") {
        if (auto* t = as<XTBoxGroup>(table, size))
            *t = {t->size,   firstBox,   nextBox,   curBox,    setCurBox, deselectAll,
                  boxKind,   isPictureBox, isGroupBox, getBounds, setBounds, boxSpread, canTakePicture};
    } else if (group == "xtgroup") {
        if (auto* t = as<XTGroupGroup>(table, size)) *t = {t->size, groupMembers};
    } else if (group == "xtfixedrect") {
        if (auto* t = as<XTFixedRectGroup>(table, size)) *t = {t->size, rectsMeet, pointInRect};
    } else if (group == "xtpicture") {
        if (auto* t = as<XTPictureGroup>(table, size))
            // The table of an older host: no vertical resolution, no scales.
            *t = {t->size,      picturePath, colorSpace,    resolution,    status, pictureBounds,
                  fitPicture,   updatePicture, setupClipping, nullptr,     nullptr};
    } else if (group == "xtxio") {
        if (auto* t = as<XTImportGroup>(table, size)) *t = {t->size, importPicture, importText};
    } else if (group == "xtpage") {
        if (auto* t = as<XTPageGroup>(table, size))
            *t = {t->size,         numPages, numMasterPages, curPage,  pageToSpread, seqToPage,
                  pageRectInSpread, pageName, gotoPage,      pageWidth, pageLength};
    } else if (group == "xtspread") {
        if (auto* t = as<XTSpreadGroup>(table, size)) *t = {t->size, numSpreads, curSpread, spreadBox, spreadBounds};
    } else if (group == "xtmaster") {
        if (auto* t = as<XTMasterGroup>(table, size)) *t = {t->size, gotoMaster, showingMaster};
    } else if (group == "xtmenu") {
        if (auto* t = as<XTMenuGroup>(table, size)) *t = {t->size, newCommandID, appendItem, enableItem, checkItem};
    } else if (group == "xtprint") {
        if (auto* t = as<XTPrintGroup>(table, size)) *t = {t->size, printInfo};
    } else if (group == "xtutility") {
        if (auto* t = as<XTUtilityGroup>(table, size)) *t = {t->size, psOutput};
    } else if (group == "xterror") {
        if (auto* t = as<XTErrorGroup>(table, size)) *t = {t->size, showError};
    } else if (group == "xtmemory") {
        if (auto* t = as<XTMemoryGroup>(table, size)) *t = {t->size, newHandle, disposeHandle, handleData, handleSize};
    } else if (group == "xtsystem") {
        if (auto* t = as<XTSystemGroup>(table, size)) *t = {t->size, hostVersion, currentTool, ticks};
    } else if (group == "xtproject") {
        if (auto* t = as<XTProjectGroup>(table, size)) *t = {t->size, projectName};
    } else if (group == "xtslug") {
        if (auto* t = as<XTSlugGroup>(table, size)) *t = {t->size, getSlugData, getSlug, setSlug};
    } else if (group == "xtfont") {
        if (auto* t = as<XTFontGroup>(table, size))
            *t = {t->size, fontIDFromName, newFontInstance, charWidth, disposeFontInstance};
    } else if (group == "xtdraw") {
        if (auto* t = as<XTDrawGroup>(table, size)) *t = {t->size, fillRect, drawText};
    } else if (group == "xtwap") {
        if (auto* t = as<XTWapGroup>(table, size))
            *t = {t->size, allocDialogID, registerPane, insertPane, setupStandardButton};
    } else if (group == "xtxdctlbtn") {
        if (auto* t = as<XTButtonGroup>(table, size)) *t = {t->size, getValue, setValue, setup};
    } else if (group == "xtxqd") {
        if (auto* t = as<XTDragGroup>(table, size)) *t = {t->size, registerDragHandlers};
    } else {
        return 0;  // a group the fake does not serve: left empty
    }
    return 0;
}

std::int32_t acquireGroup(OSType id, const void** table) {
    if (id == XT_GROUP_STRING && !h().refuseStringGroup) {
        *table = &kStringGroup;
        return 0;
    }
    if (id == XT_GROUP_DATAEXCHANGE && h().hasDataExchange) {
        *table = &kDataExchange;
        return 0;
    }
    if (id == kPDFGroupID && h().hasPDFModule) {
        *table = &kPDFGroup;
        return 0;
    }
    if (id == kLayerGroupID && h().hasLayersModule) {
        *table = &kLayerGroup;
        return 0;
    }
    return XT_PARAMERR;
}

std::int32_t lookupModule(OSType code, std::int32_t* callbackCode, OSType* groupID) {
    if (code == XT_MODULE_PDF && h().hasPDFModule) {
        *callbackCode = 900;
        *groupID = kPDFGroupID;
        return 0;
    }
    if (code == XT_MODULE_LAYERS && h().hasLayersModule) {
        *callbackCode = 901;
        *groupID = kLayerGroupID;
        return 0;
    }
    return XT_PARAMERR;
}

std::int32_t registerCallback(std::int32_t code, XTCallbackProc proc, std::int32_t a, std::int32_t b,
                              std::int32_t c) {
    h().registrations.push_back(Registration{code, a, b, c});
    h().callbacks[code] = proc;
    return 0;
}

// Every table a Windows host has, made on first use; 'QLIS' 1 holds the
// same string functions as the Mac group.
std::int32_t acquireInterface(OSType id, std::int32_t version, const void** table) {
    static std::map<FakeHost::InterfaceKey, XTInterfaceHeader> headers;
    static XTStringInterface strings{};
    const FakeHost::InterfaceKey key{id, version};
    h().interfacesAsked.push_back(key);
    if (key == h().refusedInterface) return XT_PARAMERR;
    const std::int32_t answered = key == h().misnamedInterface ? version + 1 : version;
    if (id == XT_IFACE_STRINGS && version == XT_IFACE_STRINGS_PLAIN) {
        strings = {{sizeof(XTStringInterface), id, answered}, stringCreate, stringLength, stringCopy,
                   h().stringInterfaceWithoutDispose ? nullptr : stringDispose};
        *table = &strings;
        return 0;
    }
    headers[key] = XTInterfaceHeader{sizeof(XTInterfaceHeader), id, answered};
    *table = &headers[key];
    return 0;
}

const XTCallbackRec kCallbackRecord = {sizeof(XTCallbackRec), initSetup, bindGroup, acquireGroup, lookupModule,
                                       registerCallback, acquireInterface};

// ---- the activation record ----
std::uint32_t compatibility(OSType code, std::int32_t r1, std::int32_t api, std::uint32_t version, std::int32_t r2) {
    h().compatibilityArguments = {code, static_cast<std::uint32_t>(r1), static_cast<std::uint32_t>(api), version,
                                  static_cast<std::uint32_t>(r2)};
    return h().compatibilityAnswer;
}
void setRegistrationValue(std::int32_t value) { h().registrationValue = value; }
std::int32_t registerStartup(XTCallbackProc proc, std::int32_t a, std::int32_t b, std::int32_t c) {
    h().startupProc = proc;
    h().startupArguments = {a, b, c};
    return 0;
}
std::int32_t registerPaneAlloc(XTCallbackProc proc, std::int32_t, std::int32_t, std::int32_t) {
    h().paneAllocProc = proc;
    return 0;
}

}  // namespace

FakeBox& FakeHost::addBox(std::int16_t spread, XTBoxID id, std::int16_t kind, XTFixedRect bounds,
                          std::string path) {
    if (spreads.size() < static_cast<std::size_t>(spread)) spreads.resize(static_cast<std::size_t>(spread));
    auto& boxes = spreads[static_cast<std::size_t>(spread - 1)];
    FakeBox box;
    box.id = id;
    box.kind = kind;
    box.bounds = bounds;
    box.picturePath = std::move(path);
    boxes.push_back(box);
    return boxes.back();
}

FakeBox* FakeHost::findBox(XTBoxID id) {
    if (id == 0) return nullptr;
    for (auto& spread : spreads) {
        for (FakeBox& box : spread) {
            if (box.id == id) return &box;
        }
    }
    return nullptr;
}

void FakeHost::setIdentifier(XTBoxID box, const std::string& text) {
    slugs[{box, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER}] = text;
}

std::string FakeHost::identifier(XTBoxID box) const {
    auto it = slugs.find({box, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER});
    return it != slugs.end() ? it->second : std::string();
}

std::vector<std::int32_t> FakeHost::registeredCodes() const {
    std::vector<std::int32_t> codes;
    for (const Registration& r : registrations) codes.push_back(r.code);
    return codes;
}

std::int32_t FakeHost::call(std::int32_t code, void* record) {
    auto it = callbacks.find(code);
    return it != callbacks.end() ? it->second(record) : 0;
}

FakeHost& fakeHost() {
    return h();
}

void resetFakeHost() {
    gHost = std::make_unique<FakeHost>();
    resetHostGroups();
    resetModuleMenuItems();
}

XTActivationRec fakeActivationRecord() {
    XTActivationRec record{};
    record.size = sizeof record;
    record.compatibility = compatibility;
    record.xtRefNum = 42;
    record.setRegistrationValue = setRegistrationValue;
    record.registerStartup = registerStartup;
    record.registerPaneAlloc = registerPaneAlloc;
    return record;
}

const XTCallbackRec* fakeCallbackRecord() {
    return &kCallbackRecord;
}

std::int32_t startModule() {
    XTActivationRec record = fakeActivationRecord();
    const std::int32_t result = activateModule(&record);
    if (result != 0) return result;
    if (h().startupProc == nullptr) return XT_PARAMERR;
    return h().startupProc(const_cast<XTCallbackRec*>(fakeCallbackRecord()));
}

XTFixedRect rectPt(int top, int left, int bottom, int right) {
    return XTFixedRect{top * kPt, left * kPt, bottom * kPt, right * kPt};
}

}  // namespace lumbrel::test
