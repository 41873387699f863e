// Named conversions for the legacy arithmetic: rounding, wrapping and truncation.
#pragma once

#include <cstdint>

#include "model/train_cell.h"

namespace scenario {

// Real to integer: nearest, halves to even. Throws Failure when the rounded
// value does not fit the target type (or is not a number).
std::int32_t round_to_i32(double v);
std::int16_t round_to_i16(double v);
std::uint8_t round_to_u8(double v);

// 32-bit integer arithmetic that wraps instead of overflowing.
inline std::int32_t wrap32(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}
inline std::int32_t add32(std::int32_t a, std::int32_t b) { return wrap32(std::int64_t{a} + b); }
inline std::int32_t sub32(std::int32_t a, std::int32_t b) { return wrap32(std::int64_t{a} - b); }
inline std::int32_t mul32(std::int32_t a, std::int32_t b) { return wrap32(std::int64_t{a} * b); }

// Storing into a narrower field keeps the low bits.
inline std::int16_t low16(std::int64_t v) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v)));
}
inline std::uint8_t low8(std::int64_t v) {
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(v));
}

// Cell index of a position in metres: p / 50 as a real, rounded once.
inline std::int32_t cell_of(std::int32_t p) { return round_to_i32(p / static_cast<double>(kCellLength)); }
// Cell index one past the position's cell: the whole p / 50 + 1 rounded once
// (75 m gives 2.5, which rounds to 2).
inline std::int32_t cell_after(std::int32_t p) { return round_to_i32(p / static_cast<double>(kCellLength) + 1.0); }

}  // namespace scenario
