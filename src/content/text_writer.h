// Writing a list of content lines as a CR LF text file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace scenario {

// Closes every content list; it is never written.
inline constexpr std::string_view kTerminator = "riferimento fine del file";

// The entries up to (not including) the first one equal to the terminator,
// each followed by CR LF.
std::string render_lines(const std::vector<std::string>& entries);

// Replaces the file atomically with the rendered lines; a Transient file is
// not pushed to the disk first.
void write_lines(const std::filesystem::path& path, const std::vector<std::string>& entries,
                 Durability durability = Durability::Synced);

}  // namespace scenario
