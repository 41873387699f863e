// The record in progress: field-by-field reading, field notes, and the diagnostics that need the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/compile_state.h"
#include "parser/field_reader.h"
#include "platform/failure.h"

namespace scenario {

// A pass starts reading `source`: no record is in progress.
void inizia_sorgente(CompileState& s, SourceId source);

// The next field read is a keyword field (index 0): no record is in progress.
void inizia_chiave(CompileState& s);

// A record of `kind` starts at the keyword field just read; its fields are
// numbered from 1. With field notes on, the keyword's note gets the record.
void inizia_record(CompileState& s, RecordKind kind);

// The passes have left their records (the finishing steps follow).
void fine_dei_record(CompileState& s);

void nota_campo(CompileState& s, std::size_t offset, const std::string& text);
void nota_campo(CompileState& s, std::size_t offset, std::int64_t number);

// Reads one field through `read`, keeping the record in progress and the
// notes up to date. A failed read leaves `reading` set, so that the failure
// is put on this field.
template <typename Read>
auto leggi_campo(CompileState& s, const FieldReader& in, Read read) {
  RecordReading& r = s.Reading;
  if (r.fields_read < kMaxRecordFields) ++r.fields_read;
  const int i = r.fields_read;
  r.reading = true;
  auto value = read();
  r.reading = false;
  const std::size_t offset = in.field_offset();
  r.field_offsets[static_cast<std::size_t>(i)] = offset;
  if (i == 0) r.record_offset = offset;
  if (s.NoteFields && i > 0) nota_campo(s, offset, value);
  return value;
}

// After a record: notes the first record that made a word of cell 1 non-zero
// (the stamp guard names it), and completes the diagnostics recorded since
// `from` with what only the text can tell.
void dopo_record(CompileState& s, const FieldReader& in, std::size_t from);

// Records the runtime failure `f` at the record and field in progress; the
// pass ends with it.
void registra_guasto(CompileState& s, const FieldReader& in, const Failure& f);

// How many fields follow the keyword at `keyword_offset` on its own line,
// split as the reader splits them for the fields of `kind`.
int campi_sulla_riga(std::string_view text, std::size_t keyword_offset, RecordKind kind);

}  // namespace scenario
