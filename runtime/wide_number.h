#pragma once

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
  void test() const;

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
  explicit WideNumber(double value) noexcept;

  WideNumber times(WideNumber factor, FloatingPointStatus& status) const noexcept;
  WideNumber dividedBy(WideNumber divisor, FloatingPointStatus& status) const noexcept;

  // The double nearest the value, rounded once: ±infinity past the largest double, a subnormal
  // or ±0 below the smallest normal one.
  double toDouble() const noexcept;

private:
  WideNumber(double significand, std::int64_t exponent) noexcept
      : significand_(significand), exponent_(exponent) {}
  static WideNumber normalized(double significand, std::int64_t exponent) noexcept;

  // 0, ±infinity or NaN with exponent 0; otherwise |significand| in [0.5, 1).
  double significand_;
  std::int64_t exponent_;
};

} // namespace velmora
