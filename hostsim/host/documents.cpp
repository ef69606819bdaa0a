// Documents as the user handles them: open, new, save, close, the front
// window, the selection, the page shown and the view scale.
#include "hostsim/host/runtime.h"

#include "hostsim/model/document_json.h"

#include "desktop/desktop.h"
#include "desktop/files/file_open.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace hostsim {

namespace {

std::string displayName(const Document& doc) {
    if (!doc.projectName.empty()) return doc.projectName;
    if (!doc.path.empty()) return desktop::files::nameOf(desktop::files::pathOf(doc.path).filename());
    return "Untitled";
}

OpenResult failed(Runtime& rt, std::string message) {
    rt.lastError = message;
    return OpenResult{-1, std::move(message)};
}

OpenResult opened(Runtime& rt, Document doc, const std::string& what) {
    const XTDocID id = rt.addDocument(std::move(doc));
    if (id < 0) return failed(rt, "too many documents open");
    rt.note(what + " -> document " + std::to_string(id));
    XTDocRec record{};
    record.size = sizeof record;
    record.docID = id;
    rt.dispatch(XT_CB_DOCOPEN, &record);
    rt.redrawPending = true;
    rt.flushRedraw();
    return OpenResult{id, {}};
}

// A host keeps every picture by its absolute path. A layout file may give a
// picture path relative to the file's own folder (a sample carried in a
// repository); opening it makes such paths absolute. The change state stays
// as loaded: the user changed nothing.
void resolvePicturePaths(Document& doc, const std::string& layoutPath) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(desktop::files::pathOf(layoutPath), error).parent_path();
    if (error) return;
    std::vector<BoxId> relative;
    for (const auto& [id, box] : doc.boxes()) {
        const auto& picture = box.picture();
        if (picture && !picture->path.empty() && picture->path.front() != '/') relative.push_back(id);
    }
    const int changeState = doc.changeState;
    for (const BoxId id : relative) {
        Picture* picture = doc.editPicture(id);
        if (picture == nullptr) continue;
        const std::string resolved = desktop::files::nameOf((folder / desktop::files::pathOf(picture->path)).lexically_normal());
        if (!resolved.empty()) picture->path = resolved;
    }
    doc.changeState = changeState;
}

}  // namespace

bool saveFrontDocument(Runtime& rt, const std::optional<std::string>& path) {
    Document* doc = rt.currentDocument();
    if (doc == nullptr) {
        rt.lastError = "no document open";
        rt.note("save: no document open");
        return false;
    }
    const std::string target = path ? *path : doc->path;
    if (target.empty()) {
        rt.lastError = "the document was never saved and no path was given";
        rt.note("save \"" + displayName(*doc) + "\" failed: " + rt.lastError);
        return false;
    }
    const XTDocID id = rt.currentID();
    XTDocRec record{};
    record.size = sizeof record;
    record.docID = id;
    rt.dispatch(XT_CB_DOCSAVE, &record);
    doc = rt.documentByID(id);
    if (doc == nullptr) return false;
    Document copy = *doc;
    copy.path = target;
    copy.markSaved();
    std::string error;
    if (!saveDocument(copy, target, &error)) {
        rt.lastError = error;
        rt.note("save \"" + target + "\" failed: " + error);
        return false;
    }
    doc->path = target;
    doc->markSaved();
    rt.note("saved \"" + target + "\"");
    return true;
}

OpenResult Simulator::open(const std::string& path) {
    Runtime& rt = runtime();
    if (!rt.beginAction("open")) return failed(rt, "a callback is running");
    LoadResult loaded = loadDocument(path);
    if (!loaded.ok()) {
        rt.note("open \"" + path + "\" failed: " + loaded.error);
        return failed(rt, loaded.error);
    }
    Document doc = std::move(*loaded.document);
    doc.path = path;
    resolvePicturePaths(doc, path);
    return opened(rt, std::move(doc), "open \"" + path + "\"");
}

OpenResult Simulator::newDocument(Document document, const std::string& projectName) {
    Runtime& rt = runtime();
    if (!rt.beginAction("new document")) return failed(rt, "a callback is running");
    document.path.clear();
    document.projectName = projectName;
    return opened(rt, std::move(document), "new document \"" + projectName + "\"");
}

bool Simulator::save(const std::optional<std::string>& path) {
    Runtime& rt = runtime();
    if (!rt.beginAction("save")) return false;
    const bool ok = saveFrontDocument(rt, path);
    rt.flushRedraw();
    return ok;
}

