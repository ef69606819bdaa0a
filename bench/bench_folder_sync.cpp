// Folder synchronisation of a document of 10,000 picture boxes against a
// tree of 100,000 files in 1,000 folders, made in a scratch folder.
//
// The module's dropFolder runs over a small host of this program's own (box
// chains by arithmetic, imports that only record the new path), so the
// figures are the module's work: walking the boxes, reading each one's
// picture path, finding its file, asking for the import. The host
// simulator would add its own costs per call and read every imported file.
//
// Figures are ratios against one bare walk of the same tree (EnumFolder with
// a callback that does nothing) measured in the same run:
// - the synchronisation of all 10,000 boxes (one walk, goal at most 1.5);
// - the same with the summary after it switched on ("SyncReport": counting,
//   and asking the index for the other files of each name), goal at most 1.5
//   as well: telling an ambiguous name must not cost a second walk;
// - the same with the folder walked once per box (the literal reading), on
//   the first 200 boxes only, where it still finishes in seconds, next to
//   the indexed synchronisation of the same 200 boxes.
#include "drop/folder_sync.h"
#include "host/xt_groups.h"
#include "settings/preferences.h"
#include "util/files_paths.h"

#include <benchmark/benchmark.h>

#include "ratio_reporter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kTopFolders = 10;
constexpr int kFoldersPerTop = 99;  // 10 + 990 folders in all
constexpr int kFilesPerFolder = 100;
constexpr int kBoxes = 10000;
constexpr int kBoxesPerSpread = 100;
constexpr int kFewBoxes = 200;

// The document: box n (from 1) lies on spread (n - 1) / 100 + 1.
struct Document {
    std::vector<std::string> paths;  // picture path of box n at n - 1
    int boxes = kBoxes;
    long imports = 0;
};
Document gDoc;

XTDocID curDocID() { return 1; }
std::int16_t numSpreads() { return static_cast<std::int16_t>((gDoc.boxes + kBoxesPerSpread - 1) / kBoxesPerSpread); }
XTBoxID firstBox(std::int16_t spread) {
    const int first = (spread - 1) * kBoxesPerSpread + 1;
    return spread >= 1 && first <= gDoc.boxes ? first : 0;
}
XTBoxID nextBox(XTBoxID box) {
    return box % kBoxesPerSpread == 0 || box >= gDoc.boxes ? 0 : box + 1;
}
std::uint8_t isPictureBox(XTBoxID box) { return box >= 1 && box <= gDoc.boxes ? 1 : 0; }
void setCurBox(XTBoxID) {}
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
std::int32_t getSlugData(XTBoxID, std::int16_t, OSType, void*, std::int32_t) { return -1; }
std::int16_t numMasterPages() { return 0; }
std::int16_t curPage() { return 1; }
std::uint8_t gotoPage(std::int16_t page) { return page == 1 ? 1 : 0; }
std::uint8_t showingMaster() { return 0; }

void bindHost() {
    lumbrel::gXtDoc.curDocID = curDocID;
    lumbrel::gXtSpread.numSpreads = numSpreads;
    lumbrel::gXtBox.firstBox = firstBox;
    lumbrel::gXtBox.nextBox = nextBox;
    lumbrel::gXtBox.isPictureBox = isPictureBox;
    lumbrel::gXtBox.setCurBox = setCurBox;
    lumbrel::gXtPicture.picturePath = picturePath;
    lumbrel::gXtImport.importPicture = importPicture;
    lumbrel::gXtSlug.getSlugData = getSlugData;
    lumbrel::gXtPage.numMasterPages = numMasterPages;
    lumbrel::gXtPage.curPage = curPage;
    lumbrel::gXtPage.gotoPage = gotoPage;
    lumbrel::gXtMaster.showingMaster = showingMaster;
}

// Text joined by appending (GCC 12 at -O3 warns falsely about
// "literal" + std::string).
std::string joined(std::string head, const std::string& tail) {
    head += tail;
    return head;
}

struct Tree {
    fs::path root;
    std::vector<std::string> names;  // file names in the order made
    std::size_t items = 0;           // files and folders the walk meets

