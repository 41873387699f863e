// Bounds-checked readers for the .sim, train .dat and linea.dat layouts.
#include "common/binary_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/shown_text.h"
#include "model/coding.h"
#include "model/binary_writers.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

// A file that was read but does not hold what its kind must hold.
Failure malformed_file(const std::string& what) {
  FailureDetail detail;
  detail.kind = FailureKind::OutOfRange;
  return Failure(what, detail);
}

// A cursor over a file's bytes that refuses to read past the end.
class ByteReader {
 public:
  ByteReader(std::string_view bytes, std::string_view name) : bytes_(bytes), name_(name) {}

  [[noreturn]] void malformed(std::size_t at, const std::string& what) const {
    throw malformed_file(std::string(name_) + ": malformed at byte offset " + std::to_string(at) + ": " + what);
  }

  const char* take(std::size_t n, const std::string& what) {
    if (bytes_.size() - pos_ < n) {
      throw malformed_file(std::string(name_) + ": truncated at byte offset " + std::to_string(pos_) + ": " + what + " needs " +
                    std::to_string(n) + " bytes, but only " + std::to_string(bytes_.size() - pos_) +
                    " are left");
    }
    const char* p = bytes_.data() + pos_;
    pos_ += n;
    return p;
  }
  std::uint8_t byte(const std::string& what) { return static_cast<std::uint8_t>(*take(1, what)); }
  std::int16_t i16(const std::string& what) { return static_cast<std::int16_t>(DecodeFixed16(take(2, what))); }
  std::int32_t i32(const std::string& what) { return static_cast<std::int32_t>(DecodeFixed32(take(4, what))); }

  std::size_t offset() const { return pos_; }
  bool done() const { return pos_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::string_view name_;
  std::size_t pos_ = 0;
};

ScenarioRecord read_row(ByteReader& in, int row) {
  const std::string at = "row " + std::to_string(row) + " ";
  ScenarioRecord r;
  r.Kind = in.byte(at + "Kind");
  r.Start = in.i32(at + "Start");
  r.End = in.i32(at + "End");
  r.Position = in.i32(at + "Position");
  r.Flag = in.byte(at + "Flag");
  std::uint16_t n = static_cast<std::uint16_t>(in.i16(at + "Name length"));
  r.Name.assign(in.take(n, at + "Name"), n);
  r.Word1 = in.i16(at + "Word1");
  r.Word2 = in.i16(at + "Word2");
  r.Word3 = in.i16(at + "Word3");
  r.Word4 = in.i16(at + "Word4");
  r.Word5 = in.i16(at + "Word5");
  r.Byte1 = in.byte(at + "Byte1");
  r.Byte2 = in.byte(at + "Byte2");
  r.Byte3 = in.byte(at + "Byte3");
  r.Byte4 = in.byte(at + "Byte4");
  r.Time = in.i32(at + "Time");
  return r;
}

LineCell read_value(ByteReader& in, std::size_t index) {
  const std::size_t at = in.offset();
  const std::string what = "value " + std::to_string(index);
  std::uint16_t tag = static_cast<std::uint16_t>(in.i16(what + " type tag"));
  LineCell v;
  if (tag == static_cast<std::uint16_t>(LineTag::Empty)) return v;
  if (tag == static_cast<std::uint16_t>(LineTag::Int16)) {
    v.tag = LineTag::Int16;
    v.value = in.i16(what + " (16-bit integer)");
    return v;
  }
  if (tag == static_cast<std::uint16_t>(LineTag::Real)) {
    v.tag = LineTag::Real;
    v.value = DecodeDouble(in.take(8, what + " (64-bit real)"));
    return v;
  }
  in.malformed(at, what + " has type tag " + std::to_string(tag) +
                       "; a line plan value is tagged 0 (empty), 2 (16-bit) or 5 (real)");
}

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

SimFile decode_sim(std::string_view bytes, std::string_view name) {
  SimFile f;
  ByteReader in(bytes, name);
  for (int row = 0; row < kScenarioRows; ++row) {
    f.offsets[row] = in.offset();
    f.rows[row] = read_row(in, row);
  }
  if (!in.done()) {
    in.malformed(in.offset(), std::to_string(bytes.size() - in.offset()) + " bytes follow row 86, the last row");
  }
  return f;
}

std::vector<TrainCell> decode_dat(std::string_view bytes, std::string_view name) {
  ByteReader in(bytes, name);
  if (bytes.empty()) in.malformed(0, "the file holds no train cell");
  std::vector<TrainCell> cells;
  cells.reserve(bytes.size() / kCellBytes + 1);
  while (!in.done()) {
    const std::string at = "cell " + std::to_string(cells.size());
    cells.push_back(decode_cell(in.take(kCellBytes, at)));
  }
  return cells;
}

TrainCell decode_cell(const char* p) {
  TrainCell c;
  c.Kind = static_cast<std::uint8_t>(p[0]);
  c.Word1 = static_cast<std::int16_t>(DecodeFixed16(p + 1));
  c.Word2 = static_cast<std::int16_t>(DecodeFixed16(p + 3));
  c.Word3 = static_cast<std::int16_t>(DecodeFixed16(p + 5));
  c.Word4 = static_cast<std::int16_t>(DecodeFixed16(p + 7));
  c.Byte1 = static_cast<std::uint8_t>(p[9]);
  c.Byte2 = static_cast<std::uint8_t>(p[10]);
  c.Byte3 = static_cast<std::uint8_t>(p[11]);
  c.Byte4 = static_cast<std::uint8_t>(p[12]);
  c.Byte5 = static_cast<std::uint8_t>(p[13]);
  c.Byte6 = static_cast<std::uint8_t>(p[14]);
  return c;
}

LineValues decode_linea(std::string_view bytes, std::string_view name) {
  std::vector<LineCell> all;
  ByteReader in(bytes, name);
  while (!in.done()) all.push_back(read_value(in, all.size()));
  if (all.empty() || all.size() % 2 != 0) {
    in.malformed(bytes.size(), "the file holds " + std::to_string(all.size()) +
                                   " values; a line plan holds an X and a Y column of equal length");
  }
  LineValues v;
  const std::size_t half = all.size() / 2;
  v.x.assign(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(half));
  v.y.assign(all.begin() + static_cast<std::ptrdiff_t>(half), all.end());
  return v;
}

}  // namespace scenario::tool
