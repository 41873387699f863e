// The profile panels: elevation, gradient and speed in force against distance, with the route's objects marked.
#include <algorithm>
#include <cmath>

#include "common/scenario_view.h"
#include "common/svg.h"
#include "plot/label_layout.h"
#include "plot/plot_panels.h"

namespace scenario::tool {
namespace {

constexpr double kTickFont = 9;
constexpr double kHeadingFont = 11;
constexpr double kLabelFont = 8;
constexpr double kMarkAbove = 5;      // the markers' line, above the speed panel's lower edge
constexpr double kMarkReach = 72;     // how far a label in the speed panel may stand from its marker
constexpr double kSpeedStep = 5;      // km/h of one unit of a cell's speed byte
constexpr int kBoardSpeedUnits = 20;  // a board's word holds the speed times this
constexpr double kGradientBias = 100;
constexpr double kPerMille = 1000;

// Distance along the stretch to x.
struct Axis {
  double left = 0, width = 0, from = 0, to = 1;
  double x(double m) const { return left + (std::clamp(m, from, to) - from) / (to - from) * width; }
};

// A value range to y inside one panel.
struct ValueScale {
  double top = 0, height = 0, low = 0, high = 1;
  double y(double v) const { return top + (high - std::clamp(v, low, high)) / (high - low) * height; }
};

std::string colour(const char* attribute, const char* value) {
  return std::string(attribute) + "=\"" + value + "\"";
}

// The route position an author wrote for an object the compiler placed in
// `cell`: objects go into the cell after the one their position falls in.
double written_metres(std::size_t cell) { return (static_cast<double>(cell) - 1) * kCellMetres; }

// Cells of the route only: the 7000 m tail carries no profile worth drawing.
std::size_t route_cells(const PlotData& d) {
  return std::min(d.cells.size(), static_cast<std::size_t>(d.route_length / kCellMetres) + 1);
}

// The cells whose stretch [c x 50, c x 50 + 50) meets the drawn stretch.
std::pair<std::size_t, std::size_t> cells_in(const PlotData& d, const Stretch& s) {
  const std::size_t end = route_cells(d);
  const auto first = std::min(end, static_cast<std::size_t>(std::max(0.0, s.from) / kCellMetres));
  const auto last = std::min(end, static_cast<std::size_t>(std::ceil(s.to / kCellMetres)));
  return {first, last};
}

// A profile as a step line over the drawn stretch: one value per cell.
std::vector<Point> step_line(const std::vector<double>& values, std::size_t first, std::size_t last, const Axis& axis,
                             const ValueScale& scale) {
  std::vector<Point> out;
  for (std::size_t i = first; i < last && i < values.size(); ++i) {
    const double y = scale.y(values[i]);
    const double x0 = axis.x(static_cast<double>(i) * kCellMetres), x1 = axis.x(static_cast<double>(i + 1) * kCellMetres);
    if (!out.empty() && out.back().second == y) {
      out.back().first = x1;
      continue;
    }
    out.push_back({x0, y});
    out.push_back({x1, y});
  }
  return out;
}

double gradient_of(int byte) { return byte == 0 ? 0.0 : byte - kGradientBias; }

std::vector<double> gradients(const PlotData& d) {
  std::vector<double> g;
  for (std::size_t i = 0; i < route_cells(d); ++i) g.push_back(gradient_of(d.cells[i].Byte5));
  return g;
}

// A slow order: its cells and its speed.
struct SlowOrder {
  std::size_t start = 0, end = 0;
  int speed = 0;
};

std::vector<SlowOrder> slow_orders(const PlotData& d) {
  std::vector<SlowOrder> out;
  for (std::size_t s : cells_of_kind(d.cells, kind::kSlowStart)) {
    out.push_back({s, slow_order_end(d.cells, s), d.cells[s].Word1});
  }
  return out;
}

// The profile cells a slow order holds: from its written start to its
// written end, at least one.
std::pair<std::size_t, std::size_t> restricted_cells(const SlowOrder& o) {
  const std::size_t first = o.start == 0 ? 0 : o.start - 1;
  return {first, std::max(o.end == 0 ? 0 : o.end - 1, first + 1)};
}

// The speed in force in each cell of the route: the limit, lowered by the
// slow orders that hold the cell.
std::vector<double> speeds_in_force(const PlotData& d) {
  std::vector<double> v;
  for (std::size_t i = 0; i < route_cells(d); ++i) v.push_back(d.cells[i].Byte4 * kSpeedStep);
  for (const SlowOrder& o : slow_orders(d)) {
    const auto [first, last] = restricted_cells(o);
    for (std::size_t i = first; i < last && i < v.size(); ++i) v[i] = std::min<double>(v[i], o.speed);
  }
  return v;
}

// Heights above the route's start at each cell boundary: each cell climbs
// its gradient (per mille) over its 50 m.
std::vector<double> elevations(const PlotData& d) {
  std::vector<double> h = {0.0};
  for (double g : gradients(d)) h.push_back(h.back() + g * kCellMetres / kPerMille);
  return h;
}

int widest_gradient(const std::vector<double>& g, std::size_t first, std::size_t last) {
  int widest = 5;
  for (std::size_t i = first; i < last && i < g.size(); ++i) widest = std::max(widest, static_cast<int>(std::abs(g[i])));
  return (widest + 4) / 5 * 5;
}

int fastest(const std::vector<double>& v) {
  double top = 20;
  for (double s : v) top = std::max(top, s);
  return (static_cast<int>(top) + 20 + 19) / 20 * 20;
}

void add_grid(const ValueScale& s, const Axis& a, double step, const std::string& unit, bool signed_values,
              LabelLayout& labels, std::vector<std::string>& out) {
  for (double v = std::ceil(s.low / step) * step; v <= s.high + 1e-9; v += step) {
    const double y = s.y(v);
    out.push_back(svg_line(a.left, y, a.left + a.width, y,
                           std::string(kGround) + (v == 0 ? "stroke=\"#888888\" stroke-width=\"1\""
                                                          : "stroke=\"#e4e4e4\" stroke-width=\"1\"")));
    std::string label = signed_values && v > 0 ? "+" : "";
    label += svg_number(v) + unit;
    const Rect box = text_box(a.left - 4, y + 3, label, kTickFont, Anchor::End);
    if (!labels.is_free(box, box)) continue;  // a crowded scale keeps the labels that fit
    labels.take(box);
    out.push_back(svg_text(a.left - 4, y + 3, label, "font-size=\"9\" text-anchor=\"end\" fill=\"#555555\""));
  }
}

void add_tunnels(const PlotData& d, const Stretch& s, const Axis& a, double top, double bottom,
                 std::vector<std::string>& out) {
  for (const TunnelRange& t : d.tunnels) {
    if (t.to < s.from || t.from > s.to) continue;
    const double x1 = a.x(t.from), x2 = a.x(t.to);
    if (x2 <= x1) continue;
    out.push_back(svg_group("tunnel from " + km_text(t.from) + " to " + km_text(t.to),
                            {svg_rect(x1, top, x2 - x1, bottom - top,
                                      std::string(kGround) + colour("fill", kTunnelColour) + " fill-opacity=\"0.18\"")}));
  }
}

std::string leader(const Placed& p) {
  return svg_line(p.lx0, p.ly0, p.lx1, p.ly1, "stroke=\"#aaaaaa\" stroke-width=\"0.6\"");
}

// A figure: drawn, and kept free of labels.
void take_polyline(const std::vector<Point>& points, LabelLayout& labels) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    labels.take_shape(segment_box(points[i - 1].first, points[i - 1].second, points[i].first, points[i].second, 1));
  }
}

