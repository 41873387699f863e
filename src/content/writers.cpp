// The writers of the five text files.
#include "content/writers.h"

#include "content/text_writer.h"

namespace scenario {

// The two source texts live only until the compiler has read them, and a run
// cut short leaves nothing that needs them: they are not pushed to the disk.
void dati_linea(const std::filesystem::path& dir, const ScenarioNames& n) {
  write_lines(line_source_file(dir, n), righe_linea(), Durability::Transient);
}
void dati_treno(const std::filesystem::path& dir, const ScenarioNames& n) {
  write_lines(train_source_file(dir, n), righe_treno(), Durability::Transient);
}
void dati_note(const std::filesystem::path& dir, const ScenarioNames& n) {
  write_lines(note_file(dir, n), righe_note());
}
void dati_rallentamenti(const std::filesystem::path& dir, const ScenarioNames& n) {
  write_lines(rallentamenti_file(dir, n), righe_rallentamenti());
}
void dati_scheda(const std::filesystem::path& dir, const ScenarioNames& n) {
  write_lines(scheda_file(dir, n), righe_scheda());
}

}  // namespace scenario
