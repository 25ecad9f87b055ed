// The click's conversion timed natively with Google Benchmark (clang, -O3, x86-64): the quick
// figure, beside click_bench's figure for the code as Velmora.exe is built. The three ways it
// times are in click_conversions.h.
#include "bench/click_conversions.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using velmora::bench::BareCharconv;
using velmora::bench::MemoryBoxes;

void ConvertTank(benchmark::State& state) {
  MemoryBoxes boxes;
  for (auto _ : state) {
    velmora::convertTank(boxes);
    benchmark::DoNotOptimize(boxes.texts);
  }
}
BENCHMARK(ConvertTank);

void PlainPrintfStrtod(benchmark::State& state) {
  MemoryBoxes boxes;
  for (auto _ : state) {
    velmora::bench::plainConvertTank(boxes);
    benchmark::DoNotOptimize(boxes.texts);
  }
}
BENCHMARK(PlainPrintfStrtod);

void BareCharconvCalls(benchmark::State& state) {
  BareCharconv bare;
  for (auto _ : state) {
    bare.run();
  }
}
BENCHMARK(BareCharconvCalls)->Name("BareCharconv");

// Shows the statistics of the repetitions and keeps each benchmark's least processor time per
// iteration: on a shared machine the other programs only ever add time, so the fastest
// repetition is the one they disturbed least, and processor time leaves out the waits for a
// core.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
  // Colours only on a terminal, so a captured log stays plain text.
  RecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> aggregates;
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) {
        const double time =
            run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        auto [fastest, first] = nanoseconds.try_emplace(run.run_name.function_name, time);
        if (!first) {
          fastest->second = std::min(fastest->second, time);
        }
      } else {
        aggregates.push_back(run);
      }
    }
    if (!aggregates.empty()) {
      ConsoleReporter::ReportRuns(aggregates);
    }
  }
  std::map<std::string, double> nanoseconds;
};

// Many short repetitions in random order, so that a burst of load elsewhere falls on all three
// alike; flags given on the command line still win.
constexpr const char* defaultFlags[] = {"--benchmark_repetitions=20",
                                        "--benchmark_enable_random_interleaving=true",
                                        "--benchmark_min_time=0.05"};

} // namespace

int main(int argc, char** argv) {
  std::vector<char*> arguments{argv[0]};
  for (const char* flag : defaultFlags) {
    arguments.push_back(const_cast<char*>(flag));
  }
  arguments.insert(arguments.end(), argv + 1, argv + argc);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
    return 1;
  }
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto& ns = reporter.nanoseconds;
  if (ns.count("ConvertTank") == 0 || ns.count("PlainPrintfStrtod") == 0 ||
      ns.count("BareCharconv") == 0) {
    return 0; // a filter left some out: no ratios
  }
  velmora::bench::printClickFigures("native build (clang -O3, x86-64), the quick figure",
                                    ns["ConvertTank"], ns["PlainPrintfStrtod"], ns["BareCharconv"]);
  return 0;
}
