// The diff command: records added, removed, changed or moved, else runs of cells, rows and plan points.
#include "diff/diff_command.h"

#include <algorithm>
#include <map>
#include <optional>

#include "common/cli.h"
#include "common/diagnostics.h"
#include "common/json.h"
#include "common/shown_text.h"
#include "decompile/decompile.h"
#include "decompile/decompile_command.h"
#include "model/binary_readers.h"
#include "parser/record_kinds.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

// One record line of a rebuilt source, split into its fields.
struct Riga {
  std::string text;
  std::string key;                  // the keyword, plus the position for a record placed on the route
  std::vector<std::string> fields;  // after the keyword, blanks trimmed
};

std::string trimmed(std::string_view s) {
  const std::size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return "";
  return std::string(s.substr(a, s.find_last_not_of(' ') - a + 1));
}

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t at = line.find(','); at != std::string::npos; at = line.find(',', from)) {
    out.push_back(trimmed(std::string_view(line).substr(from, at - from)));
    from = at + 1;
  }
  out.push_back(trimmed(std::string_view(line).substr(from)));
  return out;
}

// The record lines of a rebuilt source: neither comments nor headers.
std::vector<Riga> righe(const std::string& text, SourceId source) {
  std::vector<Riga> out;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find("\r\n", from);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(from, end - from);
    from = end + 2;
    if (line.empty() || line[0] == '-' || line[0] == '[') continue;
    std::vector<std::string> f = split(line);
    Riga r{line, f.front(), {f.begin() + 1, f.end()}};
    for (const RecordLayout& layout : record_layouts(source)) {
      if (!starts_record(layout, f.front(), true)) continue;
      if (layout.margin && !r.fields.empty()) r.key = std::string(layout.name) + " " + r.fields.front();
      if (!layout.margin) r.key = std::string(layout.name);
      break;
    }
    out.push_back(std::move(r));
  }
  return out;
}

// The same fields but the first (the position): a record that moved.
bool spostato(const Riga& a, const Riga& b) {
  return a.fields.size() == b.fields.size() && a.fields.size() > 1 &&
         std::equal(a.fields.begin() + 1, a.fields.end(), b.fields.begin() + 1) &&
         a.text.substr(0, a.text.find(',')) == b.text.substr(0, b.text.find(','));
}

void confronta_sorgenti(const std::string& before, const std::string& after, SourceId source, std::vector<Change>& out) {
  const std::string name = source == SourceId::Line ? "line" : "train";
  std::multimap<std::string, Riga> old_by_key;
  for (Riga& r : righe(before, source)) old_by_key.emplace(r.key, std::move(r));
  std::vector<Riga> added;
  for (Riga& r : righe(after, source)) {
    auto it = old_by_key.find(r.key);
    if (it == old_by_key.end()) {
      added.push_back(std::move(r));
      continue;
    }
    if (it->second.fields != r.fields) out.push_back({"changed", name, it->second.text, r.text});
    old_by_key.erase(it);
  }
  std::vector<Riga> removed;
  for (auto& [key, r] : old_by_key) removed.push_back(std::move(r));
  for (Riga& a : added) {
    auto moved = std::find_if(removed.begin(), removed.end(), [&](const Riga& r) { return spostato(r, a); });
    if (moved != removed.end()) {
      out.push_back({"moved", name, moved->text, a.text});
      removed.erase(moved);
    } else {
      out.push_back({"added", name, "", a.text});
    }
  }
  for (const Riga& r : removed) out.push_back({"removed", name, r.text, ""});
}

// Runs of indices where `differs` holds, as "first to last".
template <typename Differs>
void runs(std::int64_t count, const std::string& what, const std::string& file, Differs differs,
          std::vector<Change>& out) {
  for (std::int64_t i = 0; i < count;) {
    if (!differs(i)) {
      ++i;
      continue;
    }
    std::int64_t j = i;
    while (j + 1 < count && differs(j + 1)) ++j;
    out.push_back({what, file, std::to_string(i), std::to_string(j)});
    i = j + 1;
  }
}

