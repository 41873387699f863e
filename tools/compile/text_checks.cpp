// Finding NUL bytes and UTF-8 sequences in the 8-bit sources.
#include "compile/text_checks.h"

#include "common/shown_text.h"

namespace scenario::tool {
namespace {

constexpr std::size_t kQuotedField = 40;  // bytes of a field quoted in the utf8-text warning

bool field_end(char c) { return c == ',' || c == '\r' || c == '\n'; }
bool blank(char c) { return c == ' ' || c == '\t'; }

Message warning(SourceId source, std::size_t at, const char* name, std::string text) {
  Message m;
  m.severity = Severity::Warning;
  m.name = name;
  m.source = source;
  m.at = at;
  m.text = std::move(text);
  m.warning_name_shown = true;
  return m;
}

// The field that holds the byte at `at`, without its surrounding blanks.
struct FieldSpan {
  std::size_t start = 0;
  std::size_t end = 0;
};

FieldSpan field_around(std::string_view text, std::size_t at) {
  std::size_t start = at, end = at;
  while (start > 0 && !field_end(text[start - 1])) --start;
  while (end < text.size() && !field_end(text[end])) ++end;
  while (start < at && blank(text[start])) ++start;
  while (end > at + 1 && blank(text[end - 1])) --end;
  return {start, end};
}

void utf8_fields(SourceId source, std::string_view text, MessageSink& out) {
  std::size_t from = 0;
  while (auto found = first_utf8_sequence(text.substr(from))) {
    const std::size_t at = from + *found;
    const FieldSpan f = field_around(text, at);
    const std::string_view field = text.substr(f.start, std::min(f.end - f.start, kQuotedField));
    out.push_back(warning(source, at, kUtf8Text,
                          std::string("'").append(shown_utf8(field)) + "' is UTF-8 and will show as " +
                              in_quotes(field, kQuotedField) +
                              "; save the file as Latin-1 (ISO 8859-1), one byte per character"));
    from = f.end;
  }
}

}  // namespace

bool is_binary(std::string_view text) { return text.find('\0') != std::string_view::npos; }

void text_warnings(const SourceTexts& texts, MessageSink& out) {
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    if (!texts.has(source)) continue;
    const std::string_view text = texts.text(source);
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
      const FieldSpan f = field_around(text, nul);
      out.push_back(warning(source, nul, kNotText,
                            "this file is not a text file: the field " +
                                in_quotes(text.substr(f.start, f.end - f.start), kQuotedField) +
                                " holds a NUL byte; the compiler reads the file all the same"));
    } else {
      utf8_fields(source, text, out);
    }
  }
}

}  // namespace scenario::tool
