// One click's conversion ("90", "45", "45") three ways: through convertTank and in-memory boxes;
// written the plain way with snprintf("%.15G") and strtod; and as nothing but the to_chars and
// from_chars calls the conversion needs. Prints the time per conversion and the two ratios.
#include "conversion/tank_conversion.h"

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <unistd.h>

namespace {

using velmora::Box;
using velmora::PropertyStatus;

// Boxes held in an array, so the benchmark times the conversion and not a container.
class MemoryBoxes : public velmora::TankBoxes {
public:
  MemoryBoxes() {
    texts[index(Box::Text1)] = u"90";
    texts[index(Box::Text2)] = u"45";
    texts[index(Box::Text3)] = u"45";
  }
  PropertyStatus read(Box box, std::u16string& text) override {
    text = texts[index(box)];
    return velmora::propertyCallSucceeded;
  }
  PropertyStatus write(Box box, std::u16string_view text) override {
    texts[index(box)] = text;
    return velmora::propertyCallSucceeded;
  }
  static std::size_t index(Box box) { return static_cast<std::size_t>(box); }

  std::array<std::u16string, 8> texts;
};

void ConvertTank(benchmark::State& state) {
  MemoryBoxes boxes;
  for (auto _ : state) {
    velmora::convertTank(boxes);
    benchmark::DoNotOptimize(boxes.texts);
  }
}
BENCHMARK(ConvertTank);

// The same five steps and read-backs, the way they are usually written in C.
void PlainPrintfStrtod(benchmark::State& state) {
  const char* inputs[3] = {"90", "45", "45"};
  char boxes[5][32];
  constexpr double factors[4] = {0.8, 1, 3, 5};
  for (auto _ : state) {
    benchmark::DoNotOptimize(inputs);
    const double width = std::strtod(inputs[1], nullptr);
    const double height = std::strtod(inputs[2], nullptr);
    const double length = std::strtod(inputs[0], nullptr);
    std::snprintf(boxes[0], sizeof boxes[0], "%.15G", length * width * height / 1000);
    for (int figure = 0; figure < 4; ++figure) {
      const double volume = std::strtod(boxes[0], nullptr);
      std::snprintf(boxes[figure + 1], sizeof boxes[figure + 1], "%.15G", volume * factors[figure]);
    }
    benchmark::DoNotOptimize(boxes);
  }
}
BENCHMARK(PlainPrintfStrtod);

// Only the library conversions convertTank makes: 3 + 4 from_chars, 5 to_chars.
void BareCharconv(benchmark::State& state) {
  const char* inputs[3] = {"90", "45", "45"};
  char boxes[5][40];
  char* ends[5] = {};
  constexpr double factors[4] = {0.8, 1, 3, 5};
  for (auto _ : state) {
    benchmark::DoNotOptimize(inputs);
    double sizes[3];
    for (int i = 0; i < 3; ++i) {
      std::from_chars(inputs[i], inputs[i] + 2, sizes[i]);
    }
    ends[0] =
        std::to_chars(boxes[0], boxes[0] + sizeof boxes[0], sizes[0] * sizes[1] * sizes[2] / 1000,
                      std::chars_format::scientific, 14)
            .ptr;
    for (int figure = 0; figure < 4; ++figure) {
      double volume = 0;
      std::from_chars(boxes[0], ends[0], volume);
      ends[figure + 1] = std::to_chars(boxes[figure + 1], boxes[figure + 1] + sizeof boxes[0],
                                       volume * factors[figure], std::chars_format::scientific, 14)
                             .ptr;
    }
    benchmark::DoNotOptimize(boxes);
  }
}
BENCHMARK(BareCharconv);

// Shows the usual table and keeps each benchmark's time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
  // Colours only on a terminal, so a captured log stays plain text.
  RecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) {
        nanoseconds[run.run_name.function_name] =
            run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    }
  }
  std::map<std::string, double> nanoseconds;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
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
  std::printf("\nns per conversion: convertTank %.1f, printf/strtod %.1f, bare charconv %.1f\n",
              ns["ConvertTank"], ns["PlainPrintfStrtod"], ns["BareCharconv"]);
  std::printf("convertTank / bare charconv:  %.2fx (aim: at most 1.5x)\n",
              ns["ConvertTank"] / ns["BareCharconv"]);
  std::printf("printf/strtod / convertTank:  %.2fx (aim: at least 3x)\n",
              ns["PlainPrintfStrtod"] / ns["ConvertTank"]);
  return 0;
}
