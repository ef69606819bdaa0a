// One small interface over the platform's drag data and clipboard: the file
// path of a dragged item, and text put on a pasteboard. An object made from a
// drag borrows the drag's pasteboard; one made from a name owns its
// reference and gives it back when it goes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/pasteboard.h"
#include "util/bounded.h"

namespace lumbrel {

class MyPasteboard {
public:
    // Borrows the pasteboard of a drag in progress (none when there is no
    // such drag).
    explicit MyPasteboard(platform::DragRef drag) noexcept;
    // Creates or opens the named pasteboard ("com.apple.pasteboard.clipboard"
    // is the general clipboard).
    explicit MyPasteboard(const char* name) noexcept;
    ~MyPasteboard();
    MyPasteboard(const MyPasteboard&) = delete;
    MyPasteboard& operator=(const MyPasteboard&) = delete;

    // The POSIX path of the file whose URL item `index` (from 1) carries as
    // "public.file-url": true and the path in `outPath` (when given; at most
    // outSize - 1 bytes, never cut: a path that does not fit answers false).
    // False when the item, its URL or the file is missing, or when the URL
    // is 1024 bytes or longer.
    bool getPath(int index, char* outPath = nullptr, std::size_t outSize = kPathSize) const noexcept;

    // Number of items (on Windows: of files in a drag's file list); -1
    // without a valid pasteboard.
    int count() const noexcept;

    // Puts the text's bytes (without the terminating zero) as the
    // "public.utf8-plain-text" of item 1. 0, or -1 when they cannot be put.
    int addString(const char* text) noexcept;

    // Removes every item. 0, or -1 without a valid pasteboard.
    int clear() noexcept;

    platform::PasteboardRef ref() const noexcept { return ref_; }
    bool owned() const noexcept { return owned_ != 0; }

private:
    platform::PasteboardRef ref_ = platform::PasteboardRef::None;
    std::uint8_t owned_ = 0;
};

}  // namespace lumbrel
