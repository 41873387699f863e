// The track plan: an X and a Y value per metre, each empty, int16 or real.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scenario {

enum class LineTag : std::uint8_t { Empty = 0, Int16 = 2, Real = 5 };

struct LineCell {
  LineTag tag = LineTag::Empty;
  double value = 0.0;  // an int16 value is held exactly
};

// Points 0 to last_point, two columns. Storage is column-major (all X, then
// all Y) as in the file. Every access is checked and throws Failure outside.
class LinePlan {
 public:
  void create(std::int32_t last_point);
  void clear();
  bool exists() const { return exists_; }
  std::int32_t last_point() const { return last_point_; }

  // Defined here so that the plan's one-pass drawing, a few accesses per
  // metre, compiles to plain loads and stores around the bound check.
  LineCell get(std::int64_t m, int col) const {
    std::size_t i = index(m, col);
    return LineCell{tags_[i], values_[i]};
  }
  double real(std::int64_t m, int col) const { return values_[index(m, col)]; }
  void set_int(std::int64_t m, int col, std::int16_t v) {
    std::size_t i = index(m, col);
    tags_[i] = LineTag::Int16;
    values_[i] = v;
  }
  void set_real(std::int64_t m, int col, double v) {
    std::size_t i = index(m, col);
    tags_[i] = LineTag::Real;
    values_[i] = v;
  }

  // Raw column-major access for the writer.
  const std::vector<double>& values() const { return values_; }
  const std::vector<LineTag>& tags() const { return tags_; }

 private:
  std::size_t index(std::int64_t m, int col) const {
    if (!exists_ || m < 0 || m > last_point_ || col < 0 || col > 1) fail_outside(m);
    return static_cast<std::size_t>(col) * (static_cast<std::size_t>(last_point_) + 1) + static_cast<std::size_t>(m);
  }
  [[noreturn]] void fail_outside(std::int64_t m) const;

  bool exists_ = false;
  std::int32_t last_point_ = -1;
  std::vector<double> values_;
  std::vector<LineTag> tags_;
};

}  // namespace scenario
