// Rendering of the tool's messages: compiler-style text with a cut, escaped source line and caret, and JSON lines.
#include "common/diagnostics.h"

#include <algorithm>
#include <map>

#include "common/cli.h"
#include "common/json.h"
#include "common/shown_text.h"
#include "compile/warning_names.h"

namespace scenario::tool {
namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…", one column wide
constexpr std::size_t kCaretLead = kQuoteWindow * 3 / 5;  // characters kept before the caret when cutting

// Terminal colours as compilers use them: bold red, magenta and cyan for the
// severities, bold green for the caret.
constexpr std::string_view kErrorColor = "\x1b[01;31m";
constexpr std::string_view kWarningColor = "\x1b[01;35m";
constexpr std::string_view kNoteColor = "\x1b[01;36m";
constexpr std::string_view kCaretColor = "\x1b[01;32m";
constexpr std::string_view kColorReset = "\x1b[m";

std::string_view color_of(Severity s) {
  return s == Severity::Error ? kErrorColor : s == Severity::Warning ? kWarningColor : kNoteColor;
}

std::string painted(std::string_view text, std::string_view color, bool on) {
  if (!on) return std::string(text);
  return std::string(color) + std::string(text) + std::string(kColorReset);
}

bool line_end(char c) { return c == '\r' || c == '\n'; }

int source_rank(SourceId id) { return id == SourceId::Line ? 1 : id == SourceId::Train ? 2 : 0; }

// An offset at or past the end moves back over the text's final line ends,
// so that "the end of the file" points after the last character of its last
// line; one at the LF of a CR LF moves to its CR, the end of that line.
std::size_t clamp_to_content(std::string_view text, std::size_t offset) {
  if (offset < text.size()) {
    return offset > 0 && text[offset] == '\n' && text[offset - 1] == '\r' ? offset - 1 : offset;
  }
  std::size_t pos = text.size();
  while (pos > 0 && line_end(text[pos - 1])) --pos;
  return pos;
}

std::size_t line_start_of(std::string_view text, std::size_t offset) {
  std::size_t start = offset;
  while (start > 0 && !line_end(text[start - 1])) --start;
  return start;
}

// The excerpt of the line [start, end) with the caret at `offset`: a window
// of kQuoteWindow characters that holds the caret (which may stand one past
// the line's last character), costing the window's length, not the line's.
Excerpt excerpt_in_line(std::string_view text, std::size_t start, std::size_t end, std::size_t offset) {
  std::size_t from = start, to = end;
  if (to - from > kQuoteWindow) {
    from = offset - std::min(offset - start, kCaretLead);
    to = std::min(end, from + kQuoteWindow);
    from = std::max(start, std::min(from, to > kQuoteWindow ? to - kQuoteWindow : 0));
  }
  Excerpt e;
  if (from > start) {
    e.line += kEllipsis;
    e.caret += ' ';
  }
  e.line += shown(text.substr(from, to - from));
  if (to < end) e.line += kEllipsis;
  for (std::size_t i = from; i < offset; ++i) e.caret.append(shown_width(static_cast<unsigned char>(text[i])), ' ');
  e.caret.push_back('^');
  return e;
}

std::string cut_text(const std::string& text) {
  if (text.size() <= kMaxTextBytes) return text;
  std::size_t end = kMaxTextBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;  // not inside a character
  return text.substr(0, end) + std::string(kEllipsis);
}

std::string shown_file(const SourceTexts& texts, SourceId source) { return shown_utf8(texts.file(source)); }

// Line starts of one text, found once per rendering so that placing many
// messages costs a binary search each, not a scan of the text.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) : text_(text) {
    starts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (line_end(text[i])) starts_.push_back(i + 1);
    }
  }

  TextPlace place(std::size_t offset) const {
    offset = clamp_to_content(text_, offset);
    const std::size_t line = line_of(offset);
    return {line, offset - starts_[line - 1] + 1};
  }

  Excerpt excerpt(std::size_t offset) const {
    offset = clamp_to_content(text_, offset);
    const std::size_t line = line_of(offset);
    std::size_t end = line < starts_.size() ? starts_[line] : text_.size();
    while (end > starts_[line - 1] && line_end(text_[end - 1])) --end;
    return excerpt_in_line(text_, starts_[line - 1], std::max(end, offset), offset);
  }

 private:
  // The 1-based line of an offset: the last line start at or before it.
  std::size_t line_of(std::size_t offset) const {
    auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return static_cast<std::size_t>(it - starts_.begin());
  }

  std::string_view text_;
  std::vector<std::size_t> starts_;
};

