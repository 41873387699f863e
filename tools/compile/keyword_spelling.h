// How authors write each record's keyword, for the hints of the tool's warnings.
#pragma once

#include <span>
#include <string_view>

#include "model/diagnostic.h"

namespace scenario::tool {

// The keywords of one record kind as the built-in sources write them. The
// record table says which words a keyword must hold; these are the whole
// keywords an author is told about in a "did you mean" hint. Each of them
// starts a record of its kind (a test holds them to the table).
std::span<const std::string_view> keyword_spellings(RecordKind kind);

}  // namespace scenario::tool
