// Every warning the tool can give, by its stable name, in one place.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace scenario::tool {

// What -W options asked for one warning: off, a warning (the default) or an error.
enum class WarningLevel { Off, Warning, Error };

struct WarningName {
  std::string_view name;  // as in -Wno-NAME and -Werror=NAME, and the JSON "code"
  std::string_view when;  // what it reports, for the help and the docs
  // Error for what loses an author's text without a word unless it is reported:
  // such a name is an error unless a -W option lowers it.
  WarningLevel by_default = WarningLevel::Warning;
};

// All warnings, in the order the help lists them.
std::span<const WarningName> warning_names();
bool is_warning_name(std::string_view name);

// A name's level when no -W option names it.
WarningLevel default_level(std::string_view name);

// The -W options of one command line, as a C compiler reads them: whether a
// warning is shown and whether it counts as an error are switched apart, the
// last option naming a warning winning for it; an option that names one
// warning wins over -w and -Werror, which switch them all.
struct WarningSettings {
  bool all_errors = false;  // --werror, -Werror
  bool none = false;        // -w
  std::map<std::string, bool, std::less<>> shown;     // -WNAME, -Wno-NAME (and -Werror=NAME shows it)
  std::map<std::string, bool, std::less<>> as_error;  // -Werror=NAME, -Wno-error=NAME

  WarningLevel level_of(std::string_view name) const;
};

// Reads one warning option into `settings`: -WNAME, -Wno-NAME, -Werror=NAME,
// -Wno-error=NAME, -Werror (all errors), -Wall (every warning: the default)
// or -w (none). Returns an error text for an unknown name (with a near-miss
// hint).
std::optional<std::string> take_warning_option(std::string_view option, WarningSettings& settings);

}  // namespace scenario::tool
