// Each compile starts from nothing: nothing of an earlier compile reaches the next.
#include <gtest/gtest.h>

#include "compiler/compile.h"
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
namespace {

TEST(CompileReuse, ArraysOfAnEarlierCompileDoNotSurvive) {
  const ScenarioNames names{"Castrovelde_Ardis", "R31708"};
  SourceFiles first = SourceFiles::in_memory(render_lines(righe_linea()), render_lines(righe_treno()));
  const CompileResult a = compile(names, CompileOptions{}, first);
  ASSERT_FALSE(a.failure.has_value());
  ASSERT_FALSE(a.guard.has_value());
  ASSERT_EQ(a.report.StatusCode, 0);
  ASSERT_EQ(a.scenario.CellCount, 2060);

  // No route length record: the second compile has no train cells, and the
  // driver must fail rather than stamp and write the first scenario's cells.
  SourceFiles second = SourceFiles::in_memory(std::string("[generale]\r\n[curve]\r\n[fine]\r\n"),
                                              std::string("[generale]\r\n[fine]\r\n"));
  const CompileResult b = compile(names, CompileOptions{}, second);
  EXPECT_TRUE(b.failure.has_value());
  EXPECT_EQ(b.report.StatusCode, 25);
  EXPECT_TRUE(b.scenario.TrainCells.empty());
  EXPECT_FALSE(b.scenario.LineCells.exists());
}

}  // namespace
}  // namespace scenario
