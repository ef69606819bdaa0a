#include "drop/my_pasteboard.h"

#include <cstring>

namespace lumbrel {

namespace {
constexpr std::size_t kFileUrlBufferSize = 1024;
constexpr platform::PasteboardItemId kFirstItem = 1;
}  // namespace

MyPasteboard::MyPasteboard(platform::DragRef drag) noexcept : ref_(platform::dragPasteboard(drag)), owned_(0) {}

MyPasteboard::MyPasteboard(const char* name) noexcept : ref_(platform::createPasteboard(name)), owned_(1) {}

MyPasteboard::~MyPasteboard() {
    if (owned_ != 0) platform::releasePasteboard(ref_);
}

bool MyPasteboard::getPath(int index, char* outPath, std::size_t outSize) const noexcept {
    const platform::PasteboardItemId item = platform::pasteboardItemIdentifier(ref_, index);
    if (item == 0) return false;

    // Copied only when shorter than the buffer, so the URL stays terminated.
    char url[kFileUrlBufferSize] = {};
    const std::ptrdiff_t size =
        platform::pasteboardCopyFlavorData(ref_, item, platform::kFlavorFileUrl, url, sizeof url - 1);
    if (size < 0 || static_cast<std::size_t>(size) >= sizeof url) return false;

    char path[kPathSize] = {};
    if (platform::resolveFileUrl(url, static_cast<std::size_t>(size), path, sizeof path) < 0) return false;
    if (outPath != nullptr) {
        if (outSize == 0 || std::strlen(path) >= outSize) return false;
        copyBounded(outPath, outSize, path);
    }
    return true;
}

int MyPasteboard::count() const noexcept {
    return platform::pasteboardItemCount(ref_);
}

int MyPasteboard::addString(const char* text) noexcept {
    if (text == nullptr) return -1;
    return platform::putPasteboardFlavor(ref_, kFirstItem, platform::kFlavorUtf8Text, text, std::strlen(text));
}

int MyPasteboard::clear() noexcept {
    return platform::clearPasteboard(ref_);
}

}  // namespace lumbrel
