// Greedy label placement: each label takes the nearest free spot, the most important labels first.
#include "plot/label_layout.h"

#include <array>
#include <cmath>

namespace scenario::tool {
namespace {

constexpr double kEm = 0.7;          // width of a character, in font sizes
constexpr double kAscent = 0.8;      // box above the baseline, in font sizes
constexpr double kDescent = 0.25;    // box below the baseline
constexpr double kGap = 2;           // free space kept around every label
constexpr std::array<double, 14> kRings = {4, 9, 15, 22, 30, 40, 52, 66, 82, 100, 120, 145, 175, 210};
constexpr double kLeaderFrom = 12;   // labels farther than this from their anchor get a leader line

Rect grown(const Rect& r, double by) { return {r.x0 - by, r.y0 - by, r.x1 + by, r.y1 + by}; }

}  // namespace

double text_width(std::string_view text, double font_size) {
  return kEm * font_size * static_cast<double>(text.size());
}

Rect text_box(double x, double y, std::string_view text, double font_size, Anchor anchor) {
  const double w = text_width(text, font_size);
  const double left = anchor == Anchor::Start ? x : anchor == Anchor::Middle ? x - w / 2 : x - w;
  return {left, y - kAscent * font_size, left + w, y + kDescent * font_size};
}

bool LabelLayout::is_free(const Rect& r, const Rect& within) const {
  if (!r.inside(bounds_) || !r.inside(within)) return false;
  const Rect wanted = grown(r, kGap);
  for (const Rect& t : taken_) {
    if (wanted.intersects(t)) return false;
  }
  return true;
}

std::optional<Placed> LabelLayout::place_near(double ax, double ay, std::string_view text, double font_size,
                                              const Rect& within) {
  const double w = text_width(text, font_size);
  const double h = (kAscent + kDescent) * font_size;
  // Directions as the box's offset from the anchor: right, left, above, below, then the corners.
  const std::array<std::pair<double, double>, 8> directions = {
      {{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}}};
  for (double r : kRings) {
    for (const auto& [dx, dy] : directions) {
      const double left = dx > 0 ? ax + r : dx < 0 ? ax - r - w : ax - w / 2;
      const double top = dy > 0 ? ay + r : dy < 0 ? ay - r - h : ay - h / 2;
      const Rect box{left, top, left + w, top + h};
      if (!is_free(box, within)) continue;
      take(box);
      return Placed{left, top + kAscent * font_size, box, r >= kLeaderFrom};
    }
  }
  return std::nullopt;
}

std::optional<Placed> LabelLayout::place_in_rows(double x, double y0, double pitch, std::size_t rows,
                                                 std::string_view text, double font_size) {
  const double w = text_width(text, font_size);
  const double left = std::max(bounds_.x0, std::min(x, bounds_.x1 - w));
  for (std::size_t row = 0; row < rows; ++row) {
    const double y = y0 + pitch * static_cast<double>(row);
    const Rect box = text_box(left, y, text, font_size);
    if (!is_free(box, bounds_)) continue;
    take(box);
    return Placed{left, y, box, true};
  }
  return std::nullopt;
}

}  // namespace scenario::tool
