// Byte layouts of the scenario table, train cell and line plan files.
#include "model/binary_writers.h"

#include <bit>
#include <cstddef>
#include <cstdint>

#include "model/coding.h"

namespace scenario {
namespace {

// A row's name; a name too long for its length field names its row.
void put_name(std::string& out, const std::string& name, std::size_t row) {
  try {
    PutText(out, name);
  } catch (const Failure& f) {
    FailureDetail detail = f.detail();
    detail.row = static_cast<std::int64_t>(row);
    throw Failure(f.what(), std::move(detail));
  }
}

}  // namespace

std::string serialise_sim(const ScenarioRows& rows) {
  std::string out;
  std::size_t names = 0;
  for (const auto& r : rows) names += r.Name.size();
  out.reserve(34 * rows.size() + names);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ScenarioRecord& r = rows[i];
    PutByte(out, r.Kind);
    PutFixed32(out, static_cast<std::uint32_t>(r.Start));
    PutFixed32(out, static_cast<std::uint32_t>(r.End));
    PutFixed32(out, static_cast<std::uint32_t>(r.Position));
    PutByte(out, r.Flag);
    put_name(out, r.Name, i);
    for (std::int16_t w : {r.Word1, r.Word2, r.Word3, r.Word4, r.Word5}) {
      PutFixed16(out, static_cast<std::uint16_t>(w));
    }
    for (std::uint8_t b : {r.Byte1, r.Byte2, r.Byte3, r.Byte4}) PutByte(out, b);
    PutFixed32(out, static_cast<std::uint32_t>(r.Time));
  }
  return out;
}

std::string serialise_dat(const std::vector<TrainCell>& cells) {
  std::string out;
  out.reserve(15 * cells.size());
  for (const auto& c : cells) {
    PutByte(out, c.Kind);
    for (std::int16_t w : {c.Word1, c.Word2, c.Word3, c.Word4}) PutFixed16(out, static_cast<std::uint16_t>(w));
    for (std::uint8_t b : {c.Byte1, c.Byte2, c.Byte3, c.Byte4, c.Byte5, c.Byte6}) PutByte(out, b);
  }
  return out;
}

namespace {

// Stores of the line plan's fields at a running position of a buffer that is
// already sized; the plan has two values per metre, so per-value appends to a
// growing string would cost more than the drawing itself.
char* store16(char* p, std::uint16_t v) {
  p[0] = static_cast<char>(v & 0xff);
  p[1] = static_cast<char>(v >> 8);
  return p + 2;
}

char* store_double(char* p, double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((bits >> (8 * i)) & 0xff);
  return p + 8;
}

std::size_t value_size(LineTag t) { return t == LineTag::Real ? 10 : t == LineTag::Int16 ? 4 : 2; }

}  // namespace

std::string serialise_linea(const LinePlan& plan) {
  const auto& values = plan.values();
  const auto& tags = plan.tags();
  std::size_t size = 0;
  for (LineTag t : tags) size += value_size(t);
  std::string out(size, '\0');
  char* p = out.data();
  for (std::size_t i = 0; i < values.size(); ++i) {
    p = store16(p, static_cast<std::uint16_t>(tags[i]));
    if (tags[i] == LineTag::Int16) {
      p = store16(p, static_cast<std::uint16_t>(static_cast<std::int16_t>(values[i])));
    } else if (tags[i] == LineTag::Real) {
      p = store_double(p, values[i]);
    }
  }
  return out;
}

}  // namespace scenario
