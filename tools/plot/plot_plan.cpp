// The track plan panel: the route's points to scale, its tunnels, stations, signals and a scale bar.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "plot/label_layout.h"
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

Rect rect_of(const Box& b) { return {b.x, b.y, b.x + b.w, b.y + b.h}; }

// A label at its place, with a thin line back to its anchor when it stands off.
void add_label(const Placed& p, double ax, double ay, const std::string& text, double size, const char* fill,
               std::vector<std::string>& out) {
  if (p.leader) {
    const double lx = std::clamp(ax, p.box.x0, p.box.x1), ly = std::clamp(ay, p.box.y0, p.box.y1);
    out.push_back(svg_line(ax, ay, lx, ly, "stroke=\"#999999\" stroke-width=\"0.6\""));
  }
  out.push_back(svg_text(p.x, p.y, text, "font-size=\"" + svg_number(size) + "\" fill=\"" + fill + "\""));
}

struct PlanMark {
  Point at;
  std::string text;
  double size;
  const char* colour;
};

// Labels in order of importance: the ones placed first get the nearest places.
void add_labels(const std::vector<PlanMark>& marks, const Box& box, LabelLayout& labels, std::vector<std::string>& out) {
  for (const PlanMark& m : marks) {
    if (auto p = labels.place_near(m.at.first, m.at.second, m.text, m.size, rect_of(box))) {
      add_label(*p, m.at.first, m.at.second, m.text, m.size, m.colour, out);
    }
  }
}

std::optional<Point> on_plan(const PlotData& d, const PlanView& view, std::int64_t metres) {
  auto p = track_point(*d.plan, std::clamp<std::int64_t>(metres, 0, d.route_length));
  if (!p) return std::nullopt;
  return view.at(*p);
}

// "10.75 km": a position as an author reads it.
std::string km_text(std::int64_t metres) {
  std::string s = svg_number(static_cast<double>(metres) / 1000.0);
  return s + " km";
}

// A sign's text as a label: blanks squeezed, cut to a readable length.
std::string sign_label(const std::string& text) {
  constexpr std::size_t kLongest = 28;
  std::string s = squeeze_blanks(text);
  if (s.size() > kLongest) s = s.substr(0, kLongest - 3) + "...";
  return s;
}

void add_marks(const PlotData& d, const PlanView& view, const Box& box, LabelLayout& labels,
               std::vector<std::string>& out) {
  std::vector<PlanMark> stations, posts, signs, signals;
  const std::string station_dot = std::string("fill=\"") + kStationColour + "\" stroke=\"white\" stroke-width=\"1\"";
  for (const StationView& s : stations_of(d.rows)) {
    if (auto at = on_plan(d, view, s.record->Position)) {
      out.push_back(svg_circle(at->first, at->second, 4, station_dot));
      labels.take({at->first - 4, at->second - 4, at->first + 4, at->second + 4});
      stations.push_back({*at, s.record->Name, 10, kStationColour});
    }
  }
  const double step = std::max(round_length(d.route_length / 9.0), 1000.0);
  for (double m = step; m < d.route_length; m += step) {
    if (auto at = on_plan(d, view, static_cast<std::int64_t>(m))) {
      out.push_back(svg_rect(at->first - 2, at->second - 2, 4, 4, std::string("fill=\"") + kKmPostColour + "\""));
      posts.push_back({*at, length_label(m), 9, kKmPostColour});
    }
  }
  for (const SignView& s : signs_of(d.rows, d.cells)) {
    if (auto at = on_plan(d, view, static_cast<std::int64_t>(s.cell) * kCellMetres)) {
      out.push_back(svg_polygon({{at->first, at->second - 3.5}, {at->first + 3.5, at->second},
                                 {at->first, at->second + 3.5}, {at->first - 3.5, at->second}},
                                std::string("fill=\"") + kSignColour + "\""));
      signs.push_back({*at, sign_label(s.text), 8, "#a65a00"});
    }
  }
  for (std::size_t c : cells_of_kind(d.cells, kind::kSignal)) {
    const auto metres = static_cast<std::int64_t>(c) * kCellMetres;
    if (auto at = on_plan(d, view, metres)) {
      out.push_back(svg_circle(at->first, at->second, 2.5, std::string("fill=\"") + kSignalColour + "\""));
      signals.push_back({*at, "S " + km_text(metres), 7, kSignalColour});
    }
  }
  for (const auto* group : {&stations, &posts, &signs, &signals}) add_labels(*group, box, labels, out);
}

void add_scale_bar(const PlanView& view, const Box& box, LabelLayout& labels, std::vector<std::string>& out) {
  const double metres = round_length(160 / view.scale);
  const double length = metres * view.scale;
  const double x = box.x + 16, y = box.y + box.h - 14;
  const std::string stroke = "stroke=\"black\" stroke-width=\"1.5\"";
  out.push_back(svg_line(x, y, x + length, y, stroke));
  out.push_back(svg_line(x, y - 5, x, y + 1, stroke));
  out.push_back(svg_line(x + length, y - 5, x + length, y + 1, stroke));
  out.push_back(svg_text(x + length / 2, y - 6, length_label(metres), "font-size=\"10\" text-anchor=\"middle\""));
  labels.take_text(x + length / 2, y - 6, length_label(metres), 10, Anchor::Middle);
  labels.take({x, y - 6, x + length, y + 2});
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

std::vector<std::string> plan_panel(const PlotData& d, const Box& box, LabelLayout& labels) {
  std::vector<std::string> out;
  out.push_back(svg_rect(box.x, box.y, box.w, box.h, "fill=\"#fafafa\" stroke=\"#bbbbbb\""));
  const std::string heading = "Track plan (north up, to scale)";
  out.push_back(svg_text(box.x + 8, box.y + 16, heading, "font-size=\"12\" font-weight=\"bold\""));
  labels.take_text(box.x + 8, box.y + 16, heading, 12);
  if (!d.plan) {
    const std::string note = "no track plan: " + d.route + "_linea.dat was not found";
    out.push_back(svg_text(box.x + box.w / 2, box.y + box.h / 2, note,
                           "font-size=\"14\" text-anchor=\"middle\" fill=\"#666666\""));
    labels.take_text(box.x + box.w / 2, box.y + box.h / 2, note, 14, Anchor::Middle);
    return out;
  }
  const std::vector<Point> route = track_between(*d.plan, 0, d.route_length);
  if (route.size() < 2) return out;
  const PlanView view = fit(route, box);
  add_tunnels(d, view, out);
  const std::vector<Point> drawn = mapped(route, view);
  out.push_back(svg_polyline(drawn, "stroke=\"black\" stroke-width=\"1.5\""));
  // Labels keep off the track itself: a small box every few points.
  constexpr std::size_t kEvery = 4;
  for (std::size_t i = 0; i < drawn.size(); i += kEvery) {
    labels.take({drawn[i].first - 1.5, drawn[i].second - 1.5, drawn[i].first + 1.5, drawn[i].second + 1.5});
  }
  add_scale_bar(view, box, labels, out);
  add_marks(d, view, box, labels, out);
  return out;
}

}  // namespace scenario::tool
