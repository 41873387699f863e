// One train cell (50 m of route) and the kinds of object a cell can hold.
#pragma once

#include <cstdint>

namespace scenario {

// The length of route one train cell covers, in metres.
inline constexpr std::int32_t kCellLength = 50;

// A cell holds its gradient plus this, so that a falling gradient fits the byte.
inline constexpr std::int32_t kGradientBias = 100;

struct TrainCell {
  std::uint8_t Kind = 0;
  std::int16_t Word1 = 0;
  std::int16_t Word2 = 0;
  std::int16_t Word3 = 0;
  std::int16_t Word4 = 0;
  std::uint8_t Byte1 = 0;  // signal time value
  std::uint8_t Byte2 = 0;  // approach marks
  std::uint8_t Byte3 = 0;  // "montagna" range type
  std::uint8_t Byte4 = 0;  // speed limit / 5
  std::uint8_t Byte5 = 0;  // gradient + kGradientBias
  std::uint8_t Byte6 = 0;  // adhesion

  bool operator==(const TrainCell&) const = default;
};

namespace kind {
inline constexpr std::uint8_t kEmpty = 0;
inline constexpr std::uint8_t kSignal = 1;
inline constexpr std::uint8_t kSlowEnd = 2;
inline constexpr std::uint8_t kSlowStart = 3;
inline constexpr std::uint8_t kSlowWarning = 4;
inline constexpr std::uint8_t kSlowApproach = 5;
inline constexpr std::uint8_t kSpeedBoard = 6;
inline constexpr std::uint8_t kStop = 10;
inline constexpr std::uint8_t kRangeMarker = 11;
inline constexpr std::uint8_t kReductionValue = 12;
inline constexpr std::uint8_t kReductionPlain = 13;
inline constexpr std::uint8_t kSign = 14;
}  // namespace kind

// A cell that a new object may take: empty or a range marker.
inline bool is_free(const TrainCell& c) { return c.Kind == kind::kEmpty || c.Kind == kind::kRangeMarker; }

}  // namespace scenario
