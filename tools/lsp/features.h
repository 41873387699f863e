// The editor features over a compiled pair: hover, completion, outline, go to, references, quick fixes and formatting.
#pragma once

#include <optional>
#include <string>

#include "lsp/workspace.h"

namespace scenario::tool::lsp {

// What the server answers where the cursor stands; null when it has nothing.
Json hover_at(const Pair& pair, SourceId source, std::size_t offset, PositionEncoding encoding);
Json completion_at(const Pair& pair, SourceId source, std::size_t offset);
Json document_symbols(const Pair& pair, SourceId source, PositionEncoding encoding);
Json definition_at(const Pair& pair, SourceId source, std::size_t offset, PositionEncoding encoding);
// Every place in the two sources that names the station (or sign group)
// under the cursor: station records and sign texts with the same name.
Json references_at(const Pair& pair, SourceId source, std::size_t offset, bool include_declaration,
                   PositionEncoding encoding);

// Quick fixes for the diagnostics the editor sends back with the request.
Json code_actions(const Json& params);
// Fixes that move a record an ordering warning names to where its kind's
// positions ascend, each checked by compiling the moved text.
Json move_actions(const Pair& pair, SourceId source, const Json& params, PositionEncoding encoding);

// The edits that align the fields of a source in columns, or a reason to
// refuse: the aligned text would compile to other bytes.
struct Formatting {
  Json edits = Json::array();
  std::string refused;
};
Formatting format_source(const Pair& pair, SourceId source, PositionEncoding encoding);

}  // namespace scenario::tool::lsp
