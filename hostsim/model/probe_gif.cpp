// GIF, read directly: the logical screen, then every block up to the
// trailer, so that a file cut anywhere fails.
#include "probe_formats.h"
#include "status.h"

#include <cstring>

namespace hostsim::probe {

namespace {

constexpr std::int64_t kScreenSize = 13;  // signature, screen width and height, flags, background, aspect
constexpr int kMaxBlocks = 10'000'000;    // a guard against files of endless empty blocks

std::int64_t colorTableSize(unsigned flags) { return (flags & 0x80) ? 3 * (std::int64_t{2} << (flags & 7)) : 0; }

// Skips a chain of data sub-blocks ending in a zero-length block.
bool skipSubBlocks(FileReader& file, std::int64_t& pos) {
    for (int count = 0; count < kMaxBlocks; ++count) {
        unsigned char length = 0;
        if (!file.readExact(pos, &length, 1)) return false;
        pos += 1 + length;
        if (length == 0) return true;
        if (pos > file.size()) return false;
    }
    return false;
}

}  // namespace

int readGIF(FileReader& file, Picture& picture, std::string& message) {
    unsigned char screen[kScreenSize];
    if (!file.readExact(0, screen, sizeof screen)) {
        message = "header cut short";
        return kErrDamagedPicture;
    }
    const std::uint16_t width = readLE16(screen + 6);
    const std::uint16_t height = readLE16(screen + 8);
    if (width == 0 || height == 0) {
        message = "no screen size";
        return kErrDamagedPicture;
    }
    std::int64_t pos = kScreenSize + colorTableSize(screen[10]);
    int images = 0;
    for (int count = 0; count < kMaxBlocks; ++count) {
        unsigned char kind = 0;
        if (!file.readExact(pos, &kind, 1)) {
            message = "cut short before the trailer";
            return kErrDamagedPicture;
        }
        ++pos;
        if (kind == 0x3B) {  // trailer
            if (images == 0) {
                message = "no image";
                return kErrDamagedPicture;
            }
            picture.colorSpace = kColorIndexed;
            picture.pixelWidth = width;
            picture.pixelHeight = height;
            picture.resolutionH = picture.resolutionV = kDefaultResolution;
            return kNoErr;
        }
        if (kind == 0x21) {  // extension: label, then sub-blocks
            ++pos;
            if (!skipSubBlocks(file, pos)) {
                message = "extension cut short";
                return kErrDamagedPicture;
            }
            continue;
        }
        if (kind == 0x2C) {  // image descriptor, local colour table, LZW code size, data
            unsigned char descriptor[9];
            if (!file.readExact(pos, descriptor, sizeof descriptor)) {
                message = "image descriptor cut short";
                return kErrDamagedPicture;
            }
            pos += static_cast<std::int64_t>(sizeof descriptor) + colorTableSize(descriptor[8]) + 1;
            if (!skipSubBlocks(file, pos)) {
                message = "image data cut short";
                return kErrDamagedPicture;
            }
            ++images;
            continue;
        }
        message = "unknown block " + std::to_string(kind) + " at byte " + std::to_string(pos - 1);
        return kErrDamagedPicture;
    }
    message = "too many blocks";
    return kErrDamagedPicture;
}

}  // namespace hostsim::probe
