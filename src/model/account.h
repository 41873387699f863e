// The account of a compile: what became of every field the passes read as a keyword, of every record, and who wrote each piece of output.
//
// Design: the account is filled at the stores, as the passes read and place,
// never worked out afterwards. Each keyword field read is one thin entry
// (byte range, source, what the pass did with it); each record it started is
// one entry with the byte range of every field it read and the runs of train
// cells, scenario rows and plan points it wrote. The reverse is the owner
// map: for every train cell (per layer of the cell), every scenario row and
// every run of plan points, the record that last wrote it, or the compiler
// itself. Texts are not copied: a field is a byte range of its source, and a
// caller that holds the source reads the text there. Runs of empty or
// preamble fields are kept as one entry, so junk input costs little.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/diagnostic.h"
#include "model/scenario_record.h"

namespace scenario {

// Who wrote a piece of output: a record (its index in Account::records, 0 or
// more) or one of the compiler's own writers below (negative).
using Owner = std::int32_t;

namespace owner {
inline constexpr Owner kNone = -1;          // nothing wrote it
inline constexpr Owner kDefault = -2;       // a value the compiler writes before any record sets one
inline constexpr Owner kSpeedMarks = -3;    // the post-processing's speed marks
inline constexpr Owner kApproach = -4;      // the post-processing's approach marks
inline constexpr Owner kTail = -5;          // the plan and cells past the route's end, drawn by the compiler
inline constexpr Owner kNames = -6;         // the route name and train code rows
inline constexpr Owner kStamp = -7;         // the check codes
inline constexpr Owner kPlanStart = -8;     // the plan's first points, before any curve
inline constexpr Owner kChainageSort = -9;  // a chainage row cleared or moved by the sort
inline constexpr Owner kLowest = kChainageSort;
}  // namespace owner

// The compiler's name for one of its own writers ("the speed marks").
std::string_view owner_name(Owner o);

// The parts of a train cell that different records write.
enum class CellLayer : std::uint8_t {
  Object,    // the kind and its words: signal, slow order, board, stop, sign, reduction, range marker
  Approach,  // Byte2: approach marks
  Range,     // Byte3: the range's type
  Speed,     // Byte4: the speed limit
  Gradient,  // Byte5: the gradient
  Adhesion,  // Byte6: the adhesion
};
inline constexpr std::size_t kCellLayers = 6;

// The fields of a scenario row, for the rows' owner map.
enum class RowField : std::uint8_t {
  Kind, Start, End, Position, Flag, Name, Word1, Word2, Word3, Word4, Word5, Byte1, Byte2, Byte3, Byte4, Time,
};
inline constexpr std::size_t kRowFields = 16;

// What a pass did with a field it read where a keyword belongs.
enum class KeywordUse : std::uint8_t {
  Record,      // it started at least one record
  Unmatched,   // it matched no keyword of its section
  Empty,       // a run of empty fields (blank lines, stray commas)
  Comment,     // a comment field, passed over
  Header,      // a section header
  Preamble,    // before [generale]: outside any section the compiler reads
  UnreadLast,  // the last field of the text, never examined
};

// A keyword field, or a run of fields of one use (Empty, Preamble) merged.
struct KeywordEntry {
  std::uint32_t start = 0;  // first byte of the field
  std::uint32_t end = 0;    // one past its last byte (trailing blanks included, line end not)
  SourceId source = SourceId::None;
  KeywordUse use = KeywordUse::Unmatched;
  // A field holding "-" read as a keyword because the comments before it
  // used up the passes' allowance of skipped comment fields.
  bool comment_read_as_keyword = false;
};

// What a record became.
enum class RecordFate : std::uint8_t {
  Used,         // something it wrote is still in the output
  NoEffect,     // it was read and wrote nothing (a curve that draws no point, a repeated equal value)
  Overwritten,  // everything it wrote was written again by later records (overwritten_by names the last)
  Refused,      // a rule broke at it (diagnostic names the first one)
  Unfinished,   // the text ended, or a failure stopped the pass, inside it
};

// One field of a record: its byte range and, for a numeric field, the value read.
struct FieldSpan {
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  std::int64_t number = 0;
  bool numeric = false;
};

// What one record holds in the output, as runs of consecutive indices: cells
// of one layer, one field of consecutive rows, or plan points.
enum class Target : std::uint8_t { Cell, Row, Plan };
struct WriteRun {
  Target target = Target::Cell;
  std::uint8_t part = 0;  // the CellLayer of cells, the RowField of rows
  std::int32_t first = 0;
  std::int32_t last = 0;
};

struct AccountRecord {
  SourceId source = SourceId::None;
  RecordKind kind = RecordKind::None;
  RecordFate fate = RecordFate::Used;
  std::uint32_t keyword = 0;  // index of its keyword field in Account::keywords
  std::uint32_t start = 0;    // the keyword field's first byte
  std::uint32_t end = 0;      // one past the last field's last byte
  std::uint32_t first_field = 0;
  std::uint32_t field_count = 0;
  std::uint32_t first_write = 0;
  std::uint32_t write_count = 0;
  Owner overwritten_by = owner::kNone;  // the last writer that wrote over something it had written
  std::int32_t diagnostic = -1;         // index in the diagnostics of the first rule broken here
  bool wrote = false;                   // it wrote at least one cell, row field or plan point
  bool finished = false;                // every field it reads was read
};

// A run of plan points that one writer drew.
struct PlanRun {
  std::int32_t first = 0;
  std::int32_t last = 0;
  Owner owner = owner::kNone;
};

struct Account {
  std::vector<KeywordEntry> keywords;
  std::vector<AccountRecord> records;
  std::vector<FieldSpan> fields;
  std::vector<WriteRun> writes;