// Shared by both renderings: which messages are shown, how many of each name
// were held back, and where each shown message stands.
class Plan {
 public:
  Plan(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options, const HeldCounts& held)
      : texts_(texts),
        line_(texts.text(SourceId::Line)),
        train_(texts.text(SourceId::Train)),
        files_{shown_file(texts, SourceId::None), shown_file(texts, SourceId::Line),
               shown_file(texts, SourceId::Train)} {
    std::map<std::string, std::size_t> seen;
    for (const Message& m : ms) {
      const std::size_t n = ++seen[m.name];
      if (options.max_per_name == 0 || n <= options.max_per_name) {
        shown_.push_back(&m);
      } else {
        if (n == options.max_per_name + 1) held_order_.push_back(&m);
        ++held_[m.name];
      }
    }
    // Names held back where they were made: the note stands with the last one shown.
    for (const auto& [name, count] : held) {
      if (count == 0) continue;
      if (!held_.count(name)) {
        // A structured binding is captured through a reference of its own.
        auto last = std::find_if(ms.rbegin(), ms.rend(),
                                 [&wanted = name](const Message& m) { return m.name == wanted; });
        if (last == ms.rend()) continue;
        held_order_.push_back(&*last);
      }
      held_[name] += count;
    }
  }

  const std::vector<const Message*>& shown() const { return shown_; }
  const std::vector<const Message*>& held_back() const { return held_order_; }
  std::size_t held_count(const std::string& name) const { return held_.at(name); }

  bool placed(const Message& m) const { return m.at.has_value() && texts_.has(m.source); }

  TextPlace place(const Message& m) const { return index_of(m).place(*m.at); }
  // The file a message names, as shown: converted once per rendering.
  const std::string& file(SourceId source) const { return files_[static_cast<std::size_t>(source)]; }
  Excerpt excerpt(const Message& m) const { return index_of(m).excerpt(*m.at); }

 private:
  const LineIndex& index_of(const Message& m) const { return m.source == SourceId::Line ? line_ : train_; }

  const SourceTexts& texts_;
  LineIndex line_, train_;
  std::string files_[3];  // by SourceId
  std::vector<const Message*> shown_;
  std::vector<const Message*> held_order_;
  std::map<std::string, std::size_t> held_;
};

std::string suffix(const Message& m, const RenderOptions& options) {
  std::string out;
  if (m.warning_name_shown) {
    const std::string option = m.raised ? "-Werror=" + m.name : "-W" + m.name;
    out += " [" + painted(option, color_of(m.severity), options.color) + "]";
  } else if (options.verbose && !m.name.empty()) {
    out += m.position ? " [status " + m.name + ", position " + std::to_string(*m.position) + "]"
                      : " [" + m.name + "]";
  }
  return out;
}

void append_text(std::string& out, const Message& m, const Plan& plan, const RenderOptions& options) {
  out += plan.file(m.source);
  const bool placed = plan.placed(m);
  if (placed) {
    const TextPlace p = plan.place(m);
    out.append(":").append(std::to_string(p.line)).append(":").append(std::to_string(p.column));
  }
  // Appended piece by piece: a report can hold thousands of messages.
  out.append(": ").append(severity_label(m.severity, options.color)).append(" ").append(cut_text(m.text));
  out.append(suffix(m, options)).append("\n");
  if (placed) {
    const Excerpt e = plan.excerpt(m);
    out.append("  ").append(e.line).append("\n  ");
    if (options.color) {
      // The caret line is blanks up to the caret, which is its last character.
      out.append(e.caret, 0, e.caret.size() - 1).append(painted("^", kCaretColor, true));
    } else {
      out.append(e.caret);
    }
    out.append("\n");
  }
}

