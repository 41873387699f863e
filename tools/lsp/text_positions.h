// Editor positions in the sources: Latin-1 bytes on disk, UTF-8 text and UTF-8, UTF-16 or UTF-32 columns in the editor.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool::lsp {

// How the editor counts the characters of a line.
enum class PositionEncoding { Utf8, Utf16, Utf32 };

// A zero-based line and a column in the units of an encoding.
struct Position {
  std::size_t line = 0;
  std::size_t character = 0;
  bool operator==(const Position&) const = default;
};

// Every byte as the character of the same number, in UTF-8.
std::string latin1_to_utf8(std::string_view latin1);

// One editor text and the Latin-1 bytes the compiler reads from it. Each
// character of the editor text is one byte of the Latin-1 text: characters
// above U+00FF (and bytes that are not UTF-8) become '?', and their places
// are kept in `unmappable`. Lines end at LF, CR or CR LF, as the editor and
// the compiler both count them.
class EditorText {
 public:
  explicit EditorText(std::string utf8 = {});

  const std::string& utf8() const { return utf8_; }
  const std::string& latin1() const { return latin1_; }
  // Latin-1 offsets of the characters that Latin-1 cannot hold.
  const std::vector<std::size_t>& unmappable() const { return unmappable_; }

  // The editor position of a byte of the Latin-1 text; an offset past the end
  // stands at the end.
  Position position_of(std::size_t offset, PositionEncoding encoding) const;
  // The Latin-1 offset of an editor position; a column past its line's end
  // stands at the line's end, a line past the last at the text's end. A
  // column inside a character (half a UTF-16 pair, a byte inside a UTF-8
  // sequence) stands before that character.
  std::size_t offset_of(Position p, PositionEncoding encoding) const;

 private:
  std::string utf8_;
  std::string latin1_;
  std::vector<std::size_t> unmappable_;
  // Per line: its first Latin-1 offset and its first UTF-8 byte.
  std::vector<std::size_t> line_offsets_;
  std::vector<std::size_t> line_bytes_;
};

}  // namespace scenario::tool::lsp
