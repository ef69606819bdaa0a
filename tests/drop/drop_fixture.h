// The drop tests run the module in the host-layer tests' fake host, with the
// groups that host leaves out put in by hand: box records, imports that
// change the picture, the picture fit, master spreads and the pasteboard of
// a drag. Master spreads are kept after the document spreads in the fake's
// spread list; while one is shown, spread n names master spread n.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "desktop/desktop.h"
#include "host/module_fixture.h"

namespace lumbrel::test {

struct DropHost {
    // The last `masterSpreads` entries of FakeHost::spreads are master spreads.
    int masterSpreads = 0;
    bool showingMaster = false;
    std::int16_t page = 1;                 // current document page (= its spread)
    std::vector<std::string> navigation;   // "master 1", "page 2", in order
    std::intptr_t drag = 0;                // what currentDrag answers
    Fixed docScale = kPt;
    std::map<std::string, XTError> importErrors;  // a path whose import fails
    std::set<XTBoxID> takesPicture;               // boxes canTakePicture answers 1 for
    std::vector<std::tuple<XTBoxID, std::int16_t, std::int16_t>> fits;
    std::map<XTHandle, std::tuple<std::int16_t, std::int16_t, XTFixedRect>> records;  // kind, shape, bounds
    int recordsDisposed = 0;
    XTBoxID nextBox = 1000;
    std::vector<std::pair<XTBoxID, std::string>> loads;  // every import, failed ones too
};

DropHost& dropHost();

class DropTest : public ModuleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The document spreads' count (the fake host's spreads less the masters).
    int documentSpreads() const;
    // A master spread appended after the document spreads; its number among the masters.
    int addMasterSpread();

    // A picture box on a document spread holding `path` ("" for none).
    XTBoxID pictureBox(std::int16_t spread, XTFixedRect bounds, const std::string& path = "");
    XTBoxID textBox(std::int16_t spread, XTFixedRect bounds);
    void setImageName(XTBoxID box, const std::string& name);

    // A drag of these items over the view: entered, then (when accepted) the
    // drop, at the local point (v, h) in pixels; answers what entered said.
    struct DragResult {
        std::int32_t entered = 0;
        std::int32_t dropped = 0;
    };
    DragResult dragAndDrop(std::vector<desktop::PasteboardItem> items, int v, int h,
                           std::int32_t effect = XT_DROP_EFFECT_COPY, std::uint16_t modifiers = 0);
    XTDragInfo dragInfo(int v, int h, std::int32_t effect = XT_DROP_EFFECT_COPY, std::uint16_t modifiers = 0) const;

    // Boxes made since SetUp, in order.
    std::vector<XTBoxID> madeBoxes() const;
    std::vector<std::string> alertMessages() const;

    XTDragHandlers handlers{};
    XTBoxID nextId_ = 1;
};

}  // namespace lumbrel::test
