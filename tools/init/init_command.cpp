// The init command: the built-in sources under the author's names, never over an existing file unasked.
#include "init/init_command.h"

#include <filesystem>
#include <string_view>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/scenario_files.h"
#include "common/shown_text.h"
#include "platform/failure.h"

namespace scenario::tool {
int run_init(const InitOptions& options, std::ostream& out, std::ostream& /*err*/) {
  const ScenarioNames names{options.route.empty() ? std::string(names::kRouteName) : options.route,
                            options.train.empty() ? std::string(names::kTrainCode) : options.train};
  const std::filesystem::path line = line_source_file(options.dir, names);
  const std::filesystem::path train = train_source_file(options.dir, names);
  std::error_code ec;
  if (!options.force) {
    for (const auto& file : {line, train}) {
      if (!std::filesystem::exists(file, ec)) continue;
      throw Failure(quoted_path(file) + " already exists; nothing written (--force replaces it)",
                    FailureDetail{.kind = FailureKind::Io, .expected = "create", .found = file.string()});
    }
  }
  std::filesystem::create_directories(options.dir, ec);
  if (ec) throw Failure("cannot create the folder " + quoted_path(options.dir) + ": " + ec.message());
  write_lines(line, righe_linea());
  write_lines(train, righe_treno());
  out << "wrote " << line.string() << "\n"
      << "wrote " << train.string() << "\n"
      << "next: edit them, then 'scenario_tool check " << options.dir.string() << "' and 'scenario_tool compile "
      << options.dir.string() << "'\n";
  return kExitClean;
}

}  // namespace scenario::tool
