// What the tool's text output may hold: display text that cannot drive a terminal.
#pragma once

#include <cstdint>
#include <string_view>

namespace scenario::fuzz {

// The length of the well-formed UTF-8 sequence of a non-ASCII lead byte at
// `i` (shortest form, no surrogate, at most U+10FFFF), with its code point;
// 0 when the bytes there are not one.
inline std::size_t utf8_sequence(std::string_view text, std::size_t i, std::uint32_t& cp) {
  const auto c = static_cast<std::uint8_t>(text[i]);
  std::size_t n = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 1;
    cp = c & 0x1Fu;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 2;
    cp = c & 0x0Fu;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 3;
    cp = c & 0x07u;
  } else {
    return 0;
  }
  if (i + n >= text.size()) return 0;
  for (std::size_t k = 1; k <= n; ++k) {
    const auto b = static_cast<std::uint8_t>(text[i + k]);
    if ((b & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (b & 0x3Fu);
  }
  const bool overlong = (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n + 1;
}

// True when `text` is valid UTF-8 whose only control character is the line
// feed: no escape, bell, NUL, carriage return or C1 control reaches the
// terminal, whatever bytes the input held.
inline bool is_display_text(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<std::uint8_t>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\n') || c == 0x7F) return false;
      ++i;
      continue;
    }
    std::uint32_t cp = 0;
    const std::size_t length = utf8_sequence(text, i, cp);
    if (length == 0 || (cp >= 0x80 && cp <= 0x9F)) return false;
    i += length;
  }
  return true;
}

}  // namespace scenario::fuzz
