// Recording the account at the passes' stores, and closing it into each record's fate and holdings.
#include "model/account.h"

#include <algorithm>
#include <tuple>

namespace scenario {
namespace {

bool mergeable(KeywordUse use) { return use == KeywordUse::Empty || use == KeywordUse::Preamble; }

AccountRecord* scrivente(Account& a, Owner who) {
  if (who < 0 || static_cast<std::size_t>(who) >= a.records.size()) return nullptr;
  return &a.records[static_cast<std::size_t>(who)];
}

// The store replaces `old` by `who`: the record that loses it learns by whom.
void sostituisci(Account& a, Owner& slot, Owner who) {
  if (AccountRecord* r = scrivente(a, who)) r->wrote = true;
  if (slot != who) {
    if (AccountRecord* lost = scrivente(a, slot)) lost->overwritten_by = who;
  }
  slot = who;
}

// Appends a run for `who`, extending the last run it has of the same target
// and part when the index follows on.
void aggiungi(std::vector<std::vector<WriteRun>>& runs, Owner who, Target target, std::uint8_t part,
              std::int32_t i) {
  if (who < 0 || static_cast<std::size_t>(who) >= runs.size()) return;
  std::vector<WriteRun>& list = runs[static_cast<std::size_t>(who)];
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (it->target == target && it->part == part && it->last + 1 == i) {
      it->last = i;
      return;
    }
  }
  list.push_back(WriteRun{target, part, i, i});
}

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The start of every line of a text (a line ends at CR LF, LF or a lone CR).
std::vector<std::size_t> line_starts(std::string_view text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') starts.push_back(i + 1);
  }
  return starts;
}

// The line holding `offset`, searched forward from `from`: the entries of a
// pass come in text order, so a walk costs one step per line.
std::size_t line_from(const std::vector<std::size_t>& starts, std::size_t from, std::size_t offset) {
  std::size_t l = from;
  while (l + 1 < starts.size() && starts[l + 1] <= offset) ++l;
  return l;
}

}  // namespace

std::string_view owner_name(Owner o) {
  switch (o) {
    case owner::kNone: return "nothing";
    case owner::kDefault: return "the compiler's starting value";
    case owner::kSpeedMarks: return "the compiler's speed marks";
    case owner::kApproach: return "the compiler's approach marks";
    case owner::kTail: return "the compiler's run-on past the route's end";
    case owner::kNames: return "the route name and train code";
    case owner::kStamp: return "the check codes";
    case owner::kPlanStart: return "the plan's first points";
    case owner::kChainageSort: return "the chainage sort";
    default: return "a record";
  }
}

Account::Account() {
  for (auto& r : rows) r.fill(owner::kNone);
}

Owner Account::cell_owner(std::int64_t cell, CellLayer layer) const {
  if (cell < 0 || static_cast<std::uint64_t>(cell) >= cells.size()) return owner::kNone;
  return cells[static_cast<std::size_t>(cell)][static_cast<std::size_t>(layer)];
}

Owner Account::row_owner(std::int64_t row, RowField field) const {
  if (row < 0 || row >= kScenarioRows) return owner::kNone;
  return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
}

Owner Account::plan_owner(std::int64_t point) const {
  // Runs are drawn forward, so the last run that covers the point wrote it last.
  for (auto it = plan.rbegin(); it != plan.rend(); ++it) {
    if (it->first <= point && point <= it->last) return it->owner;
  }
  return owner::kNone;
}

void conta_chiave(Account& a, SourceId source, KeywordUse use, std::size_t start, std::size_t end,
                  bool comment_read_as_keyword) {
  if (mergeable(use) && !a.keywords.empty()) {
    KeywordEntry& last = a.keywords.back();
    if (last.use == use && last.source == source && last.end <= start) {
      last.end = static_cast<std::uint32_t>(end);
      return;
    }
  }
  a.keywords.push_back(KeywordEntry{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end), source, use,
                                    comment_read_as_keyword});
}

void conta_record(Account& a, RecordKind kind) {
  AccountRecord r;
  if (!a.keywords.empty()) {
    const KeywordEntry& k = a.keywords.back();
    r.keyword = static_cast<std::uint32_t>(a.keywords.size() - 1);
    r.source = k.source;
    r.start = k.start;
    r.end = k.end;
  }
  r.kind = kind;
  r.first_field = static_cast<std::uint32_t>(a.fields.size());
  a.records.push_back(r);
  a.writer = static_cast<Owner>(a.records.size() - 1);
}

void conta_campo(Account& a, std::size_t start, std::size_t end, std::optional<std::int64_t> number) {
  if (a.records.empty()) return;
  AccountRecord& r = a.records.back();
  a.fields.push_back(FieldSpan{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end),
                               number.value_or(0), number.has_value()});
  ++r.field_count;
  r.end = std::max(r.end, static_cast<std::uint32_t>(end));
}

void conta_fine_record(Account& a) {
  if (!a.records.empty()) a.records.back().finished = true;
}

void conta_cella(Account& a, std::int64_t cell, CellLayer layer, Owner who) {
  if (cell < 0 || static_cast<std::uint64_t>(cell) >= a.cells.size()) return;
  sostituisci(a, a.cells[static_cast<std::size_t>(cell)][static_cast<std::size_t>(layer)], who);
}

