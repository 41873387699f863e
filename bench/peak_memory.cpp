// Peak memory of one compile-and-write of a generated route, measured alone.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "content/place_names.h"
#include "route_generator.h"

namespace {

using namespace scenario;
using namespace scenario::bench;

// Peak resident set of this process so far, in bytes.
long long peak_rss_bytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<long long>(u.ru_maxrss) * 1024;  // Linux reports KiB
}

// Compiles and writes the route into a scratch directory; returns the size
// of its line plan file.
long long compile_and_write(std::int32_t km) {
  const GeneratedSources src = generate_sources(km);
  CompileResult c = compile_texts(src.line, src.train);
  if (auto problem = compile_problem(c)) throw std::runtime_error("the route did not compile: " + *problem);
  ScratchDir dir;
  const ScenarioNames names{std::string(names::kRouteName), std::string(names::kTrainCode)};
  write_all(serialise_all(c), dir.path(), names);
  return static_cast<long long>(std::filesystem::file_size(line_file(dir.path(), names)));
}

}  // namespace

// Usage: bench_peak_memory KM. Prints the peak and the line plan's size and
// fails when the peak reaches three times that size.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: bench_peak_memory KM\n", stderr);
    return 2;
  }
  try {
    const auto km = static_cast<std::int32_t>(std::atoi(argv[1]));
    const long long linea = compile_and_write(km);
    const long long peak = peak_rss_bytes();
    const double ratio = static_cast<double>(peak) / static_cast<double>(linea);
    std::printf("route %d km: peak memory %.1f MiB, linea.dat %.1f MiB, ratio %.2f (limit 3)\n", km,
                static_cast<double>(peak) / 1048576.0, static_cast<double>(linea) / 1048576.0, ratio);
    return ratio < 3.0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_peak_memory: %s\n", e.what());
    return 2;
  }
}
