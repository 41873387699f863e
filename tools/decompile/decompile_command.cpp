// The decompile command: its arguments, the files it reads and the two sources it writes.
#include "decompile/decompile_command.h"

#include "common/binary_files.h"
#include "common/cli.h"
#include "common/diagnostics.h"
#include "common/scenario_dir.h"
#include "common/shown_text.h"
#include "decompile/decompile.h"
#include "model/general_rows.h"
#include "model/scenario_files.h"
#include "platform/atomic_file.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

// Throws Failure (kind Io, exit 2) for a path the command cannot use.
[[noreturn]] void usage_error(const std::string& what) { throw Failure(what, FailureDetail{.kind = FailureKind::Io}); }

std::filesystem::path sim_of(const std::filesystem::path& path, const std::string& route, const std::string& train) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return choose_sim_file(path, route, train);
  switch (kind_of(path)) {
    case FileKind::Sim:
      return path;
    case FileKind::TrainDat:
      return path.parent_path() / (path.stem().string() + std::string(kScenarioFileSuffix));
    case FileKind::LineDat: {
      const std::string name = path.filename().string();
      const std::string line_route = name.substr(0, name.size() - std::string(kLineFileSuffix).size());
      return choose_sim_file(path.parent_path().empty() ? "." : path.parent_path(), route.empty() ? line_route : route,
                             train);
    }
    case FileKind::Unknown:
      break;
  }
  usage_error(path.string() + ": unknown file kind; give a folder, a .sim, a .dat or a linea.dat");
}

}  // namespace

FileSet read_file_set(const std::filesystem::path& path, const std::string& route, const std::string& train) {
  FileSet set;
  set.sim = sim_of(path, route, train);
  set.bytes.sim = read_binary_file(set.sim);
  const std::filesystem::path dir = set.sim.parent_path();
  set.bytes.dat = read_binary_file(dir / (set.sim.stem().string() + std::string(kTrainFileSuffix)));
  // The route is the name row 85 holds; its plan lies beside the others when it was compiled.
  try {
    const SimFile sim = decode_sim(set.bytes.sim, set.sim.filename().string());
    const std::filesystem::path linea = dir / (general_field(sim.rows, kRouteName) + std::string(kLineFileSuffix));
    if (std::filesystem::exists(linea)) set.bytes.linea = read_binary_file(linea);
  } catch (const Failure&) {
    // A .sim that cannot be decoded is refused by the decompiler with its reason.
  }
  return set;
}

namespace {

// The refusal as one error on the .sim with a note per reason. The .sim
// stands as the message's file, named whole: a binary file has no line.
int report_refusal(const DecompileOptions& options, const FileSet& set, const std::vector<std::string>& reasons,
                   std::ostream& out, std::ostream& err) {
  SourceTexts texts;
  texts.line_file = set.sim.string();
  Message refusal;
  refusal.name = kRefusalCode;
  refusal.source = SourceId::Line;
  refusal.text = "cannot rebuild sources that compile to the same files; nothing written";
  for (const std::string& r : reasons) {
    Message note;
    note.severity = Severity::Note;
    note.name = kRefusalCode;
    note.source = SourceId::Line;
    note.text = shown_utf8(r);
    refusal.notes.push_back(std::move(note));
  }
  const RenderOptions render{.color = options.color};
  switch (options.format) {
    case DiagnosticsFormat::Json: out << render_json({refusal}, texts, render); break;
    case DiagnosticsFormat::Sarif: out << render_sarif({refusal}, texts, render); break;
    case DiagnosticsFormat::Text: err << render_text({refusal}, texts, render); break;
  }
  return kExitProblems;
}

}  // namespace

int run_decompile(const DecompileOptions& options, std::ostream& out, std::ostream& err) {
  const FileSet set = read_file_set(options.path, options.route, options.train);
  const DecompileOutcome outcome = decompila(set.bytes);
  if (!outcome.pair) return report_refusal(options, set, outcome.reasons, out, err);
  const SourcePair& pair = *outcome.pair;
  const std::filesystem::path dir = options.out_dir ? *options.out_dir : set.sim.parent_path();
  const std::filesystem::path line = line_source_file(dir, pair.names);
  const std::filesystem::path train = train_source_file(dir, pair.names);
  for (const std::filesystem::path& p : {line, train}) {
    if (!options.force && std::filesystem::exists(p)) {
      throw Failure(p.string() + " exists already; --force replaces it", FailureDetail{.kind = FailureKind::Io});
    }
  }
  if (!dir.empty()) std::filesystem::create_directories(dir);
  write_file_atomically(line, pair.line);
  write_file_atomically(train, pair.train);
  // The files written are the result in text; beside a JSON or SARIF report they are a remark.
  std::ostream& summary = options.format == DiagnosticsFormat::Text ? out : err;
  summary << shown_utf8(line.string()) << "\n" << shown_utf8(train.string()) << "\n"
          << "the two sources compile to the same " << (set.bytes.linea ? "three" : "two") << " files, byte for byte\n";
  return kExitClean;
}

}  // namespace scenario::tool
