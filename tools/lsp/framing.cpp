// Reading and writing header-framed messages.
#include "lsp/framing.h"

#include <algorithm>
#include <charconv>

#include "common/text_match.h"

namespace scenario::tool::lsp {
namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kContentLength = "content-length";
constexpr std::size_t kMaxLengthDigits = 19;

// The value of Content-Length in a header block; false when there is none,
// when it is given twice, or when it is not a plain decimal number.
bool content_length(std::string_view headers, std::size_t& length, std::string& fault) {
  bool found = false;
  while (!headers.empty()) {
    const std::size_t eol = headers.find(kLineEnd);
    const std::string_view line = headers.substr(0, eol);
    headers = eol == std::string_view::npos ? std::string_view{} : headers.substr(eol + kLineEnd.size());
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      fault = "a header line without ':'";
      return false;
    }
    if (lower_ascii(trim_blanks(line.substr(0, colon))) != kContentLength) continue;
    const std::string_view value = trim_blanks(line.substr(colon + 1));
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (found || value.empty() || value.size() > kMaxLengthDigits || ec != std::errc() ||
        end != value.data() + value.size()) {
      fault = found ? "Content-Length given twice" : "a Content-Length that is not a whole number";
      return false;
    }
    found = true;
    length = n;
  }
  if (!found) fault = "a message without Content-Length";
  return found;
}

}  // namespace

void FrameReader::feed(std::string_view bytes) {
  if (skip_ > 0) {
    const std::size_t n = std::min(skip_, bytes.size());
    skip_ -= n;
    bytes.remove_prefix(n);
  }
  buffer_.append(bytes);
}

void FrameReader::compact() {
  if (start_ > 0 && start_ * 2 >= buffer_.size()) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
}

bool FrameReader::next(Frame& out) {
  out = Frame{};
  if (skip_ > 0) return false;
  const std::string_view held = std::string_view(buffer_).substr(start_);
  const std::size_t end = held.find(kHeaderEnd);
  if (end == std::string_view::npos) {
    if (held.size() <= kMaxHeaderBytes + kHeaderEnd.size()) return false;
    // No header block ends within the limit: drop what is held up to its last line end.
    const std::size_t cut = std::max<std::size_t>(held.rfind(kLineEnd) == std::string_view::npos
                                                      ? held.size()
                                                      : held.rfind(kLineEnd) + kLineEnd.size(),
                                                  1);
    start_ += cut;
    compact();
    out.fault = "a header block longer than " + std::to_string(kMaxHeaderBytes) + " bytes";
    return true;
  }
  const std::string_view headers = held.substr(0, end);
  const std::size_t body_at = end + kHeaderEnd.size();
  std::size_t length = 0;
  if (headers.size() > kMaxHeaderBytes || !content_length(headers, length, out.fault)) {
    if (out.fault.empty()) out.fault = "a header block longer than " + std::to_string(kMaxHeaderBytes) + " bytes";
    start_ += body_at;
    compact();
    return true;
  }
  if (length > kMaxBodyBytes) {
    const std::size_t here = held.size() - body_at;
    const std::size_t dropped = std::min(here, length);
    skip_ = length - dropped;
    start_ += body_at + dropped;
    compact();
    out.fault = "a message of " + std::to_string(length) + " bytes, more than the " +
                std::to_string(kMaxBodyBytes) + " this server takes";
    return true;
  }
  if (held.size() - body_at < length) return false;
  out.body.assign(held.substr(body_at, length));
  start_ += body_at + length;
  compact();
  return true;
}

std::string frame(std::string_view body) {
  std::string out = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  out.append(body);
  return out;
}

}  // namespace scenario::tool::lsp
