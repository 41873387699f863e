// Greedy label placement: each label takes the nearest free spot, the most important labels first.
#include "plot/label_layout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace scenario::tool {
namespace {

constexpr double kEm = 0.7;          // width of a character, in font sizes
constexpr double kAscent = 0.8;      // box above the baseline, in font sizes
constexpr double kDescent = 0.25;    // box below the baseline
constexpr double kLineSpacing = 1.15;  // baseline to baseline, in font sizes: more than a box's height
constexpr double kGap = 2;           // free space kept around every label
constexpr std::array<double, 16> kRings = {3, 5, 8, 11, 14, 18, 22, 27, 32, 38, 45, 53, 62, 72, 84, 98};
constexpr double kLeaderFrom = 9;    // labels farther than this from their anchor get a leader line
constexpr double kAnchorClear = 6;   // the part of a leader next to its anchor, which its marker covers
constexpr double kBucket = 24;       // side of a bucket of the box grid, in page units

Rect grown(const Rect& r, double by) { return {r.x0 - by, r.y0 - by, r.x1 + by, r.y1 + by}; }

}  // namespace

double text_width(std::string_view text, double font_size) {
  return kEm * font_size * static_cast<double>(text.size());
}

double line_pitch(double font_size) { return kLineSpacing * font_size; }

Rect text_box(double x, double y, std::string_view text, double font_size, Anchor anchor) {
  const double w = text_width(text, font_size);
  const double left = anchor == Anchor::Start ? x : anchor == Anchor::Middle ? x - w / 2 : x - w;
  return {left, y - kAscent * font_size, left + w, y + kDescent * font_size};
}

Rect segment_box(double x1, double y1, double x2, double y2, double half_width) {
  return grown({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)}, half_width);
}

LabelLayout::LabelLayout(Rect bounds) : bounds_(bounds) {
  columns_ = static_cast<std::size_t>(std::max(1.0, std::ceil((bounds.x1 - bounds.x0) / kBucket)));
  rows_ = static_cast<std::size_t>(std::max(1.0, std::ceil((bounds.y1 - bounds.y0) / kBucket)));
  buckets_.resize(columns_ * rows_);
}

std::size_t LabelLayout::column_of(double x) const {
  const double c = std::floor((x - bounds_.x0) / kBucket);
  return static_cast<std::size_t>(std::clamp(c, 0.0, static_cast<double>(columns_ - 1)));
}

std::size_t LabelLayout::row_of(double y) const {
  const double r = std::floor((y - bounds_.y0) / kBucket);
  return static_cast<std::size_t>(std::clamp(r, 0.0, static_cast<double>(rows_ - 1)));
}

void LabelLayout::take(const Rect& r, Layer layer) {
  taken_.push_back({r, layer});
  for (std::size_t row = row_of(r.y0); row <= row_of(r.y1); ++row) {
    for (std::size_t col = column_of(r.x0); col <= column_of(r.x1); ++col) {
      buckets_[row * columns_ + col].push_back(taken_.size() - 1);
    }
  }
}

bool LabelLayout::clear(const Rect& r, bool texts_only) const {
  const Rect wanted = grown(r, kGap);
  for (std::size_t row = row_of(wanted.y0); row <= row_of(wanted.y1); ++row) {
    for (std::size_t col = column_of(wanted.x0); col <= column_of(wanted.x1); ++col) {
      for (std::size_t i : buckets_[row * columns_ + col]) {
        const Taken& t = taken_[i];
        if (texts_only && t.layer != Layer::Text) continue;
        if (wanted.intersects(t.box)) return false;
      }
    }
  }
  return true;
}

bool LabelLayout::is_free(const Rect& r, const Rect& within) const {
  return r.inside(bounds_) && r.inside(within) && clear(r, false);
}

bool LabelLayout::is_clear_of_text(const Rect& r) const { return clear(r, true); }

std::optional<Placed> LabelLayout::place_near(double ax, double ay, const Label& label, const Rect& within,
                                              double reach, const Acceptable& acceptable) {
  if (label.lines.empty()) return std::nullopt;
  double w = 0;
  for (const std::string& line : label.lines) w = std::max(w, text_width(line, label.font_size));
  const double size = label.font_size;
  const double h = (kAscent + kDescent) * size + line_pitch(size) * static_cast<double>(label.lines.size() - 1);
  // Directions as the box's offset from the anchor: right, left, above, below, then the corners.
  using Directions = std::array<std::pair<double, double>, 8>;
  constexpr Directions kBesideFirst = {{{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}}};
  constexpr Directions kAboveFirst = {{{0, -1}, {1, -1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {1, 1}, {-1, 1}}};
  const Directions& directions = label.above_first ? kAboveFirst : kBesideFirst;
  for (double r : kRings) {
    if (r > reach) break;
    for (const auto& [dx, dy] : directions) {
      const double left = dx > 0 ? ax + r : dx < 0 ? ax - r - w : ax - w / 2;
      const double top = dy > 0 ? ay + r : dy < 0 ? ay - r - h : ay - h / 2;
      const Rect box{left, top, left + w, top + h};
      if (!is_free(box, within)) continue;
      Placed p{left, top + kAscent * size, box, r >= kLeaderFrom};
      if (p.leader) {
        p.lx0 = ax, p.ly0 = ay;
        p.lx1 = std::clamp(ax, box.x0, box.x1), p.ly1 = std::clamp(ay, box.y0, box.y1);
        if (!is_clear_of_text(segment_box(p.lx0, p.ly0, p.lx1, p.ly1))) continue;
        if (label.leader_clear_of_shapes) {
          // From a little way out: the anchor's own marker is no obstacle.
          const double length = std::hypot(p.lx1 - p.lx0, p.ly1 - p.ly0);
          const double out = std::min(1.0, kAnchorClear / length);
          const Rect path = segment_box(p.lx0 + (p.lx1 - p.lx0) * out, p.ly0 + (p.ly1 - p.ly0) * out, p.lx1, p.ly1);
          if (!clear(path, false)) continue;
        }
      }
      if (acceptable && !acceptable(box)) continue;
      take(box);
      if (p.leader) take_shape(segment_box(p.lx0, p.ly0, p.lx1, p.ly1));
      return p;
    }
  }
  return std::nullopt;
}

std::optional<Placed> LabelLayout::place_in_rows(double x, double y0, double pitch, std::size_t rows,
                                                 std::string_view text, double font_size, double leader_from) {
  const double w = text_width(text, font_size);
  const double left = std::max(bounds_.x0, std::min(x, bounds_.x1 - w));
  for (std::size_t row = 0; row < rows; ++row) {
    const double y = y0 + pitch * static_cast<double>(row);
    const Rect box = text_box(left, y, text, font_size);
    if (!is_free(box, bounds_)) continue;
    const double end = leader_from < box.y0 ? box.y0 : box.y1;
    const Rect leader = segment_box(x, leader_from, x, end);
    if (!is_clear_of_text(leader)) continue;
    take(box);
    take_shape(leader);
    return Placed{left, y, box, true, x, leader_from, x, end};
  }
  return std::nullopt;
}

}  // namespace scenario::tool
