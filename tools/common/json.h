// Building JSON text: escaped strings, numbers, objects and arrays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

// A JSON string literal, quotes included; bytes outside ASCII are written as
// \u00XX (the files' texts are 8-bit code page, one byte per character).
std::string json_string(std::string_view text);

// Shortest text that reads back as the same double; non-finite values as null.
std::string json_number(double v);

// One JSON object, its members in the order they are added. Keys are the
// program's own names (letters, digits and '_'), written without escaping.
class JsonObject {
 public:
  JsonObject& raw(std::string_view key, std::string_view json);
  JsonObject& text(std::string_view key, std::string_view value) { return raw(key, json_string(value)); }
  JsonObject& number(std::string_view key, std::int64_t value) { return raw(key, std::to_string(value)); }
  JsonObject& real(std::string_view key, double value) { return raw(key, json_number(value)); }
  JsonObject& boolean(std::string_view key, bool value) { return raw(key, value ? "true" : "false"); }
  std::string str() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
};

std::string json_array(const std::vector<std::string>& items);

}  // namespace scenario::tool
