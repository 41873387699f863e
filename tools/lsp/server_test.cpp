// Unit tests of the language server: the protocol, the diagnostics of both sources as check gives them, and the features.
#include "lsp/server.h"

#include <sstream>
#include <tuple>

#include <gtest/gtest.h>

#include "tool_test_support.h"
#include "lsp/lsp_command.h"
#include "model/scenario_files.h"
#include "model/status.h"

namespace scenario::tool::lsp {
namespace {

using namespace scenario::tool::testing;

// A server fed whole messages, and what it sent back.
class Session {
 public:
  std::vector<Json> send(const std::vector<Json>& messages) {
    std::vector<Frame> frames;
    for (const Json& m : messages) frames.push_back({m.dump(), ""});
    return receive(frames);
  }
  std::vector<Json> send_one(const Json& message) { return send(std::vector<Json>{message}); }
  std::vector<Json> receive(const std::vector<Frame>& frames) {
    std::vector<Json> out;
    for (const std::string& body : server.handle(frames)) out.push_back(Json::parse(body));
    return out;
  }
  Json request(const std::string& method, Json params) {
    const auto out = send_one(Json{{"jsonrpc", "2.0"}, {"id", ++last_id}, {"method", method}, {"params", params}});
    for (const Json& m : out) {
      if (m.contains("id") && m["id"] == last_id) return m;
    }
    ADD_FAILURE() << "no answer to " << method;
    return {};
  }
  std::vector<Json> notify(const std::string& method, Json params) {
    return send_one(Json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
  }
  void initialize(Json capabilities = Json::object()) {
    request("initialize", {{"capabilities", capabilities}});
    notify("initialized", Json::object());
  }
  std::vector<Json> open(const std::string& uri, const std::string& utf8) {
    return notify("textDocument/didOpen",
                  {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", utf8}}}});
  }
  std::vector<Json> change(const std::string& uri, const std::string& utf8) {
    return notify("textDocument/didChange",
                  {{"textDocument", {{"uri", uri}, {"version", 2}}}, {"contentChanges", {{{"text", utf8}}}}});
  }

  Server server;
  int last_id = 0;
};

// The diagnostics last published for one URI among the messages sent; null when none were.
Json published(const std::vector<Json>& out, const std::string& uri) {
  Json found;
  for (const Json& m : out) {
    if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri) {
      found = m["params"]["diagnostics"];
    }
  }
  return found;
}

Json at(std::size_t line, std::size_t character) { return {{"line", line}, {"character", character}}; }

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    write_builtin_sources(dir.path());
    line_path = line_source_file(dir.path(), builtin_names());
    train_path = train_source_file(dir.path(), builtin_names());
    line_uri = uri_of_path(line_path);
    train_uri = uri_of_path(train_path);
    session.initialize();
  }
  std::string train_text() const { return latin1_to_utf8(slurp(train_path)); }
  std::string line_text() const { return latin1_to_utf8(slurp(line_path)); }

