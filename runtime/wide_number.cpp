#include "runtime/wide_number.h"

#include <cmath>
#include <limits>

namespace velmora {

namespace {

bool isSpecial(double significand) {
  return significand == 0.0 || !std::isfinite(significand);
}

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// Exponents of a significand in [0.5, 1): 2^1024 overflows; below 2^-1021 lies the subnormal
// range, and below 2^-1100 everything rounds to zero.
constexpr std::int64_t overflowExponent = 1025;
constexpr std::int64_t smallestNormalExponent = -1021;
constexpr std::int64_t zeroExponent = -1100;
// Lifts a subnormal result into the normal range, where scaling is exact.
constexpr int subnormalLift = 128;

} // namespace

WideNumber WideNumber::split() const noexcept {
  if (isSpecial(scaled_)) {
    return *this;
  }
  int shift = 0;
  const double significand = std::frexp(scaled_, &shift);
  return WideNumber(significand, exponent_ + shift);
}

WideNumber WideNumber::normalized(double significand, std::int64_t exponent) noexcept {
  // Doubling and halving are exact, so the value is not rounded again.
  const double magnitude = std::fabs(significand);
  if (magnitude < 0.5) {
    return WideNumber(significand * 2, exponent - 1);
  }
  if (magnitude >= 1) {
    return WideNumber(significand / 2, exponent + 1);
  }
  return WideNumber(significand, exponent);
}

WideNumber WideNumber::splitTimes(WideNumber factor, FloatingPointStatus& status) const noexcept {
  const WideNumber left = split();
  const WideNumber right = factor.split();
  const double a = left.scaled_;
  const double b = right.scaled_;
  if ((std::isinf(a) && b == 0.0) || (a == 0.0 && std::isinf(b))) {
    status.flagInvalid();
    return WideNumber(notANumber, 0);
  }
  if (isSpecial(a) || isSpecial(b)) {
    // NaN, infinity and zero keep their meaning; the product of significands gives the sign.
    return WideNumber(a * b, 0);
  }
  // Both in [0.5, 1): the product lies in [0.25, 1) and is rounded once, never underflowing.
  return normalized(a * b, left.exponent_ + right.exponent_);
}

WideNumber WideNumber::splitDividedBy(WideNumber divisor,
                                      FloatingPointStatus& status) const noexcept {
  const WideNumber left = split();
  const WideNumber right = divisor.split();
  const double a = left.scaled_;
  const double b = right.scaled_;
  if (std::isnan(a) || std::isnan(b)) {
    return WideNumber(notANumber, 0);
  }
  if ((a == 0.0 && b == 0.0) || (std::isinf(a) && std::isinf(b))) {
    status.flagInvalid();
    return WideNumber(notANumber, 0);
  }
  if (b == 0.0) {
    status.flagDivisionByZero();
    return WideNumber(std::copysign(infinity, a) * std::copysign(1.0, b), 0);
  }
  if (isSpecial(a) || isSpecial(b)) {
    return WideNumber(a / b, 0);
  }
  // Both in [0.5, 1): the quotient lies in (0.5, 2) and is rounded once.
  return normalized(a / b, left.exponent_ - right.exponent_);
}

double WideNumber::splitToDouble() const noexcept {
  const WideNumber value = split();
  const double significand = value.scaled_;
  const std::int64_t exponent = value.exponent_;
  if (isSpecial(significand)) {
    return significand;
  }
  if (exponent >= overflowExponent) {
    return std::copysign(infinity, significand);
  }
  if (exponent >= smallestNormalExponent) {
    return std::ldexp(significand, static_cast<int>(exponent));
  }
  if (exponent < zeroExponent) {
    return std::copysign(0.0, significand);
  }
  // One rounding into the subnormal range, by the processor's own multiply.
  const double lifted = std::ldexp(significand, static_cast<int>(exponent) + subnormalLift);
  return lifted * std::ldexp(1.0, -subnormalLift);
}

} // namespace velmora
