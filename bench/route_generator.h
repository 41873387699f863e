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

}  // namespace scenario::bench
