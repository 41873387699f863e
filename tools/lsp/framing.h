// Header-framed messages of the language server protocol: reading them from a byte stream and writing them.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace scenario::tool::lsp {

// The longest header block and the longest message body the server takes.
// A body longer than the limit is read past and answered with an error, so
// a document of a few megabytes fits and a hostile length cannot exhaust memory.
inline constexpr std::size_t kMaxHeaderBytes = 8 * 1024;
inline constexpr std::size_t kMaxBodyBytes = 64 * 1024 * 1024;

// One message read: its body, or (when `fault` is not empty) why the framing
// was unusable. After a fault the reader has skipped the bad header block (and
// the body of an over-long message) and goes on with what follows.
struct Frame {
  std::string body;
  std::string fault;
};

// Takes bytes as they arrive, in pieces of any size, and hands out whole messages.
class FrameReader {
 public:
  void feed(std::string_view bytes);
  // The next whole message, or false when more bytes are needed.
  bool next(Frame& out);
  // Bytes held that form no whole message yet.
  std::size_t pending() const { return buffer_.size() - start_; }

 private:
  void compact();
  std::string buffer_;
  std::size_t start_ = 0;
  std::size_t skip_ = 0;  // body bytes of an over-long message still to pass over
};

// "Content-Length: N\r\n\r\n" and the body.
std::string frame(std::string_view body);

}  // namespace scenario::tool::lsp