std::string held_back_text(std::size_t count) {
  return std::to_string(count) + " more like this not shown (--max-diagnostics 0 shows all)";
}

void append_json(std::string& out, const Message& m, const Plan& plan) {
  const TextPlace p = plan.placed(m) ? plan.place(m) : TextPlace{0, 0};
  JsonObject o;
  o.raw("file", json_display_string(plan.file(m.source)));
  o.number("line", static_cast<std::int64_t>(p.line));
  o.number("column", static_cast<std::int64_t>(p.column));
  o.text("severity", severity_name(m.severity)).text("code", m.name);
  o.raw("message", json_display_string(cut_text(m.text)));
  if (m.position) o.number("position", *m.position);
  out += o.str() + "\n";
}

}  // namespace

bool SourceTexts::has(SourceId id) const {
  return (id == SourceId::Line && line.has_value()) || (id == SourceId::Train && train.has_value());
}

std::string_view SourceTexts::text(SourceId id) const {
  if (id == SourceId::Line && line) return *line;
  if (id == SourceId::Train && train) return *train;
  return {};
}

std::string SourceTexts::file(SourceId id) const {
  if (id == SourceId::Line) return line_file;
  if (id == SourceId::Train) return train_file;
  return "scenario_tool";
}

Message run_error(std::string_view text, std::string code) {
  Message m;
  m.severity = Severity::Error;
  m.name = std::move(code);
  m.text = shown_utf8(text);
  return m;
}

Message run_error(const Failure& failure) {
  return run_error(failure.what(), failure.detail().kind == FailureKind::Io ? kIoCode : kFailureCode);
}

std::string severity_label(Severity s, bool color) {
  return painted(severity_name(s) + ":", color_of(s), color);
}

std::string severity_name(Severity s) {
  switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
  }
  return "error";
}

TextPlace text_place(std::string_view text, std::size_t offset) { return LineIndex(text).place(offset); }

Excerpt excerpt_at(std::string_view text, std::size_t offset) {
  offset = clamp_to_content(text, offset);
  std::size_t end = offset;
  while (end < text.size() && !line_end(text[end])) ++end;
  return excerpt_in_line(text, line_start_of(text, offset), end, offset);
}

std::string render_text(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                        const HeldCounts& held) {
  const Plan plan(ms, texts, options, held);
  std::string out;
  for (const Message* m : plan.shown()) {
    append_text(out, *m, plan, options);
    for (const Message& note : m->notes) append_text(out, note, plan, options);
  }
  for (const Message* m : plan.held_back()) {
    out += plan.file(m->source) + ": note: " + held_back_text(plan.held_count(m->name)) + " [" +
           m->name + "]\n";
  }
  return out;
}

std::string render_json(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                        const HeldCounts& held) {
  const Plan plan(ms, texts, options, held);
  std::string out;
  for (const Message* m : plan.shown()) {
    append_json(out, *m, plan);
    for (const Message& note : m->notes) append_json(out, note, plan);
  }
  for (const Message* m : plan.held_back()) {
    Message more;
    more.severity = Severity::Note;
    more.name = m->name;
    more.source = m->source;
    more.text = held_back_text(plan.held_count(m->name));
    append_json(out, more, plan);
  }
  return out;
}

