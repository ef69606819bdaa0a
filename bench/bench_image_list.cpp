// The sorted image list of a document of 50,000 picture boxes holding 5,000
// distinct pictures (each placed ten times), over a small host of this
// program's own (box chains by arithmetic, picture facts from tables), so the
// figures are the module's work: reading every box's path and facts, sorting
// by name, keeping each line once and writing the file.
//
// Figures, as ratios measured in the same run:
// - the whole sorted list against the literal duplicate check alone (each
//   line looked for in the packed list by walking its strings, as the plain
//   string list does): the list must be far cheaper than that check;
// - the whole sorted list against writing the same bytes to a file;
// - the list of 50,000 boxes against the list of 25,000 (goal: about 2).
// The indexed and the literal check must keep the same lines in the same
// order; the run fails otherwise.
#include "host/xt_groups.h"
#include "imagelist/image_line.h"
#include "imagelist/line_set.h"
#include "imagelist/list_layouts.h"
#include "util/string_list.h"

#include <benchmark/benchmark.h>

#include "ratio_reporter.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kBoxes = 50000;
constexpr int kHalfBoxes = 25000;
constexpr int kPictures = 5000;
constexpr int kBoxesPerSpread = 100;
constexpr std::int32_t kLineRoom = 256;

struct Document {
    int boxes = kBoxes;
    std::vector<std::string> paths;  // of box n at n - 1
};
Document gDoc;

// Picture p of box n: boxes are placed in an order unlike the names' order.
std::string picturePathOf(int n) {
    const int picture = static_cast<int>((static_cast<long>(n) * 7919) % kPictures);
    char path[96];
    std::snprintf(path, sizeof path, "/Volumes/Job/Links/%s_%04d.tif", picture % 3 == 0 ? "Bild" : "bild", picture);
    return path;
}

void resetDocument(int boxes) {
    gDoc.boxes = boxes;
    gDoc.paths.clear();
    for (int n = 0; n < boxes; ++n) gDoc.paths.push_back(picturePathOf(n));
}

XTDocID curDocID() { return 1; }
std::int16_t numSpreads() { return static_cast<std::int16_t>((gDoc.boxes + kBoxesPerSpread - 1) / kBoxesPerSpread); }
XTBoxID firstBox(std::int16_t spread) {
    const int first = (spread - 1) * kBoxesPerSpread + 1;
    return spread >= 1 && first <= gDoc.boxes ? first : 0;
}
XTBoxID nextBox(XTBoxID box) { return box % kBoxesPerSpread == 0 || box >= gDoc.boxes ? 0 : box + 1; }
std::uint8_t isPictureBox(XTBoxID box) { return box >= 1 && box <= gDoc.boxes ? 1 : 0; }
std::int32_t picturePath(XTBoxID box, char* buffer, std::int32_t size) {
    const std::string& path = gDoc.paths[static_cast<std::size_t>(box - 1)];
    const auto length = static_cast<std::int32_t>(path.size());
    if (length < size) std::memcpy(buffer, path.c_str(), path.size() + 1);
    return length;
}
OSType colorSpace(XTBoxID box) { return box % 2 == 0 ? XT_CS_CMYK : XT_CS_RGB; }
double resolution(XTBoxID) { return 300.0; }
std::int16_t status(XTBoxID, char* text, std::int32_t size) {
    if (size > 2) std::memcpy(text, "OK", 3);
    return XT_STATUS_OK;
}
XTError pictureBounds(XTBoxID, XTFixedRect* bounds) {
    *bounds = XTFixedRect{0, 0, 72 * 65536, 144 * 65536};
    return XT_NOERR;
}
std::int16_t horizontalUnit() { return XT_UNIT_MILLIMETRES; }

void bindHost() {
    lumbrel::gXtDoc.curDocID = curDocID;
    lumbrel::gXtDoc.horizontalUnit = horizontalUnit;
    lumbrel::gXtSpread.numSpreads = numSpreads;
    lumbrel::gXtBox.firstBox = firstBox;
    lumbrel::gXtBox.nextBox = nextBox;
    lumbrel::gXtBox.isPictureBox = isPictureBox;
    lumbrel::gXtPicture.picturePath = picturePath;
    lumbrel::gXtPicture.colorSpace = colorSpace;
    lumbrel::gXtPicture.resolution = resolution;
    lumbrel::gXtPicture.status = status;
    lumbrel::gXtPicture.pictureBounds = pictureBounds;
}

