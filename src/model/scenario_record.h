// One row of the scenario table and the table of 87 rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace scenario {

struct ScenarioRecord {
  std::uint8_t Kind = 0;
  std::int32_t Start = 0;
  std::int32_t End = 0;
  std::int32_t Position = 0;
  std::uint8_t Flag = 0;
  std::string Name;  // bytes in the 8-bit code page
  std::int16_t Word1 = 0;
  std::int16_t Word2 = 0;
  std::int16_t Word3 = 0;
  std::int16_t Word4 = 0;
  std::int16_t Word5 = 0;
  std::uint8_t Byte1 = 0;
  std::uint8_t Byte2 = 0;
  std::uint8_t Byte3 = 0;
  std::uint8_t Byte4 = 0;
  std::int32_t Time = 0;

  bool operator==(const ScenarioRecord&) const = default;
};

inline constexpr int kScenarioRows = 87;
using ScenarioRows = std::array<ScenarioRecord, kScenarioRows>;

// Rows with a fixed use.
inline constexpr int kFirstSignRow = 80;
inline constexpr int kChainageRows[3] = {81, 82, 83};
// A chainage triple counting down (flag 1) has this added to its base.
inline constexpr std::int32_t kCountdownBaseShift = 100;
inline constexpr int kRouteRow = 84;
inline constexpr int kStampRow = 85;
inline constexpr int kTrainRow = 86;

}  // namespace scenario
