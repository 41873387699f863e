// The three driver documents: card layout and values, notice, notes, files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "content/golden_test_support.h"
#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
namespace {

std::string b(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string r(int n, char c) { return std::string(static_cast<std::size_t>(n), c); }

// The lines as they reach the file: split at CR LF; every line must end in it.
std::vector<std::string> written_lines(const std::vector<std::string>& entries) {
  const std::string text = render_lines(entries);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF";
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> split_bars(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
    parts.push_back(line.substr(start, bar - start));
  }
  parts.push_back(line.substr(start));
  return parts;
}

std::string read_bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string card_tunnel() {
  for (const auto& t : names::kTunnels) {
    if (t.sign_position == names::kCardTunnelSign) return std::string(t.name);
  }
  return {};
}

// A fresh directory under the system's temporary directory, removed afterwards.
class DocumentFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("documents_test_" + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

// ---------------------------------------------------------------- the card

TEST(Card, HasFortyTwoLinesOfTheGivenLengths) {
  const int lengths[42] = {82, 83, 83, 83, 83, 56, 64, 57, 57, 0,  82, 83, 83, 83,
                           83, 83, 83, 83, 83, 83, 83, 83, 83, 83, 83, 83, 83, 83,
                           83, 83, 83, 83, 83, 83, 83, 83, 83, 83, 83, 0,  0,  64};
  const auto lines = written_lines(righe_scheda());
  ASSERT_EQ(lines.size(), 42u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(static_cast<int>(lines[i].size()), lengths[i]) << "line " << i;
  }
  EXPECT_TRUE(lines[9].empty());
  EXPECT_TRUE(lines[39].empty());
  EXPECT_TRUE(lines[40].empty());
  EXPECT_TRUE(lines[6].ends_with(std::string(1, '|').append(7, ' '))) << "[" << lines[6] << "]";
}

// Every byte of the card, against the golden file; the tests around it hold
// its layout and its agreement with the train source and the place names.
TEST(Card, TextIsTheGoldenFile) { EXPECT_TRUE(golden::matches("scheda_treno.txt", render_lines(righe_scheda()))); }

// The three slots of a time cell, read back by where each time ends:
// arrival at character 6, passing at 11, departure at 15; '+' just after.
struct Slots {
  std::string arrival, passing, departure;
};

Slots read_slots(const std::string& cell) {
  Slots s;
  std::size_t i = 0;
  while (i < cell.size()) {
    if (cell[i] == ' ') {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < cell.size() && cell[j] != ' ' && cell[j] != '+') ++j;
    const std::size_t end = j;  // 1-based position of the last digit
    std::string t = cell.substr(i, j - i);
    if (j < cell.size() && cell[j] == '+') {
      t += '+';
      ++j;
    }
    if (end == 6) s.arrival = t;
    else if (end == 11) s.passing = t;
    else if (end == 15) s.departure = t;
    else ADD_FAILURE() << "time \"" << t << "\" ends at character " << end;
    i = j;
  }
  return s;
}

bool is_separator(const std::string& line) {
  return line == " |" + r(5, '-') + "|" + r(5, '-') + "|" + r(10, '-') + "|" + r(5, '-') + "|" + r(28, '-') + "|" +
                     r(16, '-') + "|" + r(5, '-') + "|";
}

// A speed stands with its last digit at the fourth character of its cell.
bool speed_cell(const std::string& cell) {
  static const std::regex form(R"( *([0-9]{2,3})? )");
  return cell.size() == 5 && std::regex_match(cell, form);
}

// Every table row between the heading and the closing rule is a separator or
// holds its values in fixed columns: speeds and chainage right-aligned, the
// place after one blank, each time in its slot, the other cells blank.
TEST(Card, TableRowsKeepTheirColumns) {
  static const std::regex chainage(R"( *[0-9]{1,3}\.[0-9]{3}  )");
  const auto lines = written_lines(righe_scheda());
  ASSERT_EQ(lines.size(), 42u);
  int values = 0;
  for (std::size_t i = 14; i <= 37; ++i) {
    SCOPED_TRACE("line " + std::to_string(i) + ": " + lines[i]);
    if (is_separator(lines[i])) continue;
    ++values;
    const auto cells = split_bars(lines[i]);
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(cells[0], " ");
    EXPECT_EQ(cells[8], "");
    const std::size_t widths[] = {5, 5, 10, 5, 28, 16, 5};
    for (std::size_t k = 0; k < 7; ++k) EXPECT_EQ(cells[k + 1].size(), widths[k]) << "cell " << k + 1;
    EXPECT_TRUE(speed_cell(cells[1])) << "'" << cells[1] << "'";
    EXPECT_TRUE(speed_cell(cells[2])) << "'" << cells[2] << "'";
    EXPECT_TRUE(std::regex_match(cells[3], chainage)) << "'" << cells[3] << "'";
    EXPECT_EQ(cells[4], b(5));
    ASSERT_GE(cells[5].size(), 2u);
    EXPECT_EQ(cells[5][0], ' ');
    EXPECT_NE(cells[5][1], ' ') << "place text starts right after one blank";
    const Slots slots = read_slots(cells[6]);
    EXPECT_FALSE(slots.arrival.empty() && slots.passing.empty() && slots.departure.empty());
    EXPECT_EQ(cells[7], b(5));
  }
  EXPECT_EQ(values, 22);
}

struct CardEntry {
  std::string place;
  Slots times;
};

// The table rows other than the separators, top to bottom.
std::vector<CardEntry> card_entries() {
  std::vector<CardEntry> entries;
  const auto lines = written_lines(righe_scheda());
  for (std::size_t i = 14; i <= 37 && i < lines.size(); ++i) {
    const auto cells = split_bars(lines[i]);
    if (cells.size() == 9 && cells[5].find('-') != 0) entries.push_back({trim(cells[5]), read_slots(cells[6])});
  }
  return entries;
}

std::vector<std::string> card_places() {
  std::vector<std::string> places;
  for (const auto& e : card_entries()) places.push_back(e.place);
  return places;
}

std::vector<std::string> split_commas(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1) {
    fields.push_back(line.substr(start, comma - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

// Each name must be a whole place cell, later than the one before it.
void expect_in_order(const std::vector<std::string>& places, const std::vector<std::string>& wanted) {
  auto from = places.begin();
  for (const auto& w : wanted) {
    const auto it = std::find(from, places.end(), w);
    ASSERT_NE(it, places.end()) << "\"" << w << "\" missing from the card or out of order";
    from = it + 1;
  }
}

TEST(Card, NamesTheCardTunnelAtItsEntranceThenItsExit) {
  const std::string tunnel = card_tunnel();
  ASSERT_FALSE(tunnel.empty());
  expect_in_order(card_places(), {"Imbocco gall. " + tunnel, "Uscita gall. " + tunnel});
}

TEST(Card, ListsEveryStationInRouteOrderInItsCardForm) {
  std::vector<std::string> wanted;
  for (const auto& s : names::kStations) {
    EXPECT_LE(s.card.size(), 27u) << s.card;
    wanted.emplace_back(s.card);
  }
  expect_in_order(card_places(), wanted);
}

// Names in order; and where the train source sets a clock time, the card
// prints it as the departure (at the last station as the arrival).
TEST(Card, StationsAndTimesAgreeWithTheTrainSource) {
  const auto card = card_entries();
  std::vector<std::string> wanted;
  for (const auto& line : written_lines(righe_treno())) {
    if (line.rfind("stazione", 0) != 0) continue;
    const std::string source = line.substr(line.rfind(", ") + 2);
    const auto it = std::find_if(names::kStations.begin(), names::kStations.end(),
                                 [&](const auto& s) { return s.source == source; });
    ASSERT_NE(it, names::kStations.end()) << "unknown station in the train source: " << source;
    wanted.emplace_back(it->card);

    const auto f = split_commas(line);
    ASSERT_EQ(f.size(), 18u) << line;
    const int h = std::stoi(f[14]), m = std::stoi(f[15]);
    if (h == 0 && m == 0) continue;
    char want[16];
    std::snprintf(want, sizeof want, "%d.%02d", h, m);
    const auto row = std::find_if(card.begin(), card.end(), [&](const auto& e) { return e.place == it->card; });
    ASSERT_NE(row, card.end()) << it->card;
    const bool last = &*it == &names::kStations.back();
    EXPECT_EQ(last ? row->times.arrival : row->times.departure, want) << it->card;
  }
  EXPECT_EQ(wanted.size(), names::kStations.size());
  expect_in_order(card_places(), wanted);
}

TEST_F(DocumentFiles, CardTextIgnoresTheScenarioNamesWhichOnlyNameTheFile) {
  const ScenarioNames a{"Castrovelde_Ardis", "R31708"};
  const ScenarioNames other{"Altra_Linea", "X123"};
  dati_scheda(dir_, a);
  dati_scheda(dir_, other);
  EXPECT_EQ(scheda_file(dir_, a).filename(), "Castrovelde_Ardis_R31708_scheda_treno.txt");
  EXPECT_EQ(scheda_file(dir_, other).filename(), "Altra_Linea_X123_scheda_treno.txt");
  const std::string first = read_bytes(scheda_file(dir_, a));
  EXPECT_EQ(first, render_lines(righe_scheda()));
  EXPECT_EQ(read_bytes(scheda_file(dir_, other)), first);
}

// ------------------------------------------------- slow orders and notes

TEST(SlowOrderNotice, FourEmptyLinesThenNoSlowOrder) {
  const auto lines = written_lines(righe_rallentamenti());
  ASSERT_EQ(lines.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(lines[static_cast<std::size_t>(i)].empty()) << "line " << i;
  EXPECT_EQ(lines[4], b(25) + "NESSUNA PRESCRIZIONE");
  EXPECT_EQ(lines[4].size(), 45u);
}

TEST(Notes, HeadingRemarksAndCreditsInTheirPlaces) {
  const auto lines = written_lines(righe_note());
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[0], b(14) + "Treno 31708 sul percorso Castrovelde - Ardis");
  EXPECT_TRUE(lines[1].empty());
  EXPECT_EQ(lines[2], " Note sullo scenario:");
  EXPECT_TRUE(lines[3].empty());
  EXPECT_EQ(lines[24], " - Il percorso di questo treno e' privo di particolari situazioni 'difficili'.");
  EXPECT_TRUE(lines[25].empty());
  // Each remark opens with " - "; its further lines keep the text aligned.
  const int remark_starts[] = {4, 7, 10, 14, 16, 20, 24};
  for (int i = 4; i <= 24; ++i) {
    const auto& l = lines[static_cast<std::size_t>(i)];
    const bool opens = std::find(std::begin(remark_starts), std::end(remark_starts), i) != std::end(remark_starts);
    ASSERT_GT(l.size(), 3u) << "line " << i;
    EXPECT_EQ(l.substr(0, 3), opens ? " - " : "   ") << "line " << i;
    EXPECT_NE(l[3], ' ') << "line " << i;
  }
  for (int i : {26, 27}) {
    const auto& l = lines[static_cast<std::size_t>(i)];
    ASSERT_GT(l.size(), 1u);
    EXPECT_EQ(l[0], ' ');
    EXPECT_NE(l[1], ' ');
  }
}

TEST(Notes, EveryLineFitsSeventyEightPlainAsciiCharacters) {
  for (const auto& l : written_lines(righe_note())) {
    EXPECT_LE(l.size(), 78u) << l;
    for (char c : l) {
      const auto u = static_cast<unsigned char>(c);
      EXPECT_TRUE(u >= 0x20 && u < 0x7f) << "byte " << int(u) << " in: " << l;
    }
  }
}

TEST(Notes, HaltRemarkNamesTheThirdStation) {
  const auto lines = written_lines(righe_note());
  ASSERT_EQ(lines.size(), 28u);
  std::string remark = lines[14] + lines[15];
  std::string halt(names::kStations[2].source);
  std::transform(remark.begin(), remark.end(), remark.begin(), [](unsigned char c) { return std::toupper(c); });
  EXPECT_NE(remark.find(halt), std::string::npos) << remark;
}

// ------------------------------------------------------- all three files

struct DocumentCase {
  const char* name;
  std::vector<std::string> (*righe)();
  void (*write)(const std::filesystem::path&, const ScenarioNames&);
  std::filesystem::path (*file)(const std::filesystem::path&, const ScenarioNames&);
  std::size_t lines;
};

const DocumentCase kDocuments[] = {
    {"scheda", righe_scheda, dati_scheda, scheda_file, 42},
    {"rallentamenti", righe_rallentamenti, dati_rallentamenti, rallentamenti_file, 5},
    {"note", righe_note, dati_note, note_file, 28},
};

TEST(Documents, ListEndsWithTheTerminatorWhichIsNeverWritten) {
  for (const auto& d : kDocuments) {
    SCOPED_TRACE(d.name);
    const auto entries = d.righe();
    ASSERT_EQ(entries.size(), d.lines + 1);
    EXPECT_EQ(entries.back(), kTerminator);
    EXPECT_EQ(render_lines(entries).find(kTerminator), std::string::npos);
  }
}

TEST_F(DocumentFiles, WritingTwiceOrOverAnOldFileLeavesTheContentOnce) {
  const ScenarioNames n{"Castrovelde_Ardis", "R31708"};
  for (const auto& d : kDocuments) {
    SCOPED_TRACE(d.name);
    const auto path = d.file(dir_, n);
    std::ofstream(path, std::ios::binary) << std::string(5000, 'x');  // a longer leftover
    d.write(dir_, n);
    const std::string once = read_bytes(path);
    d.write(dir_, n);
    const std::string twice = read_bytes(path);
    EXPECT_EQ(twice, once);
    EXPECT_EQ(twice, render_lines(d.righe()));
    EXPECT_EQ(std::count(twice.begin(), twice.end(), '\n'), static_cast<long>(d.lines));
    EXPECT_EQ(std::count(twice.begin(), twice.end(), '\r'), static_cast<long>(d.lines));
    std::size_t pairs = 0;
    for (std::size_t at = twice.find("\r\n"); at != std::string::npos; at = twice.find("\r\n", at + 2)) ++pairs;
    EXPECT_EQ(pairs, d.lines);
    EXPECT_EQ(twice.substr(twice.size() - 2), "\r\n");
  }
}

}  // namespace
}  // namespace scenario
