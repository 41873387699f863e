// The .sim of the scenario an author names, or the only one of a folder.
#include "common/scenario_dir.h"

#include <algorithm>
#include <vector>

#include "model/scenario_files.h"
#include "common/shown_text.h"
#include "platform/failure.h"

namespace scenario::tool {

std::filesystem::path choose_sim_file(const std::filesystem::path& dir, const std::string& route,
                                      const std::string& train) {
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) throw Failure("the folder " + quoted_path(dir) + " does not exist");
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) throw Failure("cannot read the folder " + quoted_path(dir) + ": " + ec.message());
  std::vector<std::string> found;
  for (const auto& entry : it) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != kScenarioFileSuffix) continue;
    const std::string stem = name.substr(0, name.size() - kScenarioFileSuffix.size());
    if (!route.empty() && stem.rfind(route + "_", 0) != 0) continue;
    if (!route.empty() && !train.empty() && stem != route + "_" + train) continue;
    if (route.empty() && !train.empty() &&
        (stem.size() <= train.size() + 1 || stem.compare(stem.size() - train.size() - 1, std::string::npos, "_" + train) != 0)) {
      continue;
    }
    found.push_back(name);
  }
  std::sort(found.begin(), found.end());
  const std::string chosen = route.empty() && train.empty() ? "" : " for the route and train given";
  if (found.empty()) {
    throw Failure(quoted_path(dir) + " holds no .sim file" + chosen + "; compile the sources first (scenario_tool compile)");
  }
  if (found.size() > 1) {
    std::string names;
    for (const auto& f : found) names += (names.empty() ? "" : ", ") + f;
    throw Failure(quoted_path(dir) + " holds " + std::to_string(found.size()) + " .sim files (" + names +
                  "); choose one with --route NAME and --train CODE");
  }
  return dir / found.front();
}

}  // namespace scenario::tool
