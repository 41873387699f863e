// The scenario's two identifiers and every file name built from them, in one place.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace scenario {

// The scenario's two identifiers; every file name is built from them.
struct ScenarioNames {
  std::string RouteName;
  std::string TrainCode;
};

// What follows the route name (and, after "_", the train code) in each name.
inline constexpr std::string_view kLineSourceSuffix = "_linea.txt";   // <route>_linea.txt
inline constexpr std::string_view kTrainSourceSuffix = "-.txt";       // <route>_<train>-.txt
inline constexpr std::string_view kLineFileSuffix = "_linea.dat";     // <route>_linea.dat
inline constexpr std::string_view kScenarioFileSuffix = ".sim";       // <route>_<train>.sim
inline constexpr std::string_view kTrainFileSuffix = ".dat";          // <route>_<train>.dat
inline constexpr std::string_view kNoteSuffix = "_note.txt";
inline constexpr std::string_view kRallentamentiSuffix = "_rallentamenti.txt";
inline constexpr std::string_view kSchedaSuffix = "_scheda_treno.txt";

// The two source texts.
std::filesystem::path line_source_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path train_source_file(const std::filesystem::path& dir, const ScenarioNames& n);

// The three binary files.
std::filesystem::path line_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path scenario_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path train_file(const std::filesystem::path& dir, const ScenarioNames& n);

// The three documents for the driver.
std::filesystem::path note_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path rallentamenti_file(const std::filesystem::path& dir, const ScenarioNames& n);
std::filesystem::path scheda_file(const std::filesystem::path& dir, const ScenarioNames& n);

}  // namespace scenario
