// Pasteboards: the clipboard, other named pasteboards and the data of a drag.
// A pasteboard holds items numbered from 1; every item has an identifier and a
// set of flavours, each a type name (a uniform type identifier such as
// "public.file-url") with a block of bytes.
//
// References are counted per client: every successful `createPasteboard`
// answers a new reference that the caller owns and must give back with
// `releasePasteboard`. The pasteboard itself, and what it holds, outlives the
// reference (named pasteboards are kept by the system). The pasteboard of a
// drag is only borrowed: it lives as long as the drag, and is never released
// by the module.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel::platform {

// A reference to a pasteboard; None is no pasteboard. A released reference,
// or the borrowed one of a finished drag, is no longer valid: operations on it
// fail as they do on None.
enum class PasteboardRef : std::uint32_t { None = 0 };

// The host's reference to a drag in progress, as the host hands it over. On
// Windows it is the drag's HDROP, the shell's dropped-file list (DROPFILES and
// its paths): item n of its pasteboard is file n, carried as a file URL. The
// Windows clipboard is the only named pasteboard there ("…clipboard"); it
// holds one item, its Unicode text, as UTF-8 text.
enum class DragRef : std::uintptr_t { None = 0 };

// Identifier of an item; 0 is no item.
using PasteboardItemId = std::uintptr_t;

inline constexpr const char* kClipboardPasteboardName = "com.apple.pasteboard.clipboard";
inline constexpr const char* kFlavorFileUrl = "public.file-url";
inline constexpr const char* kFlavorUtf8Text = "public.utf8-plain-text";

// Creates the pasteboard of that name, or opens it when it exists; a null or
// empty name makes a new pasteboard of a unique name. The caller owns the
// answer. None when it cannot be made (out of memory).
PasteboardRef createPasteboard(const char* name) noexcept;

// The pasteboard of the drag `drag`, borrowed: do not release it. None when
// that drag is not in progress.
PasteboardRef dragPasteboard(DragRef drag) noexcept;

// Gives back an owned reference. Releasing None does nothing; releasing a
// borrowed or already released reference is a fault the system ignores.
void releasePasteboard(PasteboardRef pasteboard) noexcept;

// Number of items, or -1 when the reference is not valid.
int pasteboardItemCount(PasteboardRef pasteboard) noexcept;

// Identifier of item `index` (from 1), or 0 when there is no such item.
PasteboardItemId pasteboardItemIdentifier(PasteboardRef pasteboard, int index) noexcept;

// Size in bytes of the flavour `flavor` of item `item`, or -1 when the item or
// the flavour is missing. The data are copied into `buffer` only when they fit
// in `capacity` bytes; nothing is written otherwise (so a caller that needs a
// terminating zero passes one byte less than its buffer holds).
std::ptrdiff_t pasteboardCopyFlavorData(PasteboardRef pasteboard, PasteboardItemId item, const char* flavor,
                                        void* buffer, std::size_t capacity) noexcept;

// Removes every item and makes this reference the pasteboard's owner, the
// only one that may put data on it until another client clears it. 0, or -1
// when the reference is not valid or is a drag's (the drag source owns it).
int clearPasteboard(PasteboardRef pasteboard) noexcept;

// Puts `size` bytes as flavour `flavor` of the item with identifier `item`.
// An item that does not exist yet is added after the others (put on item 1 of
// a cleared pasteboard to make its first item). 0, or -1 when the reference is
// not valid or not the owner (clear first), `item` is 0, the item has that
// flavour already (a flavour is put once), or the data cannot be stored.
int putPasteboardFlavor(PasteboardRef pasteboard, PasteboardItemId item, const char* flavor, const void* data,
                        std::size_t size) noexcept;

// Turns the bytes of a file URL ("file:///…" or "file://localhost/…",
// percent-encoded) into the path of an existing file or folder (POSIX; on
// Windows "C:\…", or "\\server\…" for "file://server/…"), written
// with its terminating zero into `path`. Answers the path's length, or -1 when
// the URL is not a file URL, holds an invalid escape or a zero byte, names
// nothing that exists, or when the path and its zero do not fit in
// `pathCapacity` (then nothing is written). The path's bytes are kept as they
// are (no Unicode normalisation); a trailing "/" of a folder URL is dropped.
std::ptrdiff_t resolveFileUrl(const char* url, std::size_t urlSize, char* path, std::size_t pathCapacity) noexcept;

}  // namespace lumbrel::platform
