// Route and train names from the source file names of a directory.
#include "common/source_dir.h"

#include <algorithm>
#include <vector>

#include "common/shown_text.h"
#include "common/text_match.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

bool ends_with(const std::string& s, std::string_view tail) {
  return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> file_names(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) throw Failure("cannot read the source directory " + quoted_path(dir) + ": " + ec.message());
  std::vector<std::string> names;
  for (const auto& entry : it) {
    if (entry.is_regular_file(ec)) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A source name as compared for near misses: lower case, without ".txt" and
// a '-' before it.
std::string folded_source_name(std::string_view name) {
  std::string s = lower_ascii(name);
  if (ends_with(s, ".txt")) s.resize(s.size() - 4);
  if (!s.empty() && s.back() == '-') s.pop_back();
  return s;
}

bool is_text_name(const std::string& name) { return ends_with(lower_ascii(name), ".txt"); }

// The first file that looks like a source of the wanted kind but is spelled
// otherwise: a line source in another case or with ".TXT", or a train source
// of the route without its '-' or in another case.
std::optional<std::string> misnamed_of_kind(const std::vector<std::string>& names, bool line, const std::string& route) {
  for (const auto& n : names) {
    const std::string lower = lower_ascii(n);
    if (!is_text_name(n)) continue;
    const bool looks_line = ends_with(folded_source_name(n), "_linea");
    if (line ? !looks_line || ends_with(n, kLineSourceSuffix)
             : looks_line || lower.rfind(lower_ascii(route) + "_", 0) != 0 ||
                   (n.rfind(route + "_", 0) == 0 && ends_with(n, kTrainSourceSuffix))) {
      continue;
    }
    return n;
  }
  return std::nullopt;
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
    std::string text = quoted_path(dir) + " holds no line source (<route>_linea.txt)";
    if (auto found = misnamed_of_kind(names, true, "")) {
      const std::string folded = folded_source_name(*found);
      const std::string wanted = found->substr(0, folded.size() - std::string("_linea").size()) + std::string(kLineSourceSuffix);
      throw Failure(text + "; " + misnamed_hint(*found, wanted));
    }
    throw Failure(text + "; name the route with --route NAME");
  }
  throw Failure(quoted_path(dir) + " holds " + std::to_string(lines.size()) + " line sources (" + listed(lines) +
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
    const std::string text = quoted_path(dir) + " holds no train source for route " + shown_utf8(route) + " (" +
                             shown_utf8(prefix) + "<train>-.txt)";
    if (auto found = misnamed_of_kind(names, false, route)) {
      const std::string folded = folded_source_name(*found);
      const std::string wanted = prefix + found->substr(prefix.size(), folded.size() - prefix.size()) +
                                 std::string(kTrainSourceSuffix);
      throw Failure(text + "; " + misnamed_hint(*found, wanted));
    }
    throw Failure(text + "; name the train with --train CODE");
  }
  throw Failure(quoted_path(dir) + " holds " + std::to_string(trains.size()) + " train sources for route " + route +
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

std::optional<std::string> misnamed_source(const std::filesystem::path& dir, const std::string& wanted) {
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return std::nullopt;
  const std::string folded = folded_source_name(wanted);
  for (const auto& n : file_names(dir)) {
    if (n != wanted && is_text_name(n) && folded_source_name(n) == folded) return n;
  }
  return std::nullopt;
}

std::string misnamed_hint(const std::string& found, const std::string& wanted) {
  return "did you mean '" + shown_utf8(found) + "'? The compiler reads it only when it is named '" +
         shown_utf8(wanted) + "'";
}

SourceSelection select_sources(const std::filesystem::path& dir_or_file, const std::string& route,
                               const std::string& train) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(dir_or_file, ec)) {
    if (!std::filesystem::exists(dir_or_file, ec)) {
      throw Failure("the source directory or file " + quoted_path(dir_or_file) + " does not exist");
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
    throw Failure(quoted_path(dir_or_file) + " is neither a line source (<route>_linea.txt) nor a train source "
                  "(<route>_<train>-.txt)");
  }
  if (!route.empty() && route != n.RouteName) {
    throw Failure(quoted_path(dir_or_file) + " belongs to route " + n.RouteName + ", not to --route " + route);
  }
  return {dir, n};
}

ScenarioNames find_sources(const std::filesystem::path& dir, const std::string& route, const std::string& train) {
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    throw Failure("the source directory " + quoted_path(dir) + " does not exist");
  }
  if (!route.empty() && !train.empty()) return {route, train};
  const std::vector<std::string> names = file_names(dir);
  ScenarioNames n;
  n.RouteName = route.empty() ? the_route(dir, names) : route;
  n.TrainCode = train.empty() ? the_train(dir, names, n.RouteName) : train;
  return n;
}

}  // namespace scenario::tool
