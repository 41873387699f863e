// Page layout of the plot: title, legend, the track plan above the two profiles.
#include "plot/plot_command.h"

#include "platform/atomic_file.h"
#include "plot/label_layout.h"
#include "plot/plot_panels.h"
#include "common/scenario_view.h"
#include "common/svg.h"

namespace scenario::tool {
namespace {

constexpr double kWidth = 1200;
constexpr double kMargin = 20;
constexpr double kAxisLeft = 80;     // the profiles' left edge: room for their tick labels
constexpr double kAxisRight = 30;
constexpr double kTitleFont = 15;
constexpr double kLegendFont = 11;
constexpr double kRowPitch = 11;
constexpr std::size_t kLabelRows = 6;

std::string plural_of(std::size_t n, const std::string& word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

std::string title_of(const PlotData& d) {
  return d.route + " / " + d.train + ": " + length_label(d.route_length) + ", " +
         std::to_string(stations_of(d.rows).size()) + " stations, " +
         std::to_string(cells_of_kind(d.cells, kind::kSignal).size()) + " signals, " +
         std::to_string(tunnels_of(d.cells).size()) + " tunnels, " +
         std::to_string(cells_of_kind(d.cells, kind::kSign).size()) + " signs, " +
         plural_of(cells_of_kind(d.cells, kind::kSlowStart).size(), "slow order");
}

// One row of coloured squares and their names, under the title.
void add_legend(double x, double y, LabelLayout& labels, std::vector<std::string>& out) {
  struct Item {
    const char* colour;
    const char* text;
  };
  const Item items[] = {{kStationColour, "station"},     {kSignalColour, "signal"},      {kTunnelColour, "tunnel"},
                        {kSignColour, "sign"},           {kKmPostColour, "km post"},     {kElevationColour, "elevation"},
                        {kGradientColour, "gradient"},   {kSpeedColour, "speed limit"},  {kSlowOrderColour, "slow order"},
                        {kBoardColour, "speed board"}};
  for (const Item& item : items) {
    out.push_back(svg_rect(x, y - 8, 10, 10, std::string("fill=\"") + item.colour + "\""));
    out.push_back(svg_text(x + 14, y, item.text, "font-size=\"11\""));
    labels.take_text(x + 14, y, item.text, kLegendFont);
    x += 30 + text_width(item.text, kLegendFont);
  }
}

}  // namespace

std::string render_plot(const PlotData& d) {
  // From the top: title, legend, track plan, sign texts, the three profiles,
  // the distance scale and the station names.
  const Box plan{kMargin, 56, kWidth - 2 * kMargin, 420};
  ProfileBoxes p;
  const double width = kWidth - kAxisLeft - kAxisRight;
  p.row_pitch = kRowPitch;
  p.rows = kLabelRows;
  p.sign_rows_top = plan.y + plan.h + 20;
  const double signs_bottom = p.sign_rows_top + kRowPitch * static_cast<double>(kLabelRows - 1);
  p.elevation = Box{kAxisLeft, signs_bottom + 28, width, 90};
  p.gradient = Box{kAxisLeft, p.elevation.y + p.elevation.h + 26, width, 130};
  p.speed = Box{kAxisLeft, p.gradient.y + p.gradient.h + 26, width, 110};
  p.station_rows_top = p.speed.y + p.speed.h + 30;
  const double height = p.station_rows_top + kRowPitch * static_cast<double>(kLabelRows) + kMargin;

  LabelLayout labels(Rect{0, 0, kWidth, height});
  std::vector<std::string> e;
  const std::string title = title_of(d);
  e.push_back(svg_text(kMargin, 24, title, "font-size=\"15\" font-weight=\"bold\""));
  labels.take_text(kMargin, 24, title, kTitleFont);
  add_legend(kMargin, 44, labels, e);
  for (std::string& s : plan_panel(d, plan, labels)) e.push_back(std::move(s));
  for (std::string& s : profile_panels(d, p, labels)) e.push_back(std::move(s));
  return svg_document(kWidth, height, e);
}

void run_plot(const PlotOptions& options, std::ostream& out) {
  const PlotData d = load_plot_data(options.dir, options.route, options.train);
  const std::filesystem::path target = options.output.value_or(options.dir / (d.route + "_" + d.train + ".svg"));
  write_file_atomically(target, render_plot(d));
  out << "wrote " << target.string() << "\n";
}

}  // namespace scenario::tool
