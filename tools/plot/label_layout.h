// Laying out text labels clear of each other and of every drawn shape: boxes estimated from font size and length.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
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

// The distance between the baselines of a label's lines: its boxes never touch.
double line_pitch(double font_size);

// The box of a horizontal text drawn at (x, baseline y), by its anchor.
enum class Anchor { Start, Middle, End };
Rect text_box(double x, double y, std::string_view text, double font_size, Anchor anchor = Anchor::Start);

// The box around a segment, `half_width` wider on every side.
Rect segment_box(double x1, double y1, double x2, double y2, double half_width = 0.5);

// A label of one or more lines, all of one size.
struct Label {
  std::vector<std::string> lines;
  double font_size = 8;
  bool leader_clear_of_shapes = false;  // its leader may cross no marker or line either (near its anchor excepted)
  bool above_first = false;             // tried above its anchor before beside it (a marker on an edge)
};

// Where a label goes: the start of its first baseline, its box, and the
// leader line back to what it names when it stands off.
struct Placed {
  double x = 0, y = 0;  // text-anchor start, first baseline
  Rect box;
  bool leader = false;
  double lx0 = 0, ly0 = 0, lx1 = 0, ly1 = 0;  // the leader, from the anchor to the box
};

// A test a candidate box must also pass (for example: nearer to its own
// stretch of track than to any other).
using Acceptable = std::function<bool(const Rect&)>;

// What a taken box holds: a text, or a drawn shape (a marker, a line). A
// text keeps clear of both; a leader line only of texts.
enum class Layer { Text, Shape };

// The boxes taken so far on a page, and the free places around them. Boxes
// are kept in a grid of buckets so that a page with a long track stays fast.
class LabelLayout {
 public:
  explicit LabelLayout(Rect bounds);

  // Free for a text: inside `within` and the page, clear of every box taken.
  bool is_free(const Rect& r, const Rect& within) const;
  // Free for a leader line: clear of every text taken.
  bool is_clear_of_text(const Rect& r) const;
  void take(const Rect& r, Layer layer = Layer::Text);
  void take_shape(const Rect& r) { take(r, Layer::Shape); }
  // Takes the box of a text drawn elsewhere (a heading, a tick label).
  void take_text(double x, double y, std::string_view text, double font_size, Anchor anchor = Anchor::Start) {
    take(text_box(x, y, text, font_size, anchor));
  }

  // The nearest free place inside `within`, no farther than `reach` from the
  // anchor, for a label around it (rings of growing distance, eight
  // directions each). A label that stands off gets a leader, and the leader
  // must cross no text. The label's box and its leader are taken.
  std::optional<Placed> place_near(double ax, double ay, const Label& label, const Rect& within, double reach,
                                   const Acceptable& acceptable = {});

  // The first of the rows y0, y0 + pitch, y0 + 2 pitch, ... (at most `rows`)
  // where the label fits with its start at `x` (moved left to stay inside the
  // page) and a vertical leader at `x` from `leader_from` to the box crosses
  // no text. Box and leader are taken.
  std::optional<Placed> place_in_rows(double x, double y0, double pitch, std::size_t rows, std::string_view text,
                                      double font_size, double leader_from);

 private:
  struct Taken {
    Rect box;
    Layer layer;
  };
  bool clear(const Rect& r, bool texts_only) const;
  std::size_t column_of(double x) const;
  std::size_t row_of(double y) const;

  Rect bounds_;
  std::size_t columns_ = 1, rows_ = 1;
  std::vector<Taken> taken_;
  std::vector<std::vector<std::size_t>> buckets_;  // row-major, indices into taken_
};

}  // namespace scenario::tool
