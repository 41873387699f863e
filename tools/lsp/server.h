// The language server: JSON-RPC requests and notifications in, responses and published diagnostics out.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lsp/framing.h"
#include "lsp/workspace.h"

namespace scenario::tool::lsp {

// JSON-RPC and LSP error codes.
namespace rpc {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
inline constexpr int kRequestFailed = -32803;
inline constexpr int kRequestCancelled = -32800;
}  // namespace rpc

// Exit statuses of the server: 0 after shutdown then exit, 1 after exit alone.
inline constexpr int kExitAfterShutdown = 0;
inline constexpr int kExitWithoutShutdown = 1;

class Server {
 public:
  // Handles the messages read together, in order, and returns the message
  // bodies to send. A request that a $/cancelRequest later in the same batch
  // names is answered as cancelled. The diagnostics of every pair that
  // changed are published once, after the batch.
  std::vector<std::string> handle(const std::vector<Frame>& frames);

  bool exited() const { return exited_; }
  int exit_status() const { return shutdown_ ? kExitAfterShutdown : kExitWithoutShutdown; }

 private:
  void dispatch(const Json& message, std::vector<std::string>& out);
  Json request(const std::string& method, const Json& params);
  void notification(const std::string& method, const Json& params);

  Json initialize(const Json& params);
  void open(const Json& params);
  void change(const Json& params);
  void close(const Json& params);
  void saved(const Json& params);
  void read_disk_checks(const std::string& uri);

  // The pair of a document, compiled from the current texts.
  Pair* pair_of(const std::string& uri);
  Pair& compiled(Pair& pair);
  void attach(const std::string& uri);
  void publish(Pair& pair, std::vector<std::string>& out);

  std::map<std::string, Document> documents_;  // by URI
  std::map<std::string, std::string> pair_key_;  // document URI -> pair key
  std::map<std::string, std::unique_ptr<Pair>> pairs_;  // by the line source's path
  std::map<std::string, std::string> lone_fault_;  // document URI -> why it has no pair
  std::vector<std::string> to_publish_;  // pair keys and lone URIs whose diagnostics changed
  PositionEncoding encoding_ = PositionEncoding::Utf16;
  bool initialized_ = false;
  bool shutdown_ = false;
  bool exited_ = false;
};

}  // namespace scenario::tool::lsp