void confronta_file(const BinaryFiles& before, const BinaryFiles& after, std::vector<Change>& out) {
  try {
    const ScenarioRows a = decode_sim(before.sim, "old .sim").rows, b = decode_sim(after.sim, "new .sim").rows;
    runs(kScenarioRows, "rows", "sim", [&](std::int64_t r) { return a[static_cast<std::size_t>(r)] != b[static_cast<std::size_t>(r)]; }, out);
  } catch (const Failure& f) {
    if (before.sim != after.sim) out.push_back({"bytes", "sim", f.what(), ""});
  }
  try {
    const std::vector<TrainCell> a = decode_dat(before.dat, "old .dat"), b = decode_dat(after.dat, "new .dat");
    const auto n = static_cast<std::int64_t>(std::max(a.size(), b.size()));
    runs(n, "cells", "dat", [&](std::int64_t c) {
      const auto i = static_cast<std::size_t>(c);
      return i >= a.size() || i >= b.size() || a[i] != b[i];
    }, out);
  } catch (const Failure& f) {
    if (before.dat != after.dat) out.push_back({"bytes", "dat", f.what(), ""});
  }
  if (before.linea == after.linea) return;
  if (!before.linea || !after.linea) {
    out.push_back({"bytes", "linea", before.linea ? "a plan" : "no plan", after.linea ? "a plan" : "no plan"});
    return;
  }
  try {
    const LinePlan a = decode_linea(*before.linea, "old linea.dat"), b = decode_linea(*after.linea, "new linea.dat");
    const std::int64_t n = std::max(a.last_point(), b.last_point()) + std::int64_t{1};
    runs(n, "points", "linea", [&](std::int64_t m) {
      if (m > a.last_point() || m > b.last_point()) return true;
      for (int col = 0; col < 2; ++col) {
        const LineCell x = a.get(m, col), y = b.get(m, col);
        if (x.tag != y.tag || x.value != y.value) return true;
      }
      return false;
    }, out);
  } catch (const Failure& f) {
    out.push_back({"bytes", "linea", f.what(), ""});
  }
}

std::string testo_di(const Change& c) {
  if (c.what == "cells" || c.what == "rows" || c.what == "points") {
    const std::string unit = c.what == "cells" ? "cell" : c.what == "rows" ? "row" : "plan point";
    return c.source + ": " + (c.old_text == c.new_text ? unit + " " + c.old_text : c.what + " " + c.old_text + " to " + c.new_text) +
           " differ" + (c.old_text == c.new_text ? "s" : "");
  }
  if (c.what == "bytes") return c.source + ": " + c.old_text + (c.new_text.empty() ? "" : " -> " + c.new_text);
  if (c.what == "added") return c.source + ": added: " + c.new_text;
  if (c.what == "removed") return c.source + ": removed: " + c.old_text;
  return c.source + ": " + c.what + ": " + c.old_text + " -> " + c.new_text;
}

}  // namespace

std::vector<Change> differenze_tra(const BinaryFiles& before, const BinaryFiles& after) {
  std::vector<Change> out;
  if (before.sim == after.sim && before.dat == after.dat && before.linea == after.linea) return out;
  const DecompileOutcome a = decompila(before);
  const DecompileOutcome b = decompila(after);
  if (a.pair && b.pair) {
    confronta_sorgenti(a.pair->line, b.pair->line, SourceId::Line, out);
    confronta_sorgenti(a.pair->train, b.pair->train, SourceId::Train, out);
    if (a.pair->names.RouteName != b.pair->names.RouteName || a.pair->names.TrainCode != b.pair->names.TrainCode) {
      out.push_back({"changed", "names", a.pair->names.RouteName + " " + a.pair->names.TrainCode,
                     b.pair->names.RouteName + " " + b.pair->names.TrainCode});
    }
    if (!out.empty()) return out;
  }
  confronta_file(before, after, out);
  return out;
}

namespace {

// Each change as a note in a SARIF log: its kind as the rule, its text as the message.
std::string sarif_of(const std::vector<Change>& changes) {
  std::vector<Message> ms;
  for (const Change& c : changes) {
    Message m;
    m.severity = Severity::Note;
    m.name = c.what;
    m.text = shown_utf8(testo_di(c));
    ms.push_back(std::move(m));
  }
  return render_sarif(ms, SourceTexts{}, RenderOptions{.max_per_name = 0});
}

std::string json_of(const std::vector<Change>& changes) {
  std::vector<std::string> items;
  for (const Change& c : changes) {
    items.push_back(
        JsonObject().text("change", c.what).text("in", c.source).text("old", c.old_text).text("new", c.new_text).str());
  }
  return JsonObject().boolean("equal", changes.empty()).raw("changes", json_array(items)).str() + "\n";
}

}  // namespace

int run_diff(const DiffOptions& options, std::ostream& out) {
  const FileSet before = read_file_set(options.before, options.route, options.train);
  const FileSet after = read_file_set(options.after, options.route, options.train);
  const std::vector<Change> changes = differenze_tra(before.bytes, after.bytes);
  switch (options.format) {
    case DiagnosticsFormat::Json: out << json_of(changes); break;
    case DiagnosticsFormat::Sarif: out << sarif_of(changes); break;
    case DiagnosticsFormat::Text:
      if (changes.empty()) out << "equal: the two sets of files are the same, byte for byte\n";
      for (const Change& c : changes) out << shown_utf8(testo_di(c)) << "\n";
      break;
  }
  return changes.empty() ? kExitClean : kExitProblems;
}

}  // namespace scenario::tool
