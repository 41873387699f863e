// The verify command: which files to check, then each alone and all together, one line per mismatch.
#include "verify/verify_command.h"

#include <optional>

#include "common/binary_files.h"
#include "common/scenario_dir.h"
#include "common/shown_text.h"
#include "model/general_rows.h"
#include "model/scenario_files.h"
#include "platform/failure.h"
#include "verify/verify_checks.h"
#include "verify/verify_sources.h"

namespace scenario::tool {
namespace {

// Mismatches shown per file; one broken byte early in a plan or a table can
// make many more, and the first ones say what is wrong.
constexpr std::size_t kShownPerFile = 50;

struct Chosen {
  std::optional<std::filesystem::path> sim, dat, linea;
};

void take(std::optional<std::filesystem::path>& slot, const std::filesystem::path& file) {
  if (slot) throw Failure("two files of one kind given: " + slot->string() + " and " + file.string());
  slot = file;
}

Chosen files_of_folder(const VerifyOptions& o) {
  Chosen c;
  c.sim = choose_sim_file(o.paths.front(), o.route, o.train);
  const std::string stem = c.sim->stem().string();
  const std::filesystem::path dat = c.sim->parent_path() / (stem + std::string(kTrainFileSuffix));
  if (!std::filesystem::exists(dat)) {
    throw Failure(c.sim->filename().string() + " has no train file " + dat.string() + " beside it");
  }
  c.dat = dat;
  // The route is the part of the name before the train code that row 86 holds.
  const SimFacts facts = verify_sim(read_binary_file(*c.sim), "");
  if (facts.rows) {
    const std::filesystem::path linea =
        c.sim->parent_path() / (general_field(*facts.rows, kRouteName) + std::string(kLineFileSuffix));
    if (std::filesystem::exists(linea)) c.linea = linea;
  }
  return c;
}

Chosen files_given(const VerifyOptions& o) {
  std::error_code ec;
  if (o.paths.size() == 1 && std::filesystem::is_directory(o.paths.front(), ec)) return files_of_folder(o);
  Chosen c;
  for (const auto& p : o.paths) {
    if (!std::filesystem::exists(p, ec)) throw Failure(quoted_path(p) + " does not exist");
    switch (kind_of(p)) {
      case FileKind::Sim: take(c.sim, p); break;
      case FileKind::TrainDat: take(c.dat, p); break;
      case FileKind::LineDat: take(c.linea, p); break;
      case FileKind::Unknown:
        throw Failure(quoted_path(p) + ": unknown file kind; verify reads <route>_<train>.sim, <route>_<train>.dat, "
                      "<route>_linea.dat or a folder");
    }
  }
  return c;
}

std::size_t report(const std::filesystem::path& file, const std::vector<Mismatch>& ms, std::ostream& out) {
  for (std::size_t i = 0; i < ms.size() && i < kShownPerFile; ++i) {
    // Names come from the files' own 8-bit bytes.
    out << shown_utf8(file.string() + ": offset " + std::to_string(ms[i].offset) + ": " + ms[i].field + ": " +
                      ms[i].problem)
        << "\n";
  }
  if (ms.size() > kShownPerFile) {
    out << file.string() << ": " << ms.size() - kShownPerFile << " more mismatches not shown\n";
  }
  return ms.size();
}

}  // namespace

int run_verify(const VerifyOptions& options, std::ostream& out, std::ostream& err) {
  const Chosen c = files_given(options);
  std::optional<SimFacts> sim;
  std::optional<DatFacts> dat;
  std::optional<LineFacts> linea;
  if (c.sim) sim = verify_sim(read_binary_file(*c.sim), c.sim->filename().string());
  if (c.dat) dat = verify_dat(read_binary_file(*c.dat), c.dat->filename().string());
  if (c.linea) linea = verify_linea(read_binary_file(*c.linea));
  std::vector<Mismatch> sim_ms = sim ? sim->mismatches : std::vector<Mismatch>{};
  std::vector<Mismatch> dat_ms = dat ? dat->mismatches : std::vector<Mismatch>{};
  std::vector<Mismatch> linea_ms = linea ? linea->mismatches : std::vector<Mismatch>{};
  for (SetMismatch& m : verify_set(sim ? &*sim : nullptr, dat ? &*dat : nullptr, linea ? &*linea : nullptr)) {
    (m.file == SetFile::Sim ? sim_ms : m.file == SetFile::Dat ? dat_ms : linea_ms).push_back(std::move(m.mismatch));
  }
  std::size_t total = 0;
  const std::pair<const std::optional<std::filesystem::path>*, const std::vector<Mismatch>*> files[] = {
      {&c.sim, &sim_ms}, {&c.dat, &dat_ms}, {&c.linea, &linea_ms}};
  for (const auto& [path, ms] : files) {
    if (!*path) continue;
    const std::size_t n = report(**path, *ms, out);
    total += n;
    if (n == 0) out << (*path)->string() << ": ok\n";
  }
  const std::size_t checked = (c.sim ? 1 : 0) + (c.dat ? 1 : 0) + (c.linea ? 1 : 0);
  std::size_t differing = 0;
  if (options.sources) differing = compare_with_sources(*options.sources, options, {c.sim, c.dat, c.linea}, out);
  err << checked << (checked == 1 ? " file" : " files") << " verified, " << total
      << (total == 1 ? " mismatch" : " mismatches");
  if (options.sources) err << ", " << differing << (differing == 1 ? " differs" : " differ") << " from the sources";
  err << "\n";
  return total == 0 && differing == 0 ? kExitClean : kExitProblems;
}

}  // namespace scenario::tool
