// A strict JSON reader for the fuzz targets: does a text hold exactly one well-formed JSON value?
#pragma once

#include <string_view>

namespace scenario::fuzz {

// True when `text` is one JSON value (RFC 8259) with optional white space
// around it, every string valid UTF-8 without raw control characters, and
// nesting at most kJsonDepthLimit deep.
bool is_json(std::string_view text);

// True when every line of `text` (each ended by "\n") is one JSON value.
bool is_json_lines(std::string_view text);

inline constexpr int kJsonDepthLimit = 64;

}  // namespace scenario::fuzz
