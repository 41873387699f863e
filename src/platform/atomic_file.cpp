// Temporary file under a fresh exclusive name, sync, then rename over the old name.
#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "platform/failure.h"
#include "platform/platform.h"

namespace scenario {
namespace {

std::string system_random_part() {
  static constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device source;
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::string out(kTemporaryRandomLength, ' ');
  for (char& c : out) c = kAlphabet[pick(source)];
  return out;
}

void remove_quietly(const std::filesystem::path& p) {
  std::error_code ignored;
  std::filesystem::remove(p, ignored);
}

// Creates the temporary file beside `target` under the first free name drawn.
// A name that is taken is never opened, so a link planted there points
// nowhere the program writes.
platform::NewFile create_temporary(const std::filesystem::path& target, const std::string& shown,
                                   const WriteSeams& seams, std::filesystem::path& tmp) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    tmp = temporary_name(target, seams.random_part ? seams.random_part() : system_random_part());
    if (auto file = platform::NewFile::create(tmp, shown)) return std::move(*file);
  }
  throw Failure("cannot create " + shown + ": no free temporary name after " +
                std::to_string(kTemporaryNameAttempts) + " tries");
}

}  // namespace

std::filesystem::path temporary_name(const std::filesystem::path& target, std::string_view random) {
  std::filesystem::path tmp = target;
  tmp += ".";
  tmp += std::string(random);
  tmp += ".partial";
  return tmp;
}

void write_file_atomically(const std::filesystem::path& target, std::string_view bytes, Durability durability,
                           const WriteSeams& seams) {
  const std::string shown = target.string();
  std::filesystem::path tmp;
  platform::NewFile file = create_temporary(target, shown, seams, tmp);
  try {
    if (seams.fail_after_bytes && *seams.fail_after_bytes < bytes.size()) {
      file.write(bytes.substr(0, *seams.fail_after_bytes));
      throw Failure("cannot write " + shown + ": " + std::strerror(EIO));
    }
    file.write(bytes);
    if (durability == Durability::Synced) file.sync();
    file.close();
    platform::replace_file(tmp, target);
  } catch (const Failure&) {
    // Close before removing: a file still open cannot be removed on Windows.
    { platform::NewFile closing = std::move(file); }
    remove_quietly(tmp);
    throw;
  }
}

}  // namespace scenario
