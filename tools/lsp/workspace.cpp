// File URIs, editor ranges and the field at a byte of a source.
#include "lsp/workspace.h"

#include <cctype>

namespace scenario::tool::lsp {
namespace {

constexpr std::string_view kFileScheme = "file://";
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kNotHex = -1;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return kNotHex;
}

bool kept_in_uri(unsigned char c) {
  return std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
}

}  // namespace

std::optional<std::filesystem::path> path_of_uri(std::string_view uri) {
  if (uri.substr(0, kFileScheme.size()) != kFileScheme) return std::nullopt;
  uri.remove_prefix(kFileScheme.size());
  // "file://host/path": only the local host (empty or "localhost") names a file here.
  const std::size_t slash = uri.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = uri.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;
  uri.remove_prefix(slash);
  std::string path;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() + 0 && hex_value(uri[i + 1]) != kNotHex &&
        hex_value(uri[i + 2]) != kNotHex) {
      path.push_back(static_cast<char>(hex_value(uri[i + 1]) * 16 + hex_value(uri[i + 2])));
      i += 2;
    } else {
      path.push_back(uri[i]);
    }
  }
  if (path.find('\0') != std::string::npos) return std::nullopt;
  return std::filesystem::path(path).lexically_normal();
}

std::string uri_of_path(const std::filesystem::path& path) {
  std::string out(kFileScheme);
  for (char c : std::filesystem::absolute(path).lexically_normal().string()) {
    const auto b = static_cast<unsigned char>(c);
    if (kept_in_uri(b)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHexDigits[b >> 4]);
      out.push_back(kHexDigits[b & 0xF]);
    }
  }
  return out;
}

Json range_json(const EditorText& text, std::size_t start, std::size_t end, PositionEncoding encoding) {
  const Position a = text.position_of(start, encoding);
  const Position b = text.position_of(std::max(start, end), encoding);
  return {{"start", {{"line", a.line}, {"character", a.character}}},
          {"end", {{"line", b.line}, {"character", b.character}}}};
}

std::pair<std::size_t, std::size_t> field_range(const Pair& pair, SourceId source, std::size_t offset) {
  if (const Account* a = pair.account()) {
    for (const KeywordEntry& k : a->keywords) {
      if (k.source == source && k.start <= offset && offset < k.end) return {k.start, k.end};
    }
    for (const AccountRecord& r : a->records) {
      if (r.source != source || offset < r.start || offset >= r.end) continue;
      for (const FieldSpan& f : a->fields_of(r)) {
        if (f.start <= offset && offset < f.end) return {f.start, f.end};
      }
    }
  }
  const PairFile& f = pair.file(source);
  if (!f.text) return {offset, offset};
  const std::string& t = f.text->latin1();
  std::size_t end = std::min(offset, t.size());
  while (end < t.size() && t[end] != ',' && t[end] != '\n' && t[end] != '\r') ++end;
  return {offset, end};
}

}  // namespace scenario::tool::lsp