  TempDir dir;
  fs::path line_path, train_path;
  std::string line_uri, train_uri;
  Session session;
};

TEST_F(ServerTest, TheBuiltInPairHasNoDiagnosticsInEitherFile) {
  const auto out = session.open(train_uri, train_text());
  ASSERT_FALSE(published(out, train_uri).is_null());
  ASSERT_FALSE(published(out, line_uri).is_null()) << "the partner, read from disk, is published too";
  EXPECT_EQ(published(out, train_uri), Json::array());
  EXPECT_EQ(published(out, line_uri), Json::array());
}

// The diagnostics published for both files are check's messages (notes apart,
// as they travel with their message), at the same lines and columns.
void expect_as_check(const fs::path& dir, const fs::path& line_path, const std::string& line_uri,
                     const std::string& train_uri, const std::vector<Json>& out) {
  const RunResult check = run_tool({"check", "--diagnostics=json", "--max-diagnostics=0", dir.string()});
  std::vector<Json> expected;
  for (const std::string& l : lines_of(check.out)) {
    if (!l.empty() && Json::parse(l)["severity"] != "note") expected.push_back(Json::parse(l));
  }
  ASSERT_GE(expected.size(), 1u);
  std::vector<Json> shown;
  for (const std::string& uri : {line_uri, train_uri}) {
    const Json diags = published(out, uri);
    for (const Json& d : diags) shown.push_back({{"uri", uri}, {"d", d}});
  }
  ASSERT_EQ(shown.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Json& d = shown[i]["d"];
    EXPECT_EQ(d["message"], expected[i]["message"]);
    EXPECT_EQ(d["code"], expected[i]["code"]);
    EXPECT_EQ(d["range"]["start"]["line"].get<int>() + 1, expected[i]["line"].get<int>());
    EXPECT_EQ(d["range"]["start"]["character"].get<int>() + 1, expected[i]["column"].get<int>());
    EXPECT_EQ(shown[i]["uri"], expected[i]["file"] == line_path.string() ? line_uri : train_uri);
  }
}

// The editor shows what check prints: the same messages at the same lines and columns.
TEST_F(ServerTest, DiagnosticsAreTheMessagesOfCheckAtTheirPlaces) {
  const std::string broken_train = replaced(slurp(train_path), "stazione,    4900", "stazzione,    4900");
  const std::string broken_line = replaced(slurp(line_path), "curvas4,  250,  400", "curvaz4,  250,  400");
  spit(train_path, broken_train);
  spit(line_path, broken_line);
  const auto out = session.open(train_uri, latin1_to_utf8(broken_train));
  expect_as_check(dir.path(), line_path, line_uri, train_uri, out);
  EXPECT_GE(published(out, line_uri).size() + published(out, train_uri).size(), 2u);
  // The range covers the misspelt keyword, not only its first character.
  const Json keyword = published(out, train_uri).at(0);
  EXPECT_EQ(keyword["range"]["end"], at(15, std::string("stazzione").size()));
}

// A station name too long for the scenario file fails only when the files
// are serialised: the failure is shown at the name, as check shows it.
TEST_F(ServerTest, ANameTooLongForTheFilesIsShownAtItsRecordAsCheckShowsIt) {
  const std::string broken = replaced(slurp(train_path), "MONTEFERRO", std::string(70000, 'M'));
  spit(train_path, broken);
  const auto out = session.open(train_uri, latin1_to_utf8(broken));
  expect_as_check(dir.path(), line_path, line_uri, train_uri, out);
  const Json diags = published(out, train_uri);
  const auto error = std::find_if(diags.begin(), diags.end(), [](const Json& d) { return d["severity"] == 1; });
  ASSERT_NE(error, diags.end()) << diags.dump().substr(0, 2000);
  EXPECT_EQ((*error)["range"]["start"]["line"], 15);
}

TEST_F(ServerTest, AnEditInTheLineSourceRepublishesTheTrainSource) {
  session.open(train_uri, train_text());
  session.open(line_uri, line_text());
  // A route too short for the train's stations breaks the train source.
  const auto out = session.change(line_uri, replaced(line_text(), "lunghezza percorso,    96000", "lunghezza percorso,    9000"));
  ASSERT_FALSE(published(out, train_uri).is_null());
  EXPECT_FALSE(published(out, train_uri).empty());
  // Closing the line source reads it from disk again, where it is whole.
  const auto closed = session.notify("textDocument/didClose", {{"textDocument", {{"uri", line_uri}}}});
  EXPECT_EQ(published(closed, train_uri), Json::array());
}

struct EncodingCase {
  std::string name;
  Json offered;            // positionEncodings the client offers; null: none
  std::string chosen;
  std::size_t keyword_end;  // the end column of "vìlocita"
};

class EncodingTest : public ServerTest, public ::testing::WithParamInterface<EncodingCase> {};

// "ì" is one byte for the compiler, two in UTF-8 and one UTF-16 unit.
TEST_P(EncodingTest, ColumnsAfterAnAccentAreCountedInTheNegotiatedUnits) {
  Session s;
  Json general = Json::object();
  if (!GetParam().offered.is_null()) general["positionEncodings"] = GetParam().offered;
  const Json init = s.request("initialize", {{"capabilities", {{"general", general}}}});
  EXPECT_EQ(init["result"]["capabilities"]["positionEncoding"], GetParam().chosen);
  const auto out = s.open(train_uri, replaced(train_text(), "velocita,   24600", "v\xC3\xAClocita,   24600"));
  const Json diags = published(out, train_uri);
  ASSERT_FALSE(diags.empty());
  EXPECT_EQ(diags[0]["code"], "unknown-keyword");
  EXPECT_EQ(diags[0]["range"]["end"], at(9, GetParam().keyword_end));
}

INSTANTIATE_TEST_SUITE_P(Negotiated, EncodingTest,
                         ::testing::Values(EncodingCase{"DefaultUtf16", nullptr, "utf-16", 8},
                                           EncodingCase{"Utf8WhenOffered", {"utf-8", "utf-16"}, "utf-8", 9},
                                           EncodingCase{"Utf32WhenOfferedFirst", {"utf-32"}, "utf-32", 8},
                                           EncodingCase{"Utf16WhenNothingKnown", {"latin-1"}, "utf-16", 8}),
                         [](const ::testing::TestParamInfo<EncodingCase>& info) { return info.param.name; });

TEST_F(ServerTest, ACharacterLatinOneCannotHoldIsAnErrorAtItsPlace) {
  const auto out = session.open(train_uri, replaced(train_text(), "CASTROVELDE", "CASTRO\xE2\x82\xAC" "VELDE"));
  const Json diags = published(out, train_uri);
  const auto it = std::find_if(diags.begin(), diags.end(), [](const Json& d) { return d["code"] == "not-latin1"; });
  ASSERT_NE(it, diags.end());
  const std::size_t column = std::string("stazione,       0, 12,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,   8, 7, 0, CASTRO").size();
  EXPECT_EQ((*it)["range"]["start"], at(14, column));
  EXPECT_EQ((*it)["range"]["end"], at(14, column + 1));
}

// A file saved as UTF-8 looks right in an editor that decodes it, yet the
// simulator reads each byte as a character: the check looks at the disk.
TEST_F(ServerTest, UtfEightOnDiskIsReportedAlthoughTheEditorShowsItDecoded) {
  const std::string utf8 = replaced(train_text(), "MONTEFERRO", "MONTEFERR\xC3\x8C");
  spit(train_path, utf8);
  const Json diags = published(session.open(train_uri, utf8), train_uri);
  const auto it = std::find_if(diags.begin(), diags.end(), [](const Json& d) { return d["code"] == "utf8-text"; });
  ASSERT_NE(it, diags.end()) << diags.dump();
  EXPECT_EQ((*it)["range"]["start"]["line"], 15);
  const std::size_t name_column = std::string("stazione,    4900, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,   8,13, 0, ").size();
  EXPECT_EQ((*it)["range"]["start"]["character"], name_column);
  // The same text saved as Latin-1 is what the simulator shows: nothing to say.
  spit(train_path, EditorText(utf8).latin1());
  session.notify("textDocument/didSave", {{"textDocument", {{"uri", train_uri}}}});
  const Json after = published(session.change(train_uri, utf8), train_uri);
  EXPECT_EQ(after, Json::array());
}

struct ProtocolCase {
  std::string name;
  std::string body;
  int code;
  bool initialized = true;
};

class ProtocolTest : public ::testing::TestWithParam<ProtocolCase> {};

TEST_P(ProtocolTest, AnsweredWithAnErrorNeverACrash) {
  Session s;
  if (GetParam().initialized) s.initialize();
  const auto out = s.receive({{GetParam().body, ""}});
  ASSERT_EQ(out.size(), 1u);
  ASSERT_TRUE(out[0].contains("error")) << out[0].dump();
  EXPECT_EQ(out[0]["error"]["code"], GetParam().code) << out[0].dump();
  EXPECT_FALSE(s.server.exited());
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, ProtocolTest,
    ::testing::Values(
        ProtocolCase{"NotJson", "{\"jsonrpc\":\"2.0\",", rpc::kParseError},
        ProtocolCase{"NotAnObject", "[1,2]", rpc::kInvalidRequest},
        ProtocolCase{"NoMethod", "{\"jsonrpc\":\"2.0\",\"id\":1}", rpc::kInvalidRequest},
        ProtocolCase{"IdOfWrongType", "{\"jsonrpc\":\"2.0\",\"id\":[1],\"method\":\"shutdown\"}", rpc::kInvalidRequest},
        ProtocolCase{"UnknownMethod", "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"textDocument/rename\"}",
                     rpc::kMethodNotFound},
        ProtocolCase{"HoverWithoutPosition",
                     "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"textDocument/hover\",\"params\":"
                     "{\"textDocument\":{\"uri\":\"file:///x\"}}}",
                     rpc::kInvalidParams},
        ProtocolCase{"NegativeLine",
                     "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"textDocument/hover\",\"params\":"
                     "{\"textDocument\":{\"uri\":\"file:///x\"},\"position\":{\"line\":-1,\"character\":0}}}",
                     rpc::kInvalidParams},
        ProtocolCase{"RequestBeforeInitialize", "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"shutdown\"}",
                     rpc::kServerNotInitialized, false},
        ProtocolCase{"SecondInitialize", "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"initialize\",\"params\":{}}",
                     rpc::kInvalidRequest}),
    [](const ::testing::TestParamInfo<ProtocolCase>& info) { return info.param.name; });

TEST(ServerProtocolTest, AFramingFaultIsAParseErrorAndTheNextMessageIsServed) {
  Session s;
  const auto out = s.receive({{"", "a message without Content-Length"},
                              {Json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {}}}.dump(), ""}});
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0]["error"]["code"], rpc::kParseError);
  EXPECT_TRUE(out[0]["id"].is_null());
  EXPECT_TRUE(out[1].contains("result"));
}

