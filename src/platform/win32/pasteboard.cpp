// Pasteboards over what Windows has: the clipboard, holding Unicode text
// (CF_UNICODETEXT), and the dropped-file list of a drag (an HDROP: a
// DROPFILES header followed by NUL-terminated paths and one more NUL).
// The general clipboard is the one named pasteboard; its item 1 is its text
// as "public.utf8-plain-text". A drag's DragRef is the HDROP itself; item n
// is file n of the list, its path given as a "public.file-url".
#include "platform/pasteboard.h"

#include <cstring>
#include <cwchar>
#include <map>
#include <new>
#include <string>
#include <string_view>

#include "platform/win32/file_url.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

namespace lumbrel::platform {

namespace {

enum class Source { Clipboard, Drop };

struct Reference {
    Source source = Source::Clipboard;
    HDROP drop = nullptr;
    bool owner = false;        // this reference cleared the clipboard last
    DWORD ownedSince = 0;      // the clipboard's sequence number after our last change
    bool textPut = false;
};

// Drags are borrowed and never released: only the latest few are kept.
constexpr std::size_t kMaxDragReferences = 16;

struct References {
    std::map<std::uint32_t, Reference> table;
    std::uint32_t last = 0;
};

References& references() {
    static auto* all = new References();  // never destroyed: the host may call in at exit
    return *all;
}

Reference* lookup(PasteboardRef pasteboard) noexcept {
    auto& table = references().table;
    const auto found = table.find(static_cast<std::uint32_t>(pasteboard));
    return found == table.end() ? nullptr : &found->second;
}

PasteboardRef add(const Reference& reference) {
    References& all = references();
    if (++all.last == 0) ++all.last;
    all.table[all.last] = reference;
    return static_cast<PasteboardRef>(all.last);
}

// A dropped-file list whose header and strings lie inside its memory: the
// shell's own readers would walk past the end of a broken one.
bool wellFormed(HDROP drop) noexcept {
    const SIZE_T size = ::GlobalSize(drop);
    if (size < sizeof(DROPFILES)) return false;
    const auto* header = static_cast<const DROPFILES*>(::GlobalLock(drop));
    if (header == nullptr) return false;
    bool ok = header->pFiles >= sizeof(DROPFILES) && header->pFiles < size;
    if (ok) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(header);
        const std::size_t unit = header->fWide ? 2 : 1;
        const std::size_t count = (size - header->pFiles) / unit;
        bool previousZero = false;
        ok = false;
        for (std::size_t i = 0; i < count && !ok; ++i) {
            const unsigned char* at = bytes + header->pFiles + i * unit;
            const bool zero = at[0] == 0 && (unit == 1 || at[1] == 0);
            ok = zero && (previousZero || i == 0);  // the closing NUL, or an empty list
            previousZero = zero;
        }
    }
    ::GlobalUnlock(drop);
    return ok;
}

int droppedFileCount(HDROP drop) noexcept {
    if (!wellFormed(drop)) return -1;
    return static_cast<int>(::DragQueryFileW(drop, 0xFFFFFFFFU, nullptr, 0));
}

bool droppedFilePath(HDROP drop, PasteboardItemId item, std::string& utf8) {
    const int count = droppedFileCount(drop);
    if (count < 0 || item == 0 || item > static_cast<PasteboardItemId>(count)) return false;
    const auto index = static_cast<UINT>(item - 1);
    const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0) return false;
    std::wstring wide(length + 1, L'\0');
    if (::DragQueryFileW(drop, index, wide.data(), length + 1) != length) return false;
    return win32::toUtf8(wide.c_str(), length, utf8);
}

class OpenClipboard {
public:
    OpenClipboard() noexcept : open_(::OpenClipboard(nullptr) != 0) {}
    ~OpenClipboard() {
        if (open_) ::CloseClipboard();
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    bool open() const noexcept { return open_; }

private:
    bool open_;
};

bool clipboardText(std::string& utf8) {
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
    const OpenClipboard clipboard;
    if (!clipboard.open()) return false;
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return false;
    const SIZE_T units = ::GlobalSize(data) / sizeof(wchar_t);
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (text == nullptr) return false;
    const bool ok = win32::toUtf8(text, ::wcsnlen(text, units), utf8);
    ::GlobalUnlock(data);
    return ok;
}

bool ownsClipboard(const Reference& reference) noexcept {
    return reference.owner && reference.ownedSince == ::GetClipboardSequenceNumber();
}

// Open, empty, a movable block of the text in UTF-16 with its zero, set as
// CF_UNICODETEXT, close.
bool putClipboardText(const std::wstring& text) noexcept {
    const OpenClipboard clipboard;
    if (!clipboard.open() || !::EmptyClipboard()) return false;
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr) return false;
    void* at = ::GlobalLock(block);
    if (at == nullptr) {
        ::GlobalFree(block);
        return false;
    }
    std::memcpy(at, text.c_str(), bytes);
    ::GlobalUnlock(block);
    if (::SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        ::GlobalFree(block);  // still ours when the clipboard did not take it
        return false;
    }
    return true;
}

}  // namespace

