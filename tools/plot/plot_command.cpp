// Page layout of the plot: title, legend, the track plan above the two profiles.
#include "plot/plot_command.h"

#include "platform/atomic_file.h"
#include "plot/plot_panels.h"
#include "common/scenario_view.h"
#include "common/svg.h"

namespace scenario::tool {
namespace {

constexpr double kWidth = 1200;
constexpr double kHeight = 900;

std::string title_of(const PlotData& d) {
  return d.route + " / " + d.train + ": " + length_label(d.route_length) + ", " +
         std::to_string(stations_of(d.rows).size()) + " stations, " +
         std::to_string(cells_of_kind(d.cells, kind::kSignal).size()) + " signals, " +
         std::to_string(tunnels_of(d.cells).size()) + " tunnels, " +
         std::to_string(cells_of_kind(d.cells, kind::kSign).size()) + " signs";
}

void add_legend(double x, double y, std::vector<std::string>& out) {
  struct Item {
    const char* colour;
    const char* text;
  };
  const Item items[] = {{kStationColour, "station"}, {kSignalColour, "signal"},   {kTunnelColour, "tunnel"},
                        {kSignColour, "sign"},       {kGradientColour, "gradient"}, {kSpeedColour, "speed limit"}};
  for (const Item& item : items) {
    out.push_back(svg_rect(x, y - 8, 10, 10, std::string("fill=\"") + item.colour + "\""));
    out.push_back(svg_text(x + 14, y, item.text, "font-size=\"11\""));
    x += 24 + 7.0 * static_cast<double>(std::string(item.text).size());
  }
}

}  // namespace

std::string render_plot(const PlotData& d) {
  std::vector<std::string> e;
  e.push_back(svg_text(20, 20, title_of(d), "font-size=\"15\" font-weight=\"bold\""));
  add_legend(720, 20, e);
  for (std::string& s : plan_panel(d, Box{20, 32, 1160, 420})) e.push_back(std::move(s));
  for (std::string& s : profile_panels(d, Box{80, 482, 1090, 140}, Box{80, 645, 1090, 110}, 778)) {
    e.push_back(std::move(s));
  }
  return svg_document(kWidth, kHeight, e);
}

void run_plot(const PlotOptions& options, std::ostream& out) {
  const PlotData d = load_plot_data(options.dir);
  const std::filesystem::path target = options.output.value_or(options.dir / (d.route + "_" + d.train + ".svg"));
  write_file_atomically(target, render_plot(d));
  out << "wrote " << target.string() << "\n";
}

}  // namespace scenario::tool
