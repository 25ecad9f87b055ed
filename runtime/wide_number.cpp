#include "runtime/wide_number.h"

#include "runtime/run_time_error.h"

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

void FloatingPointStatus::test() const {
  if (faulted()) {
    raiseFloatingPointError();
  }
}

WideNumber::WideNumber(double value) noexcept : significand_(value), exponent_(0) {
  if (!isSpecial(value)) {
    int exponent = 0;
    significand_ = std::frexp(value, &exponent);
    exponent_ = exponent;
  }
}

WideNumber WideNumber::normalized(double significand, std::int64_t exponent) noexcept {
  int shift = 0;
  const double normal = std::frexp(significand, &shift);
  return WideNumber(normal, exponent + shift);
}

WideNumber WideNumber::times(WideNumber factor, FloatingPointStatus& status) const noexcept {
  const double a = significand_;
  const double b = factor.significand_;
  if ((std::isinf(a) && b == 0.0) || (a == 0.0 && std::isinf(b))) {
    status.flagInvalid();
    return WideNumber(notANumber, 0);
  }
  if (isSpecial(a) || isSpecial(b)) {
    // NaN, infinity and zero keep their meaning; the product of significands gives the sign.
    return WideNumber(a * b, 0);
  }
  // Both in [0.5, 1): the product lies in [0.25, 1) and is rounded once, never underflowing.
  return normalized(a * b, exponent_ + factor.exponent_);
}

WideNumber WideNumber::dividedBy(WideNumber divisor, FloatingPointStatus& status) const noexcept {
  const double a = significand_;
  const double b = divisor.significand_;
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
  // The quotient lies in (0.5, 2) and is rounded once.
  return normalized(a / b, exponent_ - divisor.exponent_);
}

double WideNumber::toDouble() const noexcept {
  if (isSpecial(significand_)) {
    return significand_;
  }
  if (exponent_ >= overflowExponent) {
    return std::copysign(infinity, significand_);
  }
  if (exponent_ >= smallestNormalExponent) {
    return std::ldexp(significand_, static_cast<int>(exponent_));
  }
  if (exponent_ < zeroExponent) {
    return std::copysign(0.0, significand_);
  }
  // One rounding into the subnormal range, by the processor's own multiply.
  const double lifted = std::ldexp(significand_, static_cast<int>(exponent_) + subnormalLift);
  return lifted * std::ldexp(1.0, -subnormalLift);
}

} // namespace velmora
