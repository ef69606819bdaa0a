#include "drop/drop_fixture.h"

#include <algorithm>

#include "host/xt_groups.h"

namespace lumbrel::test {

namespace {

DropHost gDrop;

FakeHost& h() {
    return fakeHost();
}

int docSpreads() {
    return static_cast<int>(h().spreads.size()) - gDrop.masterSpreads;
}

// The fake host's spread list entry of spread n as the host shows it now.
std::vector<FakeBox>* shownSpread(std::int16_t spread) {
    const int count = gDrop.showingMaster ? gDrop.masterSpreads : docSpreads();
    if (!h().documentOpen || spread < 1 || spread > count) return nullptr;
    const int index = (gDrop.showingMaster ? docSpreads() : 0) + spread - 1;
    return &h().spreads[static_cast<std::size_t>(index)];
}

XTBoxID firstBox(std::int16_t spread) {
    auto* boxes = shownSpread(spread);
    return boxes != nullptr && !boxes->empty() ? boxes->front().id : 0;
}

std::uint8_t canTakePicture(XTBoxID box) { return gDrop.takesPicture.count(box) != 0 ? 1 : 0; }

std::int16_t numSpreads() {
    return static_cast<std::int16_t>(gDrop.showingMaster ? gDrop.masterSpreads : docSpreads());
}
std::int16_t numPages() { return static_cast<std::int16_t>(docSpreads()); }
std::int16_t numMasterPages() { return static_cast<std::int16_t>(gDrop.masterSpreads); }
std::int16_t curPage() { return gDrop.page; }
std::int16_t pageToSpread(std::int16_t page) { return page == 0 ? gDrop.page : page; }
std::uint8_t gotoPage(std::int16_t page) {
    gDrop.navigation.push_back("page " + std::to_string(page));
    if (page < 1 || page > docSpreads()) return 0;
    gDrop.page = page;
    gDrop.showingMaster = false;
    return 1;
}
std::uint8_t gotoMaster(std::int16_t master) {
    gDrop.navigation.push_back("master " + std::to_string(master));
    if (master < 1 || master > gDrop.masterSpreads) return 0;
    gDrop.showingMaster = true;
    return 1;
}
std::uint8_t showingMaster() { return gDrop.showingMaster ? 1 : 0; }

std::int16_t viewCurPage(XTViewRef) { return gDrop.page; }
Fixed docScaleFactor() { return gDrop.docScale; }

XTHandle newBoxRecord(XTDocID doc, std::int16_t kind, std::int16_t shape) {
    if (doc != 1) return 0;
    const XTHandle record = 5000 + static_cast<XTHandle>(gDrop.records.size()) + gDrop.recordsDisposed;
    gDrop.records[record] = {kind, shape, XTFixedRect{}};
    return record;
}
void setRecordBounds(XTHandle record, const XTFixedRect* bounds) {
    auto found = gDrop.records.find(record);
    if (found != gDrop.records.end()) std::get<2>(found->second) = *bounds;
}
void setRecordPictureScale(XTHandle, Fixed, Fixed) {}
XTBoxID installBox(XTDocID doc, std::int16_t spread, XTHandle record) {
    auto found = gDrop.records.find(record);
    if (doc != 1 || found == gDrop.records.end() || gDrop.showingMaster || spread < 1 || spread > docSpreads()) return 0;
    const auto& [kind, shape, bounds] = found->second;
    static_cast<void>(shape);
    const XTBoxID id = gDrop.nextBox++;
    h().addBox(spread, id, kind, bounds);
    return id;
}
void disposeBoxRecord(XTHandle record) {
    if (gDrop.records.erase(record) != 0) ++gDrop.recordsDisposed;
}

XTError importPicture(XTBoxID box, const char* path) {
    gDrop.loads.emplace_back(box, path);
    FakeBox* found = h().findBox(box);
    if (found == nullptr) return XT_PARAMERR;
    if (auto error = gDrop.importErrors.find(path); error != gDrop.importErrors.end()) return error->second;
    found->picturePath = path;
    h().imports.emplace_back(box, path);
    return 0;
}

XTError fitPicture(XTBoxID box, std::int16_t mode, std::int16_t flag) {
    gDrop.fits.emplace_back(box, mode, flag);
    return 0;
}

intptr_t currentDrag() { return gDrop.drag; }
const XTDataExchangeGroup kDataExchange = {sizeof(XTDataExchangeGroup), currentDrag};

}  // namespace

DropHost& dropHost() {
    return gDrop;
}

void DropTest::SetUp() {
    ModuleTest::SetUp();
    gDrop = DropHost{};
    useStrings();
    ASSERT_EQ(start(), 0);

    gXtBox.firstBox = firstBox;
    gXtBox.canTakePicture = canTakePicture;
    gXtSpread.numSpreads = numSpreads;
    gXtPage.numPages = numPages;
    gXtPage.numMasterPages = numMasterPages;
    gXtPage.curPage = curPage;
    gXtPage.pageToSpread = pageToSpread;
    gXtPage.gotoPage = gotoPage;
    gXtMaster.gotoMaster = gotoMaster;
    gXtMaster.showingMaster = showingMaster;
    gXtDocDisplay.viewCurPage = viewCurPage;
    gXtDocDisplay.docScaleFactor = docScaleFactor;
    gXtBoxRecord = XTBoxRecordGroup{sizeof(XTBoxRecordGroup), newBoxRecord, setRecordBounds, setRecordPictureScale,
                                    installBox, disposeBoxRecord};
    gXtImport.importPicture = importPicture;
    gXtPicture.fitPicture = fitPicture;
    gXtDataExchange = &kDataExchange;

    XTDragViewRec view{sizeof(XTDragViewRec), 0, XT_VIEW_LAYOUT};
    host().call(XT_CB_DRAGVIEW, &view);
    ASSERT_EQ(host().dragHandlers.count(XT_VIEW_LAYOUT), 1U);
    handlers = host().dragHandlers[XT_VIEW_LAYOUT];
}

void DropTest::TearDown() {
    desktop::Desktop::instance().endDrag();
    gDrop = DropHost{};
    ModuleTest::TearDown();
}

int DropTest::documentSpreads() const {
    return docSpreads();
}

int DropTest::addMasterSpread() {
    host().spreads.emplace_back();
    return ++gDrop.masterSpreads;
}

XTBoxID DropTest::pictureBox(std::int16_t spread, XTFixedRect bounds, const std::string& path) {
    const XTBoxID id = nextId_++;
    host().addBox(spread, id, XT_BOX_PICTURE, bounds, path);
    return id;
}

XTBoxID DropTest::textBox(std::int16_t spread, XTFixedRect bounds) {
    const XTBoxID id = nextId_++;
    host().addBox(spread, id, XT_BOX_TEXT, bounds);
    return id;
}

void DropTest::setImageName(XTBoxID box, const std::string& name) {
    host().slugs[{box, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = name;
}

XTDragInfo DropTest::dragInfo(int v, int h, std::int32_t effect, std::uint16_t modifiers) const {
    XTDragInfo info{};
    info.view = 1;
    info.window = 77;
    info.where = XTPoint{static_cast<std::int16_t>(v + fakeHost().windowOrigin.v),
                         static_cast<std::int16_t>(h + fakeHost().windowOrigin.h)};
    info.dropEffect = effect;
    info.modifiers = modifiers;
    return info;
}

DropTest::DragResult DropTest::dragAndDrop(std::vector<desktop::PasteboardItem> items, int v, int h,
                                           std::int32_t effect, std::uint16_t modifiers) {
    gDrop.drag = static_cast<std::intptr_t>(desktop::Desktop::instance().beginDrag(std::move(items)));
    const XTDragInfo info = dragInfo(v, h, effect, modifiers);
    DragResult result;
    result.entered = handlers.entered(&info);
    handlers.within(&info);
    if (result.entered == 1) {
        result.dropped = handlers.drop(&info);
    } else {
        handlers.left(&info);
    }
    desktop::Desktop::instance().endDrag();
    gDrop.drag = 0;
    return result;
}

std::vector<XTBoxID> DropTest::madeBoxes() const {
    std::vector<XTBoxID> made;
    for (const auto& spread : fakeHost().spreads) {
        for (const FakeBox& box : spread) {
            if (box.id >= 1000) made.push_back(box.id);
        }
    }
    std::sort(made.begin(), made.end());
    return made;
}

std::vector<std::string> DropTest::alertMessages() const {
    std::vector<std::string> messages;
    for (const auto& alert : alerts()) messages.push_back(alert.message);
    return messages;
}

}  // namespace lumbrel::test
