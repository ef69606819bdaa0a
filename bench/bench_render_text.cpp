// Drawing long texts in a view (`render`): a text box tall enough to show a
// paragraph of 10,000 and of 100,000 characters whole, and a picture
// placeholder whose file name of that length is shortened to the box.
//
// Figures are ratios:
// - each size to the size ten times smaller (goal: about 10 for the text box,
//   the work grows with the text and not with its square; at most 10 for the
//   name, of which only what fits the box is measured);
// - each scene to one pass of measuring the same characters with the same
//   font, the least any fitting can do.
#include "hostsim/render/font_engine.h"
#include "hostsim/render/page_renderer.h"

#include <benchmark/benchmark.h>

#include "ratio_reporter.h"

#include <cstdio>
#include <string>

namespace {

using namespace hostsim;
using namespace hostsim::render;

constexpr std::int16_t kHelvetica = 21;  // the box text's font

std::string words(std::size_t size) {
    static const std::string kWords[] = {"picture ", "names ", "on ", "the ", "layout, ", "Wide ", "illicit "};
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i) text += kWords[i % 7];
    text.resize(size);
    return text;
}

Document document() {
    Document doc;
    Spread spread;
    spread.width = 600;
    spread.height = 800;
    spread.pages.push_back(Page{"1", 0, 0.0, 0.0});
    doc.pageWidth = 600;
    doc.pageHeight = 800;
    doc.addSpread(spread);
    doc.setCurrentPage(1);
    return doc;
}

void boxText(benchmark::State& state, std::size_t size) {
    Document doc = document();
    // About 45 characters a line of 12 points: room for 100,000 characters.
    doc.setText(doc.addBox(1, kBoxText, Rect{0, 10, 30000, 300}), words(size));
    FontEngine fonts;
    SceneOptions options;
    options.fonts = &fonts;
    for (auto _ : state) benchmark::DoNotOptimize(spreadScene(doc, 1, 1.0, {}, options));
}

void placeholderName(benchmark::State& state, std::size_t size) {
    Document doc = document();
    Picture missing;
    missing.path = "/no/such/folder/" + std::string(size, 'n');
    missing.bounds = Rect{0, 0, 20, 20};
    doc.setPicture(doc.addBox(1, kBoxPicture, Rect{10, 10, 110, 300}), missing);
    FontEngine fonts;
    SceneOptions options;
    options.fonts = &fonts;
    for (auto _ : state) benchmark::DoNotOptimize(spreadScene(doc, 1, 1.0, {}, options));
}

void measureOnce(benchmark::State& state, std::size_t size) {
    const std::string text = words(size);
    FontEngine fonts;
    for (auto _ : state) {
        double width = 0;
        for (const char c : text) width += fonts.advance(kHelvetica, 10.0, static_cast<unsigned char>(c)).value_or(0);
        benchmark::DoNotOptimize(width);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const std::size_t size : {1000UL, 10000UL, 100000UL}) {
        const std::string n = std::to_string(size);
        benchmark::RegisterBenchmark(("BoxText/" + n).c_str(), boxText, size)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Placeholder/" + n).c_str(), placeholderName, size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("MeasureOnce/" + n).c_str(), measureOnce, size)->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    lumbrel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("Ratios:\n");
    reporter.printRatio("BoxText/10000", "BoxText/1000", "(goal: about 10)");
    reporter.printRatio("BoxText/100000", "BoxText/10000", "(goal: about 10)");
    reporter.printRatio("Placeholder/10000", "Placeholder/1000", "(goal: at most 10)");
    reporter.printRatio("Placeholder/100000", "Placeholder/10000", "(goal: at most 10)");
    for (const char* size : {"1000", "10000", "100000"}) {
        reporter.printRatio((std::string("BoxText/") + size).c_str(), (std::string("MeasureOnce/") + size).c_str());
    }
    benchmark::Shutdown();
    return 0;
}
