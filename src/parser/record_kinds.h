// The one table of record kinds: keywords, how they match, fields and their meanings, margins, names.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/diagnostic.h"

namespace scenario {

// Limits the passes check on record values.
inline constexpr std::int32_t kMaxRouteLength = 1000000;  // the route length record, in metres
inline constexpr std::int32_t kLastPlanPoint = 1000000;   // the last point a curve may carry the plan to
inline constexpr std::int32_t kMinimumSpacing = 350;      // metres between one station zone and the next

// How a field after the keyword is read.
enum class FieldType : std::uint8_t { Text, Int32, Int16, Byte };

struct FieldLayout {
  std::string_view meaning;  // in the author's words: "the station's length"
  FieldType type = FieldType::Int32;
};

// Bound check margins: a record's first value plus its margin, over 50,
// must not pass the last train cell. Stations reach furthest.
inline constexpr std::int32_t kBodyMargin = 100;
inline constexpr std::int32_t kStationMargin = 800;

// Where a record may stand: the line source's general section or body, or
// anywhere in the train source after its "[generale]".
enum class Section : std::uint8_t { LineGeneral, LineBody, Train };

// How the keyword field is tested: every word must stand somewhere in it,
// with the case of ASCII letters ignored or kept.
enum class KeywordMatch : std::uint8_t { IgnoreCase, KeepCase };

struct RecordLayout {
  RecordKind kind = RecordKind::None;
  SourceId source = SourceId::None;
  std::array<std::string_view, 2> words{};  // "" when one word is enough
  KeywordMatch match = KeywordMatch::IgnoreCase;
  std::span<const FieldLayout> fields;        // the fields after the keyword, in order
  std::optional<std::int32_t> margin;       // bound check: (position + margin) / 50 <= CellCount
  std::string_view name;                    // "station", "slow order", ...
};

// The layout of one kind; RecordKind::None has an empty layout.
const RecordLayout& record_layout(RecordKind kind);

// The kinds of one source, in the order the pass tests them on a keyword
// (for the line source, the general section's kinds, then the body's).
std::span<const RecordLayout> record_layouts(SourceId source);

// The kinds of one section, in the order its pass tests them.
std::span<const RecordLayout> record_layouts(Section section);

// Whether a keyword field starts a record of this kind (curves only when the
// track plan is compiled).
bool starts_record(const RecordLayout& layout, std::string_view keyword, bool line_plan);

// Whether a keyword field starts any record of the section.
bool starts_any_record(Section section, std::string_view keyword, bool line_plan);

// The kind's bound check margin; 0 for a kind that has no bound check.
std::int32_t margin_of(RecordKind kind);

}  // namespace scenario
