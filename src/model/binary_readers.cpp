// Bounds-checked readers for the .sim, train .dat and linea.dat layouts.
#include "model/binary_readers.h"

#include "model/binary_writers.h"
#include "model/coding.h"
#include "platform/failure.h"

namespace scenario {
namespace {

// A file that was read but does not hold what its kind must hold.
[[noreturn]] void malformed_file(const std::string& what, std::size_t at) {
  throw Failure(what, FailureDetail{.kind = FailureKind::OutOfRange,
                                    .expected = "a well-formed binary file",
                                    .value = static_cast<std::int64_t>(at)});
}

// A cursor over a file's bytes that refuses to read past the end.
class ByteReader {
 public:
  ByteReader(std::string_view bytes, std::string_view name) : bytes_(bytes), name_(name) {}

  [[noreturn]] void malformed(std::size_t at, const std::string& what) const {
    malformed_file(std::string(name_) + ": malformed at byte offset " + std::to_string(at) + ": " + what, at);
  }

  const char* take(std::size_t n, const std::string& what) {
    if (bytes_.size() - pos_ < n) {
      malformed_file(std::string(name_) + ": truncated at byte offset " + std::to_string(pos_) + ": " + what +
                         " needs " + std::to_string(n) + " bytes, but only " +
                         std::to_string(bytes_.size() - pos_) + " are left",
                     pos_);
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
  const auto n = static_cast<std::uint16_t>(in.i16(at + "Name length"));
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

// The value at `at`, or the fault that stops the reading there.
std::optional<DecodeFault> read_value(std::string_view bytes, std::size_t at, std::size_t index, PlanValue& v) {
  // The field's name is built only for a fault: a plan holds millions of values.
  auto what = [index] { return "value " + std::to_string(index); };
  if (bytes.size() - at < kLineTagBytes) {
    return DecodeFault{at, what() + " type tag", "the file ends 1 byte into a 2-byte type tag", true};
  }
  const std::uint16_t tag = DecodeFixed16(bytes.data() + at);
  std::size_t payload = 0;
  if (tag == static_cast<std::uint16_t>(LineTag::Int16)) {
    payload = kLineInt16Bytes;
  } else if (tag == static_cast<std::uint16_t>(LineTag::Real)) {
    payload = kLineRealBytes;
  } else if (tag != static_cast<std::uint16_t>(LineTag::Empty)) {
    return DecodeFault{at, what() + " type tag",
                       "holds " + std::to_string(tag) + "; a plan value is tagged 0 (empty), 2 (16-bit) or 5 (real)"};
  }
  if (bytes.size() - at - kLineTagBytes < payload) {
    return DecodeFault{at + kLineTagBytes, what(),
                       "the file ends inside the value's " + std::to_string(payload) + " bytes", true};
  }
  v = PlanValue{at, static_cast<LineTag>(tag), 0.0};
  if (payload == kLineInt16Bytes) v.value = static_cast<std::int16_t>(DecodeFixed16(bytes.data() + at + kLineTagBytes));
  if (payload == kLineRealBytes) v.value = DecodeDouble(bytes.data() + at + kLineTagBytes);
  return std::nullopt;
}

}  // namespace

SimFile decode_sim(std::string_view bytes, std::string_view name) {
  SimFile f;
  ByteReader in(bytes, name);
  for (int row = 0; row < kScenarioRows; ++row) {
    f.offsets[static_cast<std::size_t>(row)] = in.offset();
    f.rows[static_cast<std::size_t>(row)] = read_row(in, row);
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

std::vector<PlanValue> read_plan_values(std::string_view bytes, std::optional<DecodeFault>& fault) {
  std::vector<PlanValue> values;
  fault.reset();
  std::size_t at = 0;
  while (at < bytes.size()) {
    PlanValue v;
    fault = read_value(bytes, at, values.size(), v);
    if (fault) return values;
    values.push_back(v);
    at += line_value_size(v.tag);
  }
  return values;
}

namespace {

// The size of the well-formed value at `at`, or 0 where read_value finds a
// fault. The plan's values are scanned with this, and read_value is called
// only to describe a fault: a plan holds millions of values.
std::size_t well_formed_size(std::string_view bytes, std::size_t at) {
  if (bytes.size() - at < kLineTagBytes) return 0;
  const std::uint16_t tag = DecodeFixed16(bytes.data() + at);
  if (tag != static_cast<std::uint16_t>(LineTag::Empty) && tag != static_cast<std::uint16_t>(LineTag::Int16) &&
      tag != static_cast<std::uint16_t>(LineTag::Real)) {
    return 0;
  }
  const std::size_t size = line_value_size(static_cast<LineTag>(tag));
  return bytes.size() - at < size ? 0 : size;
}

[[noreturn]] void malformed_value(std::string_view bytes, std::size_t at, std::size_t index, std::string_view name) {
  PlanValue v;
  const std::optional<DecodeFault> fault = read_value(bytes, at, index, v);
  if (!fault) malformed_file(std::string(name) + ": malformed at byte offset " + std::to_string(at), at);
  malformed_file(std::string(name) + (fault->truncated ? ": truncated" : ": malformed") + " at byte offset " +
                     std::to_string(fault->offset) + ": " + fault->field + ": " + fault->problem,
                 fault->offset);
}

// Fills one column of the plan from values the scan above has already
// checked, and returns where the next column starts.
const char* fill_checked_column(LinePlan& plan, int col, const char* p) {
  const auto points = static_cast<std::int64_t>(plan.last_point()) + 1;
  for (std::int64_t m = 0; m < points; ++m) {
    const auto tag = static_cast<LineTag>(DecodeFixed16(p));
    p += kLineTagBytes;
    if (tag == LineTag::Int16) {
      plan.set_int(m, col, static_cast<std::int16_t>(DecodeFixed16(p)));
      p += kLineInt16Bytes;
    } else if (tag == LineTag::Real) {
      plan.set_real(m, col, DecodeDouble(p));
      p += kLineRealBytes;
    }
  }
  return p;
}

}  // namespace

LinePlan decode_linea(std::string_view bytes, std::string_view name) {
  // The values are counted first, so that the plan is sized once and filled
  // in place: a 1000 km plan holds two million of them.
  std::size_t count = 0;
  for (std::size_t at = 0; at < bytes.size(); ++count) {
    const std::size_t size = well_formed_size(bytes, at);
    if (size == 0) malformed_value(bytes, at, count, name);
    at += size;
  }
  if (count == 0 || count % 2 != 0) {
    malformed_file(std::string(name) + ": malformed at byte offset " + std::to_string(bytes.size()) + ": the file holds " +
                       std::to_string(count) + " values; a line plan holds an X and a Y column of equal length",
                   bytes.size());
  }
  const auto points = static_cast<std::int64_t>(count / 2);
  if (points - 1 > INT32_MAX) malformed_file(std::string(name) + ": the plan holds too many points", bytes.size());
  LinePlan plan;
  plan.create(static_cast<std::int32_t>(points - 1));
  const char* p = bytes.data();
  for (int col = 0; col < LinePlan::kColumns; ++col) p = fill_checked_column(plan, col, p);
  return plan;
}

}  // namespace scenario
