// The tool's messages and their renderings: FILE:LINE:COLUMN text with a quoted line and caret, JSON lines, SARIF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostic.h"
#include "platform/failure.h"

namespace scenario::tool {

enum class Severity { Error, Warning, Note };

// One message, ready to show. Its text is UTF-8 display text: any source
// bytes in it went through shown() or in_quotes(), so nothing in it is raw.
struct Message {
  Severity severity = Severity::Error;
  std::string name;                  // a status code ("9"), a stamp guard code ("1250") or a warning's name
  SourceId source = SourceId::None;  // None: about the run as a whole
  std::optional<std::size_t> at;     // the byte the caret points at; none: the file as a whole
  std::string text;
  std::optional<std::int32_t> position;  // the status position, for -v and JSON
  bool warning_name_shown = false;       // "[-Wname]" after the text (lint and source warnings)
  bool raised = false;                   // a warning that -W options made an error: "[-Werror=name]"
  std::vector<Message> notes;            // shown right after the message, counted with it
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

struct RenderOptions {
  bool verbose = false;             // status code and position after each error
  std::size_t max_per_name = 20;    // messages of one name shown before "N more like this"; 0: all
  bool color = false;               // terminal colours for severities, the caret and warning names
};

// What colour adds to one rendered text message at most: a start and a
// reset around the severity, the caret and the warning name.
inline constexpr std::size_t kColorOverhead = 3 * 16;

// The quoted source line is cut to this many characters around the caret.
inline constexpr std::size_t kQuoteWindow = 100;
// A message's text is cut to this many bytes (producers already cut quotes).
inline constexpr std::size_t kMaxShownTextBytes = 2000;
// What one rendered message may take beyond its file name and text: the
// place, the severity, -v's suffix, the quoted window of at most
// kQuoteWindow characters of up to four bytes each, and the caret line.
inline constexpr std::size_t kMessageOverhead = 128 + 2 * 4 * kQuoteWindow;

std::string severity_name(Severity s);

// Codes of the errors about the run as a whole rather than a source.
inline constexpr const char* kUsageCode = "usage";      // an unusable command line
inline constexpr const char* kIoCode = "io";            // a file that cannot be found, read or written
inline constexpr const char* kFailureCode = "failure";  // any other failure

// An error about the run as a whole (no source, no place), its text shown safely.
Message run_error(std::string_view text, std::string code);
// The same for a failure: code "io" for a file, else "failure".
Message run_error(const Failure& failure);

// "SEVERITY:" as the text rendering shows it, coloured when asked.
std::string severity_label(Severity s, bool color);

// 1-based line and column (in characters, one byte each) of a byte offset.
// LF, CR and CR LF each end a line; an offset past the text's last line end
// stands after the last character of its last line.
struct TextPlace {
  std::size_t line = 1;
  std::size_t column = 1;
};
TextPlace text_place(std::string_view text, std::size_t offset);

// The source line holding `offset`, cut to a window of kQuoteWindow characters
// around it with "…" where cut, every byte shown safely, and a caret line
// whose '^' stands under the byte at `offset`.
struct Excerpt {
  std::string line;
  std::string caret;
};
Excerpt excerpt_at(std::string_view text, std::size_t offset);

// Text: "FILE:LINE:COLUMN: error: TEXT", the quoted line and the caret, then
// the notes; every line ends with "\n". At most `max_per_name` messages of
// one name are shown, then one line "N more like this" per name that had
// more. The output is at most bound_of(ms, texts) bytes, whatever the texts
// hold: the number of messages shown times (kMessageOverhead + kMaxShownTextBytes
// + twice the longer file name), plus one line per name held back.
// Messages not kept at all (counted by name where they were made) add to the
// "N more like this" lines through `held`.
using HeldCounts = std::map<std::string, std::size_t>;
std::string render_text(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                        const HeldCounts& held = {});

// JSON lines: one object per message and note with file, line, column,
// severity, code and message (and the status position when there is one);
// the same limit per name and the same bound as the text.
std::string render_json(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                        const HeldCounts& held = {});

// One SARIF 2.1.0 log: a single run whose tool lists every warning name as a
// rule (its help text from the warning table), and one result per message
// and note shown (the same limit per name) with its level, text and, for a
// message about a source, the file's URI and the line and column.
std::string render_sarif(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                         const HeldCounts& held = {});

// The stated bound on either rendering's size.
std::size_t bound_of(const std::vector<Message>& ms, const SourceTexts& texts, const RenderOptions& options,
                     const HeldCounts& held = {});

// Source order (line source before train source, then by position); notes
// travel with their message.
void sort_messages(std::vector<Message>& ms);

}  // namespace scenario::tool
