// Checked storage of the track plan.
#include "model/line_plan.h"

#include <string>

#include "model/failure.h"

namespace scenario {

void LinePlan::create(std::int32_t last_point) {
  if (last_point < 0) throw Failure("the line plan cannot have " + std::to_string(last_point) + " as its last point");
  exists_ = true;
  last_point_ = last_point;
  std::size_t n = 2 * (static_cast<std::size_t>(last_point) + 1);
  values_.assign(n, 0.0);
  tags_.assign(n, LineTag::Empty);
}

void LinePlan::clear() {
  exists_ = false;
  last_point_ = -1;
  values_.clear();
  values_.shrink_to_fit();
  tags_.clear();
  tags_.shrink_to_fit();
}

std::size_t LinePlan::index(std::int64_t m, int col) const {
  if (!exists_) throw Failure("the line plan does not exist (no route length record)");
  if (m < 0 || m > last_point_ || col < 0 || col > 1) {
    throw Failure("line plan point " + std::to_string(m) + " is outside 0.." + std::to_string(last_point_));
  }
  return static_cast<std::size_t>(col) * (static_cast<std::size_t>(last_point_) + 1) + static_cast<std::size_t>(m);
}

LineCell LinePlan::get(std::int64_t m, int col) const {
  std::size_t i = index(m, col);
  return LineCell{tags_[i], values_[i]};
}

void LinePlan::set_int(std::int64_t m, int col, std::int16_t v) {
  std::size_t i = index(m, col);
  tags_[i] = LineTag::Int16;
  values_[i] = v;
}

void LinePlan::set_real(std::int64_t m, int col, double v) {
  std::size_t i = index(m, col);
  tags_[i] = LineTag::Real;
  values_[i] = v;
}

}  // namespace scenario