bool Simulator::close() {
    Runtime& rt = runtime();
    if (!rt.beginAction("close")) return false;
    Document* doc = rt.currentDocument();
    if (doc == nullptr) {
        rt.lastError = "no document open";
        return false;
    }
    const XTDocID id = rt.currentID();
    if (doc->changeState == kChangeStateChanged) {
        desktop::AlertRequest alert;
        alert.style = desktop::AlertStyle::Caution;
        alert.title = desktop::Desktop::instance().hostName();
        alert.message = "Save changes to \"" + displayName(*doc) + "\" before closing?";
        alert.buttons = {"Save", "Cancel", "Don't Save"};
        const int answer = desktop::Desktop::instance().runAlert(std::move(alert));
        if (answer == 2) {
            rt.lastError = "closing cancelled";
            return false;
        }
        if (answer != 3 && !saveFrontDocument(rt, std::nullopt)) return false;
    }
    rt.docs.erase(id);
    rt.windowOrder.erase(std::remove(rt.windowOrder.begin(), rt.windowOrder.end(), id), rt.windowOrder.end());
    rt.note("close document " + std::to_string(id));
    rt.redrawPending = !rt.windowOrder.empty();
    rt.flushRedraw();
    return true;
}

bool Simulator::setCurrent(XTDocID doc) {
    Runtime& rt = runtime();
    if (!rt.beginAction("window to front")) return false;
    if (rt.documentByID(doc) == nullptr) return false;
    if (doc != rt.currentID()) {
        rt.bringToFront(doc);
        rt.note("document " + std::to_string(doc) + " to the front");
        rt.redrawPending = true;
        rt.flushRedraw();
    }
    return true;
}

XTDocID Simulator::currentID() const noexcept { return runtime_->currentID(); }
Document* Simulator::current() noexcept { return runtime_->currentDocument(); }
Document* Simulator::document(XTDocID doc) noexcept { return runtime_->documentByID(doc); }

std::vector<XTDocID> Simulator::documentIDs() const {
    std::vector<XTDocID> ids;
    for (const auto& [id, entry] : runtime_->docs) ids.push_back(id);
    return ids;
}

const std::string& Simulator::lastError() const noexcept { return runtime_->lastError; }

bool Simulator::selectBox(XTBoxID box) {
    Runtime& rt = runtime();
    if (!rt.beginAction("select")) return false;
    Document* doc = rt.currentDocument();
    if (doc == nullptr || (box != 0 && doc->findBox(box) == nullptr)) return false;
    doc->setCurrentBox(box);
    doc->setSelection(box != 0 ? std::vector<BoxId>{box} : std::vector<BoxId>{});
    rt.note(box != 0 ? "select box " + std::to_string(box) : std::string("deselect all"));
    return true;
}

bool Simulator::gotoPage(int page) {
    Runtime& rt = runtime();
    if (!rt.beginAction("go to page")) return false;
    Document* doc = rt.currentDocument();
    if (doc == nullptr || doc->page(page) == nullptr || !doc->setCurrentPage(page)) return false;
    doc->setShowMaster(0);
    doc->view.originV = 0.0;
    doc->view.originH = 0.0;
    rt.note("page " + std::to_string(page));
    rt.redrawPending = true;
    rt.flushRedraw();
    return true;
}

bool Simulator::scroll(double dh, double dv) {
    Runtime& rt = runtime();
    if (!rt.beginAction("scroll")) return false;
    Document* doc = rt.currentDocument();
    if (doc == nullptr) return false;
    doc->view.originH += dh;
    doc->view.originV += dv;
    rt.note("scroll by " + pointsText(dh) + "," + pointsText(dv) + " to origin " + pointsText(doc->view.originH) + "," +
            pointsText(doc->view.originV));
    rt.redrawPending = true;
    rt.flushRedraw();
    return true;
}

bool Simulator::setViewScale(Fixed scale) {
    Runtime& rt = runtime();
    if (!rt.beginAction("view scale")) return false;
    Document* doc = rt.currentDocument();
    if (doc == nullptr || scale <= 0) return false;
    doc->view.scale = scale;
    rt.note("view scale " + pointsText(fromFixed(scale) * 100.0) + "%");
    rt.redrawPending = true;
    rt.flushRedraw();
    return true;
}

}  // namespace hostsim
