// File names of the five text files and the writers that produce them.
#include "content/writers.h"

#include "app/platform.h"
#include "content/text_writer.h"

namespace scenario {

std::filesystem::path line_source_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return platform::join_path(dir, n.RouteName + "_linea.txt");
}
std::filesystem::path train_source_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return platform::join_path(dir, n.RouteName + "_" + n.TrainCode + "-.txt");
}
std::filesystem::path note_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return platform::join_path(dir, n.RouteName + "_" + n.TrainCode + "_note.txt");
}
std::filesystem::path rallentamenti_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return platform::join_path(dir, n.RouteName + "_" + n.TrainCode + "_rallentamenti.txt");
}
std::filesystem::path scheda_file(const std::filesystem::path& dir, const ScenarioNames& n) {
  return platform::join_path(dir, n.RouteName + "_" + n.TrainCode + "_scheda_treno.txt");
}

void dati_linea(const std::filesystem::path& dir, const ScenarioNames& n) {
  write_lines(line_source_file(dir, n), righe_linea());
}
void dati_treno(const std::filesystem::path& dir, const ScenarioNames& n) {
  write_lines(train_source_file(dir, n), righe_treno());
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