TEST(ServerProtocolTest, ShutdownThenExitEndsCleanlyAndRequestsBetweenAreRefused) {
  Session s;
  s.initialize();
  EXPECT_TRUE(s.request("shutdown", nullptr)["result"].is_null());
  EXPECT_EQ(s.request("textDocument/hover", {})["error"]["code"], rpc::kInvalidRequest);
  s.notify("exit", nullptr);
  EXPECT_TRUE(s.server.exited());
  EXPECT_EQ(s.server.exit_status(), kExitAfterShutdown);

  Session abrupt;
  abrupt.initialize();
  abrupt.notify("exit", nullptr);
  EXPECT_TRUE(abrupt.server.exited());
  EXPECT_EQ(abrupt.server.exit_status(), kExitWithoutShutdown);
}

// The loop on real streams: framed answers, and the exit status the protocol gives.
TEST(ServerLoopTest, AnswersFramedMessagesAndEndsAtExitOrAtTheEndOfInput) {
  const std::string initialize = frame(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})");
  const std::string shutdown = frame(R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})");
  const std::string exit = frame(R"({"jsonrpc":"2.0","method":"exit"})");
  const std::string after_exit = frame(R"({"jsonrpc":"2.0","id":3,"method":"shutdown"})");
  std::istringstream in(initialize + shutdown + exit + after_exit);
  std::ostringstream out;
  EXPECT_EQ(run_lsp(in, out), kExitAfterShutdown);
  FrameReader reader;
  reader.feed(out.str());
  std::vector<Json> answers;
  for (Frame f; reader.next(f);) answers.push_back(Json::parse(f.body));
  ASSERT_EQ(answers.size(), 2u) << out.str();
  EXPECT_EQ(answers[0]["id"], 1);
  EXPECT_EQ(answers[1]["id"], 2);
  EXPECT_TRUE(answers[1]["result"].is_null());

  std::istringstream cut(initialize);
  std::ostringstream ignored;
  EXPECT_EQ(run_lsp(cut, ignored), kExitWithoutShutdown) << "input ended without shutdown and exit";
}

