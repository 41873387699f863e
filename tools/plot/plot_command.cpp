// Page layout of the plot: title, legend, the track plan above the profiles; which scenario and stretch to draw.
#include "plot/plot_command.h"

#include <cmath>

#include "common/scenario_view.h"
#include "common/svg.h"
#include "common/text_match.h"
#include "platform/atomic_file.h"
#include "plot/label_layout.h"
#include "plot/plot_panels.h"

namespace scenario::tool {
namespace {

constexpr double kWidth = 1200;
constexpr double kMargin = 20;
constexpr double kAxisLeft = 80;     // the profiles' left edge: room for their tick labels
constexpr double kAxisRight = 30;
constexpr double kTitleFont = 15;
constexpr double kSubtitleFont = 11;
constexpr double kLegendFont = 11;
constexpr double kRowPitch = 11;
constexpr std::size_t kLabelRows = 6;
constexpr double kMetresPerKm = 1000;

std::string title_of(const PlotData& d) {
  const std::string tunnels = (d.tunnels_complete ? "" : "at least ") + counted(d.tunnels.size(), "tunnel");
  return d.route + " / " + d.train + ": " + length_label(d.route_length) + ", " +
         counted(stations_of(d.rows).size(), "station") + ", " + counted(d.signals.size(), "signal") + ", " +
         tunnels + ", " + counted(cells_of_kind(d.cells, kind::kSign).size(), "sign") + ", " +
         counted(cells_of_kind(d.cells, kind::kSlowStart).size(), "slow order");
}

std::string subtitle_of(const PlotData& d, const Stretch& s) {
  std::string origin = d.origin == PlotOrigin::Sources ? "drawn from the sources, compiled in memory"
                                                       : "drawn from the binary files";
  if (d.origin == PlotOrigin::Sources && d.source_errors > 0) {
    origin += " (" + counted(d.source_errors, "error") + ": as compile --force would write them)";
  }
  const bool whole = s.from <= 0 && s.to >= d.route_length;
  return origin + "; " + (whole ? "the whole route" : "from " + km_text(s.from) + " to " + km_text(s.to)) +
         "; km posts give the chainage, distances the route position";
}

// One row of markers and their names, under the subtitle.
void add_legend(double x, double y, LabelLayout& labels, std::vector<std::string>& out) {
  struct Item {
    const char* colour;
    const char* text;
  };
  const Item items[] = {{kStationColour, "station"},     {kSignalColour, "signal"},         {kTunnelColour, "tunnel"},
                        {kSignColour, "sign"},           {kKmPostColour, "km post"},        {kElevationColour, "elevation"},
                        {kGradientColour, "gradient"},   {kSpeedColour, "speed in force"},  {kSlowOrderColour, "slow order"},
                        {kBoardColour, "speed board"}};
  for (const Item& item : items) {
    out.push_back(svg_group("", {svg_rect(x, y - 8, 10, 10, std::string("fill=\"") + item.colour + "\""),
                                 svg_text(x + 14, y, item.text, "font-size=\"11\"")}));
    labels.take_shape({x, y - 8, x + 10, y + 2});
    labels.take_text(x + 14, y, item.text, kLegendFont);
    x += 30 + text_width(item.text, kLegendFont);
  }
}

// The stretch the options ask for, within the route; absent when it lies
// past the route's end.
std::optional<Stretch> stretch_of(const PlotOptions& options, const PlotData& d) {
  Stretch s{0, static_cast<double>(std::max(d.route_length, 1))};
  if (options.from_km) s.from = *options.from_km * kMetresPerKm;
  if (options.to_km) s.to = std::min(s.to, *options.to_km * kMetresPerKm);
  if (s.from >= s.to) return std::nullopt;
  return s;
}

}  // namespace

std::string render_plot(const PlotData& d, const Stretch& s) {
  // From the top: title, subtitle, legend, track plan, sign texts over their
  // markers, the three profiles, the distance scale and the station names.
  const Box plan{kMargin, 74, kWidth - 2 * kMargin, 420};
  ProfileBoxes p;
  const double width = kWidth - kAxisLeft - kAxisRight;
  p.row_pitch = kRowPitch;
  p.rows = kLabelRows;
  p.sign_rows_top = plan.y + plan.h + 20;
  const double signs_bottom = p.sign_rows_top + kRowPitch * static_cast<double>(kLabelRows - 1);
  p.sign_marks_y = signs_bottom + 12;
  p.elevation = Box{kAxisLeft, p.sign_marks_y + 26, width, 90};
  p.gradient = Box{kAxisLeft, p.elevation.y + p.elevation.h + 26, width, 130};
  p.speed = Box{kAxisLeft, p.gradient.y + p.gradient.h + 26, width, 120};
  p.station_rows_top = p.speed.y + p.speed.h + 30;
  const double height = p.station_rows_top + kRowPitch * static_cast<double>(kLabelRows) + kMargin;

  LabelLayout labels(Rect{0, 0, kWidth, height});
  std::vector<std::string> e;
  const std::string title = title_of(d);
  e.push_back(svg_text(kMargin, 24, title, "font-size=\"15\" font-weight=\"bold\""));
  labels.take_text(kMargin, 24, title, kTitleFont);
  const std::string subtitle = subtitle_of(d, s);
  e.push_back(svg_text(kMargin, 42, subtitle, "font-size=\"11\" fill=\"#444444\""));
  labels.take_text(kMargin, 42, subtitle, kSubtitleFont);
  add_legend(kMargin, 62, labels, e);
  for (std::string& x : plan_panel(d, s, plan, labels)) e.push_back(std::move(x));
  for (std::string& x : profile_panels(d, s, p, labels)) e.push_back(std::move(x));
  return svg_document(kWidth, height, e);
}

std::string render_plot(const PlotData& d) { return render_plot(d, Stretch{0, static_cast<double>(std::max(d.route_length, 1))}); }

int run_plot(const PlotOptions& options, std::ostream& out, std::ostream& err) {
  std::optional<PlotData> compiled = compile_plot_data(options.dir, options.route, options.train);
  const PlotData d = compiled ? std::move(*compiled) : load_plot_data(options.dir, options.route, options.train);
  const std::optional<Stretch> s = stretch_of(options, d);
  if (!s) {
    err << "scenario_tool: error: --from " << svg_number(options.from_km.value_or(0))
        << " lies at or past the end of the route (" << km_text(d.route_length) << ")\n";
    return kExitUsage;
  }
  const bool to_stdout = options.output == std::filesystem::path(kStdoutName);
  const std::filesystem::path target = options.output.value_or(d.folder / (d.route + "_" + d.train + ".svg"));
  if (to_stdout) {
    out << render_plot(d, *s);
  } else {
    write_file_atomically(target, render_plot(d, *s));
  }
  for (const std::string& source : d.newer_sources) {
    err << "scenario_tool: warning: " << source << " is newer than the binary files drawn; compile it, or give plot "
        << "the whole pair to draw from the sources\n";
  }
  if (d.source_errors > 0) {
    err << "scenario_tool: warning: the sources have " << counted(d.source_errors, "error")
        << "; the picture shows the files as compile --force would write them (scenario_tool check lists the errors)\n";
  }
  if (!to_stdout) out << "wrote " << target.string() << "\n";
  return kExitClean;
}

}  // namespace scenario::tool
