// The decompile command: its arguments, the files it reads and the two sources it writes.
#include "decompile/decompile_command.h"

#include "common/binary_files.h"
#include "common/cli.h"
#include "common/scenario_dir.h"
#include "common/shown_text.h"
#include "decompile/decompile.h"
#include "model/general_rows.h"
#include "model/scenario_files.h"
#include "platform/atomic_file.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

struct DecompileArgs {
  std::string route;
  std::string train;
  std::optional<std::filesystem::path> out_dir;
  bool force = false;
  std::optional<std::filesystem::path> path;
};

constexpr const char* kUsage =
    "usage: scenario_tool decompile [--route NAME] [--train CODE] [-o OUTDIR] [--force] DIR | FILE\n";

// Throws Failure (kind Io, exit 2) for an unusable command line.
[[noreturn]] void usage_error(const std::string& what) {
  throw Failure(what + "\n" + kUsage, FailureDetail{.kind = FailureKind::Io});
}

DecompileArgs parse(const std::vector<std::string>& args) {
  DecompileArgs a;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& w = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) usage_error("option " + w + " needs a value");
      return args[++i];
    };
    if (w == "--route") {
      a.route = value();
    } else if (w == "--train") {
      a.train = value();
    } else if (w == "-o") {
      a.out_dir = value();
    } else if (w == "--force") {
      a.force = true;
    } else if (!w.empty() && w[0] == '-') {
      usage_error("unknown option " + w);
    } else if (a.path) {
      usage_error("one folder or file only, not " + w + " as well");
    } else {
      a.path = w;
    }
  }
  if (!a.path) usage_error("no folder or file given");
  return a;
}

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
  usage_error(path.string() + ": unknown file kind; decompile reads a folder, a .sim, a .dat or a linea.dat");
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

int run_decompile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const DecompileArgs a = parse(args);
  const FileSet set = read_file_set(*a.path, a.route, a.train);
  const DecompileOutcome outcome = decompila(set.bytes);
  const std::string shown = shown_utf8(set.sim.string());
  if (!outcome.pair) {
    err << shown << ": cannot rebuild sources that compile to the same files; nothing written:\n";
    for (const std::string& r : outcome.reasons) err << "  " << shown_utf8(r) << "\n";
    return kExitProblems;
  }
  const SourcePair& pair = *outcome.pair;
  const std::filesystem::path dir = a.out_dir ? *a.out_dir : set.sim.parent_path();
  const std::filesystem::path line = line_source_file(dir, pair.names);
  const std::filesystem::path train = train_source_file(dir, pair.names);
  for (const std::filesystem::path& p : {line, train}) {
    if (!a.force && std::filesystem::exists(p)) {
      throw Failure(p.string() + " exists already; --force replaces it", FailureDetail{.kind = FailureKind::Io});
    }
  }
  std::filesystem::create_directories(dir);
  write_file_atomically(line, pair.line);
  write_file_atomically(train, pair.train);
  out << shown_utf8(line.string()) << "\n" << shown_utf8(train.string()) << "\n"
      << "the two sources compile to the same " << (set.bytes.linea ? "three" : "two") << " files, byte for byte\n";
  return kExitClean;
}

}  // namespace scenario::tool
