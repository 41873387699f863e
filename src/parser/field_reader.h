// The sequential field reader shared by the line and train sources.
//
// Design: the whole source is held in memory and read as one stream of
// fields, never as lines. A field ends at a comma or a line end (CR LF, a
// lone LF or a lone CR). Leading blanks are skipped. A text field runs to the
// next comma or line end and keeps its trailing blanks. A numeric field also
// ends at a blank; the blanks after it, and then one comma or one line end,
// are consumed with it, so "0    ,0" is two numbers and "8   6" too. An empty
// numeric field reads 0. Numbers are an optional sign and decimal digits;
// anything else, or a value that does not fit the requested width, is a
// read failure (Failure). A read that starts at the end of the text fails.
// at_end() tells whether the field just read was the last one (no byte left).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/failure.h"

namespace scenario {

class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  bool at_end() const { return pos_ >= text_.size(); }

  std::string read_text();
  std::int32_t read_i32();
  std::int16_t read_i16();
  std::uint8_t read_u8();

  // Byte offset where the last field read began (after its leading blanks).
  std::size_t field_offset() const { return field_offset_; }
  // One past the last byte of the last field read: a text keeps its trailing
  // blanks, a number ends at its last digit. The separator is not included.
  std::size_t field_end() const { return field_end_; }
  std::size_t position() const { return pos_; }
  std::string_view text() const { return text_; }

 private:
  std::int64_t read_number(std::int64_t lo, std::int64_t hi, const char* width);
  void skip_blanks();
  bool at_line_end() const;
  void consume_line_end();
  [[noreturn]] void fail(const std::string& what, FailureDetail detail) const;

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t field_offset_ = 0;
  std::size_t field_end_ = 0;
};

// 1-based line number and column of a byte offset, for messages.
struct TextPlace {
  std::size_t line = 1;
  std::size_t column = 1;
};
TextPlace place_of(std::string_view text, std::size_t offset);

}  // namespace scenario
