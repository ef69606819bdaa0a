// A layout document held in memory the way a page-layout host holds it:
// master spreads and document spreads of pages, boxes on them in chain
// order, groups, pictures, slugs, the current page, box and selection, the
// view, and the change state a module reads.
//
// Numbering:
// - Spreads: document spreads 1..numSpreads(); master spreads are -1..-numMasterSpreads().
// - Pages: document pages 1..numPages() across the document spreads in order.
//   Sequence numbers count the master pages first: document page n has the
//   sequence number n + numMasterPages(); sequence numbers 1..numMasterPages()
//   are the master pages in master-spread order.
// - Coordinates are points in the coordinates of the spread (y downwards).
//
// Every operation that changes the layout marks the document changed
// (changeState = kChangeStateChanged), as a host does.
#pragma once

#include "box.h"
#include "geometry.h"
#include "picture.h"
#include "status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hostsim {

// Measurement units by the host's preference codes; the metric ones are 1 and 7.
enum class Unit : int {
    inches = 0,
    millimetres = 1,
    picas = 2,
    points = 3,
    inchesDecimal = 4,
    ciceros = 5,
    agates = 6,
    centimetres = 7,
};
inline constexpr int kUnitCount = 8;
// "inches", "mm", "picas", "points", "inches-decimal", "ciceros", "agates", "cm".
const char* unitName(Unit unit) noexcept;
std::optional<Unit> unitFromName(std::string_view name) noexcept;

inline constexpr int kChangeStateUnchanged = 0;
inline constexpr int kChangeStateChanged = 3;  // changed since the last save
inline constexpr int kChangeStateMax = 3;

struct Page {
    std::string name;  // the displayed page name ("1", "iv", "A")
    int master = 0;    // master spread number it is based on (1..numMasterSpreads()), 0 = none
    double left = 0.0, top = 0.0;  // the page's top-left corner in spread coordinates

    bool operator==(const Page&) const = default;
};

struct Spread {
    std::string name;  // master spreads are named ("A-Master"); document spreads usually not
    double width = 0.0, height = 0.0;
    std::vector<Page> pages;   // left to right
    std::vector<BoxId> boxes;  // chain order: first box first

    bool operator==(const Spread&) const = default;
};

struct ViewState {
    Fixed scale = kFixedOne;  // 16.16, 65536 = 100 %
    double originH = 0.0, originV = 0.0;  // where the current spread's origin lies in the window, pixels

    bool operator==(const ViewState&) const = default;
};

// Which page and page box of a PDF the next import places (page from 1; 0 counts as 1).
struct ImportOptions {
    int pdfPage = 1;
    PdfBox pdfBox = PdfBox::media;
};

// Fit modes of fitPicture (the host's numbers as modules pass them).
inline constexpr int kFitToBox = 0;          // scale to fill the box; with kFitKeepProportions, fit inside and centre
inline constexpr int kFitCentre = 1;         // centre the picture in the box at its current scale
inline constexpr int kFitBoxToPicture = 2;   // resize the box to the picture at its current scale, offset 0
inline constexpr int kFitProportional = 16;  // largest scale that shows the whole picture, same on both axes, centred
inline constexpr int kFitKeepProportions = 1;  // flag for kFitToBox

class Document {
public:
    // Plain settings; keep them in the documented ranges (the file reader refuses others).
    std::string projectName;  // the layout's name
    std::string path;         // POSIX path of the file, empty when never saved
    bool library = false;
    Unit unit = Unit::points;
    double pageWidth = 612.0, pageHeight = 792.0;  // points, above 0 and at most kFixedMax
    bool facingPages = false;
    int changeState = kChangeStateUnchanged;  // 0..3
    ViewState view;

    void markChanged() noexcept { changeState = kChangeStateChanged; }
    void markSaved() noexcept { changeState = kChangeStateUnchanged; }

    // ---- spreads and pages -------------------------------------------------------
    // Adds a spread at the end (its box list must be empty; the pages of a
    // document spread may name existing master spreads, those of a master
    // spread name none); answers its number (n > 0 document, n < 0 master),
    // 0 on bad input.
    int addSpread(Spread spread);
    int addMasterSpread(Spread spread);

    int numSpreads() const noexcept { return static_cast<int>(spreads_.size()); }
    int numMasterSpreads() const noexcept { return static_cast<int>(masters_.size()); }
    int numPages() const noexcept { return numPages_; }
    int numMasterPages() const noexcept { return numMasterPages_; }
    const std::vector<Spread>& spreads() const noexcept { return spreads_; }
    const std::vector<Spread>& masterSpreads() const noexcept { return masters_; }
    // Spread by number (negative: master), nullptr when there is none.
    const Spread* spread(int number) const noexcept;

    const Page* page(int pageNumber) const noexcept;
    // The document spread holding the page, 0 when there is no such page.
    int spreadOfPage(int pageNumber) const noexcept;
    // The spread (negative for masters) holding the page with this sequence number, 0 when none.
    int spreadOfSequence(int sequence) const noexcept;
    int pageSequence(int pageNumber) const noexcept { return pageNumber + numMasterPages_; }
    // The first document page of a spread, 0 when none.
    int firstPageOfSpread(int spreadNumber) const noexcept;
    // The page's rectangle in its spread's coordinates.
    std::optional<Rect> pageRect(int pageNumber) const noexcept;

