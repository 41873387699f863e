// File kinds by name, whole-file reads, and the forwards to the model decoders.
#include "common/binary_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/shown_text.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

bool ends_with(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

FileKind kind_of(const std::filesystem::path& file) {
  std::string name = file.filename().string();
  if (ends_with(name, ".sim")) return FileKind::Sim;
  if (ends_with(name, "_linea.dat")) return FileKind::LineDat;
  if (ends_with(name, ".dat")) return FileKind::TrainDat;
  return FileKind::Unknown;
}

std::string read_binary_file(const std::filesystem::path& file) {
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw Failure("cannot open " + quoted_path(file) + (errno != 0 ? ": " + std::string(std::strerror(errno)) : ""),
                  FailureDetail{.kind = FailureKind::Io, .expected = "open", .found = file.string()});
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw Failure("cannot read " + quoted_path(file));
  return std::move(bytes).str();
}

SimFile decode_sim(std::string_view bytes, std::string_view name) { return scenario::decode_sim(bytes, name); }

std::vector<TrainCell> decode_dat(std::string_view bytes, std::string_view name) {
  return scenario::decode_dat(bytes, name);
}

TrainCell decode_cell(const char* p) { return scenario::decode_cell(p); }

LineValues decode_linea(std::string_view bytes, std::string_view name) {
  const LinePlan plan = scenario::decode_linea(bytes, name);
  LineValues v;
  v.x.reserve(static_cast<std::size_t>(plan.last_point()) + 1);
  v.y.reserve(static_cast<std::size_t>(plan.last_point()) + 1);
  for (std::int64_t m = 0; m <= plan.last_point(); ++m) {
    v.x.push_back(plan.get(m, 0));
    v.y.push_back(plan.get(m, 1));
  }
  return v;
}

}  // namespace scenario::tool
