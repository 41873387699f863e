// The compile passes and their recovery from runtime failures.
#include <utility>

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
  s.report.StatusCode = status_number(Status::RuntimeFailure);
}

// Whether a failure is an index past the train cells or the line plan: what a
// negative route length, too short for the records that follow it, leads to.
bool oltre_il_percorso(const FailureDetail& f) {
  return f.kind == FailureKind::OutOfRange && (f.indexed == Indexed::TrainCell || f.indexed == Indexed::PlanPoint);
}

// Records a failure the passes did not record themselves (a source that
// cannot be read, for example); then, when the route length is negative and
// the failure only follows from it, puts the failure on the route length.
void registra(PassState& ps, const Failure& f) {
  CompileState& s = ps.s;
  if (!ps.reading.failure_recorded) {
    Diagnostic d;
    d.status = Status::RuntimeFailure;
    d.source = ps.reading.at.source;
    d.failure = f.detail();
    s.report.Diagnostics.push_back(d);
  }
  Diagnostic& d = s.report.Diagnostics.back();
  const std::optional<RecordPlace>& length = ps.route_length;
  const std::int32_t metres = general_field(s.scenario.ScenarioTable, kRouteLength);
  if (length && metres < 0 && oltre_il_percorso(f.detail())) {
    Diagnostic at_length = diagnostica_a(Status::RuntimeFailure, *length);
    at_length.failure = d.failure;
    at_length.metres = metres;
    d = at_length;
  }
}

}  // namespace

Origins memorizza_dati(CompileState& s, SourceFiles& sources) {
  PassState ps(s);
  try {
    LinePassResult line = leggi_linea(ps, sources);
    if (line.train_pass_follows) leggi_treno(ps, sources, line.next_sign_row);
  } catch (const Failure& f) {
    registra(ps, f);
    s.report.Diagnostics.back().failure_text = f.what();
    recover(s, sources);
  }
  return std::move(ps.origins);
}

}  // namespace scenario