// Each station's dashed line across all three panels: a reference line, like
// the grid, that labels may cross.
void add_station_lines(const PlotData& d, const Stretch& s, const Axis& a, const ProfileBoxes& b,
                       std::vector<std::string>& lines) {
  const std::string style =
      std::string(kGround) + colour("stroke", kStationColour) + " stroke-width=\"0.8\" stroke-dasharray=\"3,3\"";
  const double bottom = b.speed.y + b.speed.h;
  for (const StationView& st : stations_of(d.rows)) {
    if (!s.contains(st.record->Position)) continue;
    const double x = a.x(st.record->Position);
    lines.push_back(svg_line(x, b.elevation.y, x, bottom, style));
  }
}

void add_station_names(const PlotData& d, const Stretch& s, const Axis& a, const ProfileBoxes& b, LabelLayout& labels,
                       std::vector<std::string>& out) {
  const std::string style = colour("fill", kStationColour) + " font-size=\"8\"";
  // From the right, as the signs above.
  std::vector<StationView> stations = stations_of(d.rows);
  std::sort(stations.begin(), stations.end(),
            [](const StationView& p, const StationView& q) { return p.record->Position > q.record->Position; });
  for (const StationView& st : stations) {
    if (!s.contains(st.record->Position)) continue;
    const double x = a.x(st.record->Position);
    const std::string title = "station " + st.record->Name + " at " + km_text(st.record->Position);
    auto p = labels.place_in_rows(x, b.station_rows_top, b.row_pitch, b.rows, st.record->Name, kLabelFont,
                                  b.station_rows_top - b.row_pitch + 1);
    if (!p) continue;
    out.push_back(svg_group(title, {leader(*p), svg_text(p->x, p->y, st.record->Name, style)}));
  }
}

