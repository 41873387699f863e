// Writes the built-in sources as seed inputs for the three fuzz targets.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_compile.h"

namespace {

namespace fs = std::filesystem;

void write_seed(const fs::path& dir, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream out(dir / "built_in", std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write a seed in " + dir.string());
}

}  // namespace

// Usage: fuzz_seeds CORPUS_ROOT; writes CORPUS_ROOT/<target>/built_in.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: fuzz_seeds CORPUS_ROOT\n", stderr);
    return 2;
  }
  try {
    using namespace scenario::fuzz;
    const fs::path root = argv[1];
    write_seed(root / "fuzz_line", built_in_line());
    write_seed(root / "fuzz_train", built_in_train());
    write_seed(root / "fuzz_pair", built_in_line() + std::string(1, '\0') + built_in_train());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fuzz_seeds: %s\n", e.what());
    return 2;
  }
  return 0;
}
