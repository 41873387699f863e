// Lint warnings: rules an author almost surely meant to keep, checked on the records the compiler read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/diagnostics.h"
#include "compile/message_sink.h"
#include "compiler/compile.h"

namespace scenario::tool {

// One record as the compiler read it: its kind, where its keyword stands,
// and each field after the keyword with its offset and value.
struct LintField {
  std::size_t offset = 0;
  std::optional<std::int64_t> number;
  std::string text;
};
struct LintRecord {
  SourceId source = SourceId::None;
  RecordKind kind = RecordKind::None;
  std::size_t record_offset = 0;
  std::vector<LintField> fields;
};

// The records of the compiler's account, in the order they were read, with
// their texts taken from the sources.
std::vector<LintRecord> records_read(const CompileResult& state, const SourceTexts& texts);

// The lint warnings of a compilation: each names the record's field at fault
// and says what the compiled cells (read from `state`) hold because of it.
// Nothing here changes what is compiled.
void lint_warnings(const std::vector<LintRecord>& records, const CompileResult& state, MessageSink& out);

}  // namespace scenario::tool