// Sign markers on their strip, the texts in rows above it (the lowest row
// first), each joined to its marker; the full text is the tooltip.
void add_signs(const PlotData& d, const Stretch& s, const Axis& a, const ProfileBoxes& b, LabelLayout& labels,
               std::vector<std::string>& out) {
  const std::string style = colour("fill", kSignTextColour) + " font-size=\"8\"";
  const double y = b.sign_marks_y;
  const double lowest_row = b.sign_rows_top + b.row_pitch * static_cast<double>(b.rows - 1);
  struct Marked {
    std::string marker, title, text;
    double x;
  };
  std::vector<Marked> marks;
  for (const SignView& sign : signs_of(d.rows, d.cells)) {
    const double metres = written_metres(sign.cell);
    if (!s.contains(metres)) continue;
    const double x = a.x(metres);
    const std::string text = squeeze_blanks(sign.text);
    marks.push_back({svg_polygon({{x, y - 4}, {x + 4, y}, {x, y + 4}, {x - 4, y}}, colour("fill", kSignColour)),
                     "sign at " + km_text(metres) + ": " + text, text, x});
    labels.take_shape({x - 4, y - 4, x + 4, y + 4});
  }
  // From the right: a text runs right of its leader, so no leader placed
  // later (further left) crosses a text placed before it.
  std::sort(marks.begin(), marks.end(), [](const Marked& p, const Marked& q) { return p.x > q.x; });
  for (const Marked& m : marks) {
    std::vector<std::string> children = {m.marker};
    if (auto p = labels.place_in_rows(m.x, lowest_row, -b.row_pitch, b.rows, m.text, kLabelFont, y - 4)) {
      children.push_back(leader(*p));
      children.push_back(svg_text(p->x, p->y, m.text, style));
    }
    out.push_back(svg_group(m.title, children));
  }
}

// A marker on the speed panel with its label nearby, under one tooltip.
struct SpeedMark {
  double x = 0, y = 0;
  std::string marker;
  std::string text;
  const char* fill;
  std::string title;
};

void add_speed_marks(const std::vector<SpeedMark>& marks, const Box& panel, LabelLayout& labels,
                     std::vector<std::string>& out) {
  const Rect within{panel.x, panel.y, panel.x + panel.w, panel.y + panel.h};
  for (const SpeedMark& m : marks) {
    std::vector<std::string> children = {m.marker};
    if (auto p = labels.place_near(m.x, m.y, Label{{m.text}, kLabelFont, true, true}, within, kMarkReach)) {
      if (p->leader) children.push_back(leader(*p));
      children.push_back(svg_text(p->x, p->y, m.text, colour("fill", m.fill) + " font-size=\"8\""));
    }
    out.push_back(svg_group(m.title, children));
  }
}

