// What a .sim, a train .dat and a linea.dat must hold, checked byte by byte on files of any content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/scenario_files.h"
#include "model/scenario_record.h"
#include "model/train_cell.h"

namespace scenario::tool {

// One rule a file breaks: where (byte offset, and the field in words), and how.
struct Mismatch {
  std::size_t offset = 0;
  std::string field;    // "row 85 Time", "cell 1 Word2", "Y of point 17"
  std::string problem;  // "holds 5, but the check code of ... is 32935"

  bool operator==(const Mismatch&) const = default;
};

// What each check learnt from a file that the set check needs. A fact is
// absent when the file was too broken to give it.
struct SimFacts {
  std::vector<Mismatch> mismatches;
  std::optional<ScenarioRows> rows;
  std::vector<std::size_t> row_offsets;
};

struct DatFacts {
  std::vector<Mismatch> mismatches;
  std::vector<TrainCell> cells;  // empty when the size is not whole cells
};

struct LineFacts {
  std::vector<Mismatch> mismatches;
  std::optional<std::int64_t> last_point;  // M: the plan's points are 0 to M
  std::size_t size = 0;
};

// The checks of each file alone. `file_name` (its name without folder, may
// be empty) gives the route and train that the names and codes must match.
// None of them throws or reads outside `bytes`, whatever they hold.
SimFacts verify_sim(std::string_view bytes, std::string_view file_name);
DatFacts verify_dat(std::string_view bytes, std::string_view file_name);
LineFacts verify_linea(std::string_view bytes);

// The rules between files of one scenario: the route length of the .sim
// gives the cell count of the .dat and the last point of the plan; the names
// in the .sim give the .dat's check code; each stopping point and sign cell
// names a row that is a station or a sign. Each mismatch belongs to the file
// named in `file` (sim, dat or linea).
enum class SetFile : std::uint8_t { Sim, Dat, Linea };
struct SetMismatch {
  SetFile file;
  Mismatch mismatch;
};
std::vector<SetMismatch> verify_set(const SimFacts* sim, const DatFacts* dat, const LineFacts* linea);

// The plain check code (train cell 1 Word2) and the weighted one (row 85
// Time) of a route name and train code.
std::int16_t plain_code(const ScenarioNames& names);
std::int32_t weighted_code(const ScenarioNames& names);

}  // namespace scenario::tool
