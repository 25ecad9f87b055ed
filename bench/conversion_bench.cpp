// One click's conversion ("90", "45", "45") three ways: through convertTank and in-memory boxes;
// the same conversion over the same boxes written the plain way, with strtod and
// snprintf("%.15G"); and as nothing but the to_chars and from_chars calls the conversion makes.
// Prints the time per conversion and the two ratios.
#include "conversion/tank_conversion.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

[[noreturn]] void failedCall() {
  throw std::runtime_error("a box call failed");
}

double plainNumber(velmora::TankBoxes& boxes, Box box, bool whole) {
  std::u16string text;
  if (boxes.read(box, text) != velmora::propertyCallSucceeded) {
    failedCall();
  }
  const std::string narrow(text.begin(), text.end());
  char* end = nullptr;
  const double value = std::strtod(narrow.c_str(), &end);
  if (whole && (end == narrow.c_str() || *end != '\0')) {
    throw std::runtime_error("not a number");
  }
  return value;
}

void plainWrite(velmora::TankBoxes& boxes, Box box, double value) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%.15G", value);
  const std::u16string wide(text, text + length);
  if (boxes.write(box, wide) != velmora::propertyCallSucceeded) {
    failedCall();
  }
}

// The conversion as it is usually written: the same steps over the same boxes, each text
// narrowed for strtod and each figure widened from snprintf. It leaves out what convertTank
// does besides (full-width digits, the floating-point test, the extended exponent range, the
// text of infinity), so if anything it is flattered.
void plainConvertTank(velmora::TankBoxes& boxes) {
  const double width = plainNumber(boxes, Box::Text2, false);
  const double height = plainNumber(boxes, Box::Text3, false);
  const double length = plainNumber(boxes, Box::Text1, false);
  plainWrite(boxes, Box::Label5, length * width * height / 1000);
  constexpr std::pair<Box, double> figures[] = {
      {Box::Label7, 0.8}, {Box::Label8, 1}, {Box::Label11, 3}, {Box::Label13, 5}};
  for (const auto& [box, factor] : figures) {
    plainWrite(boxes, box, plainNumber(boxes, Box::Label5, true) * factor);
  }
}

void PlainPrintfStrtod(benchmark::State& state) {
  MemoryBoxes boxes;
  for (auto _ : state) {
    plainConvertTank(boxes);
    benchmark::DoNotOptimize(boxes.texts);
  }
}
BENCHMARK(PlainPrintfStrtod);

// Only the library conversions convertTank makes, on the texts it makes them on: from_chars for
// the three inputs, to_chars to 15 significant digits for the five figures, and from_chars for
// the volume's text once: the four read-backs find the text that was written, whose number is
// kept after the first.
void BareCharconv(benchmark::State& state) {
  const std::string_view inputs[3] = {"90", "45", "45"};
  MemoryBoxes converted;
  velmora::convertTank(converted);
  const std::u16string& shown = converted.texts[MemoryBoxes::index(Box::Label5)];
  const std::string shownVolume(shown.begin(), shown.end());
  char figures[5][40];
  constexpr double factors[4] = {0.8, 1, 3, 5};
  for (auto _ : state) {
    benchmark::DoNotOptimize(inputs);
    double sizes[3];
    for (int i = 0; i < 3; ++i) {
      std::from_chars(inputs[i].data(), inputs[i].data() + inputs[i].size(), sizes[i]);
    }
    std::to_chars(figures[0], figures[0] + sizeof figures[0], sizes[0] * sizes[1] * sizes[2] / 1000,
                  std::chars_format::scientific, 14);
    benchmark::DoNotOptimize(shownVolume);
    double volume = 0;
    std::from_chars(shownVolume.data(), shownVolume.data() + shownVolume.size(), volume);
    for (int figure = 0; figure < 4; ++figure) {
      std::to_chars(figures[figure + 1], figures[figure + 1] + sizeof figures[0],
                    volume * factors[figure], std::chars_format::scientific, 14);
    }
    benchmark::DoNotOptimize(figures);
  }
}
BENCHMARK(BareCharconv);

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
  std::printf("\nns per conversion, fastest repetition: convertTank %.1f, plain strtod/snprintf "
              "%.1f, bare charconv %.1f\n",
              ns["ConvertTank"], ns["PlainPrintfStrtod"], ns["BareCharconv"]);
  std::printf("convertTank / bare charconv:  %.2fx (aim: at most 1.5x)\n",
              ns["ConvertTank"] / ns["BareCharconv"]);
  std::printf("plain way / convertTank:      %.2fx (aim: at least 3x)\n",
              ns["PlainPrintfStrtod"] / ns["ConvertTank"]);
  return 0;
}
