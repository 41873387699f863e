// Helpers shared by the tool's tests: temporary directories, in-process runs, files, the built-in scenario.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "content/text_writer.h"
#include "content/writers.h"
#include "tool_main.h"

namespace scenario::tool::testing {

namespace fs = std::filesystem;

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "scenario_tool_test_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline RunResult run_tool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  RunResult r;
  r.status = tool_main(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

inline std::string slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spit(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The text with the first occurrence of `old` replaced; a fixture that lacks
// it is a broken test, not a passing one.
inline std::string replaced(std::string text, const std::string& old, const std::string& now) {
  const std::size_t at = text.find(old);
  if (at == std::string::npos) throw std::runtime_error("fixture lacks: " + old);
  return text.replace(at, old.size(), now);
}

inline std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Every file of a directory with its bytes.
inline std::map<std::string, std::string> snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = slurp(e.path());
  return files;
}

inline void copy_dir(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

inline const ScenarioNames& builtin_names() {
  static const ScenarioNames names{"Castrovelde_Ardis", "R31708"};
  return names;
}

// The built-in line and train sources, as the generator writes them.
inline void write_builtin_sources(const fs::path& dir) {
  spit(line_source_file(dir, builtin_names()), render_lines(righe_linea()));
  spit(train_source_file(dir, builtin_names()), render_lines(righe_treno()));
}

// The real generator run once in a directory of its own; its binary files
// are the reference for the tool.
inline const fs::path& generator_output() {
  static TempDir dir;
  static const bool ran = [] {
    const fs::path exe = dir.path() / "scenario_gen";
    fs::copy_file(SCENARIO_GEN_PATH, exe);
    std::string command = "cd '" + dir.path().string() + "' && ./scenario_gen >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }();
  if (!ran) throw std::runtime_error("the generator did not run");
  return dir.path();
}

inline fs::path fixture(const std::string& name) { return fs::path(TOOL_FIXTURES) / name; }

}  // namespace scenario::tool::testing
