// The tool's names for the decoders of the three binary files, which live beside their encoders.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/binary_readers.h"
#include "model/line_plan.h"
#include "model/scenario_record.h"
#include "model/train_cell.h"

namespace scenario::tool {

enum class FileKind { Sim, TrainDat, LineDat, Unknown };

// By name: "*.sim", "*_linea.dat", any other "*.dat".
FileKind kind_of(const std::filesystem::path& file);

// The whole file; throws Failure when it cannot be read.
std::string read_binary_file(const std::filesystem::path& file);

using SimFile = scenario::SimFile;  // the rows and the byte offset of each

// Each forwards to the model's decoder, which throws Failure naming the file
// and the byte offset where it is truncated or malformed.
SimFile decode_sim(std::string_view bytes, std::string_view name);
std::vector<TrainCell> decode_dat(std::string_view bytes, std::string_view name);

// One train cell from its kCellBytes bytes.
TrainCell decode_cell(const char* p);

// The track plan: X and Y of every point, each with its type tag.
struct LineValues {
  std::vector<LineCell> x;
  std::vector<LineCell> y;
};
LineValues decode_linea(std::string_view bytes, std::string_view name);

}  // namespace scenario::tool
