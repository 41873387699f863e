// CR LF rendering of content lines and their atomic replacement on disk.
#include "content/text_writer.h"

namespace scenario {

std::string render_lines(const std::vector<std::string>& entries) {
  std::string out;
  for (const auto& e : entries) {
    if (e == kTerminator) break;
    out += e;
    out += "\r\n";
  }
  return out;
}

void write_lines(const std::filesystem::path& path, const std::vector<std::string>& entries,
                 Durability durability) {
  write_file_atomically(path, render_lines(entries), durability);
}

}  // namespace scenario
