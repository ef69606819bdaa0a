// Relinking by list: where each box's picture path first occurs in the list
// text, for 10,000 boxes in a 1 MB list and 5,000 in 0.5 MB. Each line holds
// an old path and its new one (about 100 bytes); one box in twenty has no
// line, so the search always reads the whole list.
//
// Figures: the one-pass search against searching the list once per box,
// against one plain pass over the list (counting its lines), and its growth
// from 5,000 boxes / 0.5 MB to 10,000 / 1 MB.
#include "editing/first_occurrences.h"

#include <benchmark/benchmark.h>

#include "ratio_reporter.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Workload {
    std::vector<std::string> paths;
    std::vector<std::string_view> patterns;
    std::string list;
};

Workload makeWorkload(int boxes) {
    Workload w;
    for (int n = 0; n < boxes; ++n) {
        char path[96];
        std::snprintf(path, sizeof path, "/Volumes/Produktion/Kunde %03d/Job %04d/Links/bild_%05d.tif", n % 97,
                      n % 1013, n);
        w.paths.emplace_back(path);
    }
    for (int n = 0; n < boxes; ++n) {
        if (n % 20 == 7) continue;
        // Lines in another order than the boxes.
        const std::string& path = w.paths[static_cast<std::size_t>((n * 7919) % boxes)];
        w.list += path + "\t/Volumes/Archiv/" + path.substr(20) + "\n";
    }
    w.patterns.assign(w.paths.begin(), w.paths.end());
    return w;
}

const Workload& workload(int boxes) {
    static const Workload small = makeWorkload(5000);
    static const Workload large = makeWorkload(10000);
    return boxes == 5000 ? small : large;
}

void BM_OnePass(benchmark::State& state, int boxes) {
    const Workload& w = workload(boxes);
    for (auto _ : state) {
        std::vector<std::size_t> found = lumbrel::firstOccurrences(w.list, w.patterns);
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["list MB"] = static_cast<double>(w.list.size()) / 1e6;
}

void BM_FindEach(benchmark::State& state, int boxes) {
    const Workload& w = workload(boxes);
    for (auto _ : state) {
        std::vector<std::size_t> found;
        found.reserve(w.patterns.size());
        for (std::string_view p : w.patterns) found.push_back(std::string_view(w.list).find(p));
        benchmark::DoNotOptimize(found.data());
    }
}

void BM_ReadList(benchmark::State& state, int boxes) {
    const Workload& w = workload(boxes);
    for (auto _ : state) {
        auto lines = std::count(w.list.begin(), w.list.end(), '\n');
        benchmark::DoNotOptimize(lines);
    }
}

BENCHMARK_CAPTURE(BM_ReadList, 10k, 10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OnePass, 5k, 5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OnePass, 10k, 10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FindEach, 10k, 10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Equal answers first: a fast wrong search proves nothing.
    for (int boxes : {5000, 10000}) {
        const Workload& w = workload(boxes);
        std::vector<std::size_t> each;
        for (std::string_view p : w.patterns) each.push_back(std::string_view(w.list).find(p));
        if (lumbrel::firstOccurrences(w.list, w.patterns) != each) {
            std::fprintf(stderr, "the one-pass search differs from searching once per box (%d boxes)\n", boxes);
            return 1;
        }
    }
    lumbrel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nlists: %zu bytes for 5,000 boxes, %zu bytes for 10,000\n", workload(5000).list.size(),
                workload(10000).list.size());
    reporter.printRatio("BM_FindEach/10k", "BM_OnePass/10k", "(once per box / one pass; want >= 100)");
    reporter.printRatio("BM_OnePass/10k", "BM_ReadList/10k", "(one pass / counting the lines once)");
    reporter.printRatio("BM_OnePass/10k", "BM_OnePass/5k", "(growth 5,000 / 0.5 MB -> 10,000 / 1 MB; want ~2)");
    benchmark::Shutdown();
    return 0;
}
