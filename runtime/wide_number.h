#pragma once

#include "runtime/run_time_error.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace velmora {

// The floating-point status of one conversion step: whether an operation was invalid
// (infinity times zero, zero over zero) or divided a number by zero. Underflow and inexact
// results are not faults.
class FloatingPointStatus {
public:
  void flagInvalid() noexcept { invalid_ = true; }
  void flagDivisionByZero() noexcept { divisionByZero_ = true; }
  bool faulted() const noexcept { return invalid_ || divisionByZero_; }

  // Raises the floating-point error when an operation faulted.
  void test() const {
    if (faulted()) {
      raiseFloatingPointError();
    }
  }

private:
  bool invalid_ = false;
  bool divisionByZero_ = false;
};

// A number as a step computes it: every operation rounds to a double's 53-bit significand, but
// the exponent is unbounded, so a product past the largest double is not yet infinite and can
// still come back into range; the value is narrowed to a double once, by toDouble.
//   ((1e200 * 1e200) * 1e-300) / 1000 -> 1e97, not infinity
// The significand and exponent are carried by hand, so the results are the same on every
// compiler and processor.
class WideNumber {
public:
  explicit WideNumber(double value) noexcept : scaled_(value), exponent_(0) {}

  // The product, rounded once; infinity times zero is invalid and gives NaN.
  WideNumber times(WideNumber factor, FloatingPointStatus& status) const noexcept {
    const double product = scaled_ * factor.scaled_;
    return isRoundedAsWide(product) ? WideNumber(product, exponent_ + factor.exponent_)
                                    : splitTimes(factor, status);
  }

  // The quotient, rounded once; zero over zero and infinity over infinity are invalid and give
  // NaN, any other number over zero divides by zero and gives ±infinity.
  WideNumber dividedBy(WideNumber divisor, FloatingPointStatus& status) const noexcept {
    const double quotient = scaled_ / divisor.scaled_;
    return isRoundedAsWide(quotient) ? WideNumber(quotient, exponent_ - divisor.exponent_)
                                     : splitDividedBy(divisor, status);
  }

  // The double nearest the value, rounded once: ±infinity past the largest double, a subnormal
  // or ±0 below the smallest normal one.
  double toDouble() const noexcept { return exponent_ == 0 ? scaled_ : splitToDouble(); }

private:
  WideNumber(double scaled, std::int64_t exponent) noexcept
      : scaled_(scaled), exponent_(exponent) {}

  // Whether a result of double arithmetic is the one this class would round to: it is when it
  // is finite and larger in magnitude than the smallest normal double, for then it was rounded
  // once to 53 bits and no operand was 0, infinite or NaN. Otherwise the operation is redone
  // split.
  static bool isRoundedAsWide(double result) noexcept {
    return std::fabs(result) > DBL_MIN && std::fabs(result) <= DBL_MAX;
  }

  // The operations on the value split into a significand in [0.5, 1) and an exponent, for
  // zeros, infinities, NaN and results beyond the double range or near its bottom.
  WideNumber splitTimes(WideNumber factor, FloatingPointStatus& status) const noexcept;
  WideNumber splitDividedBy(WideNumber divisor, FloatingPointStatus& status) const noexcept;
  double splitToDouble() const noexcept;
  // A product of significands, in [0.25, 1), or a quotient, in (0.5, 2), brought back to
  // [0.5, 1) without rounding it again.
  static WideNumber normalized(double significand, std::int64_t exponent) noexcept;
  // The same value with its significand in [0.5, 1), or 0, ±infinity or NaN with exponent 0.
  WideNumber split() const noexcept;

  // The value is scaled_ × 2^exponent_; scaled_ is 0, ±infinity or NaN only with exponent_ 0.
  double scaled_;
  std::int64_t exponent_;
};

} // namespace velmora
