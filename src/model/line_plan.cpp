// Checked storage of the track plan.
#include "model/line_plan.h"

#include <string>

#include "platform/failure.h"

namespace scenario {

void LinePlan::create(std::int32_t last_point) {
  if (last_point < 0) {
    throw Failure("the line plan cannot have " + std::to_string(last_point) + " as its last point",
                  FailureDetail{.kind = FailureKind::OutOfRange,
                                .expected = "a line plan's last point",
                                .found = std::to_string(last_point),
                                .value = last_point,
                                .low = 0,
                                .high = INT32_MAX});
  }
  exists_ = true;
  last_point_ = last_point;
  points_ = static_cast<std::uint64_t>(last_point) + 1;
  const std::size_t n = static_cast<std::size_t>(last_point) + 1;
  for (std::size_t c = 0; c < kColumns; ++c) {
    values_[c].assign(n, 0.0);
    tags_[c].assign(n, LineTag::Empty);
  }
}

void LinePlan::clear() {
  exists_ = false;
  last_point_ = -1;
  points_ = 0;
  for (std::size_t c = 0; c < kColumns; ++c) {
    values_[c].clear();
    values_[c].shrink_to_fit();
    tags_[c].clear();
    tags_[c].shrink_to_fit();
  }
}

std::size_t LinePlan::column(int col) {
  if (col < 0 || col >= kColumns) {
    throw Failure("the line plan has no column " + std::to_string(col),
                  FailureDetail{.kind = FailureKind::OutOfRange,
                                .expected = "a line plan column",
                                .found = std::to_string(col),
                                .value = col,
                                .low = 0,
                                .high = kColumns - 1});
  }
  return static_cast<std::size_t>(col);
}

void LinePlan::fail_outside(std::int64_t m) const {
  if (!exists_) {
    throw Failure("the line plan does not exist (no route length record)",
                  FailureDetail{.kind = FailureKind::Missing,
                                .expected = "the line plan",
                                .value = m,
                                .indexed = Indexed::PlanPoint});
  }
  throw Failure("line plan point " + std::to_string(m) + " is outside 0.." + std::to_string(last_point_),
                FailureDetail{.kind = FailureKind::OutOfRange,
                              .expected = "a line plan point",
                              .found = std::to_string(m),
                              .value = m,
                              .low = 0,
                              .high = last_point_,
                              .indexed = Indexed::PlanPoint});
}

}  // namespace scenario
