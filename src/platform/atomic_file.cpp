// Temporary file, flush, then rename over the old name.
#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/failure.h"

namespace scenario {
namespace {

[[noreturn]] void fail(const std::filesystem::path& tmp, std::FILE* f, const std::string& what, int err) {
  if (f) std::fclose(f);
  std::error_code ignored;
  std::filesystem::remove(tmp, ignored);
  throw Failure(what + ": " + std::strerror(err));
}

}  // namespace

std::filesystem::path temporary_name(const std::filesystem::path& target) {
  std::filesystem::path tmp = target;
  tmp += ".partial";
  return tmp;
}

void write_file_atomically(const std::filesystem::path& target, std::string_view bytes,
                           const std::optional<WriteFault>& fault) {
  const std::filesystem::path tmp = temporary_name(target);
  const std::string name = target.string();
#ifdef _WIN32
  std::FILE* f = _wfopen(tmp.c_str(), L"wb");
#else
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
#endif
  if (!f) {
    const int err = errno;
    fail(tmp, nullptr, "cannot create " + name, err);
  }

  std::size_t to_write = bytes.size();
  if (fault && fault->fail_after_bytes < to_write) to_write = fault->fail_after_bytes;
  if (to_write > 0 && std::fwrite(bytes.data(), 1, to_write, f) != to_write) {
    const int err = errno;
    fail(tmp, f, "cannot write " + name, err);
  }
  if (fault && fault->fail_after_bytes < bytes.size()) fail(tmp, f, "cannot write " + name, EIO);
  if (std::fflush(f) != 0 || !platform::sync_file(f)) {
    const int err = errno;
    fail(tmp, f, "cannot write " + name, err);
  }
  if (std::fclose(f) != 0) {
    const int err = errno;
    fail(tmp, nullptr, "cannot write " + name, err);
  }
  try {
    platform::replace_file(tmp, target);
  } catch (const Failure&) {
    std::error_code ignored;
    std::filesystem::remove(tmp, ignored);
    throw;
  }
}

}  // namespace scenario
