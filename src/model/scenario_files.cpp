// File names of the scenario's eight files.
#include "model/scenario_files.h"

#include "platform/platform.h"

namespace scenario {
namespace {

std::filesystem::path route_only(const std::filesystem::path& dir, const ScenarioNames& n, std::string_view suffix) {
  return platform::join_path(dir, n.RouteName + std::string(suffix));
}

std::filesystem::path route_and_train(const std::filesystem::path& dir, const ScenarioNames& n,
                                      std::string_view suffix) {
  return platform::join_path(dir, n.RouteName + "_" + n.TrainCode + std::string(suffix));
}

}  // namespace

std::filesystem::path line_source_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_only(dir, n, kLineSourceSuffix);
}
std::filesystem::path train_source_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_and_train(dir, n, kTrainSourceSuffix);
}
std::filesystem::path line_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_only(dir, n, kLineFileSuffix);
}
std::filesystem::path scenario_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_and_train(dir, n, kScenarioFileSuffix);
}
std::filesystem::path train_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_and_train(dir, n, kTrainFileSuffix);
}
std::filesystem::path note_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_and_train(dir, n, kNoteSuffix);
}
std::filesystem::path rallentamenti_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_and_train(dir, n, kRallentamentiSuffix);
}
std::filesystem::path scheda_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return route_and_train(dir, n, kSchedaSuffix);
}

}  // namespace scenario