TEST_F(ServerTest, ARequestCancelledInTheSameBatchIsAnsweredAsCancelled) {
  session.open(train_uri, train_text());
  const Json hover{{"jsonrpc", "2.0"},
                   {"id", 77},
                   {"method", "textDocument/hover"},
                   {"params", {{"textDocument", {{"uri", train_uri}}}, {"position", at(15, 2)}}}};
  const Json cancel{{"jsonrpc", "2.0"}, {"method", "$/cancelRequest"}, {"params", {{"id", 77}}}};
  const auto out = session.send(std::vector<Json>{hover, cancel});
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0]["error"]["code"], rpc::kRequestCancelled);
}

TEST_F(ServerTest, HoverOnAFieldGivesItsMeaningValueAndWhatItWrote) {
  session.open(train_uri, train_text());
  const auto hover = [&](std::size_t line, std::size_t character) {
    return session.request("textDocument/hover", {{"textDocument", {{"uri", train_uri}}}, {"position", at(line, character)}});
  };
  // The first signal, at 10700 m: the compiler places it in cell 215 (10750 m), its approach marks before it.
  const Json signal = hover(34, 12);
  const std::string text = signal["result"]["contents"]["value"];
  EXPECT_NE(text.find("the signal's position"), std::string::npos) << text;
  EXPECT_NE(text.find("Read as: 10700"), std::string::npos) << text;
  EXPECT_NE(text.find("- cell 215 (10750 m), object\n"), std::string::npos) << text;
  EXPECT_NE(text.find("- cell 213 (10650 m), approach marks\n"), std::string::npos) << text;
  EXPECT_EQ(signal["result"]["range"]["start"], at(34, 11));
  EXPECT_EQ(signal["result"]["range"]["end"], at(34, 16));
  // The station MONTEFERRO writes the fields of its scenario row, named on one line.
  const std::string station = hover(15, 13)["result"]["contents"]["value"];
  EXPECT_NE(station.find("Read as: 4900"), std::string::npos) << station;
  EXPECT_NE(station.find("- scenario rows 2–2: "), std::string::npos) << station;
  // On the keyword: the record's fields.
  const std::string keyword = hover(15, 2)["result"]["contents"]["value"];
  EXPECT_NE(keyword.find("17. the station's name (text)"), std::string::npos) << keyword;
}

