// Opening a 100,000-box layout in the host simulator with the module
// running, and the module's scripting walk (cmd 2) over all of its boxes.
//
// Figures are ratios against limits measured in the same run:
// - reading the file's bytes (one pass over the input),
// - a bare JSON parse of the same text into a plain JSON tree,
// - a plain walk of every spread's box chain in the model (no host calls).
// The open is timed from the host's open of the file to the end of the
// module's open callback (the document is closed outside the timing).
#include "hostsim/host/simulator.h"
#include "hostsim/model/document_json.h"
#include "hostsim/model/sample_document.h"

#include "desktop/desktop.h"

#include <benchmark/benchmark.h>

#include "ratio_reporter.h"
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSpreads = 1000;
constexpr int kBoxesPerSpread = 100;

struct Fixture {
    fs::path folder;
    std::string layout;     // the file
    std::string text;       // its bytes
    std::size_t boxes = 0;
    hostsim::BoxId lastSpreadBox = 0;
    std::unique_ptr<hostsim::Simulator> sim;

    Fixture() {
        folder = fs::temp_directory_path() / ("lumbrel-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder / "home");
        // The module keeps its log (off here) under the home folder.
        ::setenv("HOME", (folder / "home").c_str(), 1);
        hostsim::SampleSpec spec;
        spec.spreads = kSpreads;
        spec.boxesPerSpread = kBoxesPerSpread;
        const hostsim::Document doc = hostsim::makeSampleDocument(spec);
        boxes = doc.boxCount();
        lastSpreadBox = doc.firstBox(doc.numSpreads());
        layout = (folder / "big.json").string();
        // The file holds exactly the canonical text.
        if (!hostsim::saveDocument(doc, layout) || !hostsim::documentToJson(doc, text)) std::abort();

        hostsim::Options options;
        options.unloadAtQuit = false;
        sim = std::make_unique<hostsim::Simulator>(options);
        if (!sim->loadModule(LUMBREL_MODULE_DIR) || !sim->activate().started()) {
            std::fprintf(stderr, "the module did not start: %s\n", sim->loadError().c_str());
            std::abort();
        }
    }
    ~Fixture() {
        sim->quit();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void BM_ReadFile(benchmark::State& state) {
    Fixture& f = fixture();
    std::string bytes;
    for (auto _ : state) {
        bytes.assign(f.text.size(), '\0');
        std::FILE* file = std::fopen(f.layout.c_str(), "rb");
        if (file == nullptr || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            state.SkipWithError("cannot read the layout");
        }
        if (file != nullptr) std::fclose(file);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(f.text.size()));
}

void BM_BareJsonParse(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        nlohmann::json tree = nlohmann::json::parse(f.text);
        benchmark::DoNotOptimize(tree.size());
    }
}

void BM_LoadDocument(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        hostsim::LoadResult loaded = hostsim::loadDocument(f.layout);
        if (!loaded.ok()) state.SkipWithError(loaded.error.c_str());
        benchmark::DoNotOptimize(loaded.document->boxCount());
    }
}

void BM_OpenWithModule(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        const hostsim::OpenResult opened = f.sim->open(f.layout);
        state.PauseTiming();
        if (!opened.ok()) state.SkipWithError(opened.message.c_str());
        f.sim->close();
        desktop::Desktop::instance().transcript().clear();
        state.ResumeTiming();
    }
}

void BM_ChainWalk(benchmark::State& state) {
    Fixture& f = fixture();
    const hostsim::LoadResult loaded = hostsim::loadDocument(f.layout);
    const hostsim::Document& doc = *loaded.document;
    for (auto _ : state) {
        std::size_t visited = 0;
        for (int spread = 1; spread <= doc.numSpreads(); ++spread) {
            for (hostsim::BoxId box = doc.firstBox(spread); box != 0; box = doc.nextBox(box)) {
                visited += doc.slug(box, hostsim::SlugKind::picture, hostsim::fourCC("bDIC")) != nullptr;
            }
        }
        benchmark::DoNotOptimize(visited);
    }
}

void BM_ScriptingWalk(benchmark::State& state) {
    Fixture& f = fixture();
    const hostsim::OpenResult opened = f.sim->open(f.layout);
    if (!opened.ok()) {
        state.SkipWithError(opened.message.c_str());
        return;
    }
    const std::string request = "<cmd>2</cmd><qid>" + std::to_string(f.lastSpreadBox) + "</qid>";
    for (auto _ : state) {
        const std::optional<std::string> reply = f.sim->scriptRequest(request);
        if (!reply || reply->find("<guid") == std::string::npos) state.SkipWithError("no identifier in the reply");
        state.PauseTiming();
        desktop::Desktop::instance().transcript().clear();
        state.ResumeTiming();
    }
    f.sim->close();
}

BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareJsonParse)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenWithModule)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChainWalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScriptingWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

void printRatios(const lumbrel::bench::RatioReporter& reporter) {
    std::printf("\n%zu boxes on %d spreads, %zu bytes of layout\n", fixture().boxes, kSpreads, fixture().text.size());
    reporter.printRatio("BM_BareJsonParse", "BM_ReadFile");
    reporter.printRatio("BM_LoadDocument", "BM_BareJsonParse");
    reporter.printRatio("BM_OpenWithModule", "BM_BareJsonParse");
    reporter.printRatio("BM_OpenWithModule", "BM_LoadDocument");
    reporter.printRatio("BM_ScriptingWalk", "BM_ChainWalk");
    reporter.printRatio("BM_ScriptingWalk", "BM_OpenWithModule");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    lumbrel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
