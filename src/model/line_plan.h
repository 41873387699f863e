// The track plan: an X and a Y value per metre, each empty, int16 or real.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace scenario {

enum class LineTag : std::uint8_t { Empty = 0, Int16 = 2, Real = 5 };

struct LineCell {
  LineTag tag = LineTag::Empty;
  double value = 0.0;  // an int16 value is held exactly
};

// Points 0 to last_point, two columns. Each column is stored on its own (all
// X, then all Y, as in the file): two buffers of half the size are cheaper to
// get from the allocator than one, and a plan is built several times per
// compile in the tools. Every access is checked and throws Failure outside.
class LinePlan {
 public:
  void create(std::int32_t last_point);
  void clear();
  bool exists() const { return exists_; }
  std::int32_t last_point() const { return last_point_; }

  // Defined here so that the plan's one-pass drawing, a few accesses per
  // metre, compiles to plain loads and stores around the bound check.
  LineCell get(std::int64_t m, int col) const {
    const std::size_t i = index(m, col);
    const auto c = static_cast<std::size_t>(col);
    return LineCell{tags_[c][i], values_[c][i]};
  }
  double real(std::int64_t m, int col) const {
    const std::size_t i = index(m, col);
    return values_[static_cast<std::size_t>(col)][i];
  }
  void set_int(std::int64_t m, int col, std::int16_t v) {
    const std::size_t i = index(m, col);
    const auto c = static_cast<std::size_t>(col);
    tags_[c][i] = LineTag::Int16;
    values_[c][i] = v;
  }
  void set_real(std::int64_t m, int col, double v) {
    const std::size_t i = index(m, col);
    const auto c = static_cast<std::size_t>(col);
    tags_[c][i] = LineTag::Real;
    values_[c][i] = v;
  }

  // Raw access to one column (0: X, 1: Y) for the writer; empty without a plan.
  const std::vector<double>& values(int col) const { return values_[column(col)]; }
  const std::vector<LineTag>& tags(int col) const { return tags_[column(col)]; }

  static constexpr int kColumns = 2;

 private:
  // One unsigned comparison per bound: a negative point or column wraps past
  // it, and a plan that does not exist has no points. The plan is drawn,
  // written and read a few accesses per metre, so the check is kept short.
  std::size_t index(std::int64_t m, int col) const {
    if (static_cast<std::uint64_t>(m) >= points_ || static_cast<unsigned>(col) >= unsigned{kColumns}) fail_outside(m);
    return static_cast<std::size_t>(m);
  }
  static std::size_t column(int col);
  [[noreturn]] void fail_outside(std::int64_t m) const;

  bool exists_ = false;
  std::int32_t last_point_ = -1;
  std::uint64_t points_ = 0;  // last_point_ + 1 while the plan exists, else 0
  std::array<std::vector<double>, kColumns> values_;
  std::array<std::vector<LineTag>, kColumns> tags_;
};

}  // namespace scenario
