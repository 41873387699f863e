// Comparing a generated text with its golden file under tests/golden/, byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::golden {

inline std::filesystem::path path_of(std::string_view name) {
  return std::filesystem::path(SCENARIO_SOURCE_DIR) / "tests" / "golden" / name;
}

// Splits after each LF, keeping the line ends, so that a line differing only
// in its CR LF still differs.
inline std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t size = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(0, size));
    text.remove_prefix(size);
  }
  return lines;
}

// The line in quotes with CR, LF, other control bytes and 8-bit bytes as
// escapes, so that the message shows every byte that differs.
inline std::string visible(std::string_view line) {
  std::string out = "\"";
  for (char ch : line) {
    const auto u = static_cast<unsigned char>(ch);
    if (ch == '\r') {
      out += "\\r";
    } else if (ch == '\n') {
      out += "\\n";
    } else if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (u < 0x20 || u >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", u);
      out += hex;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

// Succeeds when `actual` holds exactly the bytes of tests/golden/<name>;
// otherwise says which line differs first and shows both versions of it.
// Run with SCENARIO_UPDATE_GOLDEN=1 to write `actual` as the new golden file
// after a deliberate change of content.
inline testing::AssertionResult matches(std::string_view name, std::string_view actual) {
  const std::filesystem::path path = path_of(name);
  if (const char* update = std::getenv("SCENARIO_UPDATE_GOLDEN"); update != nullptr && std::string_view(update) == "1") {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(actual.data(), static_cast<std::streamsize>(actual.size()));
    return testing::AssertionSuccess() << "wrote " << path.string();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return testing::AssertionFailure() << "cannot read golden file " << path.string();
  const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (expected == actual) return testing::AssertionSuccess();

  const std::vector<std::string_view> want = lines_of(expected);
  const std::vector<std::string_view> got = lines_of(actual);
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  testing::AssertionResult failure = testing::AssertionFailure();
  failure << path.string() << " differs first at line " << i + 1 << " (" << want.size() << " lines golden, "
          << got.size() << " generated)\n  golden:    "
          << (i < want.size() ? visible(want[i]) : "(past the end)") << "\n  generated: "
          << (i < got.size() ? visible(got[i]) : "(past the end)");
  return failure;
}

}  // namespace scenario::golden
