// Runs the registered benchmarks with repetitions and hands back the median
// real time of each, so a benchmark can print ratios against its baseline.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace vexa::bench {

// Reports to the console as usual and keeps the median real time, in
// milliseconds, of every benchmark by name.
class MedianCollector : public benchmark::ConsoleReporter {
 public:
  // Plain text: the figures end up in logs and notes, where colour codes are noise.
  MedianCollector() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians_[run.run_name.function_name] =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  const std::map<std::string, double>& Medians() const { return medians_; }

 private:
  std::map<std::string, double> medians_;
};

// Runs the benchmarks (ten repetitions unless the command line names a count)
// and returns their median real times in milliseconds by name.
inline std::map<std::string, double> RunForMedians(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=10";
  bool counted = false;
  for (const char* arg : args) {
    counted = counted || std::strncmp(arg, "--benchmark_repetitions", 23) == 0;
  }
  if (!counted) {
    args.insert(args.begin() + (args.empty() ? 0 : 1), repetitions.data());
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  MedianCollector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();
  return collector.Medians();
}

}  // namespace vexa::bench