  // The owner map. cells[i][layer] for cells 0..scenario.CellCount; rows by row index;
  // plan as runs in the order drawn.
  std::vector<std::array<Owner, kCellLayers>> cells;
  std::array<std::array<Owner, kRowFields>, kScenarioRows> rows{};
  std::vector<PlanRun> plan;

  // Who is writing now: the record being read, or a compiler writer.
  Owner writer = owner::kNone;

  Account();

  std::span<const FieldSpan> fields_of(const AccountRecord& r) const {
    return std::span<const FieldSpan>(fields).subspan(r.first_field, r.field_count);
  }
  std::span<const WriteRun> writes_of(const AccountRecord& r) const {
    return std::span<const WriteRun>(writes).subspan(r.first_write, r.write_count);
  }
  Owner cell_owner(std::int64_t cell, CellLayer layer) const;
  Owner row_owner(std::int64_t row, RowField field) const;
  Owner plan_owner(std::int64_t point) const;
};

// The bytes [start, end) of a source text, clamped to it: the text of a
// keyword entry or a field.
inline std::string_view testo_di(std::string_view text, std::uint32_t start, std::uint32_t end) {
  const std::size_t a = std::min<std::size_t>(start, text.size());
  const std::size_t b = std::min<std::size_t>(std::max(start, end), text.size());
  return text.substr(a, b - a);
}

// The recording calls the passes make; each is a no-op cost for a caller that
// keeps no account (the generator), which passes no account at all.

// A keyword field read at [start, end) and what the pass did with it.
void conta_chiave(Account& a, SourceId source, KeywordUse use, std::size_t start, std::size_t end,
                  bool comment_read_as_keyword = false);

// A record of `kind` starts at the last keyword field; it becomes the writer.
void conta_record(Account& a, RecordKind kind);

// A field of the record being read.
void conta_campo(Account& a, std::size_t start, std::size_t end, std::optional<std::int64_t> number);

// The record being read has read all its fields.
void conta_fine_record(Account& a);

// Stores: `who` (the writer by default) wrote a cell's layer, a row's field,
// a plan point. Indices outside the map are not stores (the access that
// follows fails).
void conta_cella(Account& a, std::int64_t cell, CellLayer layer, Owner who);
void conta_riga(Account& a, std::int64_t row, RowField field, Owner who);
void conta_punto(Account& a, std::int64_t point, Owner who);

// The train cells were created: cells 0..count, owned by nobody.
void conta_celle_create(Account& a, std::int32_t count);

// A rule broke at the record being read (diagnostic index `d`).
void conta_rifiuto(Account& a, std::size_t d);

// Once the compile is over: each record's fate from the owner map.
void chiudi_conto(Account& a);

// Non-blank lines of a source that no field the passes read touches: the
// lines after a pass stopped, or a source the compile never reached.
std::size_t righe_non_lette(const Account& a, SourceId source, std::string_view text);

}  // namespace scenario
