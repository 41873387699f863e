// Locating records by kind, by bound check and by the cells they fill.
#include "compile/record_lookup.h"

#include <array>
#include <cmath>

#include "common/text_match.h"

namespace scenario::tool {
namespace {

constexpr std::array<RecordKind, 11> kKinds = {{
    {SourceId::Line, "pendenza", "", "gradient record", 100},
    {SourceId::Line, "curva", "", "curve", 100},
    {SourceId::Line, "montagna", "", "montagna range", 100},
    {SourceId::Line, "indicatori_v", "", "speed indicator board", 100},
    {SourceId::Line, "indicat", "cartello", "indication sign", 100},
    {SourceId::Train, "velocit", "", "speed limit record", 100},
    {SourceId::Train, "aderenza", "", "adhesion record", 100},
    {SourceId::Train, "segnale", "", "signal", 100},
    {SourceId::Train, "rallentamento", "", "slow order", 100},
    {SourceId::Train, "abbattimento", "", "speed reduction", 100},
    {SourceId::Train, "stazione", "", "station", 800},
}};

bool starts(const RecordKind& k, std::string_view keyword) {
  return contains_ci(keyword, k.first) && (k.second.empty() || contains_ci(keyword, k.second));
}

std::string_view name_of(const FoundRecord& f) { return f.kind ? f.kind->name : std::string_view(); }

bool fails_bound(const CompileOutcome& r, const FoundRecord& f) {
  if (f.kind == nullptr) return false;
  auto p = number_at(f.fields, 1);
  return p && oltre_le_celle(r.state, *p, f.kind->margin);
}

// The cells a record's object takes, as its placement routine computes them.
std::vector<std::int64_t> cells_taken(const FoundRecord& f) {
  auto p = number_at(f.fields, 1);
  if (!p) return {};
  const std::string_view name = name_of(f);
  if (name == "speed indicator board" || name == "indication sign" || name == "signal") {
    return {cell_after_position(*p)};
  }
  if (name == "speed reduction") return {cell_at(*p)};
  if (name == "slow order") {
    std::vector<std::int64_t> cells = {cell_after_position(*p)};
    if (auto l = number_at(f.fields, 3)) cells.push_back(cell_after_position(*p + *l));
    return cells;
  }
  return {};
}

}  // namespace

const RecordKind* positional_kind(SourceId source, std::string_view keyword, bool line_plan) {
  for (const RecordKind& k : kKinds) {
    if (k.source != source || !starts(k, keyword)) continue;
    if (k.first == "curva" && !line_plan) continue;
    return &k;
  }
  return nullptr;
}

std::vector<FoundRecord> noted_records(const CompileOutcome& r, SourceId source, std::size_t numbers) {
  std::vector<FoundRecord> out;
  const std::string_view text = r.texts.text(source);
  const bool plan = r.state.CompileLine != 0;
  for (const FieldNote& n : r.state.FieldNotes) {
    if (n.source != source || n.use != FieldUse::Record) continue;
    out.push_back({source, positional_kind(source, n.text, plan), record_fields(text, n.offset, numbers)});
  }
  return out;
}

FoundRecord traced_record(const CompileOutcome& r, std::size_t numbers) {
  const SourceTrace& t = r.state.Trace;
  FoundRecord f{t.source, nullptr, record_fields(r.texts.text(t.source), t.record_offset, numbers)};
  if (!f.fields.empty()) f.kind = positional_kind(t.source, f.fields[0].text, r.state.CompileLine != 0);
  return f;
}

std::int32_t traced_station_number(const CompileOutcome& r) {
  std::int32_t k = 0;
  for (const FieldNote& n : r.state.FieldNotes) {
    if (n.source == SourceId::Train && n.use == FieldUse::Record && n.offset <= r.state.Trace.record_offset &&
        contains_ci(n.text, "stazione")) {
      ++k;
    }
  }
  return k;
}

std::int32_t line_sign_count(const CompileOutcome& r) {
  std::int32_t count = 0;
  for (const FieldNote& n : r.state.FieldNotes) {
    if (n.source == SourceId::Line && n.use == FieldUse::Record && contains_ci(n.text, "indicat") &&
        contains_ci(n.text, "cartello")) {
      ++count;
    }
  }
  return count;
}

std::int64_t cell_at(std::int64_t p) { return static_cast<std::int64_t>(std::nearbyint(p / 50.0)); }
std::int64_t cell_after_position(std::int64_t p) {
  return static_cast<std::int64_t>(std::nearbyint(p / 50.0 + 1.0));
}

std::optional<FoundRecord> first_out_of_bounds(const CompileOutcome& r) {
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    for (FoundRecord& f : noted_records(r, source, 1)) {
      if (fails_bound(r, f)) return std::move(f);
    }
  }
  return std::nullopt;
}

std::optional<FoundRecord> first_record_in_cell_one(const CompileOutcome& r) {
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    for (FoundRecord& f : noted_records(r, source, 3)) {
      for (std::int64_t c : cells_taken(f)) {
        if (c == 1) return std::move(f);
      }
    }
  }
  return std::nullopt;
}

}  // namespace scenario::tool
