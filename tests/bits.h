#pragma once

#include <bit>
#include <cstdint>

namespace velmora::testing {

// Doubles compared and built by their exact bits, so -0, subnormals and NaN compare as such.
inline std::uint64_t bitsOf(double value) {
  return std::bit_cast<std::uint64_t>(value);
}
inline double fromBits(std::uint64_t bits) {
  return std::bit_cast<double>(bits);
}

inline constexpr std::uint64_t positiveInfinityBits = 0x7FF0000000000000;
inline constexpr std::uint64_t negativeInfinityBits = 0xFFF0000000000000;
inline constexpr std::uint64_t negativeZeroBits = 0x8000000000000000;
inline constexpr std::uint64_t largestDoubleBits = 0x7FEFFFFFFFFFFFFF;
inline constexpr std::uint64_t smallestSubnormalBits = 0x0000000000000001;

} // namespace velmora::testing
