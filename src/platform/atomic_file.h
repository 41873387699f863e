// Whole-file replacement that never leaves a torn or half-written file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// Whether the new file must reach the disk before it replaces the old one.
enum class Durability {
  Synced,     // pushed to the disk, then renamed: a crash leaves the old or the new file
  Transient,  // renamed without a sync: for a file deleted again a moment later
};

// Test seams.
struct WriteSeams {
  // The write fails after this many bytes.
  std::optional<std::size_t> fail_after_bytes;
  // The random part of each temporary name tried, instead of the system's
  // random source.
  std::function<std::string()> random_part;
};

// Writes `bytes` to a temporary file beside `target`, pushes it to disk and
// renames it over `target`. The temporary file gets a fresh random name and
// is created exclusively, never through a link: whatever already stands at a
// name tried (a file, a link, a directory) is left as it is and another name
// is drawn. On any failure the old file stays whole, the temporary file is
// removed and a Failure names the file and the reason.
void write_file_atomically(const std::filesystem::path& target, std::string_view bytes,
                           Durability durability = Durability::Synced, const WriteSeams& seams = {});

// The temporary name beside `target` with the given random part:
// "<target>.<random>.partial".
std::filesystem::path temporary_name(const std::filesystem::path& target, std::string_view random);

// How many names are tried before the writer gives up.
inline constexpr int kTemporaryNameAttempts = 100;
// Letters and digits in the random part of a temporary name.
inline constexpr std::size_t kTemporaryRandomLength = 12;

}  // namespace scenario
