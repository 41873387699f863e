// Whole-file replacement that never leaves a torn or half-written file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace scenario {

// Test seam: makes the write fail after this many bytes.
struct WriteFault {
  std::size_t fail_after_bytes = 0;
};

// Writes `bytes` to a temporary file beside `target`, pushes it to disk and
// renames it over `target`. On any failure the old file stays whole, the
// temporary file is removed and a Failure names the file and the reason.
void write_file_atomically(const std::filesystem::path& target, std::string_view bytes,
                           const std::optional<WriteFault>& fault = std::nullopt);

// The temporary name used beside `target`.
std::filesystem::path temporary_name(const std::filesystem::path& target);

}  // namespace scenario
