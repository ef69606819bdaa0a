// A high-to-low swap over a document of 10,000 picture boxes, over a small
// host of this program's own (box chains by arithmetic, imports that only
// record the new path) and a file system of listed paths that counts every
// existence check. Every fourth picture has its low-resolution twin under
// the third entry of the list, the others none, so most boxes walk the
// whole list.
//
// Figures: the existence checks per box against the bound of two per entry
// of the list (each entry tries the appended and the replaced form), and the
// time of the swap as a ratio to one walk over the boxes reading each path.
#include "host/xt_enumerate.h"
#include "host/xt_groups.h"
#include "host/xt_pictures.h"
#include "swap/swap_run.h"

#include <benchmark/benchmark.h>

#include "ratio_reporter.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kBoxes = 10000;
constexpr int kBoxesPerSpread = 100;
constexpr const char* kLoResList = ".lay;.low;.small;.eps";
constexpr int kEntries = 4;

struct Document {
    std::vector<std::string> paths;
    long imports = 0;
};
Document gDoc;
std::unordered_set<std::string> gFiles;
long gChecks = 0;

bool listedFile(const char* path) {
    ++gChecks;
    return gFiles.count(path) != 0;
}

void resetDocument() {
    gDoc.paths.clear();
    gDoc.imports = 0;
    for (int n = 0; n < kBoxes; ++n) {
        char path[96];
        std::snprintf(path, sizeof path, "/Volumes/Job/Links/img_%05d.tif", n);
        gDoc.paths.emplace_back(path);
    }
}

void makeFiles() {
    for (int n = 0; n < kBoxes; n += 4) {
        char path[96];
        std::snprintf(path, sizeof path, "/Volumes/Job/Links/img_%05d.small", n);
        gFiles.insert(path);
    }
}

XTDocID curDocID() { return 1; }
std::int16_t numSpreads() { return static_cast<std::int16_t>(kBoxes / kBoxesPerSpread); }
XTBoxID firstBox(std::int16_t spread) { return spread >= 1 && spread <= numSpreads() ? (spread - 1) * kBoxesPerSpread + 1 : 0; }
XTBoxID nextBox(XTBoxID box) { return box % kBoxesPerSpread == 0 || box >= kBoxes ? 0 : box + 1; }
std::uint8_t isPictureBox(XTBoxID box) { return box >= 1 && box <= kBoxes ? 1 : 0; }
std::int32_t picturePath(XTBoxID box, char* buffer, std::int32_t size) {
    const std::string& path = gDoc.paths[static_cast<std::size_t>(box - 1)];
    const auto length = static_cast<std::int32_t>(path.size());
    if (length < size) std::memcpy(buffer, path.c_str(), path.size() + 1);
    return length;
}
XTError importPicture(XTBoxID box, const char* path) {
    gDoc.paths[static_cast<std::size_t>(box - 1)] = path;
    ++gDoc.imports;
    return 0;
}

void bindHost() {
    lumbrel::gXtDoc.curDocID = curDocID;
    lumbrel::gXtSpread.numSpreads = numSpreads;
    lumbrel::gXtBox.firstBox = firstBox;
    lumbrel::gXtBox.nextBox = nextBox;
    lumbrel::gXtBox.isPictureBox = isPictureBox;
    lumbrel::gXtPicture.picturePath = picturePath;
    lumbrel::gXtImport.importPicture = importPicture;
}

double gChecksPerBox = 0.0;

void BM_Swap10k(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        resetDocument();
        gChecks = 0;
        lumbrel::SwapOptions options;
        options.direction = lumbrel::SwapDirection::HiToLo;
        options.rules.loRes = lumbrel::parseExtensionList(kLoResList);
        options.rules.sameFolder = true;
        state.ResumeTiming();
        lumbrel::swapPictures(options, 0, listedFile);
        if (options.swapCount != kBoxes / 4) state.SkipWithError("not every twin was found");
    }
    gChecksPerBox = static_cast<double>(gChecks) / kBoxes;
    state.counters["checks/box"] = gChecksPerBox;
}

bool readPath(XTBoxID box, std::intptr_t data) {
    char path[lumbrel::kPathSize];
    lumbrel::XTGetBoxPath(box, path, sizeof path);
    *reinterpret_cast<std::size_t*>(data) += std::strlen(path);
    return true;
}

void BM_ReadPaths10k(benchmark::State& state) {
    resetDocument();
    for (auto _ : state) {
        std::size_t bytes = 0;
        lumbrel::xt_enumpictboxes(lumbrel::kFirstSpread, lumbrel::kAllSpreads, readPath, nullptr,
                                  reinterpret_cast<std::intptr_t>(&bytes));
        benchmark::DoNotOptimize(bytes);
    }
}

BENCHMARK(BM_ReadPaths10k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Swap10k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bindHost();
    makeFiles();
    lumbrel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%d boxes, %d entries in the low-resolution list \"%s\"\n", kBoxes, kEntries, kLoResList);
    std::printf("  existence checks per box = %.2f (bound: %d, two per entry)\n", gChecksPerBox, 2 * kEntries);
    reporter.printRatio("BM_Swap10k", "BM_ReadPaths10k", "(one walk reading every path)");
    benchmark::Shutdown();
    return 0;
}
