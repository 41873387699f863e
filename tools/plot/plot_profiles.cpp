// The profile panels: gradient and speed limit against distance, with the route's objects marked.
#include <algorithm>
#include <cmath>

#include "plot/plot_panels.h"
#include "common/scenario_view.h"
#include "common/svg.h"

namespace scenario::tool {
namespace {

// Distance along the route to x, and a value range to y inside one panel.
struct Axis {
  double left = 0, width = 0, metres = 1;
  double x(double m) const { return left + std::clamp(m, 0.0, metres) / metres * width; }
};

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

std::vector<Point> step_line(const PlotData& d, CellByte field, double (*value)(int), const Axis& axis,
                             const ValueScale& scale) {
  std::vector<TrainCell> cells(d.cells.begin(), d.cells.begin() + static_cast<std::ptrdiff_t>(route_cells(d)));
  std::vector<Point> out;
  for (const Run& r : runs_of(cells, field)) {
    const double y = scale.y(value(r.value));
    out.push_back({axis.x(static_cast<double>(r.first) * kCellMetres), y});
    out.push_back({axis.x(static_cast<double>(r.last + 1) * kCellMetres), y});
  }
  return out;
}

double gradient_of(int byte) { return byte == 0 ? 0.0 : byte - 100.0; }
double speed_of(int byte) { return byte * 5.0; }

int widest_gradient(const PlotData& d) {
  int widest = 5;
  for (std::size_t i = 0; i < route_cells(d); ++i) {
    if (d.cells[i].Byte5 != 0) widest = std::max(widest, std::abs(d.cells[i].Byte5 - 100));
  }
  return (widest + 4) / 5 * 5;
}

int fastest(const PlotData& d) {
  int top = 20;
  for (std::size_t i = 0; i < route_cells(d); ++i) top = std::max(top, d.cells[i].Byte4 * 5);
  return (top + 20 + 19) / 20 * 20;
}

void add_grid(const ValueScale& s, const Axis& a, double step, const std::string& unit, std::vector<std::string>& out) {
  for (double v = std::ceil(s.low / step) * step; v <= s.high + 1e-9; v += step) {
    const double y = s.y(v);
    out.push_back(svg_line(a.left, y, a.left + a.width, y,
                           v == 0 ? "stroke=\"#888888\" stroke-width=\"1\"" : "stroke=\"#e4e4e4\" stroke-width=\"1\""));
    std::string label = v > 0 && unit != " km/h" ? "+" : "";
    label += svg_number(v) + unit;
    out.push_back(svg_text(a.left - 4, y + 3, label, "font-size=\"9\" text-anchor=\"end\" fill=\"#555555\""));
  }
}

void add_tunnels(const PlotData& d, const Axis& a, double top, double bottom, std::vector<std::string>& out) {
  for (const Tunnel& t : tunnels_of(d.cells)) {
    const double x1 = a.x(static_cast<double>(t.first) * kCellMetres);
    const double x2 = a.x(static_cast<double>(t.last + 1) * kCellMetres);
    if (x2 <= x1) continue;
    out.push_back(svg_rect(x1, top, x2 - x1, bottom - top, colour("fill", kTunnelColour) + " fill-opacity=\"0.22\""));
  }
}

void add_stations(const PlotData& d, const Axis& a, double top, double bottom, double labels_y,
                  std::vector<std::string>& out) {
  const std::string line = colour("stroke", kStationColour) + " stroke-width=\"0.8\" stroke-dasharray=\"3,3\"";
  const std::string label = colour("fill", kStationColour) + " font-size=\"8\"";
  for (const StationView& s : stations_of(d.rows)) {
    const double x = a.x(s.record->Position);
    out.push_back(svg_line(x, top, x, bottom, line));
    out.push_back(svg_text(x - 3, labels_y, s.record->Name, label, 90));
  }
}

void add_signals(const PlotData& d, const Axis& a, double bottom, std::vector<std::string>& out) {
  for (std::size_t c : cells_of_kind(d.cells, kind::kSignal)) {
    const double x = a.x(static_cast<double>(c) * kCellMetres);
    out.push_back(svg_polygon({{x, bottom - 7}, {x - 3.5, bottom}, {x + 3.5, bottom}}, colour("fill", kSignalColour)));
  }
}

void add_signs(const PlotData& d, const Axis& a, double top, std::vector<std::string>& out) {
  const std::string label = colour("fill", "#a65a00") + " font-size=\"8\"";
  for (const SignView& s : signs_of(d.rows, d.cells)) {
    const double x = a.x(static_cast<double>(s.cell) * kCellMetres);
    out.push_back(svg_polygon({{x, top - 4}, {x + 4, top}, {x, top + 4}, {x - 4, top}}, colour("fill", kSignColour)));
    out.push_back(svg_text(x + 3, top + 7, squeeze_blanks(s.text), label, 90));
  }
}

void add_distance_scale(const Axis& a, double y, std::vector<std::string>& out) {
  const double step = std::max(round_length(a.metres / 10), 1.0);
  for (double m = 0; m <= a.metres + 1e-9; m += step) {
    const double x = a.x(m);
    out.push_back(svg_line(x, y - 4, x, y, "stroke=\"black\""));
    out.push_back(svg_text(x, y + 9, length_label(m), "font-size=\"9\" text-anchor=\"middle\""));
  }
}

void add_frame(const Box& b, const std::string& title, std::vector<std::string>& out) {
  out.push_back(svg_rect(b.x, b.y, b.w, b.h, "fill=\"none\" stroke=\"#bbbbbb\""));
  out.push_back(svg_text(b.x - 60, b.y - 6, title, "font-size=\"11\" font-weight=\"bold\""));
}

}  // namespace

std::vector<std::string> profile_panels(const PlotData& d, const Box& gradient, const Box& speed, double labels_y) {
  std::vector<std::string> out;
  const Axis axis{gradient.x, gradient.w, static_cast<double>(std::max(d.route_length, 1))};
  const int g = widest_gradient(d);
  const ValueScale gs{gradient.y, gradient.h, -static_cast<double>(g), static_cast<double>(g)};
  const ValueScale ss{speed.y, speed.h, 0, static_cast<double>(fastest(d))};

  add_tunnels(d, axis, gradient.y, speed.y + speed.h, out);
  add_grid(gs, axis, g > 20 ? 10 : 5, "", out);
  add_grid(ss, axis, 20, " km/h", out);
  add_stations(d, axis, gradient.y, speed.y + speed.h, labels_y, out);
  out.push_back(svg_polyline(step_line(d, &TrainCell::Byte5, gradient_of, axis, gs),
                             colour("stroke", kGradientColour) + " stroke-width=\"1.5\""));
  out.push_back(svg_polyline(step_line(d, &TrainCell::Byte4, speed_of, axis, ss),
                             colour("stroke", kSpeedColour) + " stroke-width=\"1.5\""));
  add_frame(gradient, "Gradient (per mille)", out);
  add_frame(speed, "Speed limit (km/h)", out);
  add_signals(d, axis, speed.y + speed.h, out);
  add_signs(d, axis, gradient.y, out);
  add_distance_scale(axis, speed.y + speed.h + 4, out);
  return out;
}

}  // namespace scenario::tool