TEST_F(ServerTest, DefinitionOfARepeatedRecordGoesToTheOneThatWins) {
  const std::string text = replaced(train_text(), "numero vetture,    3\r\n", "numero vetture,    3\r\nnumero vetture,    4\r\n");
  session.open(train_uri, text);
  const Json r = session.request("textDocument/definition", {{"textDocument", {{"uri", train_uri}}}, {"position", at(1, 2)}});
  ASSERT_TRUE(r["result"].is_object()) << r.dump();
  EXPECT_EQ(r["result"]["uri"], train_uri);
  EXPECT_EQ(r["result"]["range"]["start"], at(2, 0));
  const Json winner = session.request("textDocument/definition", {{"textDocument", {{"uri", train_uri}}}, {"position", at(2, 2)}});
  EXPECT_TRUE(winner["result"].is_null());
}

TEST_F(ServerTest, CompletionOffersTheKeywordsOfTheSectionUnderTheCursorOnly) {
  session.open(line_uri, line_text());
  const auto labels = [&](std::size_t line) {
    std::vector<std::string> out;
    const Json r = session.request("textDocument/completion", {{"textDocument", {{"uri", line_uri}}}, {"position", at(line, 0)}});
    for (const Json& item : r["result"]) out.push_back(item["label"]);
    return out;
  };
  const auto has = [](const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
  };
  const auto general = labels(2);
  const auto body = labels(12);
  EXPECT_TRUE(has(general, "lunghezza percorso"));
  EXPECT_FALSE(has(general, "pendenza"));
  EXPECT_TRUE(has(body, "pendenza"));
  EXPECT_FALSE(has(body, "lunghezza percorso"));
  EXPECT_FALSE(has(body, "stazione")) << "a keyword of the train source";
  EXPECT_TRUE(has(body, "[generale]"));
}

TEST_F(ServerTest, TheOutlineHoldsSectionsAndStationsByName) {
  session.open(train_uri, train_text());
  const Json r = session.request("textDocument/documentSymbol", {{"textDocument", {{"uri", train_uri}}}});
  const auto section = std::find_if(r["result"].begin(), r["result"].end(),
                                    [](const Json& s) { return s["name"] == "[stazioni]"; });
  ASSERT_NE(section, r["result"].end());
  ASSERT_EQ((*section)["children"].size(), 18u);
  EXPECT_EQ((*section)["children"][1]["name"], "station MONTEFERRO");
  EXPECT_EQ((*section)["children"][1]["detail"], "at 4900 m");
  EXPECT_EQ((*section)["children"][1]["selectionRange"]["start"], at(15, 0));
}

