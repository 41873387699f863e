// The compile passes and their recovery from runtime failures.
#include "platform/failure.h"
#include "parser/passes.h"

namespace scenario {
namespace {

// Deletes the source texts that still exist and sets status 25; the status
// position stays where the passes left it.
void recover(CompileState& s, SourceFiles& sources) {
  // The texts are held in memory, so there is no open file to close.
  for (SourceId id : {SourceId::Line, SourceId::Train}) {
    if (sources.exists(id)) sources.remove(id);
  }
  s.StatusCode = 25;
}

}  // namespace

void memorizza_dati(CompileState& s, SourceFiles& sources) {
  s.LastFailure.clear();  // a reason from an earlier compile must not linger
  try {
    LinePassResult line = leggi_linea(s, sources);
    if (line.train_pass_follows) leggi_treno(s, sources, line.next_sign_row);
  } catch (const Failure& f) {
    s.LastFailure = f.what();
    recover(s, sources);
  }
}

}  // namespace scenario