lumbrel::ImageListOptions listOptions() {
    lumbrel::ImageListOptions options;
    options.type = 1;
    options.imgSize = 1;
    options.sort = 1;
    return options;
}

// The lines of the sorted boxes, before duplicates are dropped.
std::vector<std::string> sortedLines() {
    std::vector<XTBoxID> boxes;
    lumbrel::sortedPictureBoxes(boxes);
    std::vector<std::string> lines;
    char line[lumbrel::kMaxImageLine + 1];
    const lumbrel::ImageListOptions options = listOptions();
    for (XTBoxID box : boxes) {
        lumbrel::buildImageLine(box, options, "", line);
        lines.emplace_back(line);
    }
    return lines;
}

std::string gIndexedResult;
std::string gLiteralResult;
std::string gWritten;

void sortedList(benchmark::State& state, int boxes) {
    resetDocument(boxes);
    const lumbrel::ImageListOptions options = listOptions();
    for (auto _ : state) {
        std::FILE* file = std::tmpfile();
        if (file == nullptr || !lumbrel::writeSortedList(file, options)) state.SkipWithError("no list");
        if (file != nullptr) {
            if (boxes == kBoxes && gWritten.empty()) {
                std::fflush(file);
                const long size = std::ftell(file);
                gWritten.resize(static_cast<std::size_t>(size));
                std::rewind(file);
                if (std::fread(gWritten.data(), 1, gWritten.size(), file) != gWritten.size()) gWritten.clear();
            }
            std::fclose(file);
        }
    }
    state.counters["boxes"] = boxes;
}

void BM_SortedList50k(benchmark::State& state) { sortedList(state, kBoxes); }
void BM_SortedList25k(benchmark::State& state) { sortedList(state, kHalfBoxes); }

// The duplicate check alone, on the lines of the 50,000 sorted boxes.
template <typename List, typename Add>
void duplicateCheck(benchmark::State& state, std::string& result, Add add) {
    resetDocument(kBoxes);
    const std::vector<std::string> lines = sortedLines();
    for (auto _ : state) {
        List list(static_cast<std::int32_t>(lines.size()) * kLineRoom);
        for (const std::string& line : lines) add(list, line.c_str());
        result.assign(list.getBuffer(), static_cast<std::size_t>(list.getUsed()));
    }
}

void BM_IndexedCheck50k(benchmark::State& state) {
    duplicateCheck<lumbrel::IndexedLineList>(state, gIndexedResult,
                                             [](lumbrel::IndexedLineList& l, const char* s) { l.append(s); });
}
void BM_LiteralCheck50k(benchmark::State& state) {
    duplicateCheck<lumbrel::CMyStringList>(state, gLiteralResult, [](lumbrel::CMyStringList& l, const char* s) {
        l.add(s, lumbrel::CMyStringList::kAppend);
    });
    if (gLiteralResult != gIndexedResult) state.SkipWithError("the literal check kept other lines");
}

void BM_WriteBytes50k(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* file = std::tmpfile();
        if (file == nullptr) {
            state.SkipWithError("no file");
            break;
        }
        std::fwrite(gWritten.data(), 1, gWritten.size(), file);
        std::fclose(file);
    }
    state.counters["bytes"] = static_cast<double>(gWritten.size());
}

BENCHMARK(BM_SortedList50k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SortedList25k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBytes50k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IndexedCheck50k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LiteralCheck50k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bindHost();
    lumbrel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%d boxes, %d distinct pictures; the list holds %zu bytes\n", kBoxes, kPictures, gWritten.size());
    reporter.printRatio("BM_SortedList50k", "BM_LiteralCheck50k", "(the literal check alone; goal: far below 1)");
    reporter.printRatio("BM_SortedList50k", "BM_WriteBytes50k", "(writing the same bytes)");
    reporter.printRatio("BM_SortedList50k", "BM_SortedList25k", "(growth 25,000 -> 50,000 boxes; goal: about 2)");
    reporter.printRatio("BM_IndexedCheck50k", "BM_LiteralCheck50k", "(indexed against literal check)");
    benchmark::Shutdown();
    return 0;
}