TEST_F(ServerTest, TheDidYouMeanFixReplacesTheKeywordAndClearsTheError) {
  const std::string broken = replaced(train_text(), "stazione,    4900", "stazzione,    4900");
  const Json diags = published(session.open(train_uri, broken), train_uri);
  const Json r = session.request("textDocument/codeAction", {{"textDocument", {{"uri", train_uri}}},
                                                             {"range", diags[0]["range"]},
                                                             {"context", {{"diagnostics", diags}}}});
  ASSERT_EQ(r["result"].size(), 1u) << r.dump();
  const Json edit = r["result"][0]["edit"]["changes"][train_uri][0];
  EXPECT_EQ(edit["newText"], "stazione");
  EXPECT_EQ(edit["range"], diags[0]["range"]);
  // Applied, the source is whole again.
  const EditorText t(broken);
  const std::size_t from = t.offset_of({15, 0}, PositionEncoding::Utf16);
  const std::size_t to = t.offset_of({edit["range"]["end"]["line"], edit["range"]["end"]["character"]}, PositionEncoding::Utf16);
  const std::string fixed = broken.substr(0, from) + "stazione" + broken.substr(to);
  EXPECT_EQ(published(session.change(train_uri, fixed), train_uri), Json::array());
}

TEST_F(ServerTest, FormattingAlignsWithoutChangingACompiledByte) {
  const std::string text = replaced(train_text(), "velocita,   24600,    40", "velocita,24600,40   ");
  session.open(train_uri, text);
  const Json r = session.request("textDocument/formatting", {{"textDocument", {{"uri", train_uri}}}, {"options", Json::object()}});
  ASSERT_EQ(r["result"].size(), 1u) << r.dump();
  const std::string formatted = r["result"][0]["newText"];
  EXPECT_NE(formatted.find("velocita, 24600, 40\r\n"), std::string::npos);
  EXPECT_NE(formatted.find("velocita,     0, 80\r\n"), std::string::npos);
  EXPECT_NE(formatted.find("CASTROVELDE\r\n"), std::string::npos) << "line ends kept";
  // Compiled, the formatted text gives the same bytes as the built-in one: check says so too.
  spit(train_path, EditorText(formatted).latin1());
  EXPECT_EQ(run_tool({"verify", "--sources", dir.path().string(), generator_output().string()}).status, 0);
}

TEST_F(ServerTest, FormattingIsRefusedWhileTheSourcesCompileToNoFile) {
  // A route length that is not a number stops the compiler: nothing to compare the aligned text with.
  session.open(line_uri, replaced(line_text(), "lunghezza percorso,    96000", "lunghezza percorso,    96000x"));
  const Json r = session.request("textDocument/formatting", {{"textDocument", {{"uri", line_uri}}}, {"options", Json::object()}});
  ASSERT_TRUE(r.contains("error")) << r.dump().substr(0, 300);
  EXPECT_EQ(r["error"]["code"], rpc::kRequestFailed);
}

// References of a station name: the station in the train source and every
// sign group in the line source that carries the same name, nothing that
// merely contains it.
TEST_F(ServerTest, ReferencesOfAStationNameAreItsStationAndTheSignGroupsNamingIt) {
  const std::string line = replaced(replaced(line_text(), "(ALVERIA)", "(Stazione)( PIANELLO )"),
                                    "(Galleria)( Sorba  )", "(Galleria)(PIANELLONE)");
  session.open(line_uri, line);
  session.open(train_uri, train_text());
  const std::string pianello = "stazione,   11400, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,   8,20, 0, ";
  const std::string sign = "cartello_indicatore,  14700,   (Stazione)( ";
  const Json in_train{{"uri", train_uri}, {"range", {{"start", at(16, pianello.size())}, {"end", at(16, pianello.size() + 8)}}}};
  const Json in_line{{"uri", line_uri}, {"range", {{"start", at(295, sign.size())}, {"end", at(295, sign.size() + 8)}}}};
  const auto references = [&](const std::string& uri, std::size_t l, std::size_t c, bool declaration) {
    return session.request("textDocument/references", {{"textDocument", {{"uri", uri}}},
                                                       {"position", at(l, c)},
                                                       {"context", {{"includeDeclaration", declaration}}}})["result"];
  };
  EXPECT_EQ(references(train_uri, 16, pianello.size() + 2, true), Json::array({in_line, in_train}));
  EXPECT_EQ(references(train_uri, 16, 3, true), Json::array({in_line, in_train})) << "anywhere on the station's record";
  EXPECT_EQ(references(train_uri, 16, 3, false), Json::array({in_line})) << "without the record asked from";
  EXPECT_EQ(references(line_uri, 295, sign.size() + 1, true), Json::array({in_line, in_train})) << "from the sign";
  const std::size_t group = std::string("cartello_indicatore,  14700,   (").size();
  const Json other{{"uri", line_uri}, {"range", {{"start", at(295, group)}, {"end", at(295, group + 8)}}}};
  EXPECT_EQ(references(line_uri, 295, group + 1, true), Json::array({other})) << "another group, its own name";
  EXPECT_TRUE(references(train_uri, 34, 12, true).is_null()) << "a signal names nothing";
  // Editors ask for references only of a server that offers them.
  Session fresh;
  EXPECT_EQ(fresh.request("initialize", {{"capabilities", Json::object()}})["result"]["capabilities"]["referencesProvider"],
            true);
}

