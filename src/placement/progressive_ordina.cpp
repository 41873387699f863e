// Ordering of the three chainage triples in rows 81 to 83.
#include <array>

#include "model/legacy_math.h"
#include "placement/placement.h"

namespace scenario {
namespace {

constexpr RowField kTripleFields[3] = {RowField::Start, RowField::End, RowField::Position};

// A triple with the writers of its three fields, which move with it; a
// triple the sort clears is the sort's own.
struct Triple {
  std::int32_t Start = 0;
  std::int32_t End = 0;
  std::int32_t Position = 0;
  std::array<Owner, 3> owners{owner::kChainageSort, owner::kChainageSort, owner::kChainageSort};
};

using Triples = std::array<Triple, 3>;  // [0] is row 81, [2] is row 83

Triples read_triples(const CompileState& s) {
  Triples t;
  for (int n = 0; n < 3; ++n) {
    const ScenarioRecord& r = s.scenario.ScenarioTable[kChainageRows[n]];
    t[n] = Triple{r.Start, r.End, r.Position};
    if (s.account) {
      for (int f = 0; f < 3; ++f) t[n].owners[f] = s.account->row_owner(kChainageRows[n], kTripleFields[f]);
    }
  }
  return t;
}

void write_triples(CompileState& s, const Triples& t) {
  for (int n = 0; n < 3; ++n) {
    ScenarioRecord& r = s.scenario.ScenarioTable[kChainageRows[n]];
    // A cleared field that held 0 already keeps its writer: the sort changed nothing there.
    const std::int32_t now[3] = {t[n].Start, t[n].End, t[n].Position};
    const std::int32_t before[3] = {r.Start, r.End, r.Position};
    for (int f = 0; f < 3; ++f) {
      if (t[n].owners[f] == owner::kChainageSort && now[f] == before[f]) continue;
      scrivi_riga(s, kChainageRows[n], kTripleFields[f], t[n].owners[f]);
    }
    r.Start = t[n].Start;
    r.End = t[n].End;
    r.Position = t[n].Position;
  }
}

// Descending by Start. A tie for the largest clears all three triples; a tie
// between the other two puts the one from the higher row second.
Triples sort_by_start(const Triples& t) {
  for (int top = 0; top < 3; ++top) {
    int a = (top + 1) % 3, b = (top + 2) % 3;
    if (t[top].Start <= t[a].Start || t[top].Start <= t[b].Start) continue;
    if (a > b) std::swap(a, b);
    int second = t[a].Start > t[b].Start ? a : b;
    int third = second == a ? b : a;
    return Triples{t[top], t[second], t[third]};
  }
  return Triples{};
}

// All starts sum to 0: the first triple with a positive End (from row 83
// backwards) moves to row 81; none at all clears the three triples.
Triples choose_by_end(const Triples& t) {
  Triples out = t;
  if (t[2].End > 0) {
    std::swap(out[0], out[2]);
  } else if (t[1].End > 0) {
    std::swap(out[0], out[1]);
  } else if (t[0].End <= 0) {
    out = Triples{};
  }
  return out;
}

}  // namespace

void progressive_ordina(CompileState& s) {
  Triples t = read_triples(s);
  std::int32_t sum = add32(add32(t[0].Start, t[1].Start), t[2].Start);
  t = sum != 0 ? sort_by_start(t) : choose_by_end(t);
  for (Triple& x : t) {
    if (x.Position == 1) x.End = add32(x.End, kCountdownBaseShift);
  }
  write_triples(s, t);
}

}  // namespace scenario
