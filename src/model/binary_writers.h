// Serialisation of the three binary files, each into one buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/line_plan.h"
#include "model/scenario_record.h"
#include "model/train_cell.h"

namespace scenario {

// Bytes per scenario row besides its name: the kind, three 32-bit values,
// the flag, the name's 16-bit length, five words, four bytes, the time.
inline constexpr std::size_t kRowFixedBytes = 34;
// Bytes per train cell: the kind, four 16-bit words, six bytes.
inline constexpr std::size_t kCellBytes = 15;

// <route>_<train>.sim: rows 0 to 86, 34 bytes plus the name's length each.
std::string serialise_sim(const ScenarioRows& rows);

// <route>_<train>.dat: 15 bytes per cell, cells in index order.
std::string serialise_dat(const std::vector<TrainCell>& cells);

// <route>_linea.dat: every X value, then every Y value, each a 16-bit type
// tag (0 empty, 2 int16, 5 real) and its payload.
inline constexpr std::size_t kLineTagBytes = 2;
inline constexpr std::size_t kLineInt16Bytes = 2;  // payload of an int16 value
inline constexpr std::size_t kLineRealBytes = 8;   // payload of a real value

// Bytes of one line plan value: its type tag and its payload.
inline std::size_t line_value_size(LineTag tag) {
  return kLineTagBytes + (tag == LineTag::Real ? kLineRealBytes : tag == LineTag::Int16 ? kLineInt16Bytes : 0);
}

std::string serialise_linea(const LinePlan& plan);

// Whether `bytes` are exactly what serialise_linea(plan) gives, without
// building them.
bool linea_matches(const LinePlan& plan, std::string_view bytes);

}  // namespace scenario
