// Route and train names from the source file names of a directory.
#include "common/source_dir.h"

#include <algorithm>
#include <vector>

#include "platform/failure.h"

namespace scenario::tool {
namespace {

bool ends_with(const std::string& s, std::string_view tail) {
  return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> file_names(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) throw Failure("cannot read the source directory " + dir.string() + ": " + ec.message());
  std::vector<std::string> names;
  for (const auto& entry : it) {
    if (entry.is_regular_file(ec)) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string listed(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

std::string the_route(const std::filesystem::path& dir, const std::vector<std::string>& names) {
  std::vector<std::string> lines;
  for (const auto& n : names) {
    if (ends_with(n, kLineSourceSuffix)) lines.push_back(n);
  }
  if (lines.size() == 1) return lines[0].substr(0, lines[0].size() - kLineSourceSuffix.size());
  if (lines.empty()) {
    throw Failure(dir.string() + " holds no line source (<route>_linea.txt); name the route with --route NAME");
  }
  throw Failure(dir.string() + " holds " + std::to_string(lines.size()) + " line sources (" + listed(lines) +
                "); choose one with --route NAME");
}

std::string the_train(const std::filesystem::path& dir, const std::vector<std::string>& names,
                      const std::string& route) {
  const std::string prefix = route + "_";
  std::vector<std::string> trains;
  for (const auto& n : names) {
    if (n.rfind(prefix, 0) == 0 && ends_with(n, kTrainSourceSuffix) && n.size() > prefix.size() + kTrainSourceSuffix.size()) {
      trains.push_back(n);
    }
  }
  if (trains.size() == 1) return trains[0].substr(prefix.size(), trains[0].size() - prefix.size() - kTrainSourceSuffix.size());
  if (trains.empty()) {
    throw Failure(dir.string() + " holds no train source for route " + route + " (" + prefix +
                  "<train>-.txt); name the train with --train CODE");
  }
  throw Failure(dir.string() + " holds " + std::to_string(trains.size()) + " train sources for route " + route +
                " (" + listed(trains) + "); choose one with --train CODE");
}

}  // namespace

ScenarioNames find_sources(const std::filesystem::path& dir, const std::string& route, const std::string& train) {
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) throw Failure("the source directory " + dir.string() + " does not exist");
  if (!route.empty() && !train.empty()) return {route, train};
  const std::vector<std::string> names = file_names(dir);
  ScenarioNames n;
  n.RouteName = route.empty() ? the_route(dir, names) : route;
  n.TrainCode = train.empty() ? the_train(dir, names, n.RouteName) : train;
  return n;
}

}  // namespace scenario::tool
