// The built-in content: two source texts and three driver documents.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/scenario_files.h"

namespace scenario {

// Each list holds the content's lines followed by the terminator entry.
std::vector<std::string> righe_linea();          // 312 lines
std::vector<std::string> righe_treno();          // 59 lines
std::vector<std::string> righe_note();           // 28 lines
std::vector<std::string> righe_rallentamenti();  // 5 lines
std::vector<std::string> righe_scheda();         // 42 lines

// The five writers, each replacing its file with its content.
void dati_linea(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_treno(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_note(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_rallentamenti(const std::filesystem::path& dir, const ScenarioNames& n);
void dati_scheda(const std::filesystem::path& dir, const ScenarioNames& n);

}  // namespace scenario
