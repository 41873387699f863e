// Re-reading one record of a source text for messages, split as the compiler splits it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

struct RawField {
  std::size_t offset = 0;  // where the field begins, after its leading blanks
  std::string text;
};

// The keyword field that begins at `offset`, then up to `numbers` numeric
// fields after it (fewer when the text ends). A numeric field ends at a
// comma, a blank or a line end; the blanks after it and then one comma or one
// line end go with it. Never fails.
std::vector<RawField> record_fields(std::string_view text, std::size_t offset, std::size_t numbers);

// The value of a numeric field ("" reads 0); nothing when it is not a number.
std::optional<std::int64_t> number_of(const RawField& field);

// The value of field `index` of a scanned record, when it is there and a number.
std::optional<std::int64_t> number_at(const std::vector<RawField>& fields, std::size_t index);

}  // namespace scenario::tool
