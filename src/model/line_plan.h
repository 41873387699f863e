// The track plan: an X and a Y value per metre, each empty, int16 or real.
#pragma once

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

  LineCell get(std::int64_t m, int col) const;
  double real(std::int64_t m, int col) const { return get(m, col).value; }
  void set_int(std::int64_t m, int col, std::int16_t v);
  void set_real(std::int64_t m, int col, double v);

  // Raw column-major access for the writer.
  const std::vector<double>& values() const { return values_; }
  const std::vector<LineTag>& tags() const { return tags_; }

 private:
  std::size_t index(std::int64_t m, int col) const;

  bool exists_ = false;
  std::int32_t last_point_ = -1;
  std::vector<double> values_;
  std::vector<LineTag> tags_;
};

}  // namespace scenario
