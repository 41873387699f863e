// The server's view of the sources: open documents, the pairs they belong to, and each pair's last compile.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "compile/compile_command.h"
#include "lsp/text_positions.h"

namespace scenario::tool::lsp {

using Json = nlohmann::json;

struct Document {
  std::string uri;
  std::filesystem::path path;
  EditorText text;
  std::int64_t version = 0;
};

// One source of a pair as the server sees it: the editor's text when the
// file is open, else the bytes on disk (absent when there is no such file).

struct PairFile {
  std::filesystem::path path;
  std::string uri;
  std::optional<EditorText> text;
  bool open = false;
  // What the text checks found in the bytes on disk when they are UTF-8 that
  // the editor decoded (its Latin-1 text then no longer shows them), at
  // offsets of the editor's text. Read when the file is opened or saved.
  std::vector<Message> disk_messages;
};

// A line source and its train source, compiled together.
struct Pair {
  std::filesystem::path dir;
  ScenarioNames names;
  PairFile line;
  PairFile train;
  CompileSession session;
  // The scenario and train files compile would write, none when it would
  // write nothing; the line file's bytes are left out (linea stays empty).
  std::optional<BinaryFiles> files;
  CompileReport report;
  bool dirty = true;

  PairFile& file(SourceId id) { return id == SourceId::Train ? train : line; }
  const PairFile& file(SourceId id) const { return id == SourceId::Train ? train : line; }
  const Account* account() const { return session.state.account ? &*session.state.account : nullptr; }
};

// A file URI and the path it names, both ways (percent-encoded bytes).
std::optional<std::filesystem::path> path_of_uri(std::string_view uri);
std::string uri_of_path(const std::filesystem::path& path);

// An LSP range of Latin-1 offsets [start, end).
Json range_json(const EditorText& text, std::size_t start, std::size_t end, PositionEncoding encoding);

// The byte range of the field at `offset` of a source: the keyword or record
// field the compile read there, or else the text up to the next comma or line end.
std::pair<std::size_t, std::size_t> field_range(const Pair& pair, SourceId source, std::size_t offset);

}  // namespace scenario::tool::lsp
