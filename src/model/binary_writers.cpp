// Byte layouts of the scenario table, train cell and line plan files.
#include "model/binary_writers.h"

#include <bit>
#include <cstddef>
#include <cstdint>

#include "model/coding.h"

namespace scenario {
namespace {

// One plan value as the file holds it: its tag, then its payload.
char* store_value(char* p, LineTag tag, double value) {
  p = StoreFixed16(p, static_cast<std::uint16_t>(tag));
  if (tag == LineTag::Int16) {
    p = StoreFixed16(p, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
  } else if (tag == LineTag::Real) {
    p = StoreDouble(p, value);
  }
  return p;
}

// The length of a row's name; a name too long for its length field names its row.
std::size_t name_length(const std::string& name, std::size_t row) {
  try {
    return TextLength(name);
  } catch (const Failure& f) {
    FailureDetail detail = f.detail();
    detail.row = static_cast<std::int64_t>(row);
    throw Failure(f.what(), std::move(detail));
  }
}

}  // namespace

// Each file is stored into a buffer sized once: appends field by field
// would cost more than the content.

std::string serialise_sim(const ScenarioRows& rows) {
  std::size_t size = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) size += kRowFixedBytes + name_length(rows[i].Name, i);
  std::string out(size, '\0');
  char* p = out.data();
  for (const auto& r : rows) {
    p = StoreByte(p, r.Kind);
    p = StoreFixed32(p, static_cast<std::uint32_t>(r.Start));
    p = StoreFixed32(p, static_cast<std::uint32_t>(r.End));
    p = StoreFixed32(p, static_cast<std::uint32_t>(r.Position));
    p = StoreByte(p, r.Flag);
    p = StoreText(p, r.Name);
    for (std::int16_t w : {r.Word1, r.Word2, r.Word3, r.Word4, r.Word5}) {
      p = StoreFixed16(p, static_cast<std::uint16_t>(w));
    }
    for (std::uint8_t b : {r.Byte1, r.Byte2, r.Byte3, r.Byte4}) p = StoreByte(p, b);
    p = StoreFixed32(p, static_cast<std::uint32_t>(r.Time));
  }
  return out;
}

std::string serialise_dat(const std::vector<TrainCell>& cells) {
  std::string out(kCellBytes * cells.size(), '\0');
  char* p = out.data();
  for (const auto& c : cells) {
    p = StoreByte(p, c.Kind);
    for (std::int16_t w : {c.Word1, c.Word2, c.Word3, c.Word4}) p = StoreFixed16(p, static_cast<std::uint16_t>(w));
    for (std::uint8_t b : {c.Byte1, c.Byte2, c.Byte3, c.Byte4, c.Byte5, c.Byte6}) p = StoreByte(p, b);
  }
  return out;
}

std::string serialise_linea(const LinePlan& plan) {
  std::size_t size = 0;
  for (int col = 0; col < LinePlan::kColumns; ++col) {
    for (LineTag t : plan.tags(col)) size += line_value_size(t);
  }
  std::string out(size, '\0');
  char* p = out.data();
  for (int col = 0; col < LinePlan::kColumns; ++col) {
    const std::vector<double>& values = plan.values(col);
    const std::vector<LineTag>& tags = plan.tags(col);
    for (std::size_t i = 0; i < values.size(); ++i) p = store_value(p, tags[i], values[i]);
  }
  return out;
}

// Each value's tag and payload are read where they fall in `bytes` and
// compared with what store_value writes, bit for bit (a real by its 64 bits),
// so that a plan of a million points is compared without a second copy of
// its file.
bool linea_matches(const LinePlan& plan, std::string_view bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  for (int col = 0; col < LinePlan::kColumns; ++col) {
    const std::vector<double>& values = plan.values(col);
    const std::vector<LineTag>& tags = plan.tags(col);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const LineTag tag = tags[i];
      const std::size_t n = line_value_size(tag);
      if (static_cast<std::size_t>(end - p) < n || DecodeFixed16(p) != static_cast<std::uint16_t>(tag)) return false;
      if (tag == LineTag::Int16 &&
          DecodeFixed16(p + kLineTagBytes) != static_cast<std::uint16_t>(static_cast<std::int16_t>(values[i]))) {
        return false;
      }
      if (tag == LineTag::Real && DecodeFixed64(p + kLineTagBytes) != std::bit_cast<std::uint64_t>(values[i])) return false;
      p += n;
    }
  }
  return p == end;
}

}  // namespace scenario
