// Text and JSON listings of the .sim rows, the train cells and the line plan.
#include "dump/dump_command.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/binary_files.h"
#include "common/json.h"
#include "platform/atomic_file.h"
#include "platform/failure.h"
#include "common/scenario_view.h"
#include "common/shown_text.h"
#include "common/text_match.h"

namespace scenario::tool {
namespace {

std::string fixed3(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

std::string clock_of(std::int32_t seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buf;
}

std::string range_text(std::size_t first, std::size_t last) {
  return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

// ---- .sim ----

std::string row_fields_text(const ScenarioRecord& r) {
  return "Kind " + std::to_string(r.Kind) + ", Start " + std::to_string(r.Start) + ", End " +
         std::to_string(r.End) + ", Position " + std::to_string(r.Position) + ", Flag " +
         std::to_string(r.Flag) + ", Name \"" + shown(r.Name) + "\", Word1 " + std::to_string(r.Word1) +
         ", Word2 " + std::to_string(r.Word2) + ", Word3 " + std::to_string(r.Word3) + ", Word4 " +
         std::to_string(r.Word4) + ", Word5 " + std::to_string(r.Word5) + ", Byte1 " + std::to_string(r.Byte1) +
         ", Byte2 " + std::to_string(r.Byte2) + ", Byte3 " + std::to_string(r.Byte3) + ", Byte4 " +
         std::to_string(r.Byte4) + ", Time " + std::to_string(r.Time);
}

void sim_text(const SimFile& f, std::size_t size, const std::string& name, std::ostream& out) {
  out << name << ": " << kScenarioRows << " rows, " << size << " bytes, " << stations_of(f.rows).size()
      << " stations\n";
  int row = 0;
  while (row < kScenarioRows) {
    const ScenarioRecord& r = f.rows[static_cast<std::size_t>(row)];
    if (is_blank_row(r)) {
      int last = row;
      while (last + 1 < kScenarioRows && is_blank_row(f.rows[static_cast<std::size_t>(last + 1)])) ++last;
      out << (last == row ? "row " : "rows ") << range_text(row, last) << ": empty\n";
      row = last + 1;
      continue;
    }
    RowUse use = use_of_row(f.rows, row);
    out << "row " << row << " (" << row_use_name(use) << ") at byte " << f.offsets[static_cast<std::size_t>(row)]
        << ": " << row_fields_text(r);
    if (use == RowUse::Station) out << " (" << clock_of(r.Time) << ")";
    out << "\n";
    ++row;
  }
}

std::string row_json(const SimFile& f, int row) {
  const ScenarioRecord& r = f.rows[static_cast<std::size_t>(row)];
  JsonObject o;
  o.number("row", row).text("use", row_use_name(use_of_row(f.rows, row)));
  o.number("offset", static_cast<std::int64_t>(f.offsets[static_cast<std::size_t>(row)]));
  o.number("Kind", r.Kind).number("Start", r.Start).number("End", r.End).number("Position", r.Position);
  o.number("Flag", r.Flag).text("Name", r.Name);
  o.number("Word1", r.Word1).number("Word2", r.Word2).number("Word3", r.Word3);
  o.number("Word4", r.Word4).number("Word5", r.Word5);
  o.number("Byte1", r.Byte1).number("Byte2", r.Byte2).number("Byte3", r.Byte3).number("Byte4", r.Byte4);
  o.number("Time", r.Time);
  return o.str();
}

void sim_json(const SimFile& f, std::size_t size, const std::string& name, std::ostream& out) {
  std::vector<std::string> rows;
  std::vector<std::string> empty;
  for (int row = 0; row < kScenarioRows; ++row) {
    if (is_blank_row(f.rows[static_cast<std::size_t>(row)])) {
      empty.push_back(std::to_string(row));
    } else {
      rows.push_back(row_json(f, row));
    }
  }
  JsonObject o;
  o.text("file", name).text("kind", "sim").number("bytes", static_cast<std::int64_t>(size));
  o.number("stations", static_cast<std::int64_t>(stations_of(f.rows).size()));
  o.raw("rows", json_array(rows)).raw("empty_rows", json_array(empty));
  out << o.str() << "\n";
}

// ---- train .dat ----

bool holds_something(const TrainCell& c) {
  return c.Kind != 0 || c.Word1 != 0 || c.Word2 != 0 || c.Word3 != 0 || c.Word4 != 0 || c.Byte1 != 0 ||
         c.Byte2 != 0;
}

struct Profile {
  const char* key;
  const char* title;
  CellByte field;
};

constexpr Profile kProfiles[] = {
    {"speed", "speed limit (Byte4 x 5 km/h)", &TrainCell::Byte4},
    {"gradient", "gradient (Byte5 - 100, per mille)", &TrainCell::Byte5},
    {"adhesion", "adhesion (Byte6)", &TrainCell::Byte6},
    {"montagna", "montagna type (Byte3, cells with a type only)", &TrainCell::Byte3},
};

std::string run_value_text(const Profile& p, int v) {
  std::string key = p.key;
  if (key == "speed") return "speed " + std::to_string(v * 5) + " km/h";
  if (key == "gradient") return v == 0 ? "no gradient (byte 0)" : "gradient " + std::to_string(v - 100) + " per mille";
  if (key == "adhesion") return "adhesion " + std::to_string(v);
  return "type " + std::to_string(v);
}

std::vector<Run> shown_runs(const std::vector<TrainCell>& cells, const Profile& p) {
  std::vector<Run> runs = runs_of(cells, p.field);
  if (p.field != &TrainCell::Byte3) return runs;
  std::vector<Run> typed;
  for (const Run& r : runs) {
    if (r.value != 0) typed.push_back(r);
  }
  return typed;
}

std::string cell_fields_text(const TrainCell& c) {
  return "Word1 " + std::to_string(c.Word1) + ", Word2 " + std::to_string(c.Word2) + ", Word3 " +
         std::to_string(c.Word3) + ", Word4 " + std::to_string(c.Word4) + ", Byte1 " + std::to_string(c.Byte1) +
         ", Byte2 " + std::to_string(c.Byte2);
}

void dat_text(const std::vector<TrainCell>& cells, std::size_t size, const std::string& name, std::ostream& out) {
  out << name << ": " << cells.size() << " cells (0-" << cells.size() - 1 << ", 0-"
      << (cells.size() - 1) * kCellMetres << " m), " << size << " bytes; "
      << counted(cells_of_kind(cells, kind::kSignal).size(), "signal") << ", "
      << counted(cells_of_kind(cells, kind::kStop).size(), "station stop") << ", "
      << counted(cells_of_kind(cells, kind::kSign).size(), "sign") << "\n";
  out << "cells holding objects or marks:\n";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const TrainCell& c = cells[i];
    if (!holds_something(c)) continue;
    out << "  cell " << i << " at " << i * kCellMetres << " m: " << kind_name(c.Kind) << " (kind "
        << int{c.Kind} << "): " << cell_fields_text(c) << "\n";
  }
  for (const Profile& p : kProfiles) {
    out << p.title << ":\n";
    for (const Run& r : shown_runs(cells, p)) {
      out << "  cells " << range_text(r.first, r.last) << ": " << run_value_text(p, r.value) << "\n";
    }
  }
}

std::string cell_json(const std::vector<TrainCell>& cells, std::size_t i) {
  const TrainCell& c = cells[i];
  JsonObject o;
  o.number("index", static_cast<std::int64_t>(i)).number("position", static_cast<std::int64_t>(i) * kCellMetres);
  o.number("Kind", c.Kind).text("kind_name", kind_name(c.Kind));
  o.number("Word1", c.Word1).number("Word2", c.Word2).number("Word3", c.Word3).number("Word4", c.Word4);
  o.number("Byte1", c.Byte1).number("Byte2", c.Byte2);
  return o.str();
}

std::string runs_json(const std::vector<TrainCell>& cells, const Profile& p) {
  std::vector<std::string> items;
  for (const Run& r : shown_runs(cells, p)) {
    JsonObject o;
    o.number("first", static_cast<std::int64_t>(r.first)).number("last", static_cast<std::int64_t>(r.last));
    o.number("byte", r.value).text("text", run_value_text(p, r.value));
    items.push_back(o.str());
  }
  return json_array(items);
}

void dat_json(const std::vector<TrainCell>& cells, std::size_t size, const std::string& name, std::ostream& out) {
  std::vector<std::string> items;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (holds_something(cells[i])) items.push_back(cell_json(cells, i));
  }
  JsonObject o;
  o.text("file", name).text("kind", "dat").number("bytes", static_cast<std::int64_t>(size));
  // The number of cells, as the text's first line counts them; the last
  // cell's index is one less.
  o.number("cell_count", static_cast<std::int64_t>(cells.size()));
  o.number("last_cell", static_cast<std::int64_t>(cells.size()) - 1);
  o.raw("cells", json_array(items));
  for (const Profile& p : kProfiles) o.raw(p.key, runs_json(cells, p));
  out << o.str() << "\n";
}

// ---- linea.dat ----

struct TagCounts {
  std::size_t empty = 0, int16 = 0, real = 0;
};

TagCounts count_tags(const std::vector<LineCell>& column) {
  TagCounts t;
  for (const LineCell& v : column) {
    if (v.tag == LineTag::Empty) ++t.empty;
    if (v.tag == LineTag::Int16) ++t.int16;
    if (v.tag == LineTag::Real) ++t.real;
  }
  return t;
}

std::string tags_text(const TagCounts& t) {
  return std::to_string(t.int16) + " int16, " + std::to_string(t.real) + " real, " + std::to_string(t.empty) +
         " empty";
}

std::string value_text(const LineCell& v) { return v.tag == LineTag::Empty ? "empty" : fixed3(v.value); }
std::string value_json(const LineCell& v) { return v.tag == LineTag::Empty ? "null" : json_number(v.value); }

std::vector<std::size_t> sample_points(std::size_t count, std::int32_t every) {
  std::vector<std::size_t> out;
  for (std::size_t m = 0; m < count; m += static_cast<std::size_t>(every)) out.push_back(m);
  if (!out.empty() && out.back() != count - 1) out.push_back(count - 1);
  return out;
}

void linea_text(const LineValues& v, std::size_t size, const std::string& name, std::int32_t every,
                std::ostream& out) {
  out << name << ": " << v.x.size() << " points (0-" << v.x.size() - 1 << " m), " << size << " bytes\n";
  out << "X column: " << tags_text(count_tags(v.x)) << "\n";
  out << "Y column: " << tags_text(count_tags(v.y)) << "\n";
  out << "points every " << every << " m:\n";
  for (std::size_t m : sample_points(v.x.size(), every)) {
    out << "  m " << m << ": x " << value_text(v.x[m]) << ", y " << value_text(v.y[m]) << "\n";
  }
}

std::string tags_json(const TagCounts& t) {
  JsonObject o;
  o.number("int16", static_cast<std::int64_t>(t.int16)).number("real", static_cast<std::int64_t>(t.real));
  o.number("empty", static_cast<std::int64_t>(t.empty));
  return o.str();
}

void linea_json(const LineValues& v, std::size_t size, const std::string& name, std::int32_t every,
                std::ostream& out) {
  std::vector<std::string> samples;
  for (std::size_t m : sample_points(v.x.size(), every)) {
    JsonObject s;
    s.number("m", static_cast<std::int64_t>(m)).raw("x", value_json(v.x[m])).raw("y", value_json(v.y[m]));
    samples.push_back(s.str());
  }
  JsonObject o;
  o.text("file", name).text("kind", "linea").number("bytes", static_cast<std::int64_t>(size));
  o.number("points", static_cast<std::int64_t>(v.x.size()));
  o.raw("tags", JsonObject().raw("x", tags_json(count_tags(v.x))).raw("y", tags_json(count_tags(v.y))).str());
  o.number("every", every).raw("samples", json_array(samples));
  out << o.str() << "\n";
}

}  // namespace

void run_dump(const DumpOptions& options, std::ostream& out) {
  const FileKind kind = kind_of(options.file);
  if (kind == FileKind::Unknown) {
    throw Failure(options.file.string() + ": unknown file kind; dump reads <route>_<train>.sim, " +
                  "<route>_<train>.dat and <route>_linea.dat");
  }
  const std::string bytes = read_binary_file(options.file);
  if (!options.output || *options.output == std::filesystem::path(kStdoutName)) {
    dump_bytes(kind, bytes, options.file.filename().string(), options, out);
    return;
  }
  std::ostringstream text;
  dump_bytes(kind, bytes, options.file.filename().string(), options, text);
  write_file_atomically(*options.output, text.str());
}

void dump_bytes(FileKind kind, std::string_view bytes, const std::string& name, const DumpOptions& options,
                std::ostream& out) {
  if (kind == FileKind::Sim) {
    SimFile f = decode_sim(bytes, name);
    options.json ? sim_json(f, bytes.size(), name, out) : sim_text(f, bytes.size(), name, out);
  } else if (kind == FileKind::TrainDat) {
    std::vector<TrainCell> cells = decode_dat(bytes, name);
    options.json ? dat_json(cells, bytes.size(), name, out) : dat_text(cells, bytes.size(), name, out);
  } else {
    LineValues v = decode_linea(bytes, name);
    options.json ? linea_json(v, bytes.size(), name, options.every, out)
                 : linea_text(v, bytes.size(), name, options.every, out);
  }
}

}  // namespace scenario::tool
