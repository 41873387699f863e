// The init command: the built-in sources under the author's names, never over an existing file unasked.
#include "init/init_command.h"

#include <filesystem>
#include <string_view>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/scenario_files.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

// A name becomes part of file names and of the scenario table: it must not
// leave the folder or hold a character that no file name can carry.
std::string bad_name(std::string_view what, const std::string& name) {
  if (name.empty()) return std::string(what) + " is empty";
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20) {
      return std::string(what) + " '" + name + "' holds a character that a file name cannot carry";
    }
  }
  return "";
}

}  // namespace

int run_init(const InitOptions& options, std::ostream& out, std::ostream& err) {
  const ScenarioNames names{options.route.empty() ? std::string(names::kRouteName) : options.route,
                            options.train.empty() ? std::string(names::kTrainCode) : options.train};
  for (const std::string& problem : {bad_name("the route name", names.RouteName),
                                     bad_name("the train code", names.TrainCode)}) {
    if (problem.empty()) continue;
    err << "scenario_tool: error: " << problem << "\n";
    return kExitUsage;
  }
  const std::filesystem::path line = line_source_file(options.dir, names);
  const std::filesystem::path train = train_source_file(options.dir, names);
  std::error_code ec;
  if (!options.force) {
    for (const auto& file : {line, train}) {
      if (!std::filesystem::exists(file, ec)) continue;
      err << "scenario_tool: error: " << file.string() << " already exists; nothing written "
          << "(--force replaces it)\n";
      return kExitUsage;
    }
  }
  std::filesystem::create_directories(options.dir, ec);
  if (ec) throw Failure("cannot create the folder " + options.dir.string() + ": " + ec.message());
  write_lines(line, righe_linea());
  write_lines(train, righe_treno());
  out << "wrote " << line.string() << "\n"
      << "wrote " << train.string() << "\n"
      << "next: edit them, then 'scenario_tool check " << options.dir.string() << "' and 'scenario_tool compile "
      << options.dir.string() << "'\n";
  return kExitClean;
}

}  // namespace scenario::tool