    // ---- current page, box, selection ------------------------------------------------
    int currentPage() const noexcept { return currentPage_; }
    bool setCurrentPage(int pageNumber) noexcept;  // 1..numPages(), or 0 only when there are no pages
    // The master spread shown in place of the document pages, 0 when the document pages are shown.
    int showMaster() const noexcept { return showMaster_; }
    bool setShowMaster(int masterSpread) noexcept;  // 0 or 1..numMasterSpreads()
    // The spread of the current page, or -showMaster() when a master is shown; 0 when none.
    int currentSpread() const noexcept;
    BoxId currentBox() const noexcept { return currentBox_; }
    bool setCurrentBox(BoxId id) noexcept;  // 0 or an existing box
    const std::vector<BoxId>& selection() const noexcept { return selection_; }
    bool setSelection(std::vector<BoxId> ids);  // existing boxes, no repeats
    // Where fresh box ids start: one above the highest id ever given. Ids are
    // not reused until this passes the 32-bit range; then the lowest free
    // positive id is taken.
    std::int64_t nextBoxId() const noexcept { return nextBoxId_; }

    // ---- boxes ---------------------------------------------------------------------------
    std::size_t boxCount() const noexcept { return boxes_.size(); }
    const Box* findBox(BoxId id) const noexcept;
    const std::unordered_map<BoxId, Box>& boxes() const noexcept { return boxes_; }
    // The spread's boxes in chain order; nullptr when there is no such spread.
    const std::vector<BoxId>* chain(int spreadNumber) const noexcept;
    BoxId firstBox(int spreadNumber) const noexcept;  // 0 when none
    BoxId nextBox(BoxId id) const noexcept;           // the following box in its chain, 0 at the end
    // The first box of the spread in chain order whose bounds contain the point, 0 when none.
    BoxId whichBox(int spreadNumber, double v, double h) const noexcept;

    // Creates a box of kind text, picture or line at the end of the spread's
    // chain; answers its fresh id, 0 on bad input (group boxes come from groupBoxes).
    BoxId addBox(int spreadNumber, int kind, const Rect& bounds, int shape = kShapeRectangle);
    // Removes a box; a group goes with all its members. A member leaving a group
    // is dropped from the group's list; a group left empty goes too.
    int removeBox(BoxId id);
    // Groups two or more boxes of one spread that are in no group yet; the group
    // box goes to the end of the chain with the members' united bounds. Answers its id, 0 on bad input.
    BoxId groupBoxes(const std::vector<BoxId>& members);
    int ungroup(BoxId group);
    // New bounds; a group carries its members along (mapped from the old to the
    // new bounds), and the groups around a box take the union of their members.
    int setBounds(BoxId id, const Rect& bounds);
    int setShape(BoxId id, int shape);
    int setText(BoxId id, std::string text);  // text boxes only

    // ---- pictures ------------------------------------------------------------------------
    // Reads the file (see picture_probe.h) and places it into a picture box at
    // 100 % at the box's top-left, in place of its earlier picture. The picture
    // slugs stay. On failure the box is unchanged and `message` (when given)
    // says why; the answer is the status code.
    int importPicture(BoxId id, const std::string& file, const ImportOptions& options = {},
                      std::string* message = nullptr);
    // Places a picture as it is, without reading any file (picture boxes only).
    int setPicture(BoxId id, Picture picture);
    int removePicture(BoxId id);
    // The picture of a picture box for changes of scale and offset; nullptr when none.
    Picture* editPicture(BoxId id) noexcept;
    int fitPicture(BoxId id, int mode, int flags = 0);

    // ---- slugs ---------------------------------------------------------------------------
    const std::string* slug(BoxId id, SlugKind kind, FourCC key) const noexcept;
    int setSlug(BoxId id, SlugKind kind, FourCC key, std::string_view bytes);
    int removeSlug(BoxId id, SlugKind kind, FourCC key);

    bool operator==(const Document&) const = default;

private:
    friend struct DocumentAccess;

    Spread* spreadPtr(int number) noexcept;
    Box* boxPtr(BoxId id) noexcept;
    BoxId freshId() noexcept;
    // Gives the box a fresh id and puts it last in the spread's chain; 0 when
    // the spread does not exist or ids ran out.
    BoxId appendBox(int spreadNumber, Box box);
    void reindexChain(int spreadNumber) noexcept;
    void recount() noexcept;
    void forgetBox(BoxId id);
    void removeTree(BoxId id, std::vector<BoxId>& removed);
    void moveTree(BoxId id, const Rect& from, const Rect& to);
    void uniteAncestors(BoxId id);

    std::vector<Spread> masters_;
    std::vector<Spread> spreads_;
    std::unordered_map<BoxId, Box> boxes_;
    int numPages_ = 0;
    int numMasterPages_ = 0;
    int currentPage_ = 0;
    int showMaster_ = 0;
    BoxId currentBox_ = 0;
    std::vector<BoxId> selection_;
    std::int64_t nextBoxId_ = 1;
};

}  // namespace hostsim
