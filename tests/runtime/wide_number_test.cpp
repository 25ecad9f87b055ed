#include "runtime/wide_number.h"

#include "runtime/run_time_error.h"
#include "tests/bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velmora {
namespace {

using testing::bitsOf;
using testing::fromBits;

constexpr double infinity = std::numeric_limits<double>::infinity();

// ((a × b) × c) ÷ d, the shape of the volume step.
struct Chain {
  double a, b, c, d;
  std::uint64_t bits;
};

double evaluate(const Chain& chain, FloatingPointStatus& status) {
  return WideNumber(chain.a)
      .times(WideNumber(chain.b), status)
      .times(WideNumber(chain.c), status)
      .dividedBy(WideNumber(chain.d), status)
      .toDouble();
}

TEST(WideNumber, IntermediatesBeyondTheDoubleRangeComeBack) {
  const Chain table[] = {
      // Scaling by powers of two is exact, so plain doubles kept in range give the expected bits.
      {1e200, 1e200, 1e-300, 1000,
       bitsOf(((1e200 * 0x1p-600) * (1e200 * 0x1p-600)) * (1e-300 * 0x1p600 * 0x1p600) / 1000)},
      {1e-200, 1e-200, 1e300, 1000,
       bitsOf(((1e-200 * 0x1p600) * (1e-200 * 0x1p600)) * (1e300 * 0x1p-600 * 0x1p-600) / 1000)},
      {1e300, 1e300, 1e300, 1000, testing::positiveInfinityBits},
      {-1e300, 1e300, 1e300, 1000, testing::negativeInfinityBits},
      {1e-300, 1e-300, 1e-300, 1000, 0},
      {-1e-300, 1e-300, 1e-300, 1000, testing::negativeZeroBits},
      {90, 45, 45, 1000, bitsOf(182.25)},
      {60, 30, 36, 1000, bitsOf(64.8)},
      {1.7976931348623157e308, 2, 0.5, 1, testing::largestDoubleBits},
      // Just below the smallest normal double the product keeps 53 bits; a double would round
      // it up to 2^-1022 on the coarser subnormal grid.
      {0x1.fffffffffffffp-1, 0x1p-1022, 0x1p100, 1, bitsOf(0x1.fffffffffffffp-923)},
  };
  for (const Chain& chain : table) {
    FloatingPointStatus status;
    EXPECT_EQ(bitsOf(evaluate(chain, status)), chain.bits) << chain.a << " " << chain.b;
    EXPECT_FALSE(status.faulted());
  }
}

TEST(WideNumber, EachOperationRoundsToFiftyThreeBits) {
  // Exact products of doubles need up to 106 bits: each operation must round as a double's
  // does. Scaled by 2^±600, as in the first test, the first product leaves the double range and
  // every step after it runs on the split value, yet the scaling is exact, so the chain must
  // give the plain doubles' result. Unscaled, the chain must match it too.
  const double samples[] = {0.1, 0.7, 3.3, 1e10 / 3, 123.456, 0.8, 97.2, 2.0 / 3};
  for (const double scale : {0x1p600, 0x1p-600, 1.0}) {
    for (double a : samples) {
      for (double b : samples) {
        for (double c : samples) {
          FloatingPointStatus status;
          const Chain chain{a * scale, b * scale, c / scale, 1000 * scale, 0};
          EXPECT_EQ(bitsOf(evaluate(chain, status)), bitsOf(((a * b) * c) / 1000))
              << a << " " << b << " " << c << " scaled by " << scale;
        }
      }
    }
  }
}

TEST(WideNumber, NarrowingIntoSubnormalsRoundsOnce) {
  struct Narrowing {
    double a, b;
    std::uint64_t bits;
  };
  const Narrowing table[] = {
      {0x1p-1000, 0x1p-74, testing::smallestSubnormalBits},
      {0x1p-1000, 0x1p-75, 0},                                // half the smallest: to even
      {0x1.8p-1000, 0x1p-75, testing::smallestSubnormalBits}, // 0.75 of it: up
      {0x1.8p-1000, 0x1p-74, 2},                              // 1.5 of it: to even, 2
      {0x1.4p-1000, 0x1p-73, 2},                              // 2.5 of it: to even, 2
      {0x1p-1000, 0x1p-30, bitsOf(0x1p-1030)},                // exact
      {-0x1p-1000, 0x1p-74, 0x8000000000000001},
  };
  for (const Narrowing& narrowing : table) {
    FloatingPointStatus status;
    const double result = WideNumber(narrowing.a).times(WideNumber(narrowing.b), status).toDouble();
    EXPECT_EQ(bitsOf(result), narrowing.bits) << narrowing.a << " " << narrowing.b;
  }
}

TEST(WideNumber, InvalidOperationsAndDivisionByZeroFault) {
  struct Fault {
    double a, b;
    bool divide;
  };
  const Fault table[] = {
      {infinity, 0, false},       {0, -infinity, false}, {0, 0, true},
      {infinity, infinity, true}, {1, 0, true},          {-5, -0.0, true},
  };
  for (const Fault& fault : table) {
    FloatingPointStatus status;
    const WideNumber a(fault.a);
    fault.divide ? a.dividedBy(WideNumber(fault.b), status) : a.times(WideNumber(fault.b), status);
    EXPECT_TRUE(status.faulted()) << fault.a << (fault.divide ? " / " : " * ") << fault.b;
    EXPECT_THROW(status.test(), RunTimeError);
  }
}

TEST(WideNumber, QuietOperationsDoNotFault) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Quiet {
    double a, b;
    std::uint64_t product;
  };
  const Quiet table[] = {
      {infinity, -2, testing::negativeInfinityBits},
      {-0.0, 5, testing::negativeZeroBits},
      {0x1p-1074, 0x1p-1074, 0}, // underflow passes
      {nan, 0, bitsOf(nan * 0)},
  };
  for (const Quiet& quiet : table) {
    FloatingPointStatus status;
    const double product = WideNumber(quiet.a).times(WideNumber(quiet.b), status).toDouble();
    EXPECT_FALSE(status.faulted());
    EXPECT_EQ(std::isnan(product), std::isnan(fromBits(quiet.product)));
    if (!std::isnan(product)) {
      EXPECT_EQ(bitsOf(product), quiet.product);
    }
  }
}

} // namespace
} // namespace velmora
