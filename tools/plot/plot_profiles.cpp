// The profile panels: elevation, gradient and speed limit against distance, with the route's objects marked.
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

// Distance along the route to x.
struct Axis {
  double left = 0, width = 0, metres = 1;
  double x(double m) const { return left + std::clamp(m, 0.0, metres) / metres * width; }
};

// A value range to y inside one panel.
struct ValueScale {
  double top = 0, height = 0, low = 0, high = 1;
  double y(double v) const { return top + (high - std::clamp(v, low, high)) / (high - low) * height; }
};

std::string colour(const char* attribute, const char* value) {
  return std::string(attribute) + "=\"" + value + "\"";
}

// Cells of the route only: the 7000 m tail carries no profile worth drawing.
std::size_t route_cells(const PlotData& d) {
  return std::min(d.cells.size(), static_cast<std::size_t>(d.route_length / kCellMetres) + 1);
}

std::vector<TrainCell> cells_of_route(const PlotData& d) {
  return {d.cells.begin(), d.cells.begin() + static_cast<std::ptrdiff_t>(route_cells(d))};
}

std::vector<Point> step_line(const PlotData& d, CellByte field, double (*value)(int), const Axis& axis,
                             const ValueScale& scale) {
  std::vector<Point> out;
  for (const Run& r : runs_of(cells_of_route(d), field)) {
    const double y = scale.y(value(r.value));
    out.push_back({axis.x(static_cast<double>(r.first) * kCellMetres), y});
    out.push_back({axis.x(static_cast<double>(r.last + 1) * kCellMetres), y});
  }
  return out;
}

double gradient_of(int byte) { return byte == 0 ? 0.0 : byte - 100.0; }
double speed_of(int byte) { return byte * 5.0; }

// Heights above the route's start, metre by metre of cells: each cell
// climbs its gradient (per mille) over its 50 m.
std::vector<double> elevations(const PlotData& d) {
  std::vector<double> h = {0.0};
  for (const TrainCell& c : cells_of_route(d)) h.push_back(h.back() + gradient_of(c.Byte5) * kCellMetres / 1000.0);
  return h;
}

int widest_gradient(const PlotData& d) {
  int widest = 5;
  for (const TrainCell& c : cells_of_route(d)) {
    if (c.Byte5 != 0) widest = std::max(widest, std::abs(c.Byte5 - 100));
  }
  return (widest + 4) / 5 * 5;
}

int fastest(const PlotData& d) {
  int top = 20;
  for (const TrainCell& c : cells_of_route(d)) top = std::max(top, c.Byte4 * 5);
  for (std::size_t i : cells_of_kind(d.cells, kind::kSlowStart)) top = std::max<int>(top, d.cells[i].Word1);
  return (top + 20 + 19) / 20 * 20;
}

void add_grid(const ValueScale& s, const Axis& a, double step, const std::string& unit, bool signed_values,
              LabelLayout& labels, std::vector<std::string>& out) {
  for (double v = std::ceil(s.low / step) * step; v <= s.high + 1e-9; v += step) {
    const double y = s.y(v);
    out.push_back(svg_line(a.left, y, a.left + a.width, y,
                           v == 0 ? "stroke=\"#888888\" stroke-width=\"1\"" : "stroke=\"#e4e4e4\" stroke-width=\"1\""));
    std::string label = signed_values && v > 0 ? "+" : "";
    label += svg_number(v) + unit;
    const Rect box = text_box(a.left - 4, y + 3, label, kTickFont, Anchor::End);
    if (!labels.is_free(box, box)) continue;  // a crowded scale keeps the labels that fit
    labels.take(box);
    out.push_back(svg_text(a.left - 4, y + 3, label, "font-size=\"9\" text-anchor=\"end\" fill=\"#555555\""));
  }
}

void add_tunnels(const PlotData& d, const Axis& a, double top, double bottom, std::vector<std::string>& out) {
  for (const Tunnel& t : tunnels_of(d.cells)) {
    const double x1 = a.x(static_cast<double>(t.first) * kCellMetres);
    const double x2 = a.x(static_cast<double>(t.last + 1) * kCellMetres);
    if (x2 <= x1) continue;
    out.push_back(svg_rect(x1, top, x2 - x1, bottom - top, colour("fill", kTunnelColour) + " fill-opacity=\"0.18\""));
  }
}

void leader(double x1, double y1, double x2, double y2, std::vector<std::string>& out) {
  out.push_back(svg_line(x1, y1, x2, y2, "stroke=\"#aaaaaa\" stroke-width=\"0.6\""));
}