// The built-in text with two neighbouring lines swapped; lines end in CR LF.
std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t from = 0, end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2) {
    out.push_back(text.substr(from, end - from + 2));
  }
  return out;
}

// The text edits of one document applied, in UTF-16 positions.
std::string applied(const std::string& utf8, const Json& edits) {
  const EditorText t(utf8);
  std::vector<std::tuple<std::size_t, std::size_t, std::string>> spans;
  for (const Json& e : edits) {
    const auto offset = [&](const Json& p) {
      return t.offset_of({p["line"].get<std::size_t>(), p["character"].get<std::size_t>()}, PositionEncoding::Utf16);
    };
    spans.emplace_back(offset(e["range"]["start"]), offset(e["range"]["end"]), EditorText(e["newText"]).latin1());
  }
  std::sort(spans.begin(), spans.end());
  std::string out = t.latin1();
  for (auto s = spans.rbegin(); s != spans.rend(); ++s) {
    out.replace(std::get<0>(*s), std::get<1>(*s) - std::get<0>(*s), std::get<2>(*s));
  }
  return latin1_to_utf8(out);
}

// A station behind the one before it is the zone error's, not a warning's.
const std::string kStationZone = std::to_string(static_cast<int>(Status::StationTooClose));

struct MoveCase {
  std::string name;
  std::string code;  // of the diagnostic on the record that stands behind
  bool train;        // else the line source
  std::size_t line;  // zero-based: this line and the next are swapped
};

class MoveFixTest : public ServerTest, public ::testing::WithParamInterface<MoveCase> {};

// Two neighbouring records swapped: the second now stands behind the first,
// the compiler names it, and the fix moves its line back, exactly the built-in text.
TEST_P(MoveFixTest, MovesTheNamedRecordBackAndTheDiagnosticGoes) {
  const MoveCase& c = GetParam();
  const std::string uri = c.train ? train_uri : line_uri;
  const std::string built_in = c.train ? train_text() : line_text();
  std::vector<std::string> lines = crlf_lines(built_in);
  ASSERT_LT(c.line + 1, lines.size());
  std::swap(lines[c.line], lines[c.line + 1]);
  std::string swapped;
  for (const std::string& l : lines) swapped += l;
  ASSERT_EQ(swapped.size(), built_in.size());

  const Json diags = published(session.open(uri, swapped), uri);
  const auto named = std::find_if(diags.begin(), diags.end(), [&](const Json& d) { return d["code"] == c.code; });
  ASSERT_NE(named, diags.end()) << diags.dump();
  EXPECT_EQ((*named)["range"]["start"]["line"], c.line + 1);
  const Json r = session.request("textDocument/codeAction", {{"textDocument", {{"uri", uri}}},
                                                             {"range", (*named)["range"]},
                                                             {"context", {{"diagnostics", Json::array({*named})}}}});
  ASSERT_EQ(r["result"].size(), 1u) << r.dump();
  const Json edits = r["result"][0]["edit"]["changes"][uri];
  const Json expected = Json::array(
      {{{"range", {{"start", at(c.line, 0)}, {"end", at(c.line, 0)}}}, {"newText", lines[c.line + 1]}},
       {{"range", {{"start", at(c.line + 1, 0)}, {"end", at(c.line + 2, 0)}}}, {"newText", ""}}});
  EXPECT_EQ(edits, expected);
  const std::string fixed = applied(swapped, edits);
  EXPECT_EQ(fixed, built_in);
  EXPECT_EQ(published(session.change(uri, fixed), uri), Json::array());
}

