// Decoding of the three binary files into the types compile produces, beside their encoders.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/line_plan.h"
#include "model/scenario_record.h"
#include "model/train_cell.h"

namespace scenario {

// A scenario table as read, with the byte offset where each row starts.
struct SimFile {
  ScenarioRows rows{};
  std::array<std::size_t, kScenarioRows> offsets{};
};

// Each decoder throws Failure naming the file and the byte offset where it is
// truncated or malformed; none reads outside `bytes`.
SimFile decode_sim(std::string_view bytes, std::string_view name);
std::vector<TrainCell> decode_dat(std::string_view bytes, std::string_view name);
// The plan of points 0 to last_point; the file holds an X and a Y column of equal length.
LinePlan decode_linea(std::string_view bytes, std::string_view name);

// One train cell from its kCellBytes bytes.
TrainCell decode_cell(const char* p);

// Where a file stops being readable: the byte offset, the field in words
// ("value 17 type tag") and what is wrong with it.
struct DecodeFault {
  std::size_t offset = 0;
  std::string field;
  std::string problem;
  bool truncated = false;  // the file ends inside the field
};

// One value of a line plan file as stored, with its byte offset.
struct PlanValue {
  std::size_t offset = 0;
  LineTag tag = LineTag::Empty;
  double value = 0.0;
};

// Every value of a line plan file in file order, for a reader that reports
// each bad value (verify); stops at the first value that cannot be read and
// describes it in `fault`.
std::vector<PlanValue> read_plan_values(std::string_view bytes, std::optional<DecodeFault>& fault);

}  // namespace scenario
