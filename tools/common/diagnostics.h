// Compiler-style diagnostics: where, how severe, what; rendered as text with a caret or as JSON lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/compile_state.h"

namespace scenario::tool {

enum class Severity { Error, Warning, Note };

struct Diagnostic {
  SourceId source = SourceId::None;
  bool located = true;           // false: about the file as a whole (it does not exist)
  std::size_t record_offset = 0;  // FILE:LINE is the line of this byte
  std::size_t field_offset = 0;   // the caret goes under this byte
  Severity severity = Severity::Error;
  std::string code;  // a status code, "1250"/"1251", or a warning's name
  std::string message;
};

// The two source texts as the compile command read them.
struct SourceTexts {
  std::string line_file;  // names as shown in messages
  std::string train_file;
  std::optional<std::string> line;  // absent when the file does not exist
  std::optional<std::string> train;

  bool has(SourceId id) const;
  std::string_view text(SourceId id) const;
  std::string file(SourceId id) const;
};

std::string severity_name(Severity s);

// A byte offset moved back over the text's final line ends, so that "the end
// of the file" points after the last character of its last line.
std::size_t clamp_to_content(std::string_view text, std::size_t offset);

// The line holding `offset` and a caret line under it (tabs kept for alignment).
struct Excerpt {
  std::string line;
  std::string caret;
};
Excerpt excerpt_at(std::string_view text, std::size_t offset);

// "FILE:LINE: error: MESSAGE" and, for a located diagnostic, the source line
// and the caret; every line ends with "\n".
std::string render_text(const Diagnostic& d, const SourceTexts& texts);

// One JSON object on one line: file, line, column, severity, code, message.
std::string render_json(const Diagnostic& d, const SourceTexts& texts);

// Source order (line source before train source, then by position), errors
// staying ahead of the notes that follow them.
void sort_diagnostics(std::vector<Diagnostic>& ds);

}  // namespace scenario::tool