// Slow orders marked on the speed line where they lower it, their warning
// boards and the speed boards on the panel's lower edge, signals beside them.
void add_speed_objects(const PlotData& d, const Stretch& s, const Axis& a, const ValueScale& vs, const Box& panel,
                       const std::vector<double>& in_force, LabelLayout& labels, std::vector<std::string>& out) {
  const double bottom = panel.y + panel.h;
  std::vector<SpeedMark> slow, warnings, boards;
  for (const SlowOrder& o : slow_orders(d)) {
    const auto [first, last] = restricted_cells(o);
    const double from = static_cast<double>(first) * kCellMetres, to = static_cast<double>(last) * kCellMetres;
    if (to < s.from || from > s.to) continue;
    const auto [lo, hi] = cells_in(d, s);
    const std::vector<Point> on_line = step_line(in_force, std::max(first, lo), std::min(last, hi), a, vs);
    if (on_line.empty()) continue;
    take_polyline(on_line, labels);
    slow.push_back({on_line.front().first, on_line.front().second,
                    svg_polyline(on_line, colour("stroke", kSlowOrderColour) + " stroke-width=\"3\""),
                    "slow " + std::to_string(o.speed) + " km/h", kSlowOrderColour,
                    "slow order from " + km_text(from) + " to " + km_text(to) + ": " + std::to_string(o.speed) +
                        " km/h"});
  }
  for (std::size_t w : cells_of_kind(d.cells, kind::kSlowWarning)) {
    const double metres = written_metres(w);
    if (!s.contains(metres)) continue;
    const double x = a.x(metres), y = bottom - kMarkAbove;
    labels.take_shape({x - 4, y - 4, x + 4, y + 4});
    warnings.push_back({x, y,
                        svg_polygon({{x, y - 4}, {x + 4, y + 4}, {x - 4, y + 4}},
                                    colour("fill", "white") + " " + colour("stroke", kSlowOrderColour) +
                                        " stroke-width=\"1.5\""),
                        "warning " + std::to_string(d.cells[w].Word1), kSlowOrderColour,
                        "warning of a slow order at " + km_text(metres) + ": " + std::to_string(d.cells[w].Word1) +
                            " km/h ahead"});
  }
  for (std::size_t c : cells_of_kind(d.cells, kind::kSpeedBoard)) {
    const double metres = written_metres(c);
    if (!s.contains(metres)) continue;
    const double x = a.x(metres), y = bottom - kMarkAbove;
    labels.take_shape({x - 3, y - 3, x + 3, y + 3});
    boards.push_back({x, y, svg_rect(x - 3, y - 3, 6, 6, colour("fill", kBoardColour)), board_values(d.cells[c]),
                      kBoardColour, "speed board at " + km_text(metres) + ": " + board_values(d.cells[c]) + " km/h"});
  }
  std::vector<std::string> signals;
  for (const SignalMark& sig : d.signals) {
    if (!s.contains(sig.written)) continue;
    const double x = a.x(sig.written);
    const double y = bottom - kMarkAbove;
    labels.take_shape({x - 3.5, y - 3.5, x + 3.5, y + 3.5});
    out.push_back(svg_group(signal_title(sig),
                            {svg_polygon({{x, y - 3.5}, {x - 3.5, y + 3.5}, {x + 3.5, y + 3.5}},
                                         colour("fill", kSignalColour))}));
  }
  for (const auto* group : {&slow, &warnings, &boards}) add_speed_marks(*group, panel, labels, out);
}

void add_distance_scale(const Axis& a, double y, LabelLayout& labels, std::vector<std::string>& out) {
  const double step = std::max(round_length((a.to - a.from) / 10), 1.0);
  for (double m = std::ceil(a.from / step) * step; m <= a.to + 1e-9; m += step) {
    const double x = a.x(m);
    std::vector<std::string> tick = {svg_line(x, y - 4, x, y, "stroke=\"black\"")};
    const Rect box = text_box(x, y + 11, length_label(m), kTickFont, Anchor::Middle);
    if (labels.is_free(box, box)) {  // a crowded scale keeps the labels that fit
      labels.take(box);
      tick.push_back(svg_text(x, y + 11, length_label(m), "font-size=\"9\" text-anchor=\"middle\""));
    }
    labels.take_shape(segment_box(x, y - 4, x, y));
    out.push_back(svg_group("", tick));
  }
}

// The frame, and the heading above it inside the panel's width: clear of the
// tick labels, which stand left of the frame. Labels keep off its edges.
void add_frame(const Box& b, const std::string& title, LabelLayout& labels, std::vector<std::string>& out) {
  out.push_back(svg_rect(b.x, b.y, b.w, b.h, "fill=\"none\" stroke=\"#bbbbbb\""));
  for (const auto& [x0, y0, x1, y1] : {std::array<double, 4>{b.x, b.y, b.x + b.w, b.y},
                                      std::array<double, 4>{b.x, b.y + b.h, b.x + b.w, b.y + b.h},
                                      std::array<double, 4>{b.x, b.y, b.x, b.y + b.h},
                                      std::array<double, 4>{b.x + b.w, b.y, b.x + b.w, b.y + b.h}}) {
    labels.take_shape(segment_box(x0, y0, x1, y1));
  }
  out.push_back(svg_text(b.x, b.y - 5, title, "font-size=\"11\" font-weight=\"bold\""));
  labels.take_text(b.x, b.y - 5, title, kHeadingFont);
}

