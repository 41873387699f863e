// Checks of the source texts as text: a file that is not text at all, and names typed in UTF-8.
#pragma once

#include <vector>

#include "common/diagnostics.h"
#include "compile/message_sink.h"

namespace scenario::tool {

inline constexpr const char* kNotText = "not-text";
inline constexpr const char* kUtf8Text = "utf8-text";

// Whether a source holds a NUL byte, which no text file does.
bool is_binary(std::string_view text);

// "not-text" once for a source that holds a NUL byte, at the first one; else
// "utf8-text" for every field that holds a UTF-8 sequence, saying what the
// simulator, which reads one byte per character, will show instead.
void text_warnings(const SourceTexts& texts, MessageSink& out);

}  // namespace scenario::tool
