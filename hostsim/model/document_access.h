// Raw access to a document's structure for the file reader, which checks
// every rule itself (with the position in the file for its messages) and
// then builds the document in one go. Not for other callers.
#pragma once

#include "document.h"

#include <utility>
#include <vector>

namespace hostsim {

struct DocumentAccess {
    static void setStructure(Box& box, BoxId id, int kind, int shape, const Rect& bounds, int spread) {
        box.id_ = id;
        box.kind_ = kind;
        box.shape_ = shape;
        box.bounds_ = bounds;
        box.spread_ = spread;
    }
    static void setGroup(Box& box, BoxId group) { box.group_ = group; }
    static void setMembers(Box& box, std::vector<BoxId> members) { box.members_ = std::move(members); }
    static void setText(Box& box, std::string text) { box.text_ = std::move(text); }
    static void setPicture(Box& box, Picture picture) { box.picture_ = std::move(picture); }
    static SlugMap& slugs(Box& box, SlugKind kind) { return kind == SlugKind::box ? box.boxSlugs_ : box.pictureSlugs_; }

    static std::unordered_map<BoxId, Box>& boxes(Document& doc) { return doc.boxes_; }
    static Box* box(Document& doc, BoxId id) { return doc.boxPtr(id); }

    // Appends a box (already in the box table) to its spread's chain.
    static void appendToChain(Document& doc, Box& box) {
        Spread* spread = doc.spreadPtr(box.spread_);
        box.chainIndex_ = spread->boxes.size();
        spread->boxes.push_back(box.id_);
    }

    static void setState(Document& doc, int currentPage, int showMaster, BoxId currentBox,
                         std::vector<BoxId> selection, std::int64_t nextBoxId) {
        doc.currentPage_ = currentPage;
        doc.showMaster_ = showMaster;
        doc.currentBox_ = currentBox;
        doc.selection_ = std::move(selection);
        doc.nextBoxId_ = nextBoxId;
    }
};

}  // namespace hostsim