void add_elevation(const PlotData& d, const Stretch& s, const Axis& a, const Box& b, LabelLayout& labels,
                   std::vector<std::string>& out) {
  const std::vector<double> h = elevations(d);
  const auto [first, last] = cells_in(d, s);
  const std::size_t end = std::min(h.size() - 1, last);
  const auto [low_it, high_it] = std::minmax_element(h.begin() + static_cast<std::ptrdiff_t>(std::min(first, end)),
                                                     h.begin() + static_cast<std::ptrdiff_t>(end) + 1);
  const double step = std::max(round_length((*high_it - *low_it) / 3), 1.0);
  const ValueScale vs{b.y, b.h, std::floor(*low_it / step) * step,
                      std::max(std::ceil(*high_it / step), std::floor(*low_it / step) + 1) * step};
  add_grid(vs, a, step, " m", true, labels, out);
  std::vector<Point> area = {{a.x(static_cast<double>(first) * kCellMetres), b.y + b.h}};
  for (std::size_t i = first; i <= end; ++i) area.push_back({a.x(static_cast<double>(i) * kCellMetres), vs.y(h[i])});
  area.push_back({a.x(static_cast<double>(end) * kCellMetres), b.y + b.h});
  labels.take_shape({b.x, b.y, b.x + b.w, b.y + b.h});
  out.push_back(svg_polygon(area, colour("fill", kElevationColour) + " fill-opacity=\"0.35\" " +
                                      colour("stroke", kElevationColour) + " stroke-width=\"1\""));
}

}  // namespace

std::size_t slow_order_end(const std::vector<TrainCell>& cells, std::size_t start) {
  for (std::size_t i = start + 1; i < cells.size(); ++i) {
    if (cells[i].Kind == kind::kSlowEnd) return i;
    if (cells[i].Kind == kind::kSlowStart) break;  // the next order: this one ends where it starts
  }
  return start;
}

std::string board_values(const TrainCell& c) {
  std::vector<int> speeds;
  for (std::int16_t w : {c.Word1, c.Word2, c.Word3}) speeds.push_back(w / kBoardSpeedUnits);
  if (speeds[0] == speeds[1] && speeds[1] == speeds[2]) return std::to_string(speeds[0]);
  return std::to_string(speeds[0]) + "/" + std::to_string(speeds[1]) + "/" + std::to_string(speeds[2]);
}

std::vector<std::string> profile_panels(const PlotData& d, const Stretch& s, const ProfileBoxes& b,
                                        LabelLayout& labels) {
  std::vector<std::string> out;
  const Axis axis{b.gradient.x, b.gradient.w, s.from, s.to};
  const auto [first, last] = cells_in(d, s);
  const std::vector<double> g = gradients(d);
  const std::vector<double> v = speeds_in_force(d);
  const int widest = widest_gradient(g, first, last);
  const ValueScale gs{b.gradient.y, b.gradient.h, -static_cast<double>(widest), static_cast<double>(widest)};
  const ValueScale ss{b.speed.y, b.speed.h, 0, static_cast<double>(fastest(v))};
  const double bottom = b.speed.y + b.speed.h;

  // Figures first, so that every label placed after them keeps off them.
  add_frame(b.elevation, "Elevation above the start (m), from the gradients", labels, out);
  add_frame(b.gradient, "Gradient (per mille)", labels, out);
  add_frame(b.speed, "Speed in force (km/h): the limit, lowered by slow orders; speed boards, signals", labels, out);
  add_tunnels(d, s, axis, b.elevation.y, bottom, out);
  add_elevation(d, s, axis, b.elevation, labels, out);
  add_grid(gs, axis, widest > 20 ? 10 : 5, "", true, labels, out);
  add_grid(ss, axis, 20, " km/h", false, labels, out);
  std::vector<std::string> station_lines;
  add_station_lines(d, s, axis, b, station_lines);
  for (std::string& l : station_lines) out.push_back(std::move(l));
  const std::vector<Point> gradient_line = step_line(g, first, last, axis, gs);
  const std::vector<Point> speed_line = step_line(v, first, last, axis, ss);
  take_polyline(gradient_line, labels);
  take_polyline(speed_line, labels);
  out.push_back(svg_polyline(gradient_line, colour("stroke", kGradientColour) + " stroke-width=\"1.5\""));
  out.push_back(svg_polyline(speed_line, colour("stroke", kSpeedColour) + " stroke-width=\"1.5\""));
  add_distance_scale(axis, bottom + 4, labels, out);
  add_speed_objects(d, s, axis, ss, b.speed, v, labels, out);
  add_signs(d, s, axis, b, labels, out);
  add_station_names(d, s, axis, b, labels, out);
  return out;
}

}  // namespace scenario::tool
