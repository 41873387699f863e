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
  if (r.reading) return r.at.fields_read < 0 ? 0 : r.at.fields_read;
  if (f.kind == FailureKind::Full || r.at.fields_read < 1) return 0;
  return 1;
}

// The first field read from a later line than the keyword's, and how many
// fields the keyword's own line holds.
void completa(const RecordAt& r, std::string_view text, Diagnostic& d) {
  const std::size_t line_end = text.find_first_of("\r\n", r.record_offset);
  for (int i = 1; i <= r.fields_read; ++i) {
    if (line_end != std::string_view::npos && r.field_offsets[static_cast<std::size_t>(i)] > line_end) {
      d.short_after = i;
      break;
    }
  }
  d.fields_on_line = campi_sulla_riga(text, r.record_offset, r.kind);
}

bool al_record_corrente(const RecordAt& r, const Diagnostic& d) {
  return r.kind != RecordKind::None && d.source == r.source && d.record == r.kind &&
         d.record_offset == r.record_offset;
}

}  // namespace

void inizia_sorgente(PassState& ps, SourceId source) {
  ps.reading = RecordReading{};
  ps.reading.at.source = source;
  ps.reading.at.fields_read = -1;
}

void inizia_chiave(PassState& ps) {
  ps.reading.at.kind = RecordKind::None;
  ps.reading.at.fields_read = -1;
}

void inizia_record(PassState& ps, RecordKind kind) {
  RecordAt& r = ps.reading.at;
  r.kind = kind;
  r.fields_read = 0;
  if (ps.s.account) conta_record(*ps.s.account, kind);
}

void annota_chiave(PassState& ps, const FieldReader& in, KeywordUse use, bool comment_read_as_keyword) {
  if (!ps.s.account) return;
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
  conta_chiave(*ps.s.account, ps.reading.at.source, use, start, end, comment_read_as_keyword);
}

void fine_dei_record(PassState& ps) {
  inizia_chiave(ps);
  scrivente(ps.s, owner::kNone);
}

void dopo_record(PassState& ps, const FieldReader& in, std::size_t from) {
  CompileState& s = ps.s;
  if (s.account) conta_fine_record(*s.account);
  if (s.scenario.TrainCells.size() > 1) {
    const TrainCell& uno = s.scenario.TrainCells[1];
    Origins& o = ps.origins;
    if (uno.Word1 != 0 && !o.cell_one_word1) o.cell_one_word1 = luogo_corrente(ps, 1);
    if (uno.Word2 != 0 && !o.cell_one_word2) o.cell_one_word2 = luogo_corrente(ps, 1);
  }
  for (std::size_t i = from; i < s.report.Diagnostics.size(); ++i) {
    Diagnostic& d = s.report.Diagnostics[i];
    if (al_record_corrente(ps.reading.at, d)) completa(ps.reading.at, in.text(), d);
  }
}

void registra_guasto(PassState& ps, const FieldReader& in, const Failure& f) {
  RecordAt& r = ps.reading.at;
  const int field = campo_del_guasto(ps.reading, f.detail());
  if (ps.reading.reading) {
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
  if (r.kind != RecordKind::None || ps.reading.reading) {
    d.field_index = field;
    d.field_offset = r.field_offsets[static_cast<std::size_t>(field)];
  }
  if (r.kind != RecordKind::None) completa(r, in.text(), d);
  ps.s.report.Diagnostics.push_back(std::move(d));
  ps.reading.failure_recorded = true;
}

Diagnostic& segnala(PassState& ps, Status status, std::optional<int> field) {
  return segnala(ps.s.report, ps.reading.at, status, field);
}

RecordPlace luogo_corrente(const PassState& ps, int field) {
  const RecordAt& r = ps.reading.at;
  const int i = field <= r.fields_read ? field : 0;
  return RecordPlace{r.source, r.kind, r.record_offset, r.field_offsets[static_cast<std::size_t>(i)], i};
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