void conta_riga(Account& a, std::int64_t row, RowField field, Owner who) {
  if (row < 0 || row >= kScenarioRows) return;
  sostituisci(a, a.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)], who);
}

void conta_punto(Account& a, std::int64_t point, Owner who) {
  if (point < 0 || point > INT32_MAX) return;
  const auto m = static_cast<std::int32_t>(point);
  if (AccountRecord* r = scrivente(a, who)) r->wrote = true;
  if (!a.plan.empty()) {
    PlanRun& last = a.plan.back();
    if (last.owner == who && last.last + 1 == m) {
      last.last = m;
      return;
    }
    // A point drawn again takes it from whoever drew it first.
    if (m <= last.last && last.owner != who) {
      if (AccountRecord* lost = scrivente(a, last.owner)) lost->overwritten_by = who;
    }
  }
  a.plan.push_back(PlanRun{m, m, who});
}

void conta_celle_create(Account& a, std::int32_t count) {
  std::array<Owner, kCellLayers> none;
  none.fill(owner::kNone);
  a.cells.assign(static_cast<std::size_t>(count) + 1, none);
}

void conta_rifiuto(Account& a, std::size_t d) {
  if (a.writer < 0 || static_cast<std::size_t>(a.writer) >= a.records.size()) return;
  AccountRecord& r = a.records[static_cast<std::size_t>(a.writer)];
  if (r.diagnostic < 0) r.diagnostic = static_cast<std::int32_t>(d);
}

void chiudi_conto(Account& a) {
  std::vector<std::vector<WriteRun>> runs(a.records.size());
  for (std::size_t layer = 0; layer < kCellLayers; ++layer) {
    for (std::size_t c = 0; c < a.cells.size(); ++c) {
      aggiungi(runs, a.cells[c][layer], Target::Cell, static_cast<std::uint8_t>(layer), static_cast<std::int32_t>(c));
    }
  }
  for (std::size_t field = 0; field < kRowFields; ++field) {
    for (std::size_t row = 0; row < a.rows.size(); ++row) {
      aggiungi(runs, a.rows[row][field], Target::Row, static_cast<std::uint8_t>(field), static_cast<std::int32_t>(row));
    }
  }
  // A plan point drawn again belongs to the later run: trim earlier runs.
  std::int32_t drawn_to = INT32_MAX;
  for (auto it = a.plan.rbegin(); it != a.plan.rend(); ++it) {
    const std::int32_t last = std::min(it->last, drawn_to == INT32_MAX ? it->last : drawn_to - 1);
    if (last >= it->first && it->owner >= 0 && static_cast<std::size_t>(it->owner) < runs.size()) {
      runs[static_cast<std::size_t>(it->owner)].push_back(WriteRun{Target::Plan, 0, it->first, last});
    }
    drawn_to = std::min(drawn_to, it->first);
  }
  a.writes.clear();
  for (std::size_t i = 0; i < a.records.size(); ++i) {
    AccountRecord& r = a.records[i];
    std::vector<WriteRun>& list = runs[i];
    std::sort(list.begin(), list.end(), [](const WriteRun& x, const WriteRun& y) {
      return std::tie(x.target, x.part, x.first) < std::tie(y.target, y.part, y.first);
    });
    r.first_write = static_cast<std::uint32_t>(a.writes.size());
    r.write_count = static_cast<std::uint32_t>(list.size());
    a.writes.insert(a.writes.end(), list.begin(), list.end());
    if (r.diagnostic >= 0) {
      r.fate = RecordFate::Refused;
    } else if (!r.finished) {
      r.fate = RecordFate::Unfinished;
    } else if (r.write_count > 0) {
      r.fate = RecordFate::Used;
    } else if (r.wrote) {
      r.fate = RecordFate::Overwritten;
    } else {
      r.fate = RecordFate::NoEffect;
    }
  }
}

std::size_t righe_non_lette(const Account& a, SourceId source, std::string_view text) {
  if (text.empty()) return 0;
  const std::vector<std::size_t> starts = line_starts(text);
  std::vector<bool> touched(starts.size(), false);
  std::size_t cursor = 0;
  const auto mark = [&](std::size_t from, std::size_t to) {
    if (from >= text.size()) return;
    const std::size_t last_byte = to > from ? std::min(to, text.size()) - 1 : from;
    if (starts[cursor] > from) cursor = 0;  // out of order: walk again from the top
    cursor = line_from(starts, cursor, from);
    const std::size_t last = line_from(starts, cursor, last_byte);
    for (std::size_t l = cursor; l <= last; ++l) touched[l] = true;
  };
  for (const KeywordEntry& k : a.keywords) {
    if (k.source == source) mark(k.start, k.end);
  }
  cursor = 0;
  for (const AccountRecord& r : a.records) {
    if (r.source == source) mark(r.start, r.end);
  }
  std::size_t n = 0;
  for (std::size_t l = 0; l < starts.size(); ++l) {
    const std::size_t end = l + 1 < starts.size() ? starts[l + 1] : text.size();
    if (!touched[l] && !std::all_of(text.begin() + static_cast<std::ptrdiff_t>(starts[l]),
                                    text.begin() + static_cast<std::ptrdiff_t>(end), blank)) {
      ++n;
    }
  }
  return n;
}

}  // namespace scenario
