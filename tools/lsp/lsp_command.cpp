// The server's loop: read what the editor sent, answer it, write each answer as one framed message.
#include "lsp/lsp_command.h"

#include <array>

#include "lsp/framing.h"
#include "lsp/server.h"

namespace scenario::tool {

namespace {
constexpr std::size_t kReadChunk = 64 * 1024;
}  // namespace

int run_lsp(std::istream& in, std::ostream& out) {
  lsp::Server server;
  lsp::FrameReader reader;
  std::array<char, kReadChunk> chunk{};
  while (!server.exited()) {
    // Wait for one byte, then take whatever else has already arrived, so that
    // messages sent together (a burst of changes, a cancel) are handled together.
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) break;
    const char first = static_cast<char>(c);
    reader.feed(std::string_view(&first, 1));
    for (std::streamsize n; (n = in.readsome(chunk.data(), chunk.size())) > 0;) {
      reader.feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
    }
    std::vector<lsp::Frame> frames;
    for (lsp::Frame f; reader.next(f);) frames.push_back(std::move(f));
    if (frames.empty()) continue;
    for (const std::string& body : server.handle(frames)) out << lsp::frame(body);
    out.flush();
  }
  return server.exit_status();
}

}  // namespace scenario::tool
