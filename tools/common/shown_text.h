// Showing the sources' 8-bit text safely: Latin-1 decoding, escapes for unprintable bytes, cut windows.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario::tool {

// The sources and the binary files hold one byte per character, read as
// Latin-1 by the simulator. Everything the tool shows of them goes through
// these functions, so that a source can never send a raw control byte (an
// escape sequence) to the author's terminal, and "Forlì" written as one byte
// per letter shows as "Forlì".

// Printable in Latin-1: 0x20..0x7E and 0xA0..0xFF.
bool printable_latin1(unsigned char c);

// An unprintable byte as a visible escape: "\0", "\t", "\n", "\r", else "\xHH".
std::string byte_escape(unsigned char c);

// The columns one byte takes once shown (1, or the length of its escape).
std::size_t shown_width(unsigned char c);

// 8-bit text as UTF-8: printable bytes decoded as Latin-1, the others escaped.
// The result is never longer than four bytes per input byte.
std::string shown(std::string_view bytes);

// `shown` of at most `max_chars` characters in single quotes, with "…" where
// the text was cut, for quoting source text inside a message.
std::string in_quotes(std::string_view bytes, std::size_t max_chars = 40);

// Text that may already be UTF-8 (a file path, or a source written in UTF-8
// by mistake): valid UTF-8 sequences kept, every other byte decoded as
// Latin-1; unprintable characters escaped either way.
std::string shown_utf8(std::string_view bytes);

// The first well-formed multi-byte UTF-8 sequence in `bytes`, if any.
std::optional<std::size_t> first_utf8_sequence(std::string_view bytes);

// A JSON string literal of UTF-8 display text: quotes, backslashes and
// control characters escaped, everything else kept as UTF-8.
std::string json_display_string(std::string_view utf8);

// `bytes` in single quotes as shown_utf8 shows them, whole: a name in a message.
std::string quoted_utf8(std::string_view bytes);

// A path in single quotes as shown_utf8 shows it, for naming a file in a message.
std::string quoted_path(const std::filesystem::path& path);

// 8-bit text for XML character data or an attribute value: markup characters
// as entities, printable bytes decoded as Latin-1 (UTF-8 out), unprintable
// bytes escaped as visible text since XML 1.0 allows no control characters.
std::string xml_text(std::string_view bytes);

}  // namespace scenario::tool
