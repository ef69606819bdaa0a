// EPS header comments, read directly: at most 64 KiB from the start of the
// PostScript part (and as much from its end for "(atend)" comments).
#include "probe_formats.h"
#include "status.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace hostsim::probe {

namespace {

constexpr std::size_t kScanSize = 65536;
constexpr std::int64_t kBinaryHeaderSize = 30;  // magic, six 32-bit offsets and lengths, checksum

struct BoundingBox {
    double llx = 0, lly = 0, urx = 0, ury = 0;
};

struct ImageData {
    double width = 0, height = 0, bits = 0, mode = 0;
};

struct Comments {
    std::optional<BoundingBox> box;
    bool boxAtEnd = false;
    std::optional<std::vector<std::string>> processColors;
    bool colorsAtEnd = false;
};

// Lines of PostScript text end in CR, LF or CR LF.
class Lines {
public:
    explicit Lines(std::string_view text) : rest_(text) {}
    bool next(std::string_view& line) {
        if (rest_.empty()) return false;
        const std::size_t end = rest_.find_first_of("\r\n");
        line = rest_.substr(0, end);
        if (end == std::string_view::npos) {
            rest_ = {};
        } else {
            std::size_t skip = end + 1;
            if (rest_[end] == '\r' && skip < rest_.size() && rest_[skip] == '\n') ++skip;
            rest_.remove_prefix(skip);
        }
        return true;
    }

private:
    std::string_view rest_;
};

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool takePrefix(std::string_view& line, std::string_view prefix) {
    if (!line.starts_with(prefix)) return false;
    line.remove_prefix(prefix.size());
    return true;
}

// Up to `count` numbers separated by blanks; fewer when the text ends or holds something else.
std::vector<double> numbers(std::string_view text, std::size_t count) {
    std::vector<double> values;
    text = trim(text);
    while (!text.empty() && values.size() < count) {
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || !std::isfinite(value)) break;
        values.push_back(value);
        text = trim(text.substr(static_cast<std::size_t>(end - text.data())));
    }
    return values;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> list;
    text = trim(text);
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(" \t");
        list.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : trim(text.substr(end));
    }
    return list;
}

std::optional<BoundingBox> parseBox(std::string_view rest) {
    const auto n = numbers(rest, 4);
    if (n.size() != 4) return std::nullopt;
    return BoundingBox{std::min(n[0], n[2]), std::min(n[1], n[3]), std::max(n[0], n[2]), std::max(n[1], n[3])};
}

// Reads DSC comments: in the header (stop at %%EndComments or the first
// line that is no comment) or, with `all`, every line (for the trailer).
void readComments(std::string_view text, bool all, Comments& out) {
    Lines lines(text);
    std::string_view line;
    bool first = true;
    bool inColors = false;
    while (lines.next(line)) {
        if (first && !all) {  // the %!PS-Adobe line
            first = false;
            continue;
        }
        if (!all && (line.starts_with("%%EndComments") || !line.starts_with("%"))) break;
        std::string_view rest = line;
        if (inColors && takePrefix(rest, "%%+")) {
            for (auto& word : words(rest)) out.processColors->push_back(std::move(word));
            continue;
        }
        inColors = false;
        if (takePrefix(rest, "%%BoundingBox:")) {
            if (trim(rest) == "(atend)") {
                out.boxAtEnd = true;
            } else if (auto box = parseBox(rest)) {
                out.box = box;
            }
        } else if (takePrefix(rest, "%%DocumentProcessColors:")) {
            if (trim(rest) == "(atend)") {
                out.colorsAtEnd = true;
            } else {
                out.processColors = words(rest);
                inColors = true;
            }
        }
    }
}

std::optional<ImageData> findImageData(std::string_view text) {
    Lines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        std::string_view rest = line;
        if (!takePrefix(rest, "%ImageData:")) continue;
        const auto n = numbers(rest, 4);
        if (n.size() == 4) return ImageData{n[0], n[1], n[2], n[3]};
        return std::nullopt;
    }
    return std::nullopt;
}