void add_stations(const PlotData& d, const Axis& a, const ProfileBoxes& b, LabelLayout& labels,
                  std::vector<std::string>& out) {
  const std::string line = colour("stroke", kStationColour) + " stroke-width=\"0.8\" stroke-dasharray=\"3,3\"";
  const std::string style = colour("fill", kStationColour) + " font-size=\"8\"";
  const double bottom = b.speed.y + b.speed.h;
  for (const StationView& s : stations_of(d.rows)) {
    const double x = a.x(s.record->Position);
    out.push_back(svg_line(x, b.elevation.y, x, bottom, line));
    auto p = labels.place_in_rows(x, b.station_rows_top, b.row_pitch, b.rows, s.record->Name, kLabelFont);
    if (!p) continue;
    leader(x, b.station_rows_top - b.row_pitch + 1, x, p->box.y0, out);
    out.push_back(svg_text(p->x, p->y, s.record->Name, style));
  }
}

void add_signals(const PlotData& d, const Axis& a, double bottom, std::vector<std::string>& out) {
  for (std::size_t c : cells_of_kind(d.cells, kind::kSignal)) {
    const double x = a.x(static_cast<double>(c) * kCellMetres);
    out.push_back(svg_polygon({{x, bottom - 7}, {x - 3.5, bottom}, {x + 3.5, bottom}}, colour("fill", kSignalColour)));
  }
}

// Sign markers on the top edge of the first panel, their texts in rows above
// it (the lowest row first), each joined to its marker.
void add_signs(const PlotData& d, const Axis& a, const ProfileBoxes& b, LabelLayout& labels,
               std::vector<std::string>& out) {
  const std::string style = colour("fill", "#a65a00") + " font-size=\"8\"";
  const double top = b.elevation.y;
  const double lowest_row = b.sign_rows_top + b.row_pitch * static_cast<double>(b.rows - 1);
  for (const SignView& s : signs_of(d.rows, d.cells)) {
    const double x = a.x(static_cast<double>(s.cell) * kCellMetres);
    out.push_back(svg_polygon({{x, top - 4}, {x + 4, top}, {x, top + 4}, {x - 4, top}}, colour("fill", kSignColour)));
    const std::string text = squeeze_blanks(s.text);
    auto p = labels.place_in_rows(x, lowest_row, -b.row_pitch, b.rows, text, kLabelFont);
    if (!p) continue;
    leader(x, top - 4, x, p->box.y1, out);
    out.push_back(svg_text(p->x, p->y, text, style));
  }
}

// Slow orders in the speed panel: the restricted stretch from the start cell
// to the end cell at its speed, the warning point marked, the speed written.
void add_slow_orders(const PlotData& d, const Axis& a, const ValueScale& s, const Box& panel, LabelLayout& labels,
                     std::vector<std::string>& out) {
  const Rect within{panel.x, panel.y, panel.x + panel.w, panel.y + panel.h};
  for (std::size_t start : cells_of_kind(d.cells, kind::kSlowStart)) {
    std::size_t end = start;
    while (end + 1 < d.cells.size() && d.cells[end].Kind != kind::kSlowEnd) ++end;
    const double x1 = a.x(static_cast<double>(start) * kCellMetres);
    const double x2 = std::max(a.x(static_cast<double>(end) * kCellMetres), x1 + 2);
    const double y = s.y(d.cells[start].Word1);
    out.push_back(svg_rect(x1, y, x2 - x1, panel.y + panel.h - y,
                           colour("fill", kSlowOrderColour) + " fill-opacity=\"0.25\" " +
                               colour("stroke", kSlowOrderColour) + " stroke-width=\"1.2\""));
    const std::string text = "slow " + std::to_string(d.cells[start].Word1) + " km/h";
    if (auto p = labels.place_near(x1, y, text, kLabelFont, within)) {
      if (p->leader) leader(x1, y, p->box.x0, p->box.y1, out);
      out.push_back(svg_text(p->x, p->y, text, colour("fill", kSlowOrderColour) + " font-size=\"8\""));
    }
  }
  for (std::size_t w : cells_of_kind(d.cells, kind::kSlowWarning)) {
    const double x = a.x(static_cast<double>(w) * kCellMetres);
    out.push_back(svg_polygon({{x, panel.y}, {x - 4, panel.y + 7}, {x + 4, panel.y + 7}},
                              colour("fill", kSlowOrderColour)));
  }
}

