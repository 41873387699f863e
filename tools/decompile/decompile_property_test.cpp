// Over many generated pairs that compile clean: the decompiled pair compiles to the same files, or is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "compiler/compile.h"
#include "decompile/decompile.h"
#include "model/source_files.h"
#include "route_generator.h"

namespace scenario::tool {
namespace {

// Pairs that compile clean checked by the suite; DECOMPILE_PAIRS sets
// another number (the full campaign runs 10000).
constexpr int kDefaultCleanPairs = 300;
// At least this share of the clean pairs must come back identical.
constexpr double kMinIdenticalShare = 0.99;

int clean_pairs_wanted() {
  const char* v = std::getenv("DECOMPILE_PAIRS");
  return v != nullptr && std::atoi(v) > 0 ? std::atoi(v) : kDefaultCleanPairs;
}

std::optional<BinaryFiles> compiled(const ScenarioNames& names, const std::string& line, const std::string& train) {
  SourceFiles sources = SourceFiles::in_memory(line, train);
  CompileResult r = compile(names, scenario::CompileOptions{}, sources);
  if (r.guard || r.failure || r.report.StatusCode != 0) return std::nullopt;
  return serialise_all(r);
}

TEST(DecompileProperty, GeneratedPairsComeBackIdenticalOrRefusedNeverDifferent) {
  const int wanted = clean_pairs_wanted();
  int clean = 0, identical = 0, refused = 0, different = 0, not_clean = 0;
  for (std::uint32_t seed = 0; clean < wanted; ++seed) {
    const bench::GeneratedSources g = bench::generate_varied_sources(seed);
    // Every third pair has a route name with a Latin-1 letter.
    const ScenarioNames names{seed % 3 == 0 ? "Citt\xe0_Alta" : "Valle_Nuova", "R" + std::to_string(seed % 1000)};
    const std::optional<BinaryFiles> files = compiled(names, g.line, g.train);
    if (!files) {
      ++not_clean;
      continue;
    }
    ++clean;
    const DecompileOutcome out = decompila(*files);
    if (!out.pair) {
      ++refused;
      if (refused <= 10) std::cout << "refused: seed " << seed << ": " << out.reasons.front() << "\n";
      continue;
    }
    const std::optional<BinaryFiles> again = compiled(out.pair->names, out.pair->line, out.pair->train);
    const bool same = again && again->sim == files->sim && again->dat == files->dat && again->linea == files->linea;
    if (same) {
      ++identical;
    } else {
      ++different;
      ADD_FAILURE() << "seed " << seed << ": the decompiled pair compiles to other files";
    }
  }
  std::cout << "clean pairs " << clean << " (not clean " << not_clean << "): identical " << identical << ", refused "
            << refused << ", different " << different << "\n";
  EXPECT_EQ(different, 0);
  EXPECT_GE(identical, static_cast<int>(kMinIdenticalShare * clean));
}

}  // namespace
}  // namespace scenario::tool