FourCC colorFromImageData(const ImageData& data) {
    if (data.mode == 1) return data.bits == 1 ? kColorBitmap : kColorGray;
    if (data.mode == 2) return kColorLab;
    if (data.mode == 3) return kColorRGB;
    if (data.mode == 4) return kColorCMYK;
    return kColorNone;
}

FourCC colorFromProcessColors(const std::vector<std::string>& colors) {
    bool black = false;
    for (const std::string& name : colors) {
        if (name == "Cyan" || name == "Magenta" || name == "Yellow") return kColorCMYK;
        if (name == "Black") black = true;
    }
    return black ? kColorGray : kColorNone;
}

std::uint32_t roundedPixels(double value) {
    if (!(value > 0)) return 0;
    return static_cast<std::uint32_t>(std::min(std::round(value), double{std::numeric_limits<std::uint32_t>::max()}));
}

}  // namespace

int readEPS(FileReader& file, Picture& picture, std::string& message) {
    unsigned char head[kBinaryHeaderSize] = {};
    const std::size_t got = file.readAt(0, head, sizeof head);
    std::int64_t start = 0;
    std::int64_t length = file.size();
    const bool binary = got >= 4 && head[0] == 0xC5 && head[1] == 0xD0 && head[2] == 0xD3 && head[3] == 0xC6;
    if (binary) {
        if (got < sizeof head) {
            message = "binary EPS header cut short";
            return kErrDamagedPicture;
        }
        start = readLE32(head + 4);
        length = readLE32(head + 8);
        if (start < kBinaryHeaderSize || length == 0 || start > file.size() || length > file.size() - start) {
            message = "binary EPS header points past the end of the file (PostScript at " + std::to_string(start) +
                      ", " + std::to_string(length) + " bytes; the file has " + std::to_string(file.size()) + ")";
            return kErrDamagedPicture;
        }
    }
    const auto scan = static_cast<std::size_t>(std::min<std::int64_t>(length, kScanSize));
    const std::string text = file.readString(start, scan);
    if (!text.starts_with("%!PS")) {
        message = binary ? "no PostScript at offset " + std::to_string(start) : "not an EPS file";
        return binary ? kErrDamagedPicture : kErrUnknownFormat;
    }
    Comments comments;
    readComments(text, false, comments);
    if ((comments.boxAtEnd && !comments.box) || comments.colorsAtEnd) {
        const std::int64_t tailStart = start + length - static_cast<std::int64_t>(scan);
        Comments trailer;
        readComments(file.readString(tailStart, scan), true, trailer);
        if (comments.boxAtEnd && trailer.box) comments.box = trailer.box;
        if (comments.colorsAtEnd && trailer.processColors) comments.processColors = trailer.processColors;
    }
    if (!comments.box) {
        message = comments.boxAtEnd ? "%%BoundingBox: (atend) but none at the end" : "no %%BoundingBox";
        return kErrDamagedPicture;
    }
    const BoundingBox box = *comments.box;
    const double width = box.urx - box.llx;
    const double height = box.ury - box.lly;
    if (!(width > 0) || !(height > 0)) {
        message = "empty %%BoundingBox";
        return kErrDamagedPicture;
    }
    picture.bounds = Rect{0, 0, height, width};
    picture.colorSpace = kColorCMYK;  // unless the file says otherwise
    if (comments.processColors) {
        if (const FourCC fromColors = colorFromProcessColors(*comments.processColors)) picture.colorSpace = fromColors;
    }
    picture.pixelWidth = roundedPixels(width);
    picture.pixelHeight = roundedPixels(height);
    picture.resolutionH = picture.resolutionV = kDefaultResolution;
    if (const auto data = findImageData(text)) {
        if (const FourCC fromData = colorFromImageData(*data)) picture.colorSpace = fromData;
        if (data->width >= 1 && data->height >= 1) {
            picture.pixelWidth = roundedPixels(data->width);
            picture.pixelHeight = roundedPixels(data->height);
            picture.resolutionH = picture.pixelWidth / (width / 72.0);
            picture.resolutionV = picture.pixelHeight / (height / 72.0);
        }
    }
    return kNoErr;
}

}  // namespace hostsim::probe
