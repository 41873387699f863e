// Properties of the compiler's account over the built-in pair and generated routes: every line is accounted for, and everything written has a writer.
#include <gtest/gtest.h>

#include <string>

#include "compiler/compile.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/scenario_files.h"
#include "route_generator.h"

namespace scenario {
namespace {

struct Pair {
  std::string name;
  std::string line;
  std::string train;
};

void PrintTo(const Pair& p, std::ostream* os) { *os << p.name; }

std::vector<Pair> pairs() {
  std::vector<Pair> out{{"built_in", render_lines(righe_linea()), render_lines(righe_treno())}};
  for (int km : {1, 2, 7, 33, 96, 250, 1000}) {
    bench::GeneratedSources g = bench::generate_sources(km);
    out.push_back({"generated_" + std::to_string(km) + "_km", g.line, g.train});
  }
  return out;
}

CompileResult compile_pair(const Pair& p) {
  SourceFiles sources = SourceFiles::in_memory(p.line, p.train);
  return compile(ScenarioNames{"Rotta", "T1"}, CompileOptions{.line_plan = true, .account = true}, sources);
}

// The values of each layer of a cell, as the owner map splits it.
bool layer_set(const TrainCell& c, CellLayer layer) {
  switch (layer) {
    case CellLayer::Object:
      return c.Kind != 0 || c.Word1 != 0 || c.Word2 != 0 || c.Word3 != 0 || c.Word4 != 0 || c.Byte1 != 0;
    case CellLayer::Approach: return c.Byte2 != 0;
    case CellLayer::Range: return c.Byte3 != 0;
    case CellLayer::Speed: return c.Byte4 != 0;
    case CellLayer::Gradient: return c.Byte5 != 0;
    case CellLayer::Adhesion: return c.Byte6 != 0;
  }
  return false;
}

bool field_set(const ScenarioRecord& r, RowField f) {
  switch (f) {
    case RowField::Kind: return r.Kind != 0;
    case RowField::Start: return r.Start != 0;
    case RowField::End: return r.End != 0;
    case RowField::Position: return r.Position != 0;
    case RowField::Flag: return r.Flag != 0;
    case RowField::Name: return !r.Name.empty();
    case RowField::Word1: return r.Word1 != 0;
    case RowField::Word2: return r.Word2 != 0;
    case RowField::Word3: return r.Word3 != 0;
    case RowField::Word4: return r.Word4 != 0;
    case RowField::Word5: return r.Word5 != 0;
    case RowField::Byte1: return r.Byte1 != 0;
    case RowField::Byte2: return r.Byte2 != 0;
    case RowField::Byte3: return r.Byte3 != 0;
    case RowField::Byte4: return r.Byte4 != 0;
    case RowField::Time: return r.Time != 0;
  }
  return false;
}

class AccountProperties : public ::testing::TestWithParam<Pair> {};

TEST_P(AccountProperties, EveryLineAccountedForAndEveryRecordUsed) {
  const CompileResult r = compile_pair(GetParam());
  ASSERT_EQ(r.report.StatusCode, 0);
  const Account& a = *r.account;
  EXPECT_EQ(righe_non_lette(a, SourceId::Line, GetParam().line), 0u);
  EXPECT_EQ(righe_non_lette(a, SourceId::Train, GetParam().train), 0u);
  for (const KeywordEntry& k : a.keywords) {
    EXPECT_NE(k.use, KeywordUse::Unmatched) << "at byte " << k.start;
    EXPECT_FALSE(k.comment_read_as_keyword) << "at byte " << k.start;
  }
  for (const AccountRecord& rec : a.records) {
    EXPECT_EQ(rec.fate, RecordFate::Used) << "record at byte " << rec.start << " of source " << static_cast<int>(rec.source);
  }
}

TEST_P(AccountProperties, EverythingWrittenHasAWriter) {
  const CompileResult r = compile_pair(GetParam());
  ASSERT_EQ(r.report.StatusCode, 0);
  const Account& a = *r.account;
  ASSERT_EQ(a.cells.size(), r.scenario.TrainCells.size());
  for (std::size_t c = 0; c < r.scenario.TrainCells.size(); ++c) {
    for (std::size_t l = 0; l < kCellLayers; ++l) {
      const auto layer = static_cast<CellLayer>(l);
      if (layer_set(r.scenario.TrainCells[c], layer)) {
        EXPECT_NE(a.cell_owner(static_cast<std::int64_t>(c), layer), owner::kNone) << "cell " << c << " layer " << l;
      }
    }
  }
  for (int row = 0; row < kScenarioRows; ++row) {
    for (std::size_t f = 0; f < kRowFields; ++f) {
      if (field_set(r.scenario.ScenarioTable[static_cast<std::size_t>(row)], static_cast<RowField>(f))) {
        EXPECT_NE(a.row_owner(row, static_cast<RowField>(f)), owner::kNone) << "row " << row << " field " << f;
      }
    }
  }
  // The plan's drawn points are covered by runs in order, with no gap.
  const LinePlan& plan = r.scenario.LineCells;
  std::int32_t next = 0;
  for (const PlanRun& run : a.plan) {
    EXPECT_LE(run.first, next);
    EXPECT_NE(run.owner, owner::kNone);
    next = std::max(next, run.last + 1);
  }
  EXPECT_EQ(next, plan.last_point() - 1);  // the last two points stay empty
  EXPECT_EQ(a.plan_owner(next - 1), owner::kTail);  // the run-on past the route's end is the compiler's own
  EXPECT_EQ(plan.get(next, 0).tag, LineTag::Empty);
  EXPECT_NE(plan.get(next - 1, 0).tag, LineTag::Empty);
}

INSTANTIATE_TEST_SUITE_P(Pairs, AccountProperties, ::testing::ValuesIn(pairs()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace scenario
