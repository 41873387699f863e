// The compile command: read the sources, compile, report, write the three files.
#include "compile/compile_command.h"

#include "common/binary_files.h"
#include "content/writers.h"
#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"
#include "model/general_rows.h"
#include "common/in_memory_compile.h"
#include "common/scenario_view.h"
#include "common/shown_text.h"
#include "common/source_dir.h"
#include "common/text_match.h"
#include "compile/error_messages.h"
#include "compile/lint.h"
#include "compile/read_summary.h"
#include "compile/text_checks.h"
#include "compile/warnings.h"

namespace scenario::tool {
namespace {

std::optional<std::string> read_if_present(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  return read_binary_file(file);
}

std::filesystem::path output_dir(const CompileSession& s) { return s.options.out_dir.value_or(s.options.source_dir); }

std::string summary_line(const CompileSession& s) {
  const CompileResult& st = s.state;
  const int files = st.CompileLine != 0 ? 3 : 2;
  return "compiled " + shown_utf8(s.names.RouteName) + " / " + shown_utf8(s.names.TrainCode) + ": route " +
         std::to_string(general_field(st.scenario.ScenarioTable, kRouteLength)) + " m, " +
         counted(st.scenario.TrainCells.size(), "cell") + ", " +
         counted(stations_of(st.scenario.ScenarioTable).size(), "station") + ", " +
         counted(cells_of_kind(st.scenario.TrainCells, kind::kSignal).size(), "signal") + ", " +
         counted(cells_of_kind(st.scenario.TrainCells, kind::kSign).size(), "sign") + "; wrote " +
         std::to_string(files) + " files to " + shown_utf8(output_dir(s).string());
}

// `check` writes nothing; it says what `compile` would write.
std::string check_line(const CompileSession& s, bool can_write) {
  if (!can_write) {
    return "checked " + shown_utf8(s.names.RouteName) + " / " + shown_utf8(s.names.TrainCode) +
           ": compile would write no file";
  }
  std::string line = summary_line(s);
  line.replace(0, std::string("compiled").size(), "checked");
  line.replace(line.find("; wrote "), std::string::npos, "; nothing written");
  return line;
}

// For each source that is absent while a file named almost like it is there,
// a note naming that file.
std::vector<Message> misnamed_notes(const CompileSession& s) {
  std::vector<Message> notes;
  for (SourceId id : {SourceId::Line, SourceId::Train}) {
    if (s.texts.has(id)) continue;
    const std::filesystem::path wanted = s.texts.file(id);
    if (auto found = misnamed_source(s.options.source_dir, wanted.filename().string())) {
      Message note;
      note.severity = Severity::Note;
      note.source = id;
      note.text = misnamed_hint(*found, wanted.filename().string());
      notes.push_back(std::move(note));
    }
  }
  return notes;
}

// The three files into the output folder, which is created when missing.
void write_outputs(const BinaryFiles& files, const CompileSession& s) {
  const std::filesystem::path dir = output_dir(s);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    throw Failure("cannot create the folder " + quoted_path(dir) + ": " + ec.message(),
                  FailureDetail{.kind = FailureKind::Io, .expected = "create", .found = dir.string()});
  }
  write_all(files, dir, s.names);
}

}  // namespace

CompileReport compile_messages(const CompileResult& state, const SourceTexts& texts, bool werror,
                               std::size_t max_per_name) {
  WarningSettings settings;
  settings.all_errors = werror;
  return compile_messages(state, texts, settings, max_per_name);
}

