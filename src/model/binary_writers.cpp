// Byte layouts of the scenario table, train cell and line plan files.
#include "model/binary_writers.h"

#include "model/coding.h"

namespace scenario {

std::string serialise_sim(const ScenarioRows& rows) {
  std::string out;
  std::size_t names = 0;
  for (const auto& r : rows) names += r.Name.size();
  out.reserve(34 * rows.size() + names);
  for (const auto& r : rows) {
    PutByte(out, r.Kind);
    PutFixed32(out, static_cast<std::uint32_t>(r.Start));
    PutFixed32(out, static_cast<std::uint32_t>(r.End));
    PutFixed32(out, static_cast<std::uint32_t>(r.Position));
    PutByte(out, r.Flag);
    PutText(out, r.Name);
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

std::string serialise_linea(const LinePlan& plan) {
  const auto& values = plan.values();
  const auto& tags = plan.tags();
  std::size_t size = 0;
  for (LineTag t : tags) size += t == LineTag::Real ? 10 : t == LineTag::Int16 ? 4 : 2;
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < values.size(); ++i) {
    PutFixed16(out, static_cast<std::uint16_t>(tags[i]));
    if (tags[i] == LineTag::Int16) {
      PutFixed16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(values[i])));
    } else if (tags[i] == LineTag::Real) {
      PutDouble(out, values[i]);
    }
  }
  return out;
}

}  // namespace scenario
