// The record in progress: field-by-field reading, field notes, and the diagnostics that need the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "model/compile_state.h"
#include "parser/field_reader.h"
#include "parser/pass_state.h"
#include "platform/failure.h"

namespace scenario {

// A pass starts reading `source`: no record is in progress.
void inizia_sorgente(PassState& ps, SourceId source);

// The next field read is a keyword field (index 0): no record is in progress.
void inizia_chiave(PassState& ps);

// A record of `kind` starts at the keyword field just read; its fields are
// numbered from 1. The account gets the record, which becomes the writer.
void inizia_record(PassState& ps, RecordKind kind);

// Notes in the account what the pass did with the keyword field just read
// from `in`: a field that starts no record is an empty field or a section
// header when it looks like one.
void annota_chiave(PassState& ps, const FieldReader& in, KeywordUse use, bool comment_read_as_keyword = false);

// The passes have left their records (the finishing steps follow).
void fine_dei_record(PassState& ps);

// Reads one field through `read`, keeping the record in progress and the
// notes up to date. A failed read leaves `reading` set, so that the failure
// is put on this field.
template <typename Read>
auto leggi_campo(PassState& ps, const FieldReader& in, Read read) {
  RecordAt& r = ps.reading.at;
  if (r.fields_read < kMaxRecordFields) ++r.fields_read;
  const int i = r.fields_read;
  ps.reading.reading = true;
  auto value = read();
  ps.reading.reading = false;
  const std::size_t offset = in.field_offset();
  r.field_offsets[static_cast<std::size_t>(i)] = offset;
  if (i == 0) r.record_offset = offset;
  if (ps.s.account && i > 0) {
    std::optional<std::int64_t> number;
    if constexpr (std::is_integral_v<decltype(value)>) number = value;
    conta_campo(*ps.s.account, offset, in.field_end(), number);
  }
  return value;
}

// After a record: notes the first record that made a word of cell 1 non-zero
// (the stamp guard names it), and completes the diagnostics recorded since
// `from` with what only the text can tell.
void dopo_record(PassState& ps, const FieldReader& in, std::size_t from);

// Records the runtime failure `f` at the record and field in progress; the
// pass ends with it.
void registra_guasto(PassState& ps, const FieldReader& in, const Failure& f);

// Sets the status word's code and records the broken rule at the record
// being read (see segnala on the report).
Diagnostic& segnala(PassState& ps, Status status, std::optional<int> field);

// The place of the record being read, with one of its fields.
RecordPlace luogo_corrente(const PassState& ps, int field);

// How many fields follow the keyword at `keyword_offset` on its own line,
// split as the reader splits them for the fields of `kind`.
int campi_sulla_riga(std::string_view text, std::size_t keyword_offset, RecordKind kind);

}  // namespace scenario