// Speed boards as small squares on the speed panel's lower edge.
void add_boards(const PlotData& d, const Axis& a, double bottom, std::vector<std::string>& out) {
  for (std::size_t c : cells_of_kind(d.cells, kind::kSpeedBoard)) {
    const double x = a.x(static_cast<double>(c) * kCellMetres);
    out.push_back(svg_rect(x - 2.5, bottom - 14, 5, 5, colour("fill", kBoardColour)));
  }
}

void add_distance_scale(const Axis& a, double y, LabelLayout& labels, std::vector<std::string>& out) {
  const double step = std::max(round_length(a.metres / 10), 1.0);
  for (double m = 0; m <= a.metres + 1e-9; m += step) {
    const double x = a.x(m);
    out.push_back(svg_line(x, y - 4, x, y, "stroke=\"black\""));
    const Rect box = text_box(x, y + 9, length_label(m), kTickFont, Anchor::Middle);
    if (!labels.is_free(box, box)) continue;
    labels.take(box);
    out.push_back(svg_text(x, y + 9, length_label(m), "font-size=\"9\" text-anchor=\"middle\""));
  }
}

// The frame, and the heading above it inside the panel's width: clear of the
// tick labels, which stand left of the frame.
void add_frame(const Box& b, const std::string& title, LabelLayout& labels, std::vector<std::string>& out) {
  out.push_back(svg_rect(b.x, b.y, b.w, b.h, "fill=\"none\" stroke=\"#bbbbbb\""));
  out.push_back(svg_text(b.x, b.y - 5, title, "font-size=\"11\" font-weight=\"bold\""));
  labels.take_text(b.x, b.y - 5, title, kHeadingFont);
}

void add_elevation(const PlotData& d, const Axis& a, const Box& b, LabelLayout& labels, std::vector<std::string>& out) {
  const std::vector<double> h = elevations(d);
  const auto [low_it, high_it] = std::minmax_element(h.begin(), h.end());
  const double step = std::max(round_length((*high_it - *low_it) / 3), 1.0);
  const ValueScale s{b.y, b.h, std::floor(*low_it / step) * step, std::max(std::ceil(*high_it / step), std::floor(*low_it / step) + 1) * step};
  add_grid(s, a, step, " m", true, labels, out);
  std::vector<Point> area = {{a.x(0), b.y + b.h}};
  for (std::size_t i = 0; i < h.size(); ++i) area.push_back({a.x(static_cast<double>(i) * kCellMetres), s.y(h[i])});
  area.push_back({a.x(static_cast<double>(h.size() - 1) * kCellMetres), b.y + b.h});
  out.push_back(svg_polygon(area, colour("fill", kElevationColour) + " fill-opacity=\"0.35\" " +
                                      colour("stroke", kElevationColour) + " stroke-width=\"1\""));
}

}  // namespace

std::vector<std::string> profile_panels(const PlotData& d, const ProfileBoxes& b, LabelLayout& labels) {
  std::vector<std::string> out;
  const Axis axis{b.gradient.x, b.gradient.w, static_cast<double>(std::max(d.route_length, 1))};
  const int g = widest_gradient(d);
  const ValueScale gs{b.gradient.y, b.gradient.h, -static_cast<double>(g), static_cast<double>(g)};
  const ValueScale ss{b.speed.y, b.speed.h, 0, static_cast<double>(fastest(d))};
  const double bottom = b.speed.y + b.speed.h;

  add_frame(b.elevation, "Elevation above the start (m), from the gradients", labels, out);
  add_frame(b.gradient, "Gradient (per mille)", labels, out);
  add_frame(b.speed, "Speed limit (km/h), slow orders and speed boards", labels, out);
  add_tunnels(d, axis, b.elevation.y, bottom, out);
  add_elevation(d, axis, b.elevation, labels, out);
  add_grid(gs, axis, g > 20 ? 10 : 5, "", true, labels, out);
  add_grid(ss, axis, 20, " km/h", false, labels, out);
  out.push_back(svg_polyline(step_line(d, &TrainCell::Byte5, gradient_of, axis, gs),
                             colour("stroke", kGradientColour) + " stroke-width=\"1.5\""));
  out.push_back(svg_polyline(step_line(d, &TrainCell::Byte4, speed_of, axis, ss),
                             colour("stroke", kSpeedColour) + " stroke-width=\"1.5\""));
  add_slow_orders(d, axis, ss, b.speed, labels, out);
  add_boards(d, axis, bottom, out);
  add_signals(d, axis, bottom, out);
  add_distance_scale(axis, bottom + 4, labels, out);
  add_signs(d, axis, b, labels, out);
  add_stations(d, axis, b, labels, out);
  return out;
}

}  // namespace scenario::tool
