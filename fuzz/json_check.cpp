// A recursive-descent JSON reader that only says whether a text is well formed.
#include "json_check.h"

#include <cstddef>
#include <cstdint>

#include "text_check.h"

namespace scenario::fuzz {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool whole_value() {
    blanks();
    if (!value(0)) return false;
    blanks();
    return pos_ == text_.size();
  }

 private:
  bool at_end() const { return pos_ >= text_.size(); }
  char peek() const { return at_end() ? '\0' : text_[pos_]; }
  bool take(char c) {
    if (peek() != c || at_end()) return false;
    ++pos_;
    return true;
  }
  bool word(std::string_view w) {
    if (text_.substr(pos_, w.size()) != w) return false;
    pos_ += w.size();
    return true;
  }
  void blanks() {
    while (!at_end() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++pos_;
  }

  bool value(int depth) {
    if (depth > kJsonDepthLimit) return false;
    switch (peek()) {
      case '{': return object(depth + 1);
      case '[': return array(depth + 1);
      case '"': return string();
      case 't': return word("true");
      case 'f': return word("false");
      case 'n': return word("null");
      default: return number();
    }
  }

  bool object(int depth) {
    take('{');
    blanks();
    if (take('}')) return true;
    for (;;) {
      blanks();
      if (!string()) return false;
      blanks();
      if (!take(':')) return false;
      blanks();
      if (!value(depth)) return false;
      blanks();
      if (take('}')) return true;
      if (!take(',')) return false;
    }
  }

  bool array(int depth) {
    take('[');
    blanks();
    if (take(']')) return true;
    for (;;) {
      blanks();
      if (!value(depth)) return false;
      blanks();
      if (take(']')) return true;
      if (!take(',')) return false;
    }
  }

  bool digits() {
    const std::size_t start = pos_;
    while (!at_end() && peek() >= '0' && peek() <= '9') ++pos_;
    return pos_ > start;
  }

  bool number() {
    take('-');
    if (take('0')) {
      // no leading zeros
    } else if (!digits()) {
      return false;
    }
    if (take('.') && !digits()) return false;
    if (peek() == 'e' || peek() == 'E') {
      ++pos_;
      if (!take('+')) take('-');
      if (!digits()) return false;
    }
    return true;
  }

  static bool hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

  // One UTF-8 sequence starting at pos_ (not ASCII), shortest form, no surrogates.
  bool utf8() {
    std::uint32_t cp = 0;
    const std::size_t length = utf8_sequence(text_, pos_, cp);
    pos_ += length;
    return length != 0;
  }

  bool string() {
    if (!take('"')) return false;
    for (;;) {
      if (at_end()) return false;
      const auto c = static_cast<std::uint8_t>(text_[pos_]);
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return false;
      if (c == '\\') {
        ++pos_;
        const char e = peek();
        if (at_end()) return false;
        ++pos_;
        if (e == 'u') {
          for (int i = 0; i < 4; ++i) {
            if (at_end() || !hex(peek())) return false;
            ++pos_;
          }
        } else if (e != '"' && e != '\\' && e != '/' && e != 'b' && e != 'f' && e != 'n' && e != 'r' && e != 't') {
          return false;
        }
      } else if (c < 0x80) {
        ++pos_;
      } else if (!utf8()) {
        return false;
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool is_json(std::string_view text) { return Reader(text).whole_value(); }

bool is_json_lines(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return false;  // every line ends with "\n"
    if (!is_json(text.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace scenario::fuzz
