// The registry of warning names and the -W options that switch them.
#include "common/warning_names.h"

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "common/text_match.h"

namespace scenario::tool {
namespace {

constexpr std::array<WarningName, 30> kNames = {{
    {"unknown-keyword", "a field that starts no record and is no section header or comment: the text is lost",
     WarningLevel::Error},
    {"other-source", "a keyword of the other source: it is lost here", WarningLevel::Error},
    {"comment-read", "a third comment line in a row, read as a keyword field", WarningLevel::Error},
    {"no-general", "a source without a '[generale]' line: nothing in it is read", WarningLevel::Error},
    {"empty-general", "a train source with no record after its '[generale]' line: nothing in it is read",
     WarningLevel::Error},
    {"overwritten", "a record whose every value a later record replaces"},
    {"no-effect", "a record that writes nothing into the files"},
    {"keyword-side", "a curve keyword whose letters read as the other side"},
    {"after-end", "a record after [fine]: the compiler still reads it"},
    {"unread-last", "a keyword that is the last field of its file: never read"},
    {"past-end", "a position past the route's end that the compiler accepts"},
    {"not-text", "a source that holds a NUL byte (binary or UTF-16): not read as text", WarningLevel::Error},
    {"utf8-text", "a field typed in UTF-8: the simulator reads one byte per character"},
    {"unordered-gradient", "a gradient record behind the one before it: gradients fill forward only"},
    {"unordered-curve", "a curve that starts before the one before it"},
    {"overlapping-curve", "a curve that starts inside the one before it"},
    {"empty-curve", "a curve whose length leaves no curved point of the track plan"},
    {"unordered-speed", "a speed limit row behind the one before it: the profile fills forward only"},
    {"unordered-adhesion", "an adhesion row behind the one before it: the profile fills forward only"},
    {"unordered-station", "a station before the one above it in the file"},
    {"unordered-signal", "a signal before the one above it in the file"},
    {"unordered-slow-order", "a slow order before the one above it in the file"},
    {"unordered-sign", "an indication sign before the one above it: sign rows follow the file"},
    {"overlapping-range", "a montagna range that starts inside an earlier one"},
    {"rounded-position", "a position that is no multiple of 50, rounded to another cell"},
    {"backwards-time", "a station whose time lies before the previous station's"},
    {"zero-speed", "a speed limit or slow order of 0 km/h"},
    {"profile-start", "a gradient, speed or adhesion profile whose first row is not at 0"},
    {"steep-gradient", "a gradient steeper than 60 per mille, or beyond what one byte holds"},
    {"long-name", "a station name or sign text longer than its 16-bit length allows"},
}};

}  // namespace

std::span<const WarningName> warning_names() { return kNames; }

bool is_warning_name(std::string_view name) {
  for (const WarningName& w : kNames) {
    if (w.name == name) return true;
  }
  return false;
}

WarningLevel default_level(std::string_view name) {
  for (const WarningName& w : kNames) {
    if (w.name == name) return w.by_default;
  }
  return WarningLevel::Warning;
}

WarningLevel WarningSettings::level_of(std::string_view name) const {
  const auto s = shown.find(name);
  const bool named = s != shown.end();  // by -WNAME, -Wno-NAME or -Werror=NAME
  if (named && !s->second) return WarningLevel::Off;
  const bool error_by_default = default_level(name) == WarningLevel::Error;
  const auto e = as_error.find(name);
  if (e != as_error.end()) {
    if (e->second) return WarningLevel::Error;
    return none && !named ? WarningLevel::Off : WarningLevel::Warning;
  }
  // -w silences every warning, but a name that is an error by default stays
  // one until an option names it.
  if (none && !named) return error_by_default ? WarningLevel::Error : WarningLevel::Off;
  if (all_errors) return WarningLevel::Error;
  // -WNAME lowers a name that is an error by default to a warning.
  return error_by_default && !named ? WarningLevel::Error : WarningLevel::Warning;
}

std::optional<std::string> take_warning_option(std::string_view option, WarningSettings& settings) {
  if (option == "-w") {
    settings.none = true;
    return std::nullopt;
  }
  if (option == "-Werror") {
    settings.all_errors = true;
    return std::nullopt;
  }
  if (option == "-Wall") return std::nullopt;  // every warning is on unless switched off
  std::string_view name = option.substr(2);  // after "-W"
  std::map<std::string, bool, std::less<>>* slot = &settings.shown;
  bool value = true;
  for (const auto& [prefix, map, on] : {std::tuple{"no-error=", &settings.as_error, false},
                                        std::tuple{"error=", &settings.as_error, true},
                                        std::tuple{"no-", &settings.shown, false}}) {
    if (name.rfind(prefix, 0) != 0) continue;
    name.remove_prefix(std::string_view(prefix).size());
    slot = map;
    value = on;
    break;
  }
  if (!is_warning_name(name)) {
    std::vector<std::string> names;
    for (const WarningName& w : kNames) names.emplace_back(w.name);
    std::string error = "unknown warning '" + std::string(name) + "' in '" + std::string(option) + "'";
    error += "; 'scenario_tool help warnings' lists them";
    if (auto hint = near_miss(name, names)) error += "; did you mean '" + *hint + "'?";
    return error;
  }
  (*slot)[std::string(name)] = value;
  if (slot == &settings.as_error && value) settings.shown[std::string(name)] = true;  // as -Werror=NAME implies -WNAME
  return std::nullopt;
}

}  // namespace scenario::tool
