// The one compile call: a fresh state, the passes, the post-processing and the stamps.
#include "compiler/compile.h"

#include "parser/passes.h"
#include "placement/post_processing.h"
#include "placement/stamp.h"

namespace scenario {

CompileResult compile(const ScenarioNames& names, const CompileOptions& options, SourceFiles& sources) {
  CompileResult r;
  CompileState& s = r.state;
  s.RouteName = names.RouteName;
  s.TrainCode = names.TrainCode;
  s.CompileLine = options.line_plan ? 1 : 0;
  s.NoteFields = options.field_notes;
  try {
    memorizza_dati(s, sources);
    elabora_celle(s);
    r.guard = timbra(s);
  } catch (const Failure& f) {
    r.failure = f;
  }
  return r;
}

}  // namespace scenario
