// The track plan panel: the route's points to scale, its tunnels, stations, signals and a scale bar.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "plot/plot_panels.h"
#include "common/scenario_view.h"
#include "common/svg.h"

namespace scenario::tool {
namespace {

constexpr double kPad = 24;
constexpr std::int64_t kStep = 10;  // metres between drawn points

std::optional<Point> track_point(const LineValues& v, std::int64_t m) {
  if (m < 0 || m >= static_cast<std::int64_t>(v.x.size())) return std::nullopt;
  const LineCell& x = v.x[static_cast<std::size_t>(m)];
  const LineCell& y = v.y[static_cast<std::size_t>(m)];
  if (x.tag == LineTag::Empty || y.tag == LineTag::Empty) return std::nullopt;
  return Point{x.value, y.value};
}

std::vector<Point> track_between(const LineValues& v, std::int64_t from, std::int64_t to) {
  std::vector<Point> out;
  for (std::int64_t m = from; m < to; m += kStep) {
    if (auto p = track_point(v, m)) out.push_back(*p);
  }
  if (auto p = track_point(v, to)) out.push_back(*p);
  return out;
}

// Maps plan metres (X right, Y up) into the box, same scale on both axes.
struct PlanView {
  double min_x = 0, max_y = 0, scale = 1, left = 0, top = 0;
  Point at(const Point& p) const { return {left + (p.first - min_x) * scale, top + (max_y - p.second) * scale}; }
};

PlanView fit(const std::vector<Point>& route, const Box& box) {
  double min_x = std::numeric_limits<double>::max(), max_x = -min_x, min_y = min_x, max_y = -min_x;
  for (const auto& [x, y] : route) {
    min_x = std::min(min_x, x), max_x = std::max(max_x, x);
    min_y = std::min(min_y, y), max_y = std::max(max_y, y);
  }
  const double dx = std::max(max_x - min_x, 1.0), dy = std::max(max_y - min_y, 1.0);
  PlanView v;
  v.scale = std::min((box.w - 2 * kPad) / dx, (box.h - 2 * kPad) / dy);
  v.min_x = min_x;
  v.max_y = max_y;
  v.left = box.x + (box.w - dx * v.scale) / 2;
  v.top = box.y + (box.h - dy * v.scale) / 2;
  return v;
}

std::vector<Point> mapped(const std::vector<Point>& points, const PlanView& view) {
  std::vector<Point> out;
  out.reserve(points.size());
  for (const Point& p : points) out.push_back(view.at(p));
  return out;
}

void add_tunnels(const PlotData& d, const PlanView& view, std::vector<std::string>& out) {
  const std::string style = std::string("stroke=\"") + kTunnelColour + "\" stroke-width=\"6\" stroke-opacity=\"0.55\"";
  for (const Tunnel& t : tunnels_of(d.cells)) {
    auto from = static_cast<std::int64_t>(t.first) * kCellMetres;
    auto to = std::min<std::int64_t>(static_cast<std::int64_t>(t.last + 1) * kCellMetres, d.route_length);
    if (from >= to) continue;
    out.push_back(svg_polyline(mapped(track_between(*d.plan, from, to), view), style));
  }
}

void add_stations(const PlotData& d, const PlanView& view, std::vector<std::string>& out) {
  const std::string dot = std::string("fill=\"") + kStationColour + "\" stroke=\"white\" stroke-width=\"1\"";
  const std::string label = std::string("font-size=\"10\" fill=\"") + kStationColour + "\"";
  for (const StationView& s : stations_of(d.rows)) {
    auto p = track_point(*d.plan, std::clamp<std::int64_t>(s.record->Position, 0, d.route_length));
    if (!p) continue;
    Point at = view.at(*p);
    out.push_back(svg_circle(at.first, at.second, 4, dot));
    out.push_back(svg_text(at.first + 6, at.second - 4, s.record->Name, label));
  }
}

void add_signals(const PlotData& d, const PlanView& view, std::vector<std::string>& out) {
  const std::string dot = std::string("fill=\"") + kSignalColour + "\"";
  for (std::size_t c : cells_of_kind(d.cells, kind::kSignal)) {
    auto p = track_point(*d.plan, static_cast<std::int64_t>(c) * kCellMetres);
    if (!p) continue;
    Point at = view.at(*p);
    out.push_back(svg_circle(at.first, at.second, 2.5, dot));
  }
}

void add_scale_bar(const PlanView& view, const Box& box, std::vector<std::string>& out) {
  const double metres = round_length(160 / view.scale);
  const double length = metres * view.scale;
  const double x = box.x + 16, y = box.y + box.h - 14;
  const std::string stroke = "stroke=\"black\" stroke-width=\"1.5\"";
  out.push_back(svg_line(x, y, x + length, y, stroke));
  out.push_back(svg_line(x, y - 5, x, y + 1, stroke));
  out.push_back(svg_line(x + length, y - 5, x + length, y + 1, stroke));
  out.push_back(svg_text(x + length / 2, y - 6, length_label(metres), "font-size=\"10\" text-anchor=\"middle\""));
}

}  // namespace

double round_length(double approx) {
  if (!(approx > 0)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(approx)));
  for (double factor : {5.0, 2.0, 1.0}) {
    if (factor * power <= approx) return factor * power;
  }
  return power;
}

std::string length_label(double metres) {
  if (metres >= 1000) return svg_number(metres / 1000) + " km";
  return svg_number(metres) + " m";
}

std::vector<std::string> plan_panel(const PlotData& d, const Box& box) {
  std::vector<std::string> out;
  out.push_back(svg_rect(box.x, box.y, box.w, box.h, "fill=\"#fafafa\" stroke=\"#bbbbbb\""));
  out.push_back(svg_text(box.x + 8, box.y + 16, "Track plan (north up, to scale)", "font-size=\"12\" font-weight=\"bold\""));
  if (!d.plan) {
    out.push_back(svg_text(box.x + box.w / 2, box.y + box.h / 2, "no track plan: " + d.route + "_linea.dat was not found",
                           "font-size=\"14\" text-anchor=\"middle\" fill=\"#666666\""));
    return out;
  }
  const std::vector<Point> route = track_between(*d.plan, 0, d.route_length);
  if (route.size() < 2) return out;
  const PlanView view = fit(route, box);
  add_tunnels(d, view, out);
  out.push_back(svg_polyline(mapped(route, view), "stroke=\"black\" stroke-width=\"1.5\""));
  add_signals(d, view, out);
  add_stations(d, view, out);
  add_scale_bar(view, box, out);
  return out;
}

}  // namespace scenario::tool