namespace {

// A file path as a relative or absolute URI reference: unreserved bytes and
// '/' kept, everything else percent-encoded.
std::string file_uri(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = path.size() > 0 && path[0] == '/' ? "file://" : "";
  for (char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
        ch == '-' || ch == '.' || ch == '_' || ch == '~' || ch == '/') {
      out.push_back(ch);
    } else {
      out.append("%").append(1, kHex[c >> 4]).append(1, kHex[c & 0xF]);
    }
  }
  return out;
}

std::string sarif_level(Severity s) { return s == Severity::Error ? "error" : s == Severity::Warning ? "warning" : "note"; }

std::string sarif_rules() {
  std::vector<std::string> rules;
  for (const WarningName& w : warning_names()) {
    JsonObject text;
    text.text("text", w.when);
    JsonObject rule;
    rule.text("id", w.name).raw("shortDescription", text.str()).raw("help", text.str());
    rules.push_back(rule.str());
  }
  return json_array(rules);
}

std::string sarif_result(const Message& m, const Plan& plan, const SourceTexts& texts) {
  JsonObject message;
  message.raw("text", json_display_string(cut_text(m.text)));
  JsonObject r;
  if (!m.name.empty()) r.text("ruleId", m.name);
  r.text("level", sarif_level(m.severity)).raw("message", message.str());
  if (m.source != SourceId::None) {
    JsonObject artifact;
    artifact.raw("uri", json_display_string(file_uri(shown_utf8(texts.file(m.source)))));
    JsonObject physical;
    physical.raw("artifactLocation", artifact.str());
    if (plan.placed(m)) {
      const TextPlace p = plan.place(m);
      JsonObject region;
      region.number("startLine", static_cast<std::int64_t>(p.line))
          .number("startColumn", static_cast<std::int64_t>(p.column));
      physical.raw("region", region.str());
    }
    JsonObject location;
    location.raw("physicalLocation", physical.str());
    r.raw("locations", json_array({location.str()}));
  }
  return r.str();
}

}  // namespace

std::string render_sarif(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                         const HeldCounts& held) {
  const Plan plan(ms, texts, options, held);
  std::vector<std::string> results;
  for (const Message* m : plan.shown()) {
    results.push_back(sarif_result(*m, plan, texts));
    for (const Message& note : m->notes) results.push_back(sarif_result(note, plan, texts));
  }
  for (const Message* m : plan.held_back()) {
    Message more;
    more.severity = Severity::Note;
    more.name = m->name;
    more.source = m->source;
    more.text = held_back_text(plan.held_count(m->name));
    results.push_back(sarif_result(more, plan, texts));
  }
  JsonObject driver;
  driver.text("name", "scenario_tool").text("version", kToolVersion).raw("rules", sarif_rules());
  JsonObject tool;
  tool.raw("driver", driver.str());
  JsonObject run;
  run.raw("tool", tool.str()).raw("results", json_array(results));
  JsonObject log;
  log.text("$schema", "https://json.schemastore.org/sarif-2.1.0.json")
      .text("version", kSarifVersion)
      .raw("runs", json_array({run.str()}));
  return log.str() + "\n";
}

std::size_t bound_of(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                     const HeldCounts& held) {
  const Plan plan(ms, texts, options, held);
  const std::size_t file = 4 * std::max({texts.line_file.size(), texts.train_file.size(), std::size_t{16}});
  const std::size_t per_message =
      kMessageOverhead + kMaxTextBytes + 2 * file + (options.color ? kColorOverhead : 0);
  std::size_t count = 0;
  for (const Message* m : plan.shown()) count += 1 + m->notes.size();
  std::size_t notes = 0;
  for (const Message* m : plan.held_back()) notes += kMessageOverhead + 2 * file + m->name.size();
  return count * per_message + notes;
}

void sort_messages(std::vector<Message>& ms) {
  std::stable_sort(ms.begin(), ms.end(), [](const Message& a, const Message& b) {
    if (source_rank(a.source) != source_rank(b.source)) return source_rank(a.source) < source_rank(b.source);
    return a.at.value_or(0) < b.at.value_or(0);
  });
}

}  // namespace scenario::tool
