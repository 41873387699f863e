// Platform layer for Linux and other POSIX systems: directories and files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/platform.h"
#include "platform/failure.h"

namespace scenario::platform {
namespace {

// Read and write for everyone the umask allows, as any new file of the user's.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;

[[noreturn]] void fail(const char* verb, const std::string& shown, int err) {
  throw Failure(std::string("cannot ") + verb + " " + shown + ": " + std::strerror(err));
}

}  // namespace

std::filesystem::path program_directory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw Failure("cannot find the program's directory: " + ec.message());
  return exe.parent_path();
}

std::filesystem::path join_path(const std::filesystem::path& dir, std::string_view name) {
  return dir / std::filesystem::path(std::string(name));
}

NewFile::NewFile(NewFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)), shown_(std::move(other.shown_)) {}

NewFile& NewFile::operator=(NewFile&& other) noexcept {
  if (this != &other) {
    if (handle_ != kNoHandle) ::close(static_cast<int>(handle_));
    handle_ = std::exchange(other.handle_, kNoHandle);
    shown_ = std::move(other.shown_);
  }
  return *this;
}

NewFile::~NewFile() {
  if (handle_ != kNoHandle) ::close(static_cast<int>(handle_));
}

std::optional<NewFile> NewFile::create(const std::filesystem::path& path, std::string shown) {
  // O_EXCL with O_CREAT refuses any name that exists, a link included, and
  // O_NOFOLLOW says the same for systems that would look at a link first.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
  if (fd >= 0) return NewFile(fd, std::move(shown));
  if (errno == EEXIST) return std::nullopt;
  fail("create", shown, errno);
}

void NewFile::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("write", shown_, errno);
    }
    if (n == 0) fail("write", shown_, EIO);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void NewFile::sync() {
  if (::fsync(static_cast<int>(handle_)) != 0) fail("write", shown_, errno);
}

void NewFile::close() {
  const int fd = static_cast<int>(std::exchange(handle_, kNoHandle));
  if (::close(fd) != 0 && errno != EINTR) fail("write", shown_, errno);
}

void replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    throw Failure("cannot replace " + to.string() + ": " + std::strerror(errno));
  }
}

}  // namespace scenario::platform
