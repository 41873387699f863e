// The language server's protocol: initialize and shutdown, document sync, requests, and diagnostics of both sources.
#include "lsp/server.h"

#include <algorithm>
#include <system_error>

#include "common/binary_files.h"
#include "common/source_dir.h"
#include "compile/message_sink.h"
#include "compile/text_checks.h"
#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"
#include "lsp/features.h"
#include "model/binary_writers.h"
#include "model/scenario_files.h"
#include "model/source_files.h"
#include "platform/failure.h"

namespace scenario::tool::lsp {
namespace {

constexpr const char* kServerName = "scenario_tool";
constexpr int kSyncFull = 1;
constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kSeverityInformation = 3;
// Characters that Latin-1 cannot hold, reported per document before the rest are left unsaid.
constexpr std::size_t kMaxUnmappableShown = 20;
constexpr const char* kNotLatin1 = "not-latin1";

// A request that cannot be answered: the JSON-RPC error to send.
struct RequestError {
  int code;
  std::string message;
};

std::string dump(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

Json response(const Json& id, Json result) { return Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}; }

Json error_response(const Json& id, int code, const std::string& message) {
  return Json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

Json notification_json(const std::string& method, Json params) {
  return Json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

const Json& member(const Json& j, const char* key) {
  if (!j.is_object() || !j.contains(key)) throw RequestError{rpc::kInvalidParams, std::string("missing '") + key + "'"};
  return j.at(key);
}

std::string string_member(const Json& j, const char* key) {
  const Json& v = member(j, key);
  if (!v.is_string()) throw RequestError{rpc::kInvalidParams, std::string("'") + key + "' is not a string"};
  return v.get<std::string>();
}

std::size_t index_member(const Json& j, const char* key) {
  const Json& v = member(j, key);
  if (!v.is_number_unsigned() && !(v.is_number_integer() && v.get<std::int64_t>() >= 0)) {
    throw RequestError{rpc::kInvalidParams, std::string("'") + key + "' is not a whole number"};
  }
  return v.get<std::size_t>();
}

std::string uri_in(const Json& params) { return string_member(member(params, "textDocument"), "uri"); }

Position position_in(const Json& params) {
  const Json& p = member(params, "position");
  return {index_member(p, "line"), index_member(p, "character")};
}

const char* encoding_name(PositionEncoding e) {
  switch (e) {
    case PositionEncoding::Utf8: return "utf-8";
    case PositionEncoding::Utf16: return "utf-16";
    case PositionEncoding::Utf32: return "utf-32";
  }
  return "utf-16";
}

int severity_code(Severity s) {
  switch (s) {
    case Severity::Error: return kSeverityError;
    case Severity::Warning: return kSeverityWarning;
    case Severity::Note: return kSeverityInformation;
  }
  return kSeverityError;
}

std::optional<std::string> read_if_present(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  try {
    return read_binary_file(file);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

// A message's range in its file, with the file's text to map it.
Json message_range(const Pair& pair, const Message& m, PositionEncoding encoding) {
  const PairFile& f = pair.file(m.source);
  if (!m.at || m.source == SourceId::None || !f.text) return range_json(EditorText{}, 0, 0, encoding);
  const auto [start, end] = field_range(pair, m.source, *m.at);
  return range_json(*f.text, start, end, encoding);
}

Json diagnostic_json(const Pair& pair, const Message& m, PositionEncoding encoding) {
  Json d{{"range", message_range(pair, m, encoding)},
         {"severity", severity_code(m.severity)},
         {"code", m.name},
         {"source", kServerName},
         {"message", m.text}};
  if (!m.notes.empty()) {
    Json related = Json::array();
    for (const Message& n : m.notes) {
      const SourceId where = n.source == SourceId::None ? m.source : n.source;
      const PairFile& f = pair.file(where == SourceId::None ? SourceId::Line : where);
      related.push_back({{"location", {{"uri", f.uri}, {"range", message_range(pair, n, encoding)}}},
                         {"message", n.text}});
    }
    d["relatedInformation"] = std::move(related);
  }
  return d;
}

Json unmappable_diagnostics(const EditorText& text, PositionEncoding encoding) {
  Json out = Json::array();
  const auto& places = text.unmappable();
  for (std::size_t i = 0; i < places.size() && i < kMaxUnmappableShown; ++i) {
    out.push_back({{"range", range_json(text, places[i], places[i] + 1, encoding)},
                   {"severity", kSeverityError},
                   {"code", kNotLatin1},
                   {"source", kServerName},
                   {"message", "this character has no place in the sources' 8-bit code page (Latin-1); "
                               "the compiler reads '?' here"}});
  }
  return out;
}

// The text checks of a file on disk that holds UTF-8 which the editor decoded:
// the editor's Latin-1 text has one byte per character, so the checks of the
// compile cannot see the sequences that the simulator would show as two or
// more characters. Their offsets are moved to the editor's text. A file whose
// bytes are neither the editor's text nor its Latin-1 bytes has changes not
// saved yet, and is not checked.
std::vector<Message> disk_checks(SourceId source, const std::filesystem::path& path, const EditorText& text) {
  const std::optional<std::string> bytes = read_if_present(path);
  if (!bytes || *bytes == text.latin1() || *bytes != text.utf8()) return {};
  SourceTexts texts;
  texts.line_file = texts.train_file = path.string();
  (source == SourceId::Train ? texts.train : texts.line) = *bytes;
  const WarningSettings settings;
  MessageSink sink(settings, CompileOptions{}.max_diagnostics);
  text_warnings(texts, sink);
  std::vector<Message> out = sink.take_sorted();
  for (Message& m : out) {
    if (!m.at) continue;
    const std::size_t end = std::min(*m.at, bytes->size());
    m.at = static_cast<std::size_t>(std::count_if(bytes->begin(), bytes->begin() + static_cast<std::ptrdiff_t>(end),
                                                  [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
  }
  return out;
}

}  // namespace

std::vector<std::string> Server::handle(const std::vector<Frame>& frames) {
  std::vector<std::string> out;
  std::vector<Json> messages(frames.size());
  std::vector<Json> cancelled;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (!frames[i].fault.empty()) continue;
    messages[i] = Json::parse(frames[i].body, nullptr, false);
    const Json& m = messages[i];
    if (m.is_object() && m.value("method", Json()) == "$/cancelRequest" && m.contains("params") &&
        m["params"].is_object() && m["params"].contains("id")) {
      cancelled.push_back(m["params"]["id"]);
    }
  }
  for (std::size_t i = 0; i < frames.size() && !exited_; ++i) {
    if (!frames[i].fault.empty()) {
      out.push_back(dump(error_response(nullptr, rpc::kParseError, "unusable message framing: " + frames[i].fault)));
      continue;
    }
    const Json& m = messages[i];
    if (m.is_discarded()) {
      out.push_back(dump(error_response(nullptr, rpc::kParseError, "the message is not JSON")));
      continue;
    }
    if (m.is_object() && m.contains("id") && m.contains("method") &&
        std::find(cancelled.begin(), cancelled.end(), m["id"]) != cancelled.end()) {
      out.push_back(dump(error_response(m["id"], rpc::kRequestCancelled, "cancelled")));
      continue;
    }
    dispatch(m, out);
  }
  if (!exited_) {
    std::vector<std::string> keys;
    keys.swap(to_publish_);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const std::string& key : keys) {
      if (auto p = pairs_.find(key); p != pairs_.end()) {
        publish(*p->second, out);
      } else if (auto d = documents_.find(key); d != documents_.end()) {
        Json diags = unmappable_diagnostics(d->second.text, encoding_);
        if (auto f = lone_fault_.find(key); f != lone_fault_.end()) {
          diags.push_back({{"range", range_json(d->second.text, 0, 0, encoding_)},
                           {"severity", kSeverityError},
                           {"source", kServerName},
                           {"message", f->second}});
        }
        out.push_back(dump(notification_json("textDocument/publishDiagnostics",
                                             {{"uri", key}, {"diagnostics", std::move(diags)}})));
      } else {
        // A document closed without a pair: clear what was shown.
        out.push_back(dump(notification_json("textDocument/publishDiagnostics",
                                             {{"uri", key}, {"diagnostics", Json::array()}})));
      }
    }
  }
  return out;
}

void Server::dispatch(const Json& m, std::vector<std::string>& out) {
  if (!m.is_object()) {
    out.push_back(dump(error_response(nullptr, rpc::kInvalidRequest, "a message must be a JSON object")));
    return;
  }
  const bool has_id = m.contains("id");
  if (has_id && !m["id"].is_string() && !m["id"].is_number_integer() && !m["id"].is_null()) {
    out.push_back(dump(error_response(nullptr, rpc::kInvalidRequest, "an id must be a number or a string")));
    return;
  }
  const Json id = has_id ? m["id"] : Json();
  if (!m.contains("method")) {
    // A response to a request of the server's: it sends none, so there is nothing to match.
    if (has_id && (m.contains("result") || m.contains("error"))) return;
    out.push_back(dump(error_response(id, rpc::kInvalidRequest, "a message without 'method'")));
    return;
  }
  if (!m["method"].is_string()) {
    if (has_id) out.push_back(dump(error_response(id, rpc::kInvalidRequest, "'method' is not a string")));
    return;
  }
  const std::string method = m["method"].get<std::string>();
  const Json params = m.contains("params") ? m["params"] : Json::object();
  try {
    if (!has_id) {
      notification(method, params);
      return;
    }
    if (method == "initialize") {
      if (initialized_) throw RequestError{rpc::kInvalidRequest, "initialize was already received"};
    } else if (!initialized_) {
      throw RequestError{rpc::kServerNotInitialized, "the server is not initialized yet"};
    } else if (shutdown_) {
      throw RequestError{rpc::kInvalidRequest, "the server is shutting down"};
    }
    out.push_back(dump(response(id, request(method, params))));
  } catch (const RequestError& e) {
    if (has_id) out.push_back(dump(error_response(id, e.code, e.message)));
  } catch (const Json::exception& e) {
    if (has_id) out.push_back(dump(error_response(id, rpc::kInvalidParams, e.what())));
  } catch (const std::exception& e) {
    if (has_id) out.push_back(dump(error_response(id, rpc::kInternalError, e.what())));
  }
}

Json Server::initialize(const Json& params) {
  initialized_ = true;
  const Json general = params.is_object() ? params.value("capabilities", Json::object()).value("general", Json::object())
                                          : Json::object();
  const Json offered = general.is_object() ? general.value("positionEncodings", Json::array()) : Json::array();
  bool chosen = false;
  if (offered.is_array()) {
    for (const Json& e : offered) {
      if (chosen || !e.is_string()) continue;
      for (PositionEncoding p : {PositionEncoding::Utf8, PositionEncoding::Utf16, PositionEncoding::Utf32}) {
        if (e.get<std::string>() == encoding_name(p)) {
          encoding_ = p;
          chosen = true;
        }
      }
    }
  }
  Json capabilities{
      {"positionEncoding", encoding_name(encoding_)},
      {"textDocumentSync", {{"openClose", true}, {"change", kSyncFull}, {"save", {{"includeText", false}}}}},
      {"hoverProvider", true},
      {"completionProvider", {{"triggerCharacters", Json::array({"["})}}},
      {"documentSymbolProvider", true},
      {"definitionProvider", true},
      {"referencesProvider", true},
      {"codeActionProvider", {{"codeActionKinds", Json::array({"quickfix"})}}},
      {"documentFormattingProvider", true},
  };
  return {{"capabilities", capabilities}, {"serverInfo", {{"name", kServerName}, {"version", kToolVersion}}}};
}

Json Server::request(const std::string& method, const Json& params) {
  if (method == "initialize") return initialize(params);
  if (method == "shutdown") {
    shutdown_ = true;
    return nullptr;
  }
  const bool per_document = method == "textDocument/hover" || method == "textDocument/completion" ||
                            method == "textDocument/documentSymbol" || method == "textDocument/definition" ||
                            method == "textDocument/references" || method == "textDocument/formatting";
  if (method == "textDocument/codeAction") {
    Json actions = code_actions(params);
    const std::string uri = uri_in(params);
    if (Pair* pair = pair_of(uri)) {
      const SourceId source = pair->line.uri == uri ? SourceId::Line : SourceId::Train;
      for (Json& a : move_actions(*pair, source, params, encoding_)) actions.push_back(std::move(a));
    }
    return actions;
  }
  if (!per_document) throw RequestError{rpc::kMethodNotFound, "unknown method '" + method + "'"};
  const std::string uri = uri_in(params);
  const bool at_position = method != "textDocument/documentSymbol" && method != "textDocument/formatting";
  const Position position = at_position ? position_in(params) : Position{};
  Pair* pair = pair_of(uri);
  if (!pair) return method == "textDocument/documentSymbol" || method == "textDocument/completion" ? Json::array() : Json();
  const SourceId source = pair->line.uri == uri ? SourceId::Line : SourceId::Train;
  const EditorText& text = documents_.at(uri).text;
  if (method == "textDocument/documentSymbol") return document_symbols(*pair, source, encoding_);
  if (method == "textDocument/formatting") {
    Formatting f = format_source(*pair, source, encoding_);
    if (!f.refused.empty()) throw RequestError{rpc::kRequestFailed, f.refused};
    return f.edits;
  }
  const std::size_t offset = text.offset_of(position, encoding_);
  if (method == "textDocument/hover") return hover_at(*pair, source, offset, encoding_);
  if (method == "textDocument/completion") return completion_at(*pair, source, offset);
  if (method == "textDocument/references") {
    const Json context = params.value("context", Json::object());
    const bool declaration = !context.is_object() || context.value("includeDeclaration", true);
    return references_at(*pair, source, offset, declaration, encoding_);
  }
  return definition_at(*pair, source, offset, encoding_);
}

void Server::notification(const std::string& method, const Json& params) {
  if (method == "exit") {
    exited_ = true;
    return;
  }
  if (!initialized_ || shutdown_) return;
  if (method == "textDocument/didOpen") open(params);
  else if (method == "textDocument/didChange") change(params);
  else if (method == "textDocument/didClose") close(params);
  else if (method == "textDocument/didSave") saved(params);
}

void Server::open(const Json& params) {
  const Json& doc = member(params, "textDocument");
  const std::string uri = string_member(doc, "uri");
  Document d;
  d.uri = uri;
  d.path = path_of_uri(uri).value_or(std::filesystem::path{});
  d.text = EditorText(string_member(doc, "text"));
  d.version = doc.value("version", 0);
  documents_[uri] = std::move(d);
  attach(uri);
  read_disk_checks(uri);
}

void Server::change(const Json& params) {
  const std::string uri = uri_in(params);
  auto it = documents_.find(uri);
  if (it == documents_.end()) throw RequestError{rpc::kInvalidParams, "a change to a document that is not open"};
  const Json& changes = member(params, "contentChanges");
  if (!changes.is_array()) throw RequestError{rpc::kInvalidParams, "'contentChanges' is not an array"};
  // Full sync: the last whole text is the document.
  for (const Json& c : changes) {
    if (c.is_object() && !c.contains("range")) it->second.text = EditorText(string_member(c, "text"));
  }
  attach(uri);
}

void Server::close(const Json& params) {
  const std::string uri = uri_in(params);
  documents_.erase(uri);
  lone_fault_.erase(uri);
  auto key = pair_key_.find(uri);
  if (key == pair_key_.end()) {
    to_publish_.push_back(uri);
    return;
  }
  Pair& pair = *pairs_.at(key->second);
  const std::string pair_key = key->second;
  pair_key_.erase(key);
  PairFile& f = pair.line.uri == uri ? pair.line : pair.train;
  f.open = false;
  if (!pair.line.open && !pair.train.open) {
    // Neither source is open: clear both files' diagnostics and forget the pair.
    for (const PairFile* p : {&pair.line, &pair.train}) to_publish_.push_back(p->uri);
    pairs_.erase(pair_key);
    return;
  }
  f.text.reset();
  f.disk_messages.clear();
  if (auto bytes = read_if_present(f.path)) f.text = EditorText(latin1_to_utf8(*bytes));
  pair.dirty = true;
  to_publish_.push_back(pair_key);
}

void Server::read_disk_checks(const std::string& uri) {
  auto key = pair_key_.find(uri);
  if (key == pair_key_.end()) return;
  Pair& pair = *pairs_.at(key->second);
  const SourceId source = pair.train.uri == uri ? SourceId::Train : SourceId::Line;
  PairFile& f = pair.file(source);
  f.disk_messages = disk_checks(source, f.path, documents_.at(uri).text);
}

void Server::saved(const Json& params) {
  // The partner of an open file may have been written too: read it again.
  const std::string uri = uri_in(params);
  read_disk_checks(uri);
  if (auto key = pair_key_.find(uri); key != pair_key_.end()) {
    Pair& pair = *pairs_.at(key->second);
    for (PairFile* f : {&pair.line, &pair.train}) {
      if (f->open) continue;
      f->text.reset();
      if (auto bytes = read_if_present(f->path)) f->text = EditorText(latin1_to_utf8(*bytes));
    }
    pair.dirty = true;
    to_publish_.push_back(key->second);
  }
}

void Server::attach(const std::string& uri) {
  const Document& d = documents_.at(uri);
  if (auto key = pair_key_.find(uri); key != pair_key_.end()) {
    Pair& pair = *pairs_.at(key->second);
    (pair.line.uri == uri ? pair.line : pair.train).text = d.text;
    pair.dirty = true;
    to_publish_.push_back(key->second);
    return;
  }
  SourceSelection chosen;
  try {
    if (d.path.empty()) throw Failure("'" + uri + "' is not a file: only file URIs name sources");
    chosen = select_sources(d.path, "", "");
  } catch (const Failure& f) {
    lone_fault_[uri] = f.what();
    to_publish_.push_back(uri);
    return;
  }
  lone_fault_.erase(uri);
  const std::string key = line_source_file(chosen.dir, chosen.names).string();
  auto& slot = pairs_[key];
  if (!slot) {
    slot = std::make_unique<Pair>();
    slot->dir = chosen.dir;
    slot->names = chosen.names;
    slot->line.path = line_source_file(chosen.dir, chosen.names);
    slot->train.path = train_source_file(chosen.dir, chosen.names);
    for (PairFile* f : {&slot->line, &slot->train}) {
      f->uri = uri_of_path(f->path);
      if (auto bytes = read_if_present(f->path)) f->text = EditorText(latin1_to_utf8(*bytes));
    }
  }
  Pair& pair = *slot;
  PairFile& f = d.path.filename() == pair.train.path.filename() ? pair.train : pair.line;
  f.uri = uri;
  f.open = true;
  f.text = d.text;
  pair.dirty = true;
  pair_key_[uri] = key;
  to_publish_.push_back(key);
}

Pair* Server::pair_of(const std::string& uri) {
  auto key = pair_key_.find(uri);
  if (key == pair_key_.end()) return nullptr;
  return &compiled(*pairs_.at(key->second));
}

Pair& Server::compiled(Pair& pair) {
  if (!pair.dirty) return pair;
  CompileSession& s = pair.session;
  s = CompileSession{};
  s.options.check_only = true;
  s.options.source_dir = pair.dir;
  s.names = pair.names;
  s.texts.line_file = pair.line.path.string();
  s.texts.train_file = pair.train.path.string();
  if (pair.line.text) s.texts.line = pair.line.text->latin1();
  if (pair.train.text) s.texts.train = pair.train.text->latin1();
  // The plan's file is by far the largest of the three and no diagnostic
  // reads it; serialising it took half of each change's time on a long
  // route. Formatting compares the plan with it where it needs to.
  pair.files = compile_in_memory(s, PlanBytes::Skipped);
  pair.report = compile_messages(s.state, s.texts, s.options.warnings, s.options.max_diagnostics);
  pair.dirty = false;
  return pair;
}

void Server::publish(Pair& pair, std::vector<std::string>& out) {
  compiled(pair);
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    const PairFile& f = pair.file(source);
    if (!f.open && !f.text) continue;
    Json diags = Json::array();
    for (const Message& m : pair.report.messages) {
      // A message about the run as a whole, or about a source that is not there, goes to an open file.
      const SourceId where =
          m.source == SourceId::None || !pair.file(m.source).text ? (pair.line.open ? SourceId::Line : SourceId::Train)
                                                                  : m.source;
      if (where == source) diags.push_back(diagnostic_json(pair, m, encoding_));
    }
    if (f.open && f.text) {
      for (const Message& m : f.disk_messages) diags.push_back(diagnostic_json(pair, m, encoding_));
      for (Json& d : unmappable_diagnostics(*f.text, encoding_)) diags.push_back(std::move(d));
    }
    out.push_back(dump(notification_json("textDocument/publishDiagnostics",
                                         {{"uri", f.uri}, {"diagnostics", std::move(diags)}})));
  }
}

}  // namespace scenario::tool::lsp
