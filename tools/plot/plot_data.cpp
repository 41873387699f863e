// Locating and decoding the .sim, train .dat and linea.dat of a scenario directory.
#include "plot/plot_data.h"

#include <algorithm>

#include "platform/failure.h"
#include "common/scenario_view.h"

namespace scenario::tool {
namespace {

std::filesystem::path the_sim_file(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) throw Failure("cannot read the directory " + dir.string() + ": " + ec.message());
  std::vector<std::filesystem::path> found;
  for (const auto& entry : it) {
    if (entry.path().extension() == ".sim") found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  if (found.empty()) {
    throw Failure(dir.string() + " holds no .sim file; compile the sources first (scenario_tool compile)");
  }
  if (found.size() > 1) {
    std::string names;
    for (const auto& f : found) names += (names.empty() ? "" : ", ") + f.filename().string();
    throw Failure(dir.string() + " holds " + std::to_string(found.size()) + " .sim files (" + names +
                  "); plot draws one scenario per directory");
  }
  return found.front();
}

}  // namespace

std::int32_t drawn_route_length(const ScenarioRows& rows, std::size_t cell_count) {
  const std::int64_t reach = static_cast<std::int64_t>(cell_count) * kCellMetres;
  const std::int32_t declared = rows[kRouteRow].End;
  if (declared > 0 && declared <= reach) return declared;
  return static_cast<std::int32_t>(std::max<std::int64_t>(reach - 7000, kCellMetres));
}

PlotData load_plot_data(const std::filesystem::path& dir) {
  PlotData d;
  const std::filesystem::path sim = the_sim_file(dir);
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
