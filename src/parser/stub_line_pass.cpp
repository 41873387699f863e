// Temporary stub until the line pass lands.
#include "parser/passes.h"

namespace scenario {
LinePassResult leggi_linea(CompileState& s, SourceFiles&) {
  s.ScenarioTable[85].Name = s.RouteName;
  s.ScenarioTable[86].Name = s.TrainCode;
  crea_celle(s, 96000);
  if (s.CompileLine != 0) s.LineCells.create(103000);
  return {};
}
}  // namespace scenario
