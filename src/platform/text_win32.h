// Text conversions between the program's narrow strings and Windows' UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace scenario::platform {

// UTF-16 from the program's text: UTF-8 when the bytes are valid UTF-8,
// otherwise the system's ANSI code page (for messages that came from the C
// runtime in the local code page).
std::wstring widen(std::string_view text);

// UTF-8 from UTF-16; unpaired surrogates become U+FFFD.
std::string narrow(std::wstring_view text);

}  // namespace scenario::platform
