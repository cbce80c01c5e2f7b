#pragma once
// A benchmark main that reports, after the usual table, each measured case as a ratio to its baseline
// measured in the same run: "ratio <case> / <baseline> = x". CPU time is compared, so that other work
// on the machine does not move the figure.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration) times_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    // Prints the ratios; returns the ratios by case name.
    std::map<std::string, double> PrintRatios(const std::vector<std::pair<std::string, std::string>>& pairs) {
        std::map<std::string, double> out;
        for (const auto& [measured, baseline] : pairs) {
            auto m = times_.find(measured), b = times_.find(baseline);
            if (m == times_.end() || b == times_.end() || b->second <= 0) continue;
            out[measured] = m->second / b->second;
            std::printf("ratio %s / %s = %.2f\n", measured.c_str(), baseline.c_str(), out[measured]);
        }
        return out;
    }

  private:
    std::map<std::string, double> times_;
};

inline int RunWithRatios(int argc, char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(pairs);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
