// What the plot draws: the three files of one scenario, compiled in memory from its sources or read from disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/binary_files.h"

namespace scenario::tool {

// A signal: its cell, and the position the author wrote. Read from the
// sources the position is exact; from the binary files it is the first metre
// that lands in the cell (a cell holds the signals written from
// (cell - 1) x 50 to cell x 50 - 1).
struct SignalMark {
  std::size_t cell = 0;
  std::int32_t written = 0;  // metres
  bool exact = false;
};

// A tunnel from its first to its last metre.
struct TunnelRange {
  std::int32_t from = 0;
  std::int32_t to = 0;
};

enum class PlotOrigin { Sources, BinaryFiles };

struct PlotData {
  std::string route;
  std::string train;
  std::filesystem::path folder;  // where the files or sources were found
  ScenarioRows rows{};
  std::vector<TrainCell> cells;
  std::optional<LineValues> plan;  // absent when no linea.dat was written
  std::int32_t route_length = 0;   // metres
  PlotOrigin origin = PlotOrigin::BinaryFiles;
  std::size_t source_errors = 0;  // errors of the sources compiled in memory
  std::vector<SignalMark> signals;
  // From the sources: every "montagna" range of a type above 10, as
  // written. From the binary files: each run of range cells that holds a
  // tunnel marker, which misses the tunnels shorter than four cells.
  std::vector<TunnelRange> tunnels;
  bool tunnels_complete = false;
  // Drawn from the binary files: the sources beside them that were changed
  // after the .sim was written (a pair too incomplete to compile instead).
  std::vector<std::string> newer_sources;
};

// Finds the one .sim file in `dir`, then the train and line files named after
// the route and train it holds. Throws Failure when a needed file is missing,
// unreadable or malformed.
PlotData load_plot_data(const std::filesystem::path& dir, const std::string& route = "",
                        const std::string& train = "");

// The scenario of the sources in `dir_or_file` (a folder, or one of the two
// source files), compiled in memory as `compile` would; nothing is written.
// Absent when the folder holds no pair of sources to compile. Throws Failure
// when the sources compile to no files at all.
std::optional<PlotData> compile_plot_data(const std::filesystem::path& dir_or_file, const std::string& route = "",
                                          const std::string& train = "");

// The data from raw file contents, as decoded from disk.
PlotData plot_data_of(const std::string& sim, const std::string& dat, const std::optional<std::string>& linea,
                      const std::string& sim_name);

// The route length the drawing uses: row 84's End when the cells reach that
// far, otherwise the cells' own reach less the 7000 m tail.
std::int32_t drawn_route_length(const ScenarioRows& rows, std::size_t cell_count);

// The chainage a driver reads at a route position: the chainage rows 81 to
// 83 hold each system's first route position (Start), its base value (End,
// raised by 100 when the system counts down) and its direction (Position 1
// counts down). The system in force is the one with the greatest Start not
// past the position; with none, the chainage is the route position.
std::int64_t chainage_at(const ScenarioRows& rows, std::int64_t metres);

}  // namespace scenario::tool
