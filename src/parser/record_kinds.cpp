// The record kinds of both sources: their keywords, fields, margins and names.
#include "parser/record_kinds.h"

#include <algorithm>

#include "parser/keyword_match.h"

namespace scenario {
namespace {

using T = FieldType;

constexpr FieldLayout kRouteLength[] = {{"the route's length", T::Int32}};
constexpr FieldLayout kChainage[] = {
    {"the chainage change's position", T::Int32},
    {"the chainage change's base value", T::Int32},
    {"the chainage change's direction flag", T::Int32},
};
constexpr FieldLayout kBackgroundOne[] = {{"the first background value", T::Int32}};
constexpr FieldLayout kBackgroundTwo[] = {{"the second background value", T::Int32}};
constexpr FieldLayout kBackgroundThree[] = {{"the third background value", T::Int32}};
constexpr FieldLayout kRepetition[] = {
    {"the signal repetition's start", T::Int32},
    {"the signal repetition's end", T::Int32},
};

constexpr FieldLayout kGradient[] = {
    {"the gradient's position", T::Int32},
    {"the gradient's value", T::Int32},
};
constexpr FieldLayout kCurve[] = {
    {"the curve's start", T::Int32},
    {"the curve's length", T::Int32},
};
constexpr FieldLayout kMontagna[] = {
    {"the range's start", T::Int32},
    {"the range's end", T::Int32},
    {"the range's type", T::Int32},
};
constexpr FieldLayout kBoards[] = {
    {"the board's position", T::Int32},
    {"the board's first left speed (vas)", T::Int32},
    {"the board's second left speed (vbs)", T::Int32},
    {"the board's third left speed (vcs)", T::Int32},
    {"the board's left stripes (strisces)", T::Int32},
    {"the board's first right speed (vad)", T::Int32},
    {"the board's second right speed (vbd)", T::Int32},
    {"the board's third right speed (vcd)", T::Int32},
    {"the board's right stripes (strisced)", T::Int32},
};
constexpr FieldLayout kSign[] = {
    {"the sign's position", T::Int32},
    {"the sign's text", T::Text},
};

constexpr FieldLayout kMass[] = {{"the braked-mass percentage", T::Int32}};
constexpr FieldLayout kCars[] = {{"the number of cars", T::Int32}};
constexpr FieldLayout kSpeed[] = {
    {"the speed limit's position", T::Int32},
    {"the speed limit in km/h", T::Int32},
};
constexpr FieldLayout kAdhesion[] = {
    {"the adhesion's position", T::Int32},
    {"the adhesion value", T::Int32},
};
constexpr FieldLayout kClock[] = {
    {"the clock's hours", T::Int16},
    {"the clock's minutes", T::Int16},
    {"the clock's seconds", T::Int16},
};
constexpr FieldLayout kSand[] = {{"the sand quantity", T::Int16}};
constexpr FieldLayout kSignal[] = {
    {"the signal's position", T::Int32},
    {"the signal's left kind (sx)", T::Int32},
    {"the signal's first left code (s1)", T::Int32},
    {"the signal's second left code (s2)", T::Int32},
    {"the signal's third left code (s3)", T::Int32},
    {"the signal's ratio (rapp)", T::Int32},
    {"the signal's right kind (dx)", T::Int32},
    {"the signal's first right code (d1)", T::Int32},
    {"the signal's second right code (d2)", T::Int32},
    {"the signal's third right code (d3)", T::Int32},
    {"the signal's time (tempo)", T::Int32},
};
constexpr FieldLayout kSlowOrder[] = {
    {"the slow order's start", T::Int32},
    {"the slow order's speed", T::Int32},
    {"the slow order's length", T::Int32},
    {"the slow order's f_tt flag", T::Int32},
    {"the slow order's approach flag (f_ta)", T::Int32},
    {"the slow order's d_v value", T::Int32},
};
constexpr FieldLayout kReduction[] = {
    {"the reduction's position", T::Int32},
    {"the reduction's value", T::Int32},
};
constexpr FieldLayout kStation[] = {
    {"the station's position", T::Int32},
    {"the station's kind", T::Byte},
    {"the station's length", T::Int32},
    {"the station's first flag", T::Byte},
    {"the station's second flag", T::Byte},
    {"the station's third flag", T::Byte},
    {"the station's seventh number", T::Int16},
    {"the station's eighth number", T::Int16},
    {"the station's ninth number", T::Byte},
    {"the station's tenth number", T::Int16},
    {"the station's eleventh number", T::Int16},
    {"the station's twelfth number", T::Int16},
    {"the station's thirteenth number", T::Byte},
    {"the station's hours", T::Int32},
    {"the station's minutes", T::Int32},
    {"the station's seconds", T::Int32},
    {"the station's name", T::Text},
};

using K = RecordKind;
using M = KeywordMatch;
constexpr SourceId L = SourceId::Line;
constexpr SourceId R = SourceId::Train;

// Grouped by section, each group in the order its pass tests a keyword field.
// Only the route length of the general section ignores case.
constexpr RecordLayout kLayouts[] = {
    {K::RouteLength, L, {"percorso", "lunghezza"}, M::IgnoreCase, kRouteLength, {}, "route length"},
    {K::ChainageThree, L, {"tre", "progressiva"}, M::KeepCase, kChainage, {}, "chainage change (tre)"},
    {K::ChainageTwo, L, {"due", "progressiva"}, M::KeepCase, kChainage, {}, "chainage change (due)"},
    {K::ChainageOne, L, {"uno", "progressiva"}, M::KeepCase, kChainage, {}, "chainage change (uno)"},
    {K::BackgroundOne, L, {"sfondo", "uno"}, M::KeepCase, kBackgroundOne, {}, "background (uno)"},
    {K::BackgroundTwo, L, {"sfondo", "due"}, M::KeepCase, kBackgroundTwo, {}, "background (due)"},
    {K::BackgroundThree, L, {"sfondo", "tre"}, M::KeepCase, kBackgroundThree, {}, "background (tre)"},
    {K::SignalRepetition, L, {"segnali", "ripetizione"}, M::KeepCase, kRepetition, {}, "signal repetition"},

    {K::Gradient, L, {"pendenza", ""}, M::IgnoreCase, kGradient, kBodyMargin, "gradient"},
    {K::Curve, L, {"curva", ""}, M::IgnoreCase, kCurve, kBodyMargin, "curve"},
    {K::Montagna, L, {"montagna", ""}, M::IgnoreCase, kMontagna, kBodyMargin, "montagna range"},
    {K::SpeedBoards, L, {"indicatori_v", ""}, M::IgnoreCase, kBoards, kBodyMargin, "speed indicator board"},
    {K::Sign, L, {"indicat", "cartello"}, M::IgnoreCase, kSign, kBodyMargin, "indication sign"},

    {K::Mass, R, {"frenata", "massa"}, M::IgnoreCase, kMass, {}, "braked mass"},
    {K::Cars, R, {"vetture", ""}, M::IgnoreCase, kCars, {}, "number of cars"},
    {K::SpeedProfile, R, {"velocit", ""}, M::IgnoreCase, kSpeed, kBodyMargin, "speed limit"},
    {K::Adhesion, R, {"aderenza", ""}, M::IgnoreCase, kAdhesion, kBodyMargin, "adhesion"},
    {K::Clock, R, {"orologio", ""}, M::IgnoreCase, kClock, {}, "clock"},
    {K::Sand, R, {"sabbia", ""}, M::IgnoreCase, kSand, {}, "sand"},
    {K::Signal, R, {"segnale", ""}, M::IgnoreCase, kSignal, kBodyMargin, "signal"},
    {K::SlowOrder, R, {"rallentamento", ""}, M::IgnoreCase, kSlowOrder, kBodyMargin, "slow order"},
    {K::Reduction, R, {"abbattimento", ""}, M::IgnoreCase, kReduction, kBodyMargin, "speed reduction"},
    {K::Station, R, {"stazione", ""}, M::IgnoreCase, kStation, kStationMargin, "station"},
};

constexpr std::size_t kGeneralCount = 8;
constexpr std::size_t kBodyCount = 5;
constexpr std::size_t kTrainCount = 10;
static_assert(std::size(kLayouts) == kGeneralCount + kBodyCount + kTrainCount);

constexpr bool in_kind_order() {
  for (std::size_t i = 0; i < std::size(kLayouts); ++i) {
    if (static_cast<std::size_t>(kLayouts[i].kind) != i + 1) return false;
  }
  return true;
}
// record_layout() indexes the table by kind.
static_assert(in_kind_order());

constexpr RecordLayout kNoRecord{};

}  // namespace

const RecordLayout& record_layout(RecordKind kind) {
  const auto i = static_cast<std::size_t>(kind);
  if (i == 0 || i > std::size(kLayouts)) return kNoRecord;
  return kLayouts[i - 1];
}

std::span<const RecordLayout> record_layouts(Section section) {
  const std::span<const RecordLayout> all(kLayouts);
  switch (section) {
    case Section::LineGeneral:
      return all.subspan(0, kGeneralCount);
    case Section::LineBody:
      return all.subspan(kGeneralCount, kBodyCount);
    case Section::Train:
      return all.subspan(kGeneralCount + kBodyCount, kTrainCount);
  }
  return {};
}

std::span<const RecordLayout> record_layouts(SourceId source) {
  const std::span<const RecordLayout> all(kLayouts);
  if (source == SourceId::Line) return all.subspan(0, kGeneralCount + kBodyCount);
  if (source == SourceId::Train) return record_layouts(Section::Train);
  return {};
}

bool starts_record(const RecordLayout& layout, std::string_view keyword, bool line_plan) {
  if (layout.kind == RecordKind::None) return false;
  const bool ignore_case = layout.match == KeywordMatch::IgnoreCase;
  for (std::string_view word : layout.words) {
    if (word.empty()) continue;
    if (!(ignore_case ? contiene_ci(keyword, word) : contiene(keyword, word))) return false;
  }
  // Curves only draw the track plan; without it their keyword starts nothing.
  return layout.kind != RecordKind::Curve || line_plan;
}

bool starts_any_record(Section section, std::string_view keyword, bool line_plan) {
  const std::span<const RecordLayout> layouts = record_layouts(section);
  return std::any_of(layouts.begin(), layouts.end(),
                     [&](const RecordLayout& layout) { return starts_record(layout, keyword, line_plan); });
}

std::int32_t margin_of(RecordKind kind) { return record_layout(kind).margin.value_or(0); }

}  // namespace scenario
