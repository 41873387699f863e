// What the scenario rows and train cells mean to an author: stations, signs, signals, profile runs, tunnels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/scenario_record.h"
#include "model/train_cell.h"

namespace scenario::tool {

inline constexpr std::int32_t kCellMetres = 50;

enum class RowUse { Unused, Station, Sign, Chainage, Route, Stamp, Train };

// Rows 1 to 80 are stations or sign texts: a row that carries nothing but a
// name is a sign text, any other filled row a station.
RowUse use_of_row(const ScenarioRows& rows, int row);
std::string row_use_name(RowUse use);
bool is_blank_row(const ScenarioRecord& r);

// "signal", "station stop", ... for a cell Kind.
std::string kind_name(std::uint8_t kind);

struct StationView {
  int row = 0;
  const ScenarioRecord* record = nullptr;
};
std::vector<StationView> stations_of(const ScenarioRows& rows);

struct SignView {
  std::size_t cell = 0;
  int row = 0;       // the row holding the text (Word1 of the cell)
  std::string text;  // empty when the row is outside the table
};
std::vector<SignView> signs_of(const ScenarioRows& rows, const std::vector<TrainCell>& cells);

std::vector<std::size_t> cells_of_kind(const std::vector<TrainCell>& cells, std::uint8_t kind);

// Consecutive cells with the same value of one profile byte.
struct Run {
  std::size_t first = 0;
  std::size_t last = 0;
  int value = 0;
};
using CellByte = std::uint8_t TrainCell::*;
std::vector<Run> runs_of(const std::vector<TrainCell>& cells, CellByte field);

// Stretches of "montagna" type (Byte3 not 0) that hold a kind-11 marker: the
// ranges of types 11 and 12, which are the line's tunnels.
struct Tunnel {
  std::size_t first = 0;
  std::size_t last = 0;
};
std::vector<Tunnel> tunnels_of(const std::vector<TrainCell>& cells);

// A sign text with its runs of blanks reduced to one.
std::string squeeze_blanks(const std::string& text);

}  // namespace scenario::tool
