// The three binary files of one scenario directory, read for drawing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/binary_files.h"

namespace scenario::tool {

struct PlotData {
  std::string route;
  std::string train;
  ScenarioRows rows{};
  std::vector<TrainCell> cells;
  std::optional<LineValues> plan;  // absent when no linea.dat was written
  std::int32_t route_length = 0;   // metres
};

// Finds the one .sim file in `dir`, then the train and line files named after
// the route and train it holds. Throws Failure when a needed file is missing,
// unreadable or malformed.
PlotData load_plot_data(const std::filesystem::path& dir, const std::string& route = "",
                        const std::string& train = "");

// The route length the drawing uses: row 84's End when the cells reach that
// far, otherwise the cells' own reach less the 7000 m tail.
std::int32_t drawn_route_length(const ScenarioRows& rows, std::size_t cell_count);

}  // namespace scenario::tool
