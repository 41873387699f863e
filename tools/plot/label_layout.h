// Laying out text labels so that none overlaps another: boxes estimated from font size and length.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>


namespace scenario::tool {

// A rectangle on the page, left/top to right/bottom.
struct Rect {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool intersects(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
  bool inside(const Rect& o) const { return x0 >= o.x0 && x1 <= o.x1 && y0 >= o.y0 && y1 <= o.y1; }
};

// The width a text is given: a generous 0.7 em per character, so that the
// widest capitals of a sans-serif font still fit. Characters, not bytes: a
// label is 8-bit text, one byte per character.
double text_width(std::string_view text, double font_size);

// The box of a horizontal text drawn at (x, baseline y), by its anchor.
enum class Anchor { Start, Middle, End };
Rect text_box(double x, double y, std::string_view text, double font_size, Anchor anchor = Anchor::Start);

// Where a label goes: its baseline start, and whether it needs a line back
// to what it names.
struct Placed {
  double x = 0, y = 0;  // text-anchor start, baseline
  Rect box;
  bool leader = false;
};

// The boxes taken so far on a page, and the free places around them.
class LabelLayout {
 public:
  explicit LabelLayout(Rect bounds) : bounds_(bounds) {}

  // Free: inside `within` and the page, and clear of every box taken.
  bool is_free(const Rect& r, const Rect& within) const;
  void take(const Rect& r) { taken_.push_back(r); }
  // Takes the box of a text drawn elsewhere (a heading, a tick label).
  void take_text(double x, double y, std::string_view text, double font_size, Anchor anchor = Anchor::Start) {
    take(text_box(x, y, text, font_size, anchor));
  }

  // The nearest free place inside `within` for a label around the anchor
  // (rings of growing distance, eight directions each); its box is taken.
  std::optional<Placed> place_near(double ax, double ay, std::string_view text, double font_size, const Rect& within);

  // The first of the rows y0, y0 + pitch, y0 + 2 pitch, ... (at most
  // `rows`) where the label fits with its start at `x` (moved left to stay
  // inside the page); its box is taken.
  std::optional<Placed> place_in_rows(double x, double y0, double pitch, std::size_t rows, std::string_view text,
                                      double font_size);

 private:
  Rect bounds_;
  std::vector<Rect> taken_;
};

}  // namespace scenario::tool
