// The stamp guard, the two marks and the check codes of the scenario's names.
#include "placement/stamp.h"

#include <string_view>

#include "model/legacy_math.h"

namespace scenario {
namespace {

constexpr std::size_t kCodeLength = 25;
constexpr std::string_view kPadding = "aabbccddeeffgghhiillmmnnoo";

char lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The first 25 characters of the lower-cased train code, route name and
// padding; the padding alone is long enough, so there are always 25.
std::string code_text(const CompileState& s) {
  const ScenarioRows& rows = s.scenario.ScenarioTable;
  std::string t = general_field(rows, kTrainCode) + general_field(rows, kRouteName);
  t.append(kPadding);
  t.resize(kCodeLength);
  for (char& c : t) c = lower_ascii(c);
  return t;
}

std::int32_t code_of(char c) { return static_cast<unsigned char>(c); }

}  // namespace

std::int16_t codice_gara_og(const CompileState& s) {
  std::int32_t sum = 0;
  for (char c : code_text(s)) sum = add32(sum, code_of(c));
  return low16(sum);  // at most 25 x 255
}

std::int32_t codice_gara_st(const CompileState& s) {
  std::string t = code_text(s);
  std::int32_t sum = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    sum = add32(sum, mul32(static_cast<std::int32_t>(i + 1), code_of(t[i])));
  }
  return sum;
}

std::optional<Status> timbra(CompileState& s) {
  const ScenarioRows& rows = s.scenario.ScenarioTable;
  TrainCell& cell = cella(s, 1);
  if (general_field(rows, kStampMark) != 0 || cell.Word1 != 0) return Status::GuardWord1;
  scrivi_campo(s, kStampMark, owner::kStamp) = kRowMark;
  scrivi_cella(s, 1, CellLayer::Object, owner::kStamp).Word1 = kCellMark;
  if (general_field(rows, kCheckCode) != 0 || cell.Word2 != 0) return Status::GuardWord2;
  scrivi_campo(s, kCheckCode, owner::kStamp) = codice_gara_st(s);
  cell.Word2 = codice_gara_og(s);
  return std::nullopt;
}

}  // namespace scenario
