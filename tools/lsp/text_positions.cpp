// Conversion between the Latin-1 bytes the compiler reads and the editor's UTF-8 text and columns.
#include "lsp/text_positions.h"

#include <algorithm>
#include <cstdint>

namespace scenario::tool::lsp {
namespace {

constexpr char32_t kLastLatin1 = 0xFF;
constexpr char32_t kLastBmp = 0xFFFF;
constexpr char kStandIn = '?';

// One character of UTF-8 text: its code point and its length in bytes. A
// byte that starts no well-formed sequence is read as one character of its
// own (and is not Latin-1 text).
struct Decoded {
  char32_t code = 0;
  std::size_t length = 1;
  bool valid = true;
};

Decoded decode_at(std::string_view s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) return {b0, 1, true};
  std::size_t n = 0;
  char32_t code = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) { n = 2; code = b0 & 0x1F; min = 0x80; }
  else if ((b0 & 0xF0) == 0xE0) { n = 3; code = b0 & 0x0F; min = 0x800; }
  else if ((b0 & 0xF8) == 0xF0) { n = 4; code = b0 & 0x07; min = 0x10000; }
  else return {b0, 1, false};
  if (i + n > s.size()) return {b0, 1, false};
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return {b0, 1, false};
    code = (code << 6) | (b & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {b0, 1, false};
  return {code, n, true};
}

std::size_t units_of(const Decoded& d, PositionEncoding e) {
  switch (e) {
    case PositionEncoding::Utf8: return d.length;
    case PositionEncoding::Utf16: return d.valid && d.code > kLastBmp ? 2 : 1;
    case PositionEncoding::Utf32: return 1;
  }
  return 1;
}

}  // namespace

std::string latin1_to_utf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() + latin1.size() / 8);
  for (char c : latin1) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

EditorText::EditorText(std::string utf8) : utf8_(std::move(utf8)) {
  latin1_.reserve(utf8_.size());
  line_offsets_.push_back(0);
  line_bytes_.push_back(0);
  for (std::size_t i = 0; i < utf8_.size();) {
    const Decoded d = decode_at(utf8_, i);
    if (d.valid && d.code <= kLastLatin1) {
      latin1_.push_back(static_cast<char>(d.code));
    } else {
      unmappable_.push_back(latin1_.size());
      latin1_.push_back(kStandIn);
    }
    i += d.length;
    const bool cr_lf = d.code == '\r' && i < utf8_.size() && utf8_[i] == '\n';
    if ((d.code == '\n' || d.code == '\r') && !cr_lf) {
      line_offsets_.push_back(latin1_.size());
      line_bytes_.push_back(i);
    }
  }
}

Position EditorText::position_of(std::size_t offset, PositionEncoding encoding) const {
  offset = std::min(offset, latin1_.size());
  const auto it = std::upper_bound(line_offsets_.begin(), line_offsets_.end(), offset);
  const std::size_t line = static_cast<std::size_t>(it - line_offsets_.begin()) - 1;
  std::size_t byte = line_bytes_[line];
  std::size_t units = 0;
  for (std::size_t k = line_offsets_[line]; k < offset; ++k) {
    const Decoded d = decode_at(utf8_, byte);
    units += units_of(d, encoding);
    byte += d.length;
  }
  return {line, units};
}

std::size_t EditorText::offset_of(Position p, PositionEncoding encoding) const {
  if (p.line >= line_offsets_.size()) return latin1_.size();
  const std::size_t line_end =
      p.line + 1 < line_offsets_.size() ? line_offsets_[p.line + 1] : latin1_.size();
  std::size_t offset = line_offsets_[p.line];
  std::size_t byte = line_bytes_[p.line];
  std::size_t units = 0;
  while (offset < line_end) {
    const Decoded d = decode_at(utf8_, byte);
    // The line break itself is not a column of the line.
    if (d.code == '\n' || d.code == '\r') break;
    const std::size_t next = units + units_of(d, encoding);
    if (next > p.character) break;
    units = next;
    byte += d.length;
    ++offset;
  }
  return offset;
}

}  // namespace scenario::tool::lsp
