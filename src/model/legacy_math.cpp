// Rounding conversions from reals, halves to even, failing when out of range.
#include "model/legacy_math.h"

#include <cmath>
#include <limits>
#include <string>

#include "platform/failure.h"

namespace scenario {
namespace {

template <typename T>
T round_checked(double v, const char* type_name) {
  // nearbyint uses the default rounding mode: nearest, ties to even.
  double r = std::nearbyint(v);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
        r <= static_cast<double>(std::numeric_limits<T>::max()))) {
    // A value too large for 64 bits (or not a number) is given as the nearest 64-bit bound.
    const std::int64_t value = r >= 0x1p63 ? INT64_MAX : !(r >= -0x1p63) ? INT64_MIN : static_cast<std::int64_t>(r);
    throw Failure("value " + std::to_string(v) + " does not fit " + type_name,
                  FailureDetail{.kind = FailureKind::TooWide,
                                .expected = type_name,
                                .found = std::to_string(v),
                                .value = value,
                                .low = static_cast<std::int64_t>(std::numeric_limits<T>::min()),
                                .high = static_cast<std::int64_t>(std::numeric_limits<T>::max())});
  }
  return static_cast<T>(r);
}

}  // namespace

std::int32_t round_to_i32(double v) { return round_checked<std::int32_t>(v, "a 32-bit integer"); }
std::int16_t round_to_i16(double v) { return round_checked<std::int16_t>(v, "a 16-bit integer"); }
std::uint8_t round_to_u8(double v) { return round_checked<std::uint8_t>(v, "a byte"); }

}  // namespace scenario
