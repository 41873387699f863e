// The record in progress: field-by-field reading, field notes, and the diagnostics that need the text.
#include "parser/record_reading.h"

#include "parser/record_kinds.h"

namespace scenario {
namespace {

bool e_fine_riga(std::string_view text, std::size_t p) {
  return p >= text.size() || text[p] == '\r' || text[p] == '\n';
}

bool e_spazio(std::string_view text, std::size_t p) {
  return p < text.size() && (text[p] == ' ' || text[p] == '\t');
}

// The field at fault for a runtime failure that did not happen in a read:
// the keyword for a full list (the record as a whole has no room), otherwise
// the record's first value, its position, once it has been read.
int campo_del_guasto(const RecordReading& r, const FailureDetail& f) {
  if (r.reading) return r.fields_read < 0 ? 0 : r.fields_read;
  if (f.kind == FailureKind::Full || r.fields_read < 1) return 0;
  return 1;
}

// The first field read from a later line than the keyword's, and how many
// fields the keyword's own line holds.
void completa(CompileState& s, std::string_view text, Diagnostic& d) {
  const RecordReading& r = s.Reading;
  const std::size_t line_end = text.find_first_of("\r\n", r.record_offset);
  for (int i = 1; i <= r.fields_read; ++i) {
    if (line_end != std::string_view::npos && r.field_offsets[static_cast<std::size_t>(i)] > line_end) {
      d.short_after = i;
      break;
    }
  }
  d.fields_on_line = campi_sulla_riga(text, r.record_offset, r.kind);
}

bool al_record_corrente(const CompileState& s, const Diagnostic& d) {
  const RecordReading& r = s.Reading;
  return r.kind != RecordKind::None && d.source == r.source && d.record == r.kind &&
         d.record_offset == r.record_offset;
}

}  // namespace

void inizia_sorgente(CompileState& s, SourceId source) {
  s.Reading = RecordReading{};
  s.Reading.source = source;
  s.Reading.fields_read = -1;
}

void inizia_chiave(CompileState& s) {
  s.Reading.kind = RecordKind::None;
  s.Reading.fields_read = -1;
}

void inizia_record(CompileState& s, RecordKind kind) {
  RecordReading& r = s.Reading;
  r.kind = kind;
  r.fields_read = 0;
  if (s.account) conta_record(*s.account, kind);
}

void annota_chiave(CompileState& s, const FieldReader& in, KeywordUse use, bool comment_read_as_keyword) {
  if (!s.account) return;
  const std::size_t start = in.field_offset(), end = in.field_end();
  if (use == KeywordUse::Unmatched) {
    const std::string_view field = in.text().substr(start, end - start);
    const std::size_t first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
      use = KeywordUse::Empty;
    } else if (field[first] != '-' && field.find('[') != std::string_view::npos &&
               field.find(']') != std::string_view::npos) {
      use = KeywordUse::Header;
    }
  }
  conta_chiave(*s.account, s.Reading.source, use, start, end, comment_read_as_keyword);
}

void fine_dei_record(CompileState& s) {
  inizia_chiave(s);
  scrivente(s, owner::kNone);
}

void dopo_record(CompileState& s, const FieldReader& in, std::size_t from) {
  if (s.account) conta_fine_record(*s.account);
  if (s.scenario.TrainCells.size() > 1) {
    const TrainCell& uno = s.scenario.TrainCells[1];
    if (uno.Word1 != 0 && !s.Origin.cell_one_word1) s.Origin.cell_one_word1 = luogo_corrente(s, 1);
    if (uno.Word2 != 0 && !s.Origin.cell_one_word2) s.Origin.cell_one_word2 = luogo_corrente(s, 1);
  }
  for (std::size_t i = from; i < s.report.Diagnostics.size(); ++i) {
    if (al_record_corrente(s, s.report.Diagnostics[i])) completa(s, in.text(), s.report.Diagnostics[i]);
  }
}

void registra_guasto(CompileState& s, const FieldReader& in, const Failure& f) {
  RecordReading& r = s.Reading;
  const int field = campo_del_guasto(r, f.detail());
  if (r.reading) {
    r.field_offsets[static_cast<std::size_t>(field)] = in.field_offset();
    if (field > r.fields_read) r.fields_read = field;
  }
  Diagnostic d;
  d.status = Status::RuntimeFailure;
  d.source = r.source;
  d.failure = f.detail();
  if (r.kind != RecordKind::None) {
    d.record = r.kind;
    d.record_offset = r.record_offset;
  }
  if (r.kind != RecordKind::None || r.reading) {
    d.field_index = field;
    d.field_offset = r.field_offsets[static_cast<std::size_t>(field)];
  }
  if (r.kind != RecordKind::None) completa(s, in.text(), d);
  s.report.Diagnostics.push_back(std::move(d));
  r.failure_recorded = true;
}

int campi_sulla_riga(std::string_view text, std::size_t keyword_offset, RecordKind kind) {
  const auto fields = record_layout(kind).fields;
  const auto numerico = [&](int n) {
    return n < static_cast<int>(fields.size()) && fields[static_cast<std::size_t>(n)].type != FieldType::Text;
  };
  std::size_t p = keyword_offset;
  while (!e_fine_riga(text, p) && text[p] != ',') ++p;
  int n = 0;
  // After a comma a field always follows on the same line, if only an empty one.
  while (p < text.size() && text[p] == ',') {
    ++p;
    while (e_spazio(text, p)) ++p;
    bool numero = numerico(n);
    ++n;
    for (;;) {
      if (!numero) {
        while (!e_fine_riga(text, p) && text[p] != ',') ++p;
        break;
      }
      // A number also ends at a blank; another field may follow the blanks.
      while (!e_fine_riga(text, p) && text[p] != ',' && !e_spazio(text, p)) ++p;
      while (e_spazio(text, p)) ++p;
      if (e_fine_riga(text, p) || text[p] == ',') break;
      numero = numerico(n);
      ++n;
    }
  }
  return n;
}

}  // namespace scenario
