// Field-by-field reading of a source text held in memory.
#include "parser/field_reader.h"

#include "platform/failure.h"

namespace scenario {
namespace {
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The field's text between single quotes, built by appending: the same
// expression written as a chain of operator+ on a literal makes g++ 12 warn
// (-Wrestrict) about the library's own inlined copy.
std::string quoted(std::string_view text) {
  std::string q;
  q.reserve(text.size() + 2);
  q.push_back('\'');
  q.append(text);
  q.push_back('\'');
  return q;
}
// A numeric field that is not a number of its width.
FailureDetail number_detail(std::string_view digits, const char* width, std::int64_t lo, std::int64_t hi) {
  return FailureDetail{
      .kind = FailureKind::NotANumber, .expected = width, .found = std::string(digits), .low = lo, .high = hi};
}
}  // namespace

void FieldReader::skip_blanks() {
  while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

bool FieldReader::at_line_end() const {
  return pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n');
}

void FieldReader::consume_line_end() {
  if (text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  } else {
    ++pos_;
  }
}

void FieldReader::fail(const std::string& what, FailureDetail detail) const {
  TextPlace p = place_of(text_, field_offset_);
  throw Failure("line " + std::to_string(p.line) + ": " + what, std::move(detail));
}

std::string FieldReader::read_text() {
  if (at_end()) {
    field_offset_ = field_end_ = pos_;
    fail("a field was expected but the text has ended",
         FailureDetail{.kind = FailureKind::TextEnded, .expected = "a field"});
  }
  skip_blanks();
  field_offset_ = pos_;
  std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !at_line_end()) ++pos_;
  field_end_ = pos_;
  std::string field(text_.substr(start, pos_ - start));
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',') {
      ++pos_;
    } else {
      consume_line_end();
    }
  }
  return field;
}

std::int64_t FieldReader::read_number(std::int64_t lo, std::int64_t hi, const char* width) {
  if (at_end()) {
    field_offset_ = field_end_ = pos_;
    fail("a number was expected but the text has ended",
         FailureDetail{.kind = FailureKind::TextEnded, .expected = width, .low = lo, .high = hi});
  }
  skip_blanks();
  field_offset_ = pos_;
  std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !is_blank(text_[pos_]) && !at_line_end()) ++pos_;
  std::string_view digits = text_.substr(start, pos_ - start);
  field_end_ = pos_;
  skip_blanks();
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',') {
      ++pos_;
    } else if (at_line_end()) {
      consume_line_end();
    }
  }

  if (digits.empty()) return 0;
  bool negative = false;
  std::size_t i = 0;
  if (digits[0] == '+' || digits[0] == '-') {
    negative = digits[0] == '-';
    i = 1;
  }
  if (i == digits.size()) fail(quoted(digits) + " is not a number", number_detail(digits, width, lo, hi));
  std::int64_t value = 0;
  for (; i < digits.size(); ++i) {
    char c = digits[i];
    if (c < '0' || c > '9') fail(quoted(digits) + " is not a number", number_detail(digits, width, lo, hi));
    value = value * 10 + (c - '0');
    if (value > hi + 1) break;  // already too large for any width; stop before overflow
  }
  if (negative) value = -value;
  if (value < lo || value > hi) {
    FailureDetail detail = number_detail(digits, width, lo, hi);
    detail.kind = FailureKind::TooWide;
    detail.value = value;  // for a long run of digits, as far as it was read
    fail(quoted(digits) + " does not fit " + width, std::move(detail));
  }
  return value;
}

std::int32_t FieldReader::read_i32() {
  return static_cast<std::int32_t>(read_number(INT32_MIN, INT32_MAX, "a 32-bit number"));
}

std::int16_t FieldReader::read_i16() {
  return static_cast<std::int16_t>(read_number(INT16_MIN, INT16_MAX, "a 16-bit number"));
}

std::uint8_t FieldReader::read_u8() { return static_cast<std::uint8_t>(read_number(0, 255, "a byte (0 to 255)")); }

TextPlace place_of(std::string_view text, std::size_t offset) {
  TextPlace p;
  if (offset > text.size()) offset = text.size();
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        if (i + 1 == offset) break;  // the LF of a CR LF still belongs to the line it ends
        ++i;
      }
      ++p.line;
      line_start = i + 1;
    }
  }
  p.column = offset - line_start + 1;
  return p;
}

}  // namespace scenario
