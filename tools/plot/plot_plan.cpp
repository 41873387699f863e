// The track plan panel: the stretch's points to scale, its tunnels, km posts, stations, signs and signals.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "common/scenario_view.h"
#include "common/svg.h"
#include "plot/label_layout.h"
#include "plot/plot_panels.h"

namespace scenario::tool {
namespace {

constexpr double kPad = 24;
constexpr std::int64_t kStep = 10;  // metres between drawn points
constexpr double kTrackHalfWidth = 1;
constexpr double kTunnelHalfWidth = 3;
constexpr std::size_t kSignWidth = 20;  // characters of a sign label's line
constexpr double kNearBucket = 16;      // side of a bucket of the track-point grid
constexpr double kKmPerMetre = 1000;

// How far a label may stand from its anchor, in page units: a short leader.
constexpr double kStationReach = 62;
constexpr double kPostReach = 38;
constexpr double kSignReach = 45;
constexpr double kSignalReach = 38;

std::optional<Point> track_point(const LineValues& v, std::int64_t m) {
  if (m < 0 || m >= static_cast<std::int64_t>(v.x.size())) return std::nullopt;
  const LineCell& x = v.x[static_cast<std::size_t>(m)];
  const LineCell& y = v.y[static_cast<std::size_t>(m)];
  if (x.tag == LineTag::Empty || y.tag == LineTag::Empty) return std::nullopt;
  return Point{x.value, y.value};
}

// The track's points from `from` to `to` every kStep metres, with the metre of each.
struct TrackPoint {
  Point at;
  double metres = 0;
};
std::vector<TrackPoint> track_between(const LineValues& v, std::int64_t from, std::int64_t to) {
  std::vector<TrackPoint> out;
  for (std::int64_t m = from; m < to; m += kStep) {
    if (auto p = track_point(v, m)) out.push_back({*p, static_cast<double>(m)});
  }
  if (auto p = track_point(v, to)) out.push_back({*p, static_cast<double>(to)});
  return out;
}

// Maps plan metres (X right, Y up) into the box, same scale on both axes.
struct PlanView {
  double min_x = 0, max_y = 0, scale = 1, left = 0, top = 0;
  Point at(const Point& p) const { return {left + (p.first - min_x) * scale, top + (max_y - p.second) * scale}; }
};

PlanView fit(const std::vector<TrackPoint>& route, const Box& box) {
  double min_x = std::numeric_limits<double>::max(), max_x = -min_x, min_y = min_x, max_y = -min_x;
  for (const TrackPoint& t : route) {
    const auto [x, y] = t.at;
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

// The drawn track points in a grid, to find the part of the track nearest a
// place on the page.
class TrackIndex {
 public:
  TrackIndex(std::vector<TrackPoint> points, const Box& box) : points_(std::move(points)), box_(box) {
    columns_ = static_cast<std::size_t>(std::ceil(box.w / kNearBucket)) + 1;
    rows_ = static_cast<std::size_t>(std::ceil(box.h / kNearBucket)) + 1;
    buckets_.resize(columns_ * rows_);
    for (std::size_t i = 0; i < points_.size(); ++i) buckets_[bucket_of(points_[i].at)].push_back(i);
  }

  // The metre of the drawn point nearest `p`, searched within `radius`.
  std::optional<double> nearest_metres(const Point& p, double radius) const {
    const auto [c0, r0] = cell_of({p.first - radius, p.second - radius});
    const auto [c1, r1] = cell_of({p.first + radius, p.second + radius});
    double best = radius * radius;
    std::optional<double> metres;
    for (std::size_t r = r0; r <= r1; ++r) {
      for (std::size_t c = c0; c <= c1; ++c) {
        for (std::size_t i : buckets_[r * columns_ + c]) {
          const double dx = points_[i].at.first - p.first, dy = points_[i].at.second - p.second;
          if (dx * dx + dy * dy <= best) best = dx * dx + dy * dy, metres = points_[i].metres;
        }
      }
    }
    return metres;
  }

 private:
  std::pair<std::size_t, std::size_t> cell_of(const Point& p) const {
    const double c = std::clamp(std::floor((p.first - box_.x) / kNearBucket), 0.0, static_cast<double>(columns_ - 1));
    const double r = std::clamp(std::floor((p.second - box_.y) / kNearBucket), 0.0, static_cast<double>(rows_ - 1));
    return {static_cast<std::size_t>(c), static_cast<std::size_t>(r)};
  }
  std::size_t bucket_of(const Point& p) const {
    const auto [c, r] = cell_of(p);
    return r * columns_ + c;
  }

  std::vector<TrackPoint> points_;
  Box box_;
  std::size_t columns_ = 1, rows_ = 1;
  std::vector<std::vector<std::size_t>> buckets_;
};

std::vector<Point> screen_points(const std::vector<TrackPoint>& points, const PlanView& view) {
  std::vector<Point> out;
  out.reserve(points.size());
  for (const TrackPoint& p : points) out.push_back(view.at(p.at));
  return out;
}

// A drawn line whose segments no label may cover.
void take_polyline(const std::vector<Point>& points, double half_width, LabelLayout& labels) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    labels.take_shape(segment_box(points[i - 1].first, points[i - 1].second, points[i].first, points[i].second,
                                  half_width));
  }
}

std::string colour(const char* attribute, const char* value) { return std::string(attribute) + "=\"" + value + "\""; }

void add_tunnels(const PlotData& d, const Stretch& s, const PlanView& view, LabelLayout& labels,
                 std::vector<std::string>& out) {
  const std::string style = colour("stroke", kTunnelColour) + " stroke-width=\"6\" stroke-opacity=\"0.55\"";
  for (const TunnelRange& t : d.tunnels) {
    const auto from = static_cast<std::int64_t>(std::max<double>(t.from, s.from));
    const auto to = static_cast<std::int64_t>(std::min<double>(t.to, s.to));
    if (from >= to) continue;
    const std::vector<Point> drawn = screen_points(track_between(*d.plan, from, to), view);
    if (drawn.size() < 2) continue;
    take_polyline(drawn, kTunnelHalfWidth, labels);
    out.push_back(svg_group("tunnel from " + km_text(t.from) + " to " + km_text(t.to) + " (" +
                                length_label(t.to - t.from) + ")",
                            {svg_polyline(drawn, style)}));
  }
}

Rect rect_of(const Box& b) { return {b.x, b.y, b.x + b.w, b.y + b.h}; }

// One object on the plan: its marker, the label that may stand near it, and
// the tooltip on both.
struct PlanMark {
  Point at;
  double metres = 0;
  std::string marker;
  Rect marker_box;
  Label label;
  const char* colour;
  double reach = 0;
  std::string title;
};

// Labels in order of importance: the ones placed first get the nearest
// places. A label must stand nearer to its own stretch of track than to any
// other, so that where the track loops it stays on its anchor's side.
void add_labels(const std::vector<PlanMark>& marks, const Box& box, const PlanView& view, const TrackIndex& track,
                LabelLayout& labels, std::vector<std::string>& out) {
  for (const PlanMark& m : marks) {
    std::vector<std::string> children = {m.marker};
    const Acceptable near_side = [&](const Rect& r) {
      const Point centre{(r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2};
      const double away = std::hypot(centre.first - m.at.first, centre.second - m.at.second);
      const auto nearest = track.nearest_metres(centre, away + kNearBucket);
      return !nearest || std::abs(*nearest - m.metres) <= 1.5 * away / view.scale + 2 * kStep;
    };
    if (auto p = labels.place_near(m.at.first, m.at.second, m.label, rect_of(box), m.reach, near_side)) {
      if (p->leader) children.push_back(svg_line(p->lx0, p->ly0, p->lx1, p->ly1, "stroke=\"#999999\" stroke-width=\"0.6\""));
      for (std::size_t i = 0; i < m.label.lines.size(); ++i) {
        children.push_back(svg_text(p->x, p->y + line_pitch(m.label.font_size) * static_cast<double>(i),
                                    m.label.lines[i],
                                    "font-size=\"" + svg_number(m.label.font_size) + "\" " + colour("fill", m.colour)));
      }
    }
    out.push_back(svg_group(m.title, children));
  }
}

// Where a route position lies on the plan, when the stretch holds it.
std::optional<Point> on_plan(const PlotData& d, const Stretch& s, const PlanView& view, double metres) {
  if (!s.contains(metres)) return std::nullopt;
  auto p = track_point(*d.plan, static_cast<std::int64_t>(std::lround(metres)));
  if (!p) return std::nullopt;
  return view.at(*p);
}

PlanMark mark_at(const Point& at, double metres, double radius, std::string marker, Label label, const char* fill,
                 double reach, std::string title) {
  return {at,    metres, std::move(marker), {at.first - radius, at.second - radius, at.first + radius, at.second + radius},
          std::move(label), fill, reach, std::move(title)};
}

// Km posts where the chainage a driver reads is a round number, and one at
// each change of chainage system, labelled with both values.
std::vector<PlanMark> km_posts(const PlotData& d, const Stretch& s, const PlanView& view) {
  std::vector<PlanMark> posts;
  const std::string fill = colour("fill", kKmPostColour);
  auto post = [&](double metres, const std::string& text, const std::string& title, bool change) {
    const auto at = on_plan(d, s, view, metres);
    if (!at) return;
    const double r = change ? 3 : 2;
    std::string marker = change ? svg_polygon({{at->first, at->second - r}, {at->first + r, at->second + r},
                                               {at->first - r, at->second + r}}, fill)
                                : svg_rect(at->first - r, at->second - r, 2 * r, 2 * r, fill);
    posts.push_back(mark_at(*at, metres, r, std::move(marker), Label{{text}, 9}, kKmPostColour, kPostReach, title));
  };
  const double step = std::max(round_length((s.to - s.from) / 9.0), kKmPerMetre);
  // The stretches of one chainage system each: bounded by the systems' starts.
  std::vector<double> bounds = {s.from, s.to};
  for (int row : kChainageRows) {
    const double start = d.rows[static_cast<std::size_t>(row)].Start;
    if (start > s.from && start < s.to) bounds.push_back(start);
  }
  std::sort(bounds.begin(), bounds.end());
  bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    const auto a = static_cast<std::int64_t>(std::ceil(bounds[i]));
    const auto b = static_cast<std::int64_t>(std::floor(bounds[i + 1]));
    const std::int64_t at_a = chainage_at(d.rows, a);
    const std::int64_t direction = chainage_at(d.rows, a + 1) >= at_a ? 1 : -1;
    if (i > 0) {
      // The chainage the previous system would give here, one metre on from its last.
      const std::int64_t last = chainage_at(d.rows, a - 1);
      const std::int64_t before = last + (last >= chainage_at(d.rows, a - 2) ? 1 : -1);
      post(static_cast<double>(a), chainage_text(before) + "/" + chainage_text(at_a),
           "change of chainage at " + km_text(static_cast<double>(a)) + " of the route: " + chainage_text(before) +
               " becomes " + chainage_text(at_a),
           true);
    }
    const auto whole = static_cast<std::int64_t>(step);
    // The first round chainage of this system at `a` or after it, walking with the route.
    const std::int64_t down = at_a >= 0 ? at_a / whole * whole : -((-at_a + whole - 1) / whole * whole);
    const std::int64_t first = direction < 0 || down == at_a ? down : down + whole;
    for (std::int64_t c = first;; c += direction * whole) {
      const std::int64_t m = a + (c - at_a) * direction;
      if (m > b || (m == b && i + 2 < bounds.size())) break;
      if (m == a && i > 0) continue;  // the change post stands there
      post(static_cast<double>(m), chainage_text(c),
           chainage_text(c) + " at " + km_text(static_cast<double>(m)) + " of the route", false);
    }
  }
  return posts;
}

std::string station_title(const PlotData& d, const ScenarioRecord& r) {
  return "station " + r.Name + " at " + km_text(r.Position) + " of the route, " +
         chainage_text(chainage_at(d.rows, r.Position));
}

void add_marks(const PlotData& d, const Stretch& s, const PlanView& view, const Box& box, const TrackIndex& track,
               LabelLayout& labels, std::vector<std::string>& out) {
  std::vector<PlanMark> stations, signs, signals;
  const std::string station_dot = colour("fill", kStationColour) + " stroke=\"white\" stroke-width=\"1\"";
  for (const StationView& st : stations_of(d.rows)) {
    if (auto at = on_plan(d, s, view, st.record->Position)) {
      stations.push_back(mark_at(*at, st.record->Position, 4.5, svg_circle(at->first, at->second, 4, station_dot),
                                 Label{{st.record->Name}, 10}, kStationColour, kStationReach,
                                 station_title(d, *st.record)));
    }
  }
  for (const SignView& sign : signs_of(d.rows, d.cells)) {
    const double metres = (static_cast<double>(sign.cell) - 1) * kCellMetres;
    if (auto at = on_plan(d, s, view, metres)) {
      const double r = 3.5;
      signs.push_back(mark_at(*at, metres, r,
                              svg_polygon({{at->first, at->second - r}, {at->first + r, at->second},
                                           {at->first, at->second + r}, {at->first - r, at->second}},
                                          colour("fill", kSignColour)),
                              Label{wrapped(sign.text, kSignWidth), 8}, kSignTextColour, kSignReach,
                              "sign at " + km_text(metres) + ": " + squeeze_blanks(sign.text)));
    }
  }
  for (const SignalMark& sig : d.signals) {
    if (auto at = on_plan(d, s, view, sig.written)) {
      signals.push_back(mark_at(*at, sig.written, 2.5,
                                svg_circle(at->first, at->second, 2.5, colour("fill", kSignalColour)),
                                Label{{"S " + km_text(sig.written)}, 7}, kSignalColour, kSignalReach,
                                signal_title(sig)));
    }
  }
  const std::vector<PlanMark> posts = km_posts(d, s, view);
  // Every marker is taken before any label is placed: no label covers another's marker.
  const std::vector<const std::vector<PlanMark>*> groups = {&stations, &posts, &signs, &signals};
  for (const auto* group : groups) {
    for (const PlanMark& m : *group) labels.take_shape(m.marker_box);
  }
  for (const auto* group : groups) add_labels(*group, box, view, track, labels, out);
}

void add_scale_bar(const PlanView& view, const Box& box, LabelLayout& labels, std::vector<std::string>& out) {
  const double metres = round_length(160 / view.scale);
  const double length = metres * view.scale;
  const double x = box.x + 16, y = box.y + box.h - 14;
  const std::string stroke = "stroke=\"black\" stroke-width=\"1.5\"";
  out.push_back(svg_group("scale: " + length_label(metres),
                          {svg_line(x, y, x + length, y, stroke), svg_line(x, y - 5, x, y + 1, stroke),
                           svg_line(x + length, y - 5, x + length, y + 1, stroke),
                           svg_text(x + length / 2, y - 7, length_label(metres), "font-size=\"10\" text-anchor=\"middle\"")}));
  labels.take_text(x + length / 2, y - 7, length_label(metres), 10, Anchor::Middle);
  labels.take_shape({x - 1, y - 6, x + length + 1, y + 2});
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
  if (metres >= kKmPerMetre) return svg_number(metres / kKmPerMetre) + " km";
  return svg_number(metres) + " m";
}

std::string signal_title(const SignalMark& s) {
  const std::string cell = "train cell " + std::to_string(s.cell);
  if (s.exact) return "signal written at " + std::to_string(s.written) + " m, in " + cell;
  return "signal in " + cell + ", written between " + std::to_string(s.written) + " and " +
         std::to_string(s.written + kCellMetres - 1) + " m";
}

std::string km_text(double metres) { return svg_number(metres / kKmPerMetre) + " km"; }

std::string chainage_text(std::int64_t metres) {
  const std::string sign = metres < 0 ? "-" : "";
  const std::int64_t m = metres < 0 ? -metres : metres;
  const std::int64_t km = m / 1000, rest = m % 1000;
  if (rest == 0) return "km " + sign + std::to_string(km);
  std::string r = std::to_string(rest);
  return "km " + sign + std::to_string(km) + "+" + std::string(3 - r.size(), '0') + r;
}

std::vector<std::string> wrapped(const std::string& text, std::size_t width) {
  // Words: the parenthesised groups, and within a group too wide for a line
  // its blank-separated parts.
  std::vector<std::string> groups;
  for (char c : squeeze_blanks(text)) {
    if (groups.empty() || (c == '(' && !groups.back().empty() && groups.back().back() == ')')) groups.emplace_back();
    groups.back() += c;
  }
  std::vector<std::pair<std::string, bool>> words;  // a word, and whether a blank stands before it
  for (const std::string& g : groups) {
    if (g.size() <= width) {
      words.push_back({g, false});
      continue;
    }
    bool first = true;
    for (std::size_t at = 0; at < g.size();) {
      std::size_t blank = g.find(' ', at);
      if (blank == std::string::npos) blank = g.size();
      if (blank > at) words.push_back({g.substr(at, blank - at), !first});
      first = false;
      at = blank + 1;
    }
  }
  std::vector<std::string> lines;
  for (const auto& [w, blank] : words) {
    const std::size_t joined = lines.empty() ? 0 : lines.back().size() + (blank ? 1 : 0) + w.size();
    if (!lines.empty() && joined <= width) {
      lines.back() += (blank ? " " : "") + w;
    } else {
      lines.push_back(w);
    }
  }
  return lines;
}

std::vector<std::string> plan_panel(const PlotData& d, const Stretch& s, const Box& box, LabelLayout& labels) {
  std::vector<std::string> out;
  out.push_back(svg_rect(box.x, box.y, box.w, box.h, std::string(kGround) + "fill=\"#fafafa\""));
  out.push_back(svg_rect(box.x, box.y, box.w, box.h, "fill=\"none\" stroke=\"#bbbbbb\""));
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
  const std::vector<TrackPoint> route =
      track_between(*d.plan, static_cast<std::int64_t>(s.from), static_cast<std::int64_t>(s.to));
  if (route.size() < 2) return out;
  const PlanView view = fit(route, box);
  std::vector<TrackPoint> drawn_points = route;
  for (TrackPoint& p : drawn_points) p.at = view.at(p.at);
  const TrackIndex track(drawn_points, box);
  add_tunnels(d, s, view, labels, out);
  const std::vector<Point> drawn = screen_points(route, view);
  out.push_back(svg_polyline(drawn, "stroke=\"black\" stroke-width=\"1.5\""));
  take_polyline(drawn, kTrackHalfWidth, labels);
  add_scale_bar(view, box, labels, out);
  add_marks(d, s, view, box, track, labels, out);
  return out;
}

}  // namespace scenario::tool
