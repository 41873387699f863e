// Line and train sources of any length, for the scaling benchmarks.
#pragma once

#include <cstdint>
#include <string>

namespace scenario::bench {

struct GeneratedSources {
  std::string line;
  std::string train;
};

// A route of `km` kilometres (1 to 1000) whose curves, gradients, ranges,
// boards, signs, stations and signals grow in proportion to its length,
// within the limits of the formats: at most 80 ranges, and signs and
// stations together within the 78 rows the scenario table leaves them.
// Every object has a cell of its own, so the sources compile with status 0.
GeneratedSources generate_sources(std::int32_t km);

// A route drawn from `seed`: 1 to 1000 km (mostly short ones), positions and
// lengths off the 50 m grid, values of every sign, nested and adjacent
// ranges with and without the flag, signals behind stopping points, slow
// orders with and without approach cells, reductions, Latin-1 names. The
// objects keep to slots of their own in every kilometre, so that most pairs
// compile clean; the same seed gives the same pair.
GeneratedSources generate_varied_sources(std::uint32_t seed);

}  // namespace scenario::bench
