// Pasteboards for the module: references counted per client, the drag's
// borrowed, and the ownership rule of the system pasteboard (only the client
// that cleared a pasteboard may put data on it, and a flavour is put once).
#include "platform/pasteboard.h"

#include <cstring>
#include <string>
#include <utility>

#include "desktop/desktop.h"
#include "desktop/file_url.h"
#include "state.h"

namespace lumbrel::platform {

namespace {

desktop::Desktop::State& state() { return desktop::Desktop::instance().state(); }

std::uint32_t idOf(PasteboardRef pasteboard) noexcept { return static_cast<std::uint32_t>(pasteboard); }

desktop::PasteboardItem* findItem(desktop::Pasteboard& pasteboard, PasteboardItemId id) noexcept {
    for (auto& item : pasteboard.items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

std::string clipboardLine(std::string_view flavor, std::string_view data) {
    if (flavor == kFlavorUtf8Text) return "clipboard " + desktop::quoteForTranscript(data);
    return "clipboard " + std::string(flavor) + " " + std::to_string(data.size()) + " bytes";
}

}  // namespace

PasteboardRef createPasteboard(const char* name) noexcept {
    try {
        auto& s = state();
        std::string chosen = name != nullptr ? name : "";
        if (chosen.empty()) chosen = "desktop.unique." + std::to_string(++s.lastUniqueName);
        const std::uint32_t reference = s.newReference(s.namedPasteboard(chosen), false);
        return static_cast<PasteboardRef>(reference);
    } catch (...) {
        return PasteboardRef::None;
    }
}

PasteboardRef dragPasteboard(DragRef drag) noexcept {
    const auto& s = state();
    if (drag == DragRef::None || s.drag == nullptr || static_cast<std::uintptr_t>(drag) != s.dragRef) {
        return PasteboardRef::None;
    }
    return static_cast<PasteboardRef>(s.dragReference);
}

void releasePasteboard(PasteboardRef pasteboard) noexcept {
    if (pasteboard == PasteboardRef::None) return;
    auto& s = state();
    const auto found = s.references.find(idOf(pasteboard));
    if (found == s.references.end() || found->second.borrowed) {
        ++s.badReleases;
        return;
    }
    s.references.erase(found);
}

int pasteboardItemCount(PasteboardRef pasteboard) noexcept {
    const desktop::Pasteboard* board = state().lookup(idOf(pasteboard));
    if (board == nullptr) return -1;
    return static_cast<int>(board->items.size());
}

PasteboardItemId pasteboardItemIdentifier(PasteboardRef pasteboard, int index) noexcept {
    const desktop::Pasteboard* board = state().lookup(idOf(pasteboard));
    if (board == nullptr || index < 1 || static_cast<std::size_t>(index) > board->items.size()) return 0;
    return board->items[static_cast<std::size_t>(index - 1)].id;
}

std::ptrdiff_t pasteboardCopyFlavorData(PasteboardRef pasteboard, PasteboardItemId item, const char* flavor,
                                        void* buffer, std::size_t capacity) noexcept {
    desktop::Pasteboard* board = state().lookup(idOf(pasteboard));
    if (board == nullptr || flavor == nullptr || item == 0) return -1;
    const desktop::PasteboardItem* found = findItem(*board, item);
    if (found == nullptr) return -1;
    const desktop::Flavor* data = found->find(flavor);
    if (data == nullptr) return -1;
    if (buffer != nullptr && data->data.size() <= capacity && !data->data.empty()) {
        std::memcpy(buffer, data->data.data(), data->data.size());
    }
    return static_cast<std::ptrdiff_t>(data->data.size());
}

int clearPasteboard(PasteboardRef pasteboard) noexcept {
    try {
        auto& s = state();
        desktop::Pasteboard* board = s.lookup(idOf(pasteboard));
        if (board == nullptr) return -1;
        if (s.references.at(idOf(pasteboard)).borrowed) return -1;  // the drag belongs to its source
        board->items.clear();
        board->owner = idOf(pasteboard);
        s.recordClipboardChange(*board, "clipboard cleared");
        return 0;
    } catch (...) {
        return -1;
    }
}

int putPasteboardFlavor(PasteboardRef pasteboard, PasteboardItemId item, const char* flavor, const void* data,
                        std::size_t size) noexcept {
    try {
        auto& s = state();
        desktop::Pasteboard* board = s.lookup(idOf(pasteboard));
        if (board == nullptr || item == 0 || flavor == nullptr || flavor[0] == '\0') return -1;
        if (data == nullptr && size != 0) return -1;
        if (board->owner != idOf(pasteboard)) return -1;  // not cleared by this client
        desktop::PasteboardItem* target = findItem(*board, item);
        if (target != nullptr && target->find(flavor) != nullptr) return -1;  // a flavour is put once

        std::string bytes(static_cast<const char*>(data), size);
        std::string line = board->isClipboard ? clipboardLine(flavor, bytes) : std::string();
        if (target == nullptr) {
            board->items.push_back({item, {}});
            target = &board->items.back();
        }
        target->flavors.push_back({flavor, std::move(bytes)});
        s.recordClipboardChange(*board, std::move(line));
        return 0;
    } catch (...) {
        return -1;
    }
}

std::ptrdiff_t resolveFileUrl(const char* url, std::size_t urlSize, char* path, std::size_t pathCapacity) noexcept {
    try {
        if (url == nullptr || path == nullptr) return -1;
        std::string resolved;
        // A path that cannot fit the caller's buffer is refused before it is decoded in full.
        const std::size_t limit = pathCapacity == 0 ? 0 : pathCapacity - 1;
        if (!desktop::pathFromFileUrl(std::string_view(url, urlSize), resolved, limit)) return -1;
        if (!desktop::pathExists(resolved.c_str())) return -1;
        std::memcpy(path, resolved.c_str(), resolved.size() + 1);
        return static_cast<std::ptrdiff_t>(resolved.size());
    } catch (...) {
        return -1;
    }
}

}  // namespace lumbrel::platform
