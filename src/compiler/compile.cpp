// The one compile call: a fresh state, the passes, the post-processing and the stamps.
#include "compiler/compile.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <tuple>
#include <utility>
#include <vector>

#include "parser/passes.h"
#include "placement/post_processing.h"
#include "placement/stamp.h"

namespace scenario {
namespace {

// Cell 1's two words, which the stamp guard wants empty.
struct CellOne {
  std::int16_t word1 = 0;
  std::int16_t word2 = 0;
  std::uint8_t kind = 0;
};

CellOne cell_one(const CompileState& s) {
  if (s.scenario.TrainCells.size() < 2) return {};
  const TrainCell& c = s.scenario.TrainCells[1];
  return CellOne{c.Word1, c.Word2, c.Kind};
}

// The stamp guard failed: records what stood in its way. A word of cell 1
// was written by a record (the first that made it non-zero) or, when no
// record did, by the compiler's own speed marks; otherwise row 85 held it.
void registra_guardia(CompileState& s, const Origins& origins, Status guard, const CellOne& after_passes,
                      const CellOne& before_stamps) {
  const bool word1 = guard == Status::GuardWord1;
  const std::int16_t now = word1 ? before_stamps.word1 : before_stamps.word2;
  Diagnostic d{.status = guard};
  if (now == 0) {
    d.row = kStampRow;
  } else {
    const std::int16_t from_records = word1 ? after_passes.word1 : after_passes.word2;
    const std::optional<RecordPlace>& writer = word1 ? origins.cell_one_word1 : origins.cell_one_word2;
    if (from_records != 0 && writer) {
      d = diagnostica_a(guard, *writer);
    } else {
      d.by_speed_marks = true;
    }
    d.cell = 1;
    d.metres = kCellLength;
    d.cell_holds = before_stamps.kind;
  }
  s.report.Diagnostics.push_back(d);
}

// Where a record stands: its source, its keyword field and its kind.
using RecordKey = std::tuple<SourceId, std::uint64_t, RecordKind>;

RecordKey chiave_del_record(const AccountRecord& r) { return {r.source, r.start, r.kind}; }

// The account's records in the order of their keys; among records of one key
// the first read comes first.
std::vector<std::uint32_t> per_chiave(const Account& a) {
  std::vector<std::uint32_t> order(a.records.size());
  std::iota(order.begin(), order.end(), std::uint32_t{0});
  std::sort(order.begin(), order.end(), [&](std::uint32_t x, std::uint32_t y) {
    return std::pair(chiave_del_record(a.records[x]), x) < std::pair(chiave_del_record(a.records[y]), y);
  });
  return order;
}

// Links every diagnostic recorded at a record to that record in the account
// (the first record read at that place, the first diagnostic recorded there),
// then settles each record's fate.
void chiudi(CompileState& s) {
  if (!s.account) return;
  Account& a = *s.account;
  const std::vector<Diagnostic>& ds = s.report.Diagnostics;
  const bool any = std::any_of(ds.begin(), ds.end(), [](const Diagnostic& d) { return d.record_offset.has_value(); });
  const std::vector<std::uint32_t> order = any ? per_chiave(a) : std::vector<std::uint32_t>{};
  for (std::size_t i = 0; i < ds.size(); ++i) {
    const Diagnostic& d = ds[i];
    if (!d.record_offset) continue;
    const RecordKey key{d.source, *d.record_offset, d.record};
    const auto it = std::lower_bound(order.begin(), order.end(), key, [&](std::uint32_t r, const RecordKey& k) {
      return chiave_del_record(a.records[r]) < k;
    });
    if (it == order.end() || chiave_del_record(a.records[*it]) != key) continue;
    AccountRecord& r = a.records[*it];
    if (r.diagnostic < 0) r.diagnostic = static_cast<std::int32_t>(i);
  }
  chiudi_conto(a);
}

}  // namespace

CompileResult compile(const ScenarioNames& names, const CompileOptions& options, SourceFiles& sources) {
  CompileResult r;
  CompileState s;
  s.RouteName = names.RouteName;
  s.TrainCode = names.TrainCode;
  s.CompileLine = options.line_plan ? 1 : 0;
  if (options.account) s.account.emplace();
  try {
    const Origins origins = memorizza_dati(s, sources);
    const CellOne after_passes = cell_one(s);
    scrivente(s, owner::kSpeedMarks);
    elabora_celle(s, origins);
    const CellOne before_stamps = cell_one(s);
    scrivente(s, owner::kStamp);
    r.guard = timbra(s);
    if (r.guard) registra_guardia(s, origins, *r.guard, after_passes, before_stamps);
  } catch (const Failure& f) {
    r.failure = f;
    s.report.Diagnostics.push_back(Diagnostic{.status = Status::RuntimeFailure, .failure = f.detail()});
  }
  chiudi(s);
  r.scenario = std::move(s.scenario);
  r.report = std::move(s.report);
  r.account = std::move(s.account);
  r.CompileLine = s.CompileLine;
  return r;
}

}  // namespace scenario
