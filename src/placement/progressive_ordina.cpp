// Ordering of the three chainage triples in rows 81 to 83.
#include <array>

#include "model/legacy_math.h"
#include "placement/placement.h"

namespace scenario {
namespace {

struct Triple {
  std::int32_t Start = 0;
  std::int32_t End = 0;
  std::int32_t Position = 0;
};

using Triples = std::array<Triple, 3>;  // [0] is row 81, [2] is row 83

Triples read_triples(const CompileState& s) {
  Triples t;
  for (int n = 0; n < 3; ++n) {
    const ScenarioRecord& r = s.ScenarioTable[kChainageRows[n]];
    t[n] = Triple{r.Start, r.End, r.Position};
  }
  return t;
}

void write_triples(CompileState& s, const Triples& t) {
  for (int n = 0; n < 3; ++n) {
    ScenarioRecord& r = s.ScenarioTable[kChainageRows[n]];
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
