// A console reporter that keeps each benchmark's time per iteration, so a
// benchmark program can print its figures as ratios of one run to another
// measured in the same process (absolute times say little on shared machines).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lumbrel::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }

    // Prints time(a) / time(b) with a remark; nothing when either is missing.
    void printRatio(const char* a, const char* b, const char* remark = "") const {
        const auto x = times_.find(a);
        const auto y = times_.find(b);
        if (x == times_.end() || y == times_.end() || y->second <= 0) return;
        std::printf("  %-22s / %-18s = %8.2f  %s\n", a, b, x->second / y->second, remark);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace lumbrel::bench
