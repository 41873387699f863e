// Locating and decoding the .sim, train .dat and linea.dat of a scenario directory.
#include "plot/plot_data.h"

#include <algorithm>

#include "common/scenario_dir.h"
#include "platform/failure.h"
#include "common/scenario_view.h"

namespace scenario::tool {

std::int32_t drawn_route_length(const ScenarioRows& rows, std::size_t cell_count) {
  const std::int64_t reach = static_cast<std::int64_t>(cell_count) * kCellMetres;
  const std::int32_t declared = rows[kRouteRow].End;
  if (declared > 0 && declared <= reach) return declared;
  return static_cast<std::int32_t>(std::max<std::int64_t>(reach - 7000, kCellMetres));
}

PlotData load_plot_data(const std::filesystem::path& dir, const std::string& route, const std::string& train) {
  PlotData d;
  const std::filesystem::path sim = choose_sim_file(dir, route, train);
  d.rows = decode_sim(read_binary_file(sim), sim.filename().string()).rows;
  d.route = d.rows[kStampRow].Name;
  d.train = d.rows[kTrainRow].Name;
  const std::filesystem::path dat = dir / (d.route + "_" + d.train + ".dat");
  if (!std::filesystem::exists(dat)) {
    throw Failure(sim.filename().string() + " names route '" + d.route + "' and train '" + d.train + "', but " +
                  dat.string() + " does not exist");
  }
  d.cells = decode_dat(read_binary_file(dat), dat.filename().string());
  const std::filesystem::path linea = dir / (d.route + "_linea.dat");
  if (std::filesystem::exists(linea)) d.plan = decode_linea(read_binary_file(linea), linea.filename().string());
  d.route_length = drawn_route_length(d.rows, d.cells.size());
  return d;
}

}  // namespace scenario::tool