CompileReport compile_messages(const CompileResult& state, const SourceTexts& texts, const WarningSettings& settings,
                               std::size_t max_per_name) {
  const CompileOutcome outcome{state, texts};
  MessageSink sink(settings, max_per_name);
  for (Message& e : error_messages(state, texts)) sink.add_error(std::move(e));
  text_warnings(texts, sink);
  // The field warnings of a source that is not text would only repeat, field
  // by field, that it is not text.
  for (SourceId source : {SourceId::Line, SourceId::Train}) sink.mute(source, is_binary(texts.text(source)));
  field_warnings(outcome, sink);
  for (SourceId source : {SourceId::Line, SourceId::Train}) sink.mute(source, false);
  lint_warnings(records_read(state, texts), state, sink);
  CompileReport report;
  report.errors = sink.count(Severity::Error);
  report.warnings = sink.count(Severity::Warning);
  report.held = sink.held();
  report.messages = sink.take_sorted();
  return report;
}

CompileSession open_session(const CompileOptions& options) {
  CompileSession s;
  s.options = options;
  SourceSelection chosen = select_sources(options.source_dir, options.route, options.train);
  s.options.source_dir = chosen.dir;
  s.names = chosen.names;
  const std::filesystem::path line = line_source_file(s.options.source_dir, s.names);
  const std::filesystem::path train = train_source_file(s.options.source_dir, s.names);
  s.texts.line_file = line.string();
  s.texts.train_file = train.string();
  s.texts.line = read_if_present(line);
  s.texts.train = read_if_present(train);
  return s;
}

std::optional<BinaryFiles> compile_in_memory(CompileSession& session, PlanBytes plan) {
  // Serialised before the report, so that a text too long for its record is
  // reported at the record that wrote it.
  InMemoryCompile compiled =
      compile_in_memory(session.names, session.texts.line, session.texts.train,
                        scenario::CompileOptions{.line_plan = !session.options.no_line, .account = true}, plan);
  session.stopped = !compiled.files;
  session.state = std::move(compiled.result);
  return std::move(compiled.files);
}

int run_compile(CompileSession& session, std::ostream& out, std::ostream& err) {
  const std::optional<BinaryFiles> files = compile_in_memory(session);
  CompileReport report =
      compile_messages(session.state, session.texts, session.options.warnings, session.options.max_diagnostics);
  const bool source_missing = !session.texts.line || !session.texts.train;
  for (Message& note : misnamed_notes(session)) report.messages.push_back(std::move(note));
  const std::size_t errors = report.errors, warnings = report.warnings;
  const bool can_write = files.has_value();
  // Written before the report, so that a file that cannot be written is one
  // more error of the same report (one SARIF log, not two).
  std::optional<Failure> write_failure;
  if (!session.options.check_only && can_write && (errors == 0 || session.options.force)) {
    try {
      write_outputs(*files, session);
    } catch (const Failure& f) {
      write_failure = f;
      report.messages.push_back(run_error(f));
    }
  }
  const RenderOptions render{session.options.verbose, session.options.max_diagnostics, session.options.color};
  const DiagnosticsFormat format = session.options.format;
  if (format == DiagnosticsFormat::Json) {
    out << render_json(report.messages, session.texts, render, report.held);
  } else if (format == DiagnosticsFormat::Sarif) {
    out << render_sarif(report.messages, session.texts, render, report.held);
  } else {
    err << render_text(report.messages, session.texts, render, report.held);
  }
  if (write_failure) return write_failure->detail().kind == FailureKind::Io ? kExitUsage : kExitProblems;
  std::ostream& summary = format == DiagnosticsFormat::Text ? out : err;
  if (session.options.check_only) {
    summary << check_line(session, can_write) << "\n" << read_summary(session.state, session.texts) << "\n";
  } else if (can_write && (errors == 0 || session.options.force)) {
    summary << summary_line(session) << (errors ? " (despite the errors, as --force asks)" : "") << "\n";
  } else {
    err << "no binary file written; the files in " << shown_utf8(output_dir(session).string()) << " are unchanged"
        << (can_write ? " (--force writes them as the generator would)" : "") << "\n";
  }
  err << counted(errors, "error") << ", " << counted(warnings, "warning") << "\n";
  // A source that cannot be found is the caller's to fix, as for any file.
  if (source_missing) return kExitUsage;
  return errors == 0 ? kExitClean : kExitProblems;
}

}  // namespace scenario::tool
