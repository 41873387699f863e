// Latin-1 decoding and the escapes that keep source bytes from reaching a terminal raw.
#include "common/shown_text.h"

#include <cstdio>

namespace scenario::tool {
namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…"

void append_latin1(std::string& out, unsigned char c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void append_shown(std::string& out, unsigned char c) {
  if (printable_latin1(c)) {
    append_latin1(out, c);
  } else {
    out += byte_escape(c);
  }
}

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence of two to four bytes starting
// at `at`, or 0 (overlong forms, surrogates and values past U+10FFFF are not
// well-formed).
std::size_t utf8_sequence_length(std::string_view s, std::size_t at) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
  const unsigned char lead = b(0);
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (at + n > s.size() || b(1) < lo || b(1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i) {
    if (!continuation(b(i))) return 0;
  }
  return n;
}

// The code point of a well-formed two-byte sequence (the only ones that can
// be C1 controls).
unsigned two_byte_value(std::string_view s, std::size_t at) {
  return ((static_cast<unsigned char>(s[at]) & 0x1Fu) << 6) | (static_cast<unsigned char>(s[at + 1]) & 0x3Fu);
}

}  // namespace

bool printable_latin1(unsigned char c) { return (c >= 0x20 && c <= 0x7E) || c >= 0xA0; }

std::string byte_escape(unsigned char c) {
  switch (c) {
    case '\0': return "\\0";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    default: break;
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02x", c);
  return buf;
}

std::size_t shown_width(unsigned char c) { return printable_latin1(c) ? 1 : byte_escape(c).size(); }

std::string shown(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) append_shown(out, static_cast<unsigned char>(ch));
  return out;
}

std::string in_quotes(std::string_view bytes, std::size_t max_chars) {
  const bool cut = bytes.size() > max_chars;
  std::string out = "'";
  out += shown(bytes.substr(0, max_chars));
  if (cut) out += kEllipsis;
  return out + "'";
}

std::string shown_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = utf8_sequence_length(bytes, i);
    const bool c1_control = n == 2 && two_byte_value(bytes, i) < 0xA0;
    if (n == 0) {
      append_shown(out, static_cast<unsigned char>(bytes[i]));
      ++i;
    } else if (c1_control) {
      out += byte_escape(static_cast<unsigned char>(bytes[i])) + byte_escape(static_cast<unsigned char>(bytes[i + 1]));
      i += n;
    } else {
      out.append(bytes.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::optional<std::size_t> first_utf8_sequence(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) >= 0xC2 && utf8_sequence_length(bytes, i) > 0) return i;
  }
  return std::nullopt;
}

std::string json_display_string(std::string_view utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      out.push_back('\\');
      out.push_back(ch);
    } else if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out.push_back(ch);
    }
  }
  return out + "\"";
}

// Appended piece by piece: GCC 12 warns, wrongly, of overlapping copies
// (-Wrestrict) when a literal is put in front of a temporary string.
std::string quoted_utf8(std::string_view bytes) {
  std::string out = "'";
  out += shown_utf8(bytes);
  out += '\'';
  return out;
}

std::string quoted_path(const std::filesystem::path& path) { return quoted_utf8(path.string()); }

std::string xml_text(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: append_shown(out, static_cast<unsigned char>(ch));
    }
  }
  return out;
}

}  // namespace scenario::tool