    Tree() {
        root = fs::temp_directory_path() / joined("lumbrel-bench-sync-", std::to_string(::getpid()));
        char name[64];
        for (int top = 0; top < kTopFolders; ++top) {
            const fs::path topFolder = root / joined("t", std::to_string(top));
            for (int sub = -1; sub < kFoldersPerTop; ++sub) {
                const fs::path folder = sub < 0 ? topFolder : topFolder / joined("s", std::to_string(sub));
                fs::create_directories(folder);
                ++items;
                for (int file = 0; file < kFilesPerFolder; ++file) {
                    std::snprintf(name, sizeof name, "img_%02d_%03d_%03d.tif", top, sub + 1, file);
                    const int fd = ::open((folder / name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
                    if (fd < 0) std::abort();
                    ::close(fd);
                    names.emplace_back(name);
                    ++items;
                }
            }
        }
    }
    ~Tree() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Tree& tree() {
    static Tree made;
    return made;
}

// Files spread evenly over the tree (every tenth for 10,000 boxes), every
// other one asked for in capitals, from a folder that no longer exists.
void resetDocument(int boxes) {
    const Tree& t = tree();
    const std::size_t stride = t.names.size() / static_cast<std::size_t>(boxes);
    gDoc.boxes = boxes;
    gDoc.paths.assign(static_cast<std::size_t>(boxes), std::string());
    for (int n = 0; n < boxes; ++n) {
        std::string name = t.names[static_cast<std::size_t>(n) * stride];
        if (n % 2 == 1) {
            for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
        gDoc.paths[static_cast<std::size_t>(n)] = joined("/Volumes/Old Job/Links/", name);
    }
    gDoc.imports = 0;
}

bool countItem(char*, std::intptr_t value) {
    ++*reinterpret_cast<std::size_t*>(value);
    return true;
}

void BM_BareWalk(benchmark::State& state) {
    std::size_t seen = 0;
    for (auto _ : state) {
        seen = 0;
        lumbrel::EnumFolder(tree().root.c_str(), countItem, reinterpret_cast<std::intptr_t>(&seen), true);
        benchmark::DoNotOptimize(seen);
    }
    if (seen != tree().items) state.SkipWithError("the walk missed items");
    state.counters["items"] = static_cast<double>(seen);
}

void synchronise(benchmark::State& state, int boxes, lumbrel::FolderSearch search) {
    for (auto _ : state) {
        state.PauseTiming();
        resetDocument(boxes);
        state.ResumeTiming();
        lumbrel::dropFolder(tree().root.c_str(), search);
    }
    if (gDoc.imports != boxes) state.SkipWithError("not every box found its file");
    state.counters["boxes"] = boxes;
}

void setSummary(bool on) {
    lumbrel::PrefSwitches switches = lumbrel::currentPrefSwitches();
    switches.syncReport = on;
    lumbrel::applyPrefSwitches(switches);
}

void BM_SyncIndexed(benchmark::State& state) { synchronise(state, kBoxes, lumbrel::FolderSearch::Indexed); }
void BM_SyncIndexedSummary(benchmark::State& state) {
    setSummary(true);
    synchronise(state, kBoxes, lumbrel::FolderSearch::Indexed);
    setSummary(false);
}
void BM_SyncIndexedFew(benchmark::State& state) { synchronise(state, kFewBoxes, lumbrel::FolderSearch::Indexed); }
void BM_SyncWalkPerBoxFew(benchmark::State& state) {
    synchronise(state, kFewBoxes, lumbrel::FolderSearch::WalkPerBox);
}

BENCHMARK(BM_BareWalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SyncIndexed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SyncIndexedSummary)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SyncIndexedFew)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SyncWalkPerBoxFew)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void printRatios(const lumbrel::bench::RatioReporter& reporter) {
    std::printf("\n%zu files and folders in %d folders; %d boxes (%d for the walk per box)\n", tree().items,
                kTopFolders * (kFoldersPerTop + 1), kBoxes, kFewBoxes);
    reporter.printRatio("BM_SyncIndexed", "BM_BareWalk", "(goal: at most 1.5)");
    reporter.printRatio("BM_SyncIndexedSummary", "BM_BareWalk", "(goal: at most 1.5)");
    reporter.printRatio("BM_SyncIndexedFew", "BM_BareWalk");
    reporter.printRatio("BM_SyncWalkPerBoxFew", "BM_BareWalk");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bindHost();
    resetDocument(kBoxes);
    // One walk first, so that every figure meets the tree in the cache.
    std::size_t seen = 0;
    lumbrel::EnumFolder(tree().root.c_str(), countItem, reinterpret_cast<std::intptr_t>(&seen), true);
    lumbrel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
