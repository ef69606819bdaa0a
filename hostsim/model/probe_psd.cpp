// Photoshop documents (PSD, and PSB with 64-bit section lengths), read
// directly: the header, the section lengths, the ResolutionInfo resource and
// the size of the merged image data, each checked against the file size.
#include "probe_formats.h"
#include "status.h"

#include <array>
#include <cstring>
#include <vector>

namespace hostsim::probe {

namespace {

constexpr std::size_t kHeaderSize = 26;
constexpr std::uint16_t kResolutionInfo = 0x03ED;
constexpr std::size_t kMaxResources = 1'000'000;  // a guard against endless tiny blocks

enum : std::uint16_t {
    kModeBitmap = 0,
    kModeGray = 1,
    kModeIndexed = 2,
    kModeRGB = 3,
    kModeCMYK = 4,
    kModeMultichannel = 7,
    kModeDuotone = 8,
    kModeLab = 9,
};

bool colorOfMode(std::uint16_t mode, FourCC& color) {
    switch (mode) {
    case kModeBitmap: color = kColorBitmap; return true;
    case kModeGray:
    case kModeDuotone: color = kColorGray; return true;
    case kModeIndexed: color = kColorIndexed; return true;
    case kModeRGB: color = kColorRGB; return true;
    case kModeCMYK: color = kColorCMYK; return true;
    case kModeLab: color = kColorLab; return true;
    case kModeMultichannel: color = kColorNone; return true;
    default: return false;
    }
}

// Reads a length field of 4 (or 8) bytes at pos and checks that the section
// it announces ends inside the file; moves pos past the section.
bool skipSection(FileReader& file, std::int64_t& pos, bool wide, std::int64_t* sectionStart = nullptr,
                 std::uint64_t* sectionLength = nullptr) {
    unsigned char bytes[8];
    const std::size_t width = wide ? 8 : 4;
    if (!file.readExact(pos, bytes, width)) return false;
    const std::uint64_t length = wide ? readBE64(bytes) : readBE32(bytes);
    pos += static_cast<std::int64_t>(width);
    if (length > static_cast<std::uint64_t>(file.size() - pos)) return false;
    if (sectionStart) *sectionStart = pos;
    if (sectionLength) *sectionLength = length;
    pos += static_cast<std::int64_t>(length);
    return true;
}

// Walks the image resource blocks looking for ResolutionInfo.
void readResolution(FileReader& file, std::int64_t start, std::uint64_t length, Picture& picture) {
    const std::int64_t end = start + static_cast<std::int64_t>(length);
    std::int64_t pos = start;
    for (std::size_t count = 0; count < kMaxResources && pos + 7 <= end; ++count) {
        unsigned char block[7];
        if (!file.readExact(pos, block, sizeof block)) return;
        const std::uint16_t id = readBE16(block + 4);
        // Pascal name: length byte plus text, padded to an even size.
        std::int64_t namedSize = 1 + block[6];
        namedSize += namedSize % 2;
        pos += 6 + namedSize;
        unsigned char sizeBytes[4];
        if (pos + 4 > end || !file.readExact(pos, sizeBytes, 4)) return;
        const std::uint32_t dataSize = readBE32(sizeBytes);
        pos += 4;
        if (dataSize > static_cast<std::uint64_t>(end - pos)) return;
        if (id == kResolutionInfo && dataSize >= 16) {
            unsigned char info[16];
            if (!file.readExact(pos, info, sizeof info)) return;
            // Stored in pixels per inch whatever unit Photoshop displays.
            picture.resolutionH = readBE32(info) / 65536.0;
            picture.resolutionV = readBE32(info + 8) / 65536.0;
            return;
        }
        pos += dataSize + dataSize % 2;
    }
}

// The merged image data: a compression code, then raw planes or RLE rows
// preceded by their byte counts; zip data have no size of their own.
bool imageDataFits(FileReader& file, std::int64_t pos, bool wide, std::uint64_t channels, std::uint64_t height,
                   std::uint64_t rowBytes, std::string& message) {
    unsigned char code[2];
    if (!file.readExact(pos, code, 2)) {
        message = "no image data";
        return false;
    }
    pos += 2;
    const auto remaining = static_cast<std::uint64_t>(file.size() - pos);
    const std::uint16_t compression = readBE16(code);
    if (compression == 0) {
        if (channels * height * rowBytes > remaining) {
            message = "image data cut short";
            return false;
        }
        return true;
    }
    if (compression == 1) {
        const std::uint64_t rows = channels * height;
        const std::uint64_t countSize = wide ? 4 : 2;
        if (rows * countSize > remaining) {
            message = "image data cut short";
            return false;
        }
        std::uint64_t total = rows * countSize;
        std::vector<unsigned char> chunk(64 * 1024);
        std::uint64_t done = 0;
        while (done < rows) {
            const std::uint64_t take = std::min<std::uint64_t>(rows - done, chunk.size() / countSize);
            if (!file.readExact(pos + static_cast<std::int64_t>(done * countSize), chunk.data(),
                                static_cast<std::size_t>(take * countSize))) {
                message = "image data cut short";
                return false;
            }
            for (std::uint64_t i = 0; i < take; ++i) {
                total += wide ? readBE32(chunk.data() + i * 4) : readBE16(chunk.data() + i * 2);
            }
            done += take;
        }
        if (total > remaining) {
            message = "image data cut short";
            return false;
        }
        return true;
    }
    if (compression == 2 || compression == 3) {
        if (remaining == 0) {
            message = "image data cut short";
            return false;
        }
        return true;
    }
    message = "unknown compression " + std::to_string(compression);
    return false;
}

}  // namespace

int readPSD(FileReader& file, Picture& picture, std::string& message) {
    std::array<unsigned char, kHeaderSize> header{};
    if (!file.readExact(0, header.data(), header.size())) {
        message = "header cut short";
        return kErrDamagedPicture;
    }
    const std::uint16_t version = readBE16(&header[4]);
    const std::uint16_t channels = readBE16(&header[12]);
    const std::uint32_t height = readBE32(&header[14]);
    const std::uint32_t width = readBE32(&header[18]);
    const std::uint16_t depth = readBE16(&header[22]);
    const std::uint16_t mode = readBE16(&header[24]);
    if (version != 1 && version != 2) {
        message = "unknown version " + std::to_string(version);
        return kErrUnsupportedPicture;
    }
    const bool wide = version == 2;
    const std::uint32_t maxSide = wide ? 300000 : 30000;
    if (channels < 1 || channels > 56 || width < 1 || height < 1 || width > maxSide || height > maxSide ||
        (depth != 1 && depth != 8 && depth != 16 && depth != 32)) {
        message = "header out of range (" + std::to_string(width) + " x " + std::to_string(height) + ", " +
                  std::to_string(channels) + " channels, " + std::to_string(depth) + " bits)";
        return kErrDamagedPicture;
    }
    FourCC color = kColorNone;
    if (!colorOfMode(mode, color)) {
        message = "unknown colour mode " + std::to_string(mode);
        return kErrUnsupportedPicture;
    }
    std::int64_t pos = static_cast<std::int64_t>(kHeaderSize);
    std::int64_t resources = 0;
    std::uint64_t resourcesLength = 0;
    if (!skipSection(file, pos, false) || !skipSection(file, pos, false, &resources, &resourcesLength) ||
        !skipSection(file, pos, wide)) {
        message = "section lengths point past the end of the file";
        return kErrDamagedPicture;
    }
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * depth + 7) / 8;
    if (!imageDataFits(file, pos, wide, channels, height, rowBytes, message)) return kErrDamagedPicture;

    picture.colorSpace = color;
    picture.pixelWidth = width;
    picture.pixelHeight = height;
    picture.resolutionH = picture.resolutionV = kDefaultResolution;
    readResolution(file, resources, resourcesLength, picture);
    return kNoErr;
}

}  // namespace hostsim::probe
