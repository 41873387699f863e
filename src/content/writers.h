// The built-in content: two source texts and three driver documents.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/compile_state.h"

namespace scenario {

// Each list holds the content's lines followed by the terminator entry.
std::vector<std::string> righe_linea();          // 312 lines
std::vector<std::string> righe_treno();          // 59 lines
std::vector<std::string> righe_note();           // 28 lines
std::vector<std::string> righe_rallentamenti();  // 5 lines
std::vector<std::string> righe_scheda();         // 42 lines

// File names in a directory.
std::filesystem::path line_source_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path train_source_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path note_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path rallentamenti_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path scheda_file(const std::filesystem::path& dir, const ScenarioNames& n);

// The five writers, each replacing its file with its content.
void dati_linea(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_treno(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_note(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_rallentamenti(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_scheda(const std::filesystem::path& dir, const ScenarioNames& n);

}  // namespace scenario