// Only the general clipboard exists under a name: Windows keeps no others.
PasteboardRef createPasteboard(const char* name) noexcept {
    try {
        if (name == nullptr || std::strcmp(name, kClipboardPasteboardName) != 0) return PasteboardRef::None;
        return add(Reference{});
    } catch (...) {
        return PasteboardRef::None;
    }
}

PasteboardRef dragPasteboard(DragRef drag) noexcept {
    try {
        const auto drop = reinterpret_cast<HDROP>(static_cast<std::uintptr_t>(drag));
        if (drop == nullptr || droppedFileCount(drop) < 0) return PasteboardRef::None;
        auto& table = references().table;
        std::size_t drags = 0;
        for (auto& [id, reference] : table) {
            if (reference.source != Source::Drop) continue;
            if (reference.drop == drop) return static_cast<PasteboardRef>(id);
            ++drags;
        }
        if (drags >= kMaxDragReferences) {
            for (auto it = table.begin(); it != table.end(); ++it) {
                if (it->second.source == Source::Drop) {
                    table.erase(it);  // the oldest drag is long over
                    break;
                }
            }
        }
        Reference reference;
        reference.source = Source::Drop;
        reference.drop = drop;
        return add(reference);
    } catch (...) {
        return PasteboardRef::None;
    }
}

void releasePasteboard(PasteboardRef pasteboard) noexcept {
    const Reference* reference = lookup(pasteboard);
    if (reference == nullptr || reference->source == Source::Drop) return;
    references().table.erase(static_cast<std::uint32_t>(pasteboard));
}

int pasteboardItemCount(PasteboardRef pasteboard) noexcept {
    const Reference* reference = lookup(pasteboard);
    if (reference == nullptr) return -1;
    if (reference->source == Source::Drop) return droppedFileCount(reference->drop);
    return ::IsClipboardFormatAvailable(CF_UNICODETEXT) ? 1 : 0;
}

PasteboardItemId pasteboardItemIdentifier(PasteboardRef pasteboard, int index) noexcept {
    const int count = pasteboardItemCount(pasteboard);
    return index >= 1 && index <= count ? static_cast<PasteboardItemId>(index) : 0;
}

std::ptrdiff_t pasteboardCopyFlavorData(PasteboardRef pasteboard, PasteboardItemId item, const char* flavor,
                                        void* buffer, std::size_t capacity) noexcept {
    try {
        const Reference* reference = lookup(pasteboard);
        if (reference == nullptr || flavor == nullptr || item == 0) return -1;
        std::string data;
        if (reference->source == Source::Drop) {
            std::string path;
            if (std::strcmp(flavor, kFlavorFileUrl) != 0 || !droppedFilePath(reference->drop, item, path)) return -1;
            data = win32::fileUrlFromPath(path);
        } else {
            if (item != 1 || std::strcmp(flavor, kFlavorUtf8Text) != 0 || !clipboardText(data)) return -1;
        }
        if (buffer != nullptr && !data.empty() && data.size() <= capacity) std::memcpy(buffer, data.data(), data.size());
        return static_cast<std::ptrdiff_t>(data.size());
    } catch (...) {
        return -1;
    }
}

int clearPasteboard(PasteboardRef pasteboard) noexcept {
    Reference* reference = lookup(pasteboard);
    if (reference == nullptr || reference->source == Source::Drop) return -1;
    {
        const OpenClipboard clipboard;
        if (!clipboard.open() || !::EmptyClipboard()) return -1;
    }
    reference->owner = true;
    reference->ownedSince = ::GetClipboardSequenceNumber();
    reference->textPut = false;
    return 0;
}

// The clipboard holds one text: item 1's UTF-8 text, put once after a clear.
int putPasteboardFlavor(PasteboardRef pasteboard, PasteboardItemId item, const char* flavor, const void* data,
                        std::size_t size) noexcept {
    try {
        Reference* reference = lookup(pasteboard);
        if (reference == nullptr || reference->source == Source::Drop || item == 0 || flavor == nullptr) return -1;
        if (data == nullptr && size != 0) return -1;
        if (!ownsClipboard(*reference) || reference->textPut) return -1;
        if (item != 1 || std::strcmp(flavor, kFlavorUtf8Text) != 0) return -1;
        const std::string utf8(static_cast<const char*>(data), size);
        if (utf8.find('\0') != std::string::npos) return -1;  // the clipboard's text ends at its first zero
        std::wstring wide;
        if (!win32::toWide(utf8.c_str(), wide) || !putClipboardText(wide)) return -1;
        reference->ownedSince = ::GetClipboardSequenceNumber();
        reference->textPut = true;
        return 0;
    } catch (...) {
        return -1;
    }
}

std::ptrdiff_t resolveFileUrl(const char* url, std::size_t urlSize, char* path, std::size_t pathCapacity) noexcept {
    try {
        if (url == nullptr || path == nullptr || pathCapacity == 0) return -1;
        std::string resolved;
        if (!win32::pathFromFileUrl(std::string_view(url, urlSize), resolved, pathCapacity - 1)) return -1;
        std::wstring wide;
        if (!win32::toWide(resolved.c_str(), wide) || ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return -1;
        }
        std::memcpy(path, resolved.c_str(), resolved.size() + 1);
        return static_cast<std::ptrdiff_t>(resolved.size());
    } catch (...) {
        return -1;
    }
}

}  // namespace lumbrel::platform
