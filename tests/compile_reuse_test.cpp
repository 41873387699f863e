// A compile state reused for a second scenario starts from nothing.
#include <gtest/gtest.h>

#include "content/text_writer.h"
#include "content/writers.h"
#include "platform/failure.h"
#include "compiler/memorizza_percorso.h"

namespace scenario {
namespace {

TEST(CompileReuse, ArraysOfAnEarlierCompileDoNotSurvive) {
  CompileState s;
  s.RouteName = "Castrovelde_Ardis";
  s.TrainCode = "R31708";
  SourceFiles first = SourceFiles::in_memory(render_lines(righe_linea()), render_lines(righe_treno()));
  ASSERT_FALSE(compila(s, 1, first).has_value());
  ASSERT_EQ(s.StatusCode, 0);
  ASSERT_EQ(s.CellCount, 2060);

  // No route length record: the second compile has no train cells, and the
  // driver must fail rather than stamp and write the first scenario's cells.
  SourceFiles second = SourceFiles::in_memory(std::string("[generale]\r\n[curve]\r\n[fine]\r\n"),
                                              std::string("[generale]\r\n[fine]\r\n"));
  EXPECT_THROW(compila(s, 1, second), Failure);
  EXPECT_EQ(s.StatusCode, 25);
  EXPECT_TRUE(s.TrainCells.empty());
  EXPECT_FALSE(s.LineCells.exists());
}

}  // namespace
}  // namespace scenario
