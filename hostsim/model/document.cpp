#include "document.h"

#include "picture_probe.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <unordered_set>
#include <utility>

namespace hostsim {

namespace {

constexpr std::array<const char*, kUnitCount> kUnitNames{"inches", "mm",      "picas",  "points",
                                                         "inches-decimal", "ciceros", "agates", "cm"};

// Spread and page numbers are 16-bit on the host interface.
constexpr std::size_t kMaxSpreads = 32767;
constexpr std::int64_t kMaxPages = 32767;

// Document pages may name a master spread; master pages name none.
bool validSpreadShape(const Spread& spread, std::size_t masterCount) {
    if (!spread.boxes.empty()) return false;
    if (!inFixedRange(spread.width) || !inFixedRange(spread.height) || spread.width < 0 || spread.height < 0) {
        return false;
    }
    for (const Page& page : spread.pages) {
        if (page.master < 0 || static_cast<std::size_t>(page.master) > masterCount) return false;
        if (!inFixedRange(page.left) || !inFixedRange(page.top)) return false;
    }
    return true;
}

// Maps a rectangle inside `from` to the same place inside `to`.
Rect mapRect(const Rect& r, const Rect& from, const Rect& to) {
    const double sx = from.width() > 0 ? to.width() / from.width() : 1.0;
    const double sy = from.height() > 0 ? to.height() / from.height() : 1.0;
    return Rect{to.top + (r.top - from.top) * sy, to.left + (r.left - from.left) * sx,
                to.top + (r.bottom - from.top) * sy, to.left + (r.right - from.left) * sx};
}

}  // namespace

const char* unitName(Unit unit) noexcept {
    const auto index = static_cast<std::size_t>(unit);
    return index < kUnitNames.size() ? kUnitNames[index] : "";
}

std::optional<Unit> unitFromName(std::string_view name) noexcept {
    for (std::size_t i = 0; i < kUnitNames.size(); ++i) {
        if (name == kUnitNames[i]) return static_cast<Unit>(i);
    }
    return std::nullopt;
}

// ---- spreads and pages ---------------------------------------------------------------

int Document::addSpread(Spread spread) {
    if (spreads_.size() >= kMaxSpreads || !validSpreadShape(spread, masters_.size())) return 0;
    if (numPages_ + static_cast<std::int64_t>(spread.pages.size()) > kMaxPages) return 0;
    spreads_.push_back(std::move(spread));
    recount();
    return numSpreads();
}

int Document::addMasterSpread(Spread spread) {
    if (masters_.size() >= kMaxSpreads || !validSpreadShape(spread, 0)) return 0;
    if (numMasterPages_ + static_cast<std::int64_t>(spread.pages.size()) > kMaxPages) return 0;
    masters_.push_back(std::move(spread));
    recount();
    return -numMasterSpreads();
}

void Document::recount() noexcept {
    numPages_ = 0;
    for (const Spread& s : spreads_) numPages_ += static_cast<int>(s.pages.size());
    numMasterPages_ = 0;
    for (const Spread& s : masters_) numMasterPages_ += static_cast<int>(s.pages.size());
}

const Spread* Document::spread(int number) const noexcept {
    if (number > 0 && static_cast<std::size_t>(number) <= spreads_.size()) {
        return &spreads_[static_cast<std::size_t>(number) - 1];
    }
    if (number < 0 && number != std::numeric_limits<int>::min() &&
        static_cast<std::size_t>(-number) <= masters_.size()) {
        return &masters_[static_cast<std::size_t>(-number) - 1];
    }
    return nullptr;
}

Spread* Document::spreadPtr(int number) noexcept {
    return const_cast<Spread*>(static_cast<const Document*>(this)->spread(number));
}

const Page* Document::page(int pageNumber) const noexcept {
    if (pageNumber < 1) return nullptr;
    auto remaining = static_cast<std::size_t>(pageNumber);
    for (const Spread& s : spreads_) {
        if (remaining <= s.pages.size()) return &s.pages[remaining - 1];
        remaining -= s.pages.size();
    }
    return nullptr;
}

int Document::spreadOfPage(int pageNumber) const noexcept {
    if (pageNumber < 1) return 0;
    auto remaining = static_cast<std::size_t>(pageNumber);
    for (std::size_t i = 0; i < spreads_.size(); ++i) {
        if (remaining <= spreads_[i].pages.size()) return static_cast<int>(i + 1);
        remaining -= spreads_[i].pages.size();
    }
    return 0;
}

int Document::spreadOfSequence(int sequence) const noexcept {
    if (sequence < 1) return 0;
    if (sequence > numMasterPages_) return spreadOfPage(sequence - numMasterPages_);
    auto remaining = static_cast<std::size_t>(sequence);
    for (std::size_t i = 0; i < masters_.size(); ++i) {
        if (remaining <= masters_[i].pages.size()) return -static_cast<int>(i + 1);
        remaining -= masters_[i].pages.size();
    }
    return 0;
}

int Document::firstPageOfSpread(int spreadNumber) const noexcept {
    if (spreadNumber < 1 || static_cast<std::size_t>(spreadNumber) > spreads_.size()) return 0;
    int pageNumber = 1;
    for (int i = 0; i < spreadNumber - 1; ++i) pageNumber += static_cast<int>(spreads_[static_cast<std::size_t>(i)].pages.size());
    return spreads_[static_cast<std::size_t>(spreadNumber) - 1].pages.empty() ? 0 : pageNumber;
}

std::optional<Rect> Document::pageRect(int pageNumber) const noexcept {
    const Page* p = page(pageNumber);
    if (!p) return std::nullopt;
    return Rect{p->top, p->left, p->top + pageHeight, p->left + pageWidth};
}

// ---- current state ---------------------------------------------------------------------

bool Document::setCurrentPage(int pageNumber) noexcept {
    if (pageNumber < 0 || pageNumber > numPages_) return false;
    currentPage_ = pageNumber;
    return true;
}

bool Document::setShowMaster(int masterSpread) noexcept {
    if (masterSpread < 0 || masterSpread > numMasterSpreads()) return false;
    showMaster_ = masterSpread;
    return true;
}

int Document::currentSpread() const noexcept {
    return showMaster_ != 0 ? -showMaster_ : spreadOfPage(currentPage_);
}

bool Document::setCurrentBox(BoxId id) noexcept {
    if (id != 0 && !findBox(id)) return false;
    currentBox_ = id;
    return true;
}

bool Document::setSelection(std::vector<BoxId> ids) {
    std::unordered_set<BoxId> seen;
    for (const BoxId id : ids) {
        if (!findBox(id) || !seen.insert(id).second) return false;
    }
    selection_ = std::move(ids);
    return true;
}

// ---- boxes ----------------------------------------------------------------------------------

const Box* Document::findBox(BoxId id) const noexcept {
    const auto it = boxes_.find(id);
    return it == boxes_.end() ? nullptr : &it->second;
}

Box* Document::boxPtr(BoxId id) noexcept {
    const auto it = boxes_.find(id);
    return it == boxes_.end() ? nullptr : &it->second;
}

const std::vector<BoxId>* Document::chain(int spreadNumber) const noexcept {
    const Spread* s = spread(spreadNumber);
    return s ? &s->boxes : nullptr;
}

BoxId Document::firstBox(int spreadNumber) const noexcept {
    const auto* boxes = chain(spreadNumber);
    return boxes && !boxes->empty() ? boxes->front() : 0;
}

BoxId Document::nextBox(BoxId id) const noexcept {
    const Box* box = findBox(id);
    if (!box) return 0;
    const auto* boxes = chain(box->spread_);
    const std::size_t next = box->chainIndex_ + 1;
    return boxes && next < boxes->size() ? (*boxes)[next] : 0;
}

BoxId Document::whichBox(int spreadNumber, double v, double h) const noexcept {
    const auto* boxes = chain(spreadNumber);
    if (!boxes) return 0;
    for (const BoxId id : *boxes) {
        const Box* box = findBox(id);
        if (box && box->bounds_.contains(v, h)) return id;
    }
    return 0;
}

void Document::reindexChain(int spreadNumber) noexcept {
    Spread* s = spreadPtr(spreadNumber);
    if (!s) return;
    for (std::size_t i = 0; i < s->boxes.size(); ++i) {
        if (Box* box = boxPtr(s->boxes[i])) box->chainIndex_ = i;
    }
}

BoxId Document::freshId() noexcept {
    constexpr std::int64_t kMaxId = std::numeric_limits<BoxId>::max();
    while (nextBoxId_ >= 1 && nextBoxId_ <= kMaxId) {
        const auto id = static_cast<BoxId>(nextBoxId_++);
        if (!findBox(id)) return id;
    }
    // The counter ran past the 32-bit range: take the lowest free positive id.
    for (std::int64_t candidate = 1; candidate <= kMaxId; ++candidate) {
        if (!findBox(static_cast<BoxId>(candidate))) return static_cast<BoxId>(candidate);
    }
    return 0;
}

BoxId Document::addBox(int spreadNumber, int kind, const Rect& bounds, int shape) {
    if (kind != kBoxText && kind != kBoxPicture && kind != kBoxLine) return 0;
    if (shape < 0 || shape > kShapeMax || !bounds.valid()) return 0;
    Box box;
    box.kind_ = kind;
    box.shape_ = shape;
    box.bounds_ = bounds;
    return appendBox(spreadNumber, std::move(box));
}

BoxId Document::appendBox(int spreadNumber, Box box) {
    Spread* s = spreadPtr(spreadNumber);
    const BoxId id = s ? freshId() : 0;
    if (id == 0) return 0;
    box.id_ = id;
    box.spread_ = spreadNumber;
    box.chainIndex_ = s->boxes.size();
    s->boxes.push_back(id);
    boxes_.emplace(id, std::move(box));
    markChanged();
    return id;
}

void Document::removeTree(BoxId id, std::vector<BoxId>& removed) {
    const Box* box = findBox(id);
    if (!box) return;
    removed.push_back(id);
    for (const BoxId member : box->members_) removeTree(member, removed);
}

void Document::forgetBox(BoxId id) {
    boxes_.erase(id);
    if (currentBox_ == id) currentBox_ = 0;
    std::erase(selection_, id);
}

int Document::removeBox(BoxId id) {
    Box* box = boxPtr(id);
    if (!box) return kErrParam;
    const int spreadNumber = box->spread_;
    std::vector<BoxId> removed;
    removeTree(id, removed);

    // Leave the enclosing groups; a group left without members goes too.
    BoxId child = id;
    BoxId parent = box->group_;
    BoxId survivor = 0;
    while (parent != 0) {
        Box* group = boxPtr(parent);
        if (!group) break;
        std::erase(group->members_, child);
        if (!group->members_.empty()) {
            survivor = parent;
            break;
        }
        removed.push_back(parent);
        child = parent;
        parent = group->group_;
    }

    std::unordered_set<BoxId> gone(removed.begin(), removed.end());
    if (Spread* s = spreadPtr(spreadNumber)) {
        std::erase_if(s->boxes, [&gone](BoxId b) { return gone.count(b) != 0; });
    }
    for (const BoxId r : removed) forgetBox(r);
    reindexChain(spreadNumber);
    if (Box* group = survivor != 0 ? boxPtr(survivor) : nullptr) {
        const Box* first = group->members_.empty() ? nullptr : findBox(group->members_.front());
        if (first) {
            Rect united = first->bounds_;
            for (const BoxId m : group->members_) {
                if (const Box* member = findBox(m)) united = united.unite(member->bounds_);
            }
            group->bounds_ = united;
            uniteAncestors(survivor);
        }
    }
    markChanged();
    return kNoErr;
}

BoxId Document::groupBoxes(const std::vector<BoxId>& members) {
    if (members.size() < 2) return 0;
    std::unordered_set<BoxId> seen;
    int spreadNumber = 0;
    Rect united;
    for (const BoxId id : members) {
        const Box* box = findBox(id);
        if (!box || box->group_ != 0 || !seen.insert(id).second) return 0;
        if (spreadNumber == 0) {
            spreadNumber = box->spread_;
            united = box->bounds_;
        } else if (box->spread_ != spreadNumber) {
            return 0;
        }
        united = united.unite(box->bounds_);
    }
    Box group;
    group.kind_ = kBoxGroup;
    group.bounds_ = united;
    group.members_ = members;
    const BoxId id = appendBox(spreadNumber, std::move(group));
    if (id == 0) return 0;
    for (const BoxId member : members) {
        if (Box* box = boxPtr(member)) box->group_ = id;
    }
    return id;
}

int Document::ungroup(BoxId groupId) {
    Box* group = boxPtr(groupId);
    if (!group || !group->isGroup()) return kErrParam;
    const BoxId parent = group->group_;
    const std::vector<BoxId> members = group->members_;
    for (const BoxId m : members) {
        if (Box* member = boxPtr(m)) member->group_ = parent;
    }
    if (Box* outer = boxPtr(parent)) {
        auto& list = outer->members_;
        const auto at = std::find(list.begin(), list.end(), groupId);
        if (at != list.end()) {
            const auto pos = list.erase(at);
            list.insert(pos, members.begin(), members.end());
        }
    }
    const int spreadNumber = group->spread_;
    if (Spread* s = spreadPtr(spreadNumber)) std::erase(s->boxes, groupId);
    forgetBox(groupId);
    reindexChain(spreadNumber);
    markChanged();
    return kNoErr;
}

void Document::moveTree(BoxId id, const Rect& from, const Rect& to) {
    Box* box = boxPtr(id);
    if (!box) return;
    box->bounds_ = mapRect(box->bounds_, from, to);
    for (const BoxId m : box->members_) moveTree(m, from, to);
}

void Document::uniteAncestors(BoxId id) {
    // Bounded by the box count, so a damaged group link cannot loop forever.
    const Box* box = findBox(id);
    for (std::size_t steps = 0; box && box->group_ != 0 && steps < boxes_.size(); ++steps) {
        Box* group = boxPtr(box->group_);
        if (!group) return;
        bool first = true;
        Rect united;
        for (const BoxId m : group->members_) {
            const Box* member = findBox(m);
            if (!member) continue;
            united = first ? member->bounds_ : united.unite(member->bounds_);
            first = false;
        }
        if (!first) group->bounds_ = united;
        box = group;
    }
}

int Document::setBounds(BoxId id, const Rect& bounds) {
    Box* box = boxPtr(id);
    if (!box || !bounds.valid()) return kErrParam;
    if (box->isGroup()) {
        // Check every member's new place before anything moves.
        std::vector<BoxId> tree;
        removeTree(id, tree);
        for (const BoxId m : tree) {
            if (!mapRect(findBox(m)->bounds_, box->bounds_, bounds).valid()) return kErrParam;
        }
        const Rect from = box->bounds_;
        for (const BoxId m : box->members_) moveTree(m, from, bounds);
    }
    box->bounds_ = bounds;
    uniteAncestors(id);
    markChanged();
    return kNoErr;
}

int Document::setShape(BoxId id, int shape) {
    Box* box = boxPtr(id);
    if (!box || shape < 0 || shape > kShapeMax) return kErrParam;
    box->shape_ = shape;
    markChanged();
    return kNoErr;
}

int Document::setText(BoxId id, std::string text) {
    Box* box = boxPtr(id);
    if (!box || box->kind_ != kBoxText) return kErrParam;
    box->text_ = std::move(text);
    markChanged();
    return kNoErr;
}

// ---- pictures -----------------------------------------------------------------------------

int Document::importPicture(BoxId id, const std::string& file, const ImportOptions& options, std::string* message) {
    Box* box = boxPtr(id);
    if (!box || !box->isPicture()) {
        if (message) *message = box ? "box " + std::to_string(id) + " is not a picture box" : "no box " + std::to_string(id);
        return kErrParam;
    }
    try {
        ProbeResult probe = probePicture(file, options);
        if (probe.status != kNoErr) {
            if (message) *message = std::move(probe.message);
            return probe.status;
        }
        box->picture_ = std::move(probe.picture);
    } catch (const std::bad_alloc&) {
        if (message) message->clear();
        return kErrMemFull;
    }
    markChanged();
    return kNoErr;
}

int Document::setPicture(BoxId id, Picture picture) {
    Box* box = boxPtr(id);
    if (!box || !box->isPicture()) return kErrParam;
    box->picture_ = std::move(picture);
    markChanged();
    return kNoErr;
}

int Document::removePicture(BoxId id) {
    Box* box = boxPtr(id);
    if (!box || !box->isPicture()) return kErrParam;
    box->picture_.reset();
    markChanged();
    return kNoErr;
}

Picture* Document::editPicture(BoxId id) noexcept {
    Box* box = boxPtr(id);
    if (!box || !box->picture_) return nullptr;
    markChanged();
    return &*box->picture_;
}

int Document::fitPicture(BoxId id, int mode, int flags) {
    Box* box = boxPtr(id);
    if (!box || !box->isPicture() || !box->picture_) return kErrParam;
    Picture& pic = *box->picture_;
    const double picW = pic.bounds.width();
    const double picH = pic.bounds.height();
    if (!(picW > 0) || !(picH > 0)) return kErrParam;
    const double boxW = box->bounds_.width();
    const double boxH = box->bounds_.height();
    if (mode == kFitToBox && (flags & kFitKeepProportions) != 0) mode = kFitProportional;
    switch (mode) {
    case kFitToBox:
        pic.scaleH = boxW / picW;
        pic.scaleV = boxH / picH;
        pic.offsetH = 0;
        pic.offsetV = 0;
        break;
    case kFitProportional: {
        const double scale = std::min(boxW / picW, boxH / picH);
        pic.scaleH = scale;
        pic.scaleV = scale;
        pic.offsetH = (boxW - picW * scale) / 2;
        pic.offsetV = (boxH - picH * scale) / 2;
        break;
    }
    case kFitCentre:
        pic.offsetH = (boxW - picW * pic.scaleH) / 2;
        pic.offsetV = (boxH - picH * pic.scaleV) / 2;
        break;
    case kFitBoxToPicture: {
        const Rect b = box->bounds_;
        const Rect fitted{b.top, b.left, b.top + picH * pic.scaleV, b.left + picW * pic.scaleH};
        if (!fitted.valid()) return kErrParam;
        pic.offsetH = 0;
        pic.offsetV = 0;
        box->bounds_ = fitted;
        uniteAncestors(id);
        break;
    }
    default:
        return kErrParam;
    }
    markChanged();
    return kNoErr;
}

// ---- slugs ---------------------------------------------------------------------------------

const std::string* Document::slug(BoxId id, SlugKind kind, FourCC key) const noexcept {
    const Box* box = findBox(id);
    if (!box) return nullptr;
    const SlugMap& map = box->slugs(kind);
    const auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

int Document::setSlug(BoxId id, SlugKind kind, FourCC key, std::string_view bytes) {
    Box* box = boxPtr(id);
    if (!box) return kErrParam;
    try {
        SlugMap& map = kind == SlugKind::box ? box->boxSlugs_ : box->pictureSlugs_;
        map[key] = std::string(bytes);
    } catch (const std::bad_alloc&) {
        return kErrMemFull;
    }
    markChanged();
    return kNoErr;
}

int Document::removeSlug(BoxId id, SlugKind kind, FourCC key) {
    Box* box = boxPtr(id);
    if (!box) return kErrParam;
    SlugMap& map = kind == SlugKind::box ? box->boxSlugs_ : box->pictureSlugs_;
    if (map.erase(key) == 0) return kErrParam;
    markChanged();
    return kNoErr;
}

}  // namespace hostsim
