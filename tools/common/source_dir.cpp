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
  // Routes whose names extend this one ("A_B" beside "A") own their trains.
  std::vector<std::string> longer;
  for (const auto& n : names) {
    if (ends_with(n, kLineSourceSuffix) && n.rfind(prefix, 0) == 0 &&
        n.size() > prefix.size() + kLineSourceSuffix.size()) {
      longer.push_back(n.substr(0, n.size() - kLineSourceSuffix.size()) + "_");
    }
  }
  auto of_longer_route = [&](const std::string& n) {
    for (const auto& l : longer) {
      if (n.rfind(l, 0) == 0) return true;
    }
    return false;
  };
  std::vector<std::string> trains;
  for (const auto& n : names) {
    if (n.rfind(prefix, 0) == 0 && ends_with(n, kTrainSourceSuffix) && n.size() > prefix.size() + kTrainSourceSuffix.size() &&
        !of_longer_route(n)) {
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

// The route and train a train source's name <route>_<train>-.txt gives: the
// route is the longest prefix with a line source beside it, else the name up
// to its last "_".
ScenarioNames names_of_train_source(const std::vector<std::string>& names, const std::string& file) {
  const std::string stem = file.substr(0, file.size() - kTrainSourceSuffix.size());
  std::string route;
  for (const auto& n : names) {
    if (!ends_with(n, kLineSourceSuffix)) continue;
    const std::string r = n.substr(0, n.size() - kLineSourceSuffix.size());
    if (stem.size() > r.size() + 1 && stem.rfind(r + "_", 0) == 0 && r.size() > route.size()) route = r;
  }
  const std::size_t cut = route.empty() ? stem.rfind('_') : route.size();
  if (cut == std::string::npos || cut == 0 || cut + 1 >= stem.size()) {
    throw Failure(file + " is not named <route>_<train>-.txt, so it names no route and train");
  }
  return {stem.substr(0, cut), stem.substr(cut + 1)};
}

}  // namespace

SourceSelection select_sources(const std::filesystem::path& dir_or_file, const std::string& route,
                               const std::string& train) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(dir_or_file, ec)) {
    if (!std::filesystem::exists(dir_or_file, ec)) {
      throw Failure("the source directory or file " + dir_or_file.string() + " does not exist");
    }
    return {dir_or_file, find_sources(dir_or_file, route, train)};
  }
  std::filesystem::path dir = dir_or_file.parent_path();
  if (dir.empty()) dir = ".";
  const std::string file = dir_or_file.filename().string();
  ScenarioNames n;
  if (ends_with(file, kLineSourceSuffix)) {
    n.RouteName = file.substr(0, file.size() - kLineSourceSuffix.size());
    n.TrainCode = train.empty() ? find_sources(dir, n.RouteName, "").TrainCode : train;
  } else if (ends_with(file, kTrainSourceSuffix)) {
    n = names_of_train_source(file_names(dir), file);
    if (!train.empty()) n.TrainCode = train;
  } else {
    throw Failure(dir_or_file.string() + " is neither a line source (<route>_linea.txt) nor a train source "
                  "(<route>_<train>-.txt)");
  }
  if (!route.empty() && route != n.RouteName) {
    throw Failure(dir_or_file.string() + " belongs to route " + n.RouteName + ", not to --route " + route);
  }
  return {dir, n};
}

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
