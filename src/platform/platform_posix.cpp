// Platform layer for Linux and other POSIX systems: directories and files.
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"
#include "platform/failure.h"

namespace scenario::platform {

std::filesystem::path program_directory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw Failure("cannot find the program's directory: " + ec.message());
  return exe.parent_path();
}

std::filesystem::path join_path(const std::filesystem::path& dir, std::string_view name) {
  return dir / std::filesystem::path(std::string(name));
}

bool sync_file(std::FILE* f) { return ::fsync(::fileno(f)) == 0; }

void replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    throw Failure("cannot replace " + to.string() + ": " + std::strerror(errno));
  }
}

}  // namespace scenario::platform