INSTANTIATE_TEST_SUITE_P(OrderingDiagnostics, MoveFixTest,
                         ::testing::Values(MoveCase{"Station", kStationZone, true, 16},
                                           MoveCase{"Signal", "unordered-signal", true, 35},
                                           MoveCase{"SpeedLimit", "unordered-speed", true, 10},
                                           MoveCase{"Curve", "unordered-curve", false, 11},
                                           MoveCase{"Gradient", "unordered-gradient", false, 173},
                                           MoveCase{"Sign", "unordered-sign", false, 295}),
                         [](const ::testing::TestParamInfo<MoveCase>& info) { return info.param.name; });

// The request with the diagnostic as the editor sends it back.
Json fixes_for(Session& session, const std::string& uri, const Json& diags, const std::string& code) {
  const auto named = std::find_if(diags.begin(), diags.end(), [&](const Json& d) { return d["code"] == code; });
  if (named == diags.end()) {
    ADD_FAILURE() << "no " << code << " among " << diags.dump();
    return Json();
  }
  return session.request("textDocument/codeAction", {{"textDocument", {{"uri", uri}}},
                                                     {"range", (*named)["range"]},
                                                     {"context", {{"diagnostics", Json::array({*named})}}}})["result"];
}

// The last line of a file, without a line end, moves with the file's own.
TEST_F(ServerTest, AMovedLastLineTakesTheFilesLineEnd) {
  const std::string sign = "cartello_indicatore,  20000,   (Galleria)( Nuova )";
  const std::string text = replaced(line_text(), "[fine]\r\n", "") + sign;
  const Json fixes = fixes_for(session, line_uri, published(session.open(line_uri, text), line_uri), "unordered-sign");
  ASSERT_EQ(fixes.size(), 1u) << fixes.dump();
  const std::string fixed = applied(text, fixes[0]["edit"]["changes"][line_uri]);
  EXPECT_EQ(fixed, replaced(replaced(line_text(), "[fine]\r\n", ""), "cartello_indicatore,  31700",
                            sign + "\r\ncartello_indicatore,  31700"));
  EXPECT_EQ(published(session.change(line_uri, fixed), line_uri), Json::array());
}

// When moving the named record back leaves the file as much out of order
// (the one before it is the stray), no move is offered.
TEST_F(ServerTest, NoMoveIsOfferedWhenItWouldNotClearTheDiagnostic) {
  std::vector<std::string> lines = crlf_lines(train_text());
  // ARDIS, the last station, moved up behind the first: MONTEFERRO is named, but ARDIS is the stray.
  const std::string ardis = lines[31];
  lines.erase(lines.begin() + 31);
  lines.insert(lines.begin() + 15, ardis);
  std::string text;
  for (const std::string& l : lines) text += l;
  const Json diags = published(session.open(train_uri, text), train_uri);
  ASSERT_FALSE(diags.empty());
  EXPECT_EQ(diags[0]["range"]["start"]["line"], 16) << diags.dump();
  EXPECT_EQ(fixes_for(session, train_uri, diags, kStationZone), Json::array());
}

// Each move costs a compile: an editor that sends back a flood of ordering
// diagnostics gets a bounded answer, not a wait of seconds.
TEST_F(ServerTest, TheMovesCheckedForOneRequestAreBounded) {
  std::vector<std::string> lines = crlf_lines(train_text());
  std::swap(lines[35], lines[36]);
  std::string text;
  for (const std::string& l : lines) text += l;
  const Json diags = published(session.open(train_uri, text), train_uri);
  const auto named = std::find_if(diags.begin(), diags.end(), [](const Json& d) { return d["code"] == "unordered-signal"; });
  ASSERT_NE(named, diags.end()) << diags.dump();
  const Json flood(std::vector<Json>(100, *named));
  const Json r = session.request("textDocument/codeAction", {{"textDocument", {{"uri", train_uri}}},
                                                             {"range", (*named)["range"]},
                                                             {"context", {{"diagnostics", flood}}}});
  EXPECT_EQ(r["result"].size(), 8u);
}

}  // namespace
}  // namespace scenario::tool::lsp
