// Fuzz target: the language server on an arbitrary byte stream from the editor (after a valid initialize).
// Every message it sends must be a JSON-RPC 2.0 object, whatever arrives:
// broken framing, malformed JSON, requests with parameters of any shape,
// documents of any bytes. A crash, a sanitizer report or an escaping
// exception is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "lsp/framing.h"
#include "lsp/server.h"

namespace {

using scenario::tool::lsp::Frame;
using scenario::tool::lsp::FrameReader;
using scenario::tool::lsp::Json;
using scenario::tool::lsp::Server;

constexpr std::string_view kInitialize =
    R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":{}}})";

void check_sent(Server& server, const std::vector<Frame>& frames) {
  for (const std::string& body : server.handle(frames)) {
    const Json m = Json::parse(body, nullptr, false);
    if (m.is_discarded() || !m.is_object() || m.value("jsonrpc", "") != "2.0") std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Server server;
  check_sent(server, {Frame{std::string(kInitialize), ""}});
  FrameReader reader;
  reader.feed(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<Frame> frames;
  for (Frame f; reader.next(f);) frames.push_back(std::move(f));
  if (!frames.empty()) check_sent(server, frames);
  return 0;
}
