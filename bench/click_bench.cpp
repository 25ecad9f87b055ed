// The click's conversion timed as Velmora.exe runs it: built beside the program, by the same
// compilers with the same flags, and run under Wine. The three ways it times are in
// click_conversions.h; each runs in 20 repetitions of about 50 ms, the three in a new order
// each time, and the fastest repetition of each counts: on a shared machine other programs
// only ever add time.
//
//   click_bench [REPETITIONS]
#include "bench/click_conversions.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>

namespace {

using velmora::bench::escape;

// Nanoseconds per run of work, over as many runs as fill about 50 ms.
template <typename Work> double nanosecondsPerRun(Work work) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  const LONGLONG budget = frequency.QuadPart / 20;
  long long runs = 0;
  QueryPerformanceCounter(&start);
  do {
    for (int i = 0; i < 64; ++i) {
      work();
    }
    runs += 64;
    QueryPerformanceCounter(&now);
  } while (now.QuadPart - start.QuadPart < budget);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1e9 /
         static_cast<double>(frequency.QuadPart) / static_cast<double>(runs);
}

// Which build this is, for the figures' heading.
constexpr const char* build = sizeof(void*) == 4
                                  ? "shipped build (GCC " __VERSION__ ", i686, -Os -msse2, as "
                                    "Velmora.exe), under Wine"
                                  : "shipped compiler and flags at 64 bits (GCC " __VERSION__
                                    ", x86-64, -Os, as Velmora.exe), under Wine";

} // namespace

int wmain(int argc, wchar_t** argv) {
  const int repetitions = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  velmora::bench::MemoryBoxes ours, plain;
  velmora::bench::BareCharconv bare;
  const auto time = [&](int way) {
    switch (way) {
    case 0:
      return nanosecondsPerRun([&] {
        velmora::convertTank(ours);
        escape(ours.texts.data());
      });
    case 1:
      return nanosecondsPerRun([&] {
        velmora::bench::plainConvertTank(plain);
        escape(plain.texts.data());
      });
    default:
      return nanosecondsPerRun([&] { bare.run(); });
    }
  };
  double fastest[3];
  std::fill(std::begin(fastest), std::end(fastest), std::numeric_limits<double>::infinity());
  int order[3] = {0, 1, 2};
  std::mt19937 shuffler(20261209);
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    std::shuffle(std::begin(order), std::end(order), shuffler);
    for (const int way : order) {
      fastest[way] = std::min(fastest[way], time(way));
    }
  }
  velmora::bench::printClickFigures(build, fastest[0], fastest[1], fastest[2]);
  return 0;
}
