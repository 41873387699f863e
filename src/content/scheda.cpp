// The driver's timetable card: head boxes and the seven-column timetable.
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
namespace {

// Widths of the seven table cells, left to right.
constexpr int kSpeedWidth = 5;
constexpr int kChainageWidth = 10;
constexpr int kNoWidth = 5;
constexpr int kPlaceWidth = 28;
constexpr int kTimeWidth = 16;
constexpr int kRecWidth = 5;

// Inside widths of the head boxes.
constexpr int kNumberBox = 19;
constexpr int kMiddleBand = 45;
constexpr int kRightBox = 14;
constexpr int kBandGap = 14;

// A clock time on the card; `half` prints the '+' mark (thirty seconds more).
struct CardTime {
  int h = -1;  // -1: the slot stays empty
  int m = 0;
  bool half = false;
};

enum class RowKind { Station, ChainagePoint, TunnelEntrance, TunnelExit, Separator };

// One table row as values; the cell functions turn it into text.
struct CardRow {
  RowKind kind;
  int station;   // 1-based station number, for Station rows
  int limit;     // 0: no entry
  int running;   // 0: no entry
  int chainage;  // metres in the chainage system in force
  CardTime arrival;
  CardTime passing;
  CardTime departure;
};

constexpr CardTime at(int h, int m) { return {h, m, false}; }
constexpr CardTime half(int h, int m) { return {h, m, true}; }
constexpr CardTime none{};

constexpr CardRow station(int n, int km_m, CardTime arr, CardTime dep) {
  return {RowKind::Station, n, 0, 0, km_m, arr, none, dep};
}
constexpr CardRow passed(int n, int km_m, CardTime pass) {
  return {RowKind::Station, n, 0, 0, km_m, none, pass, none};
}
constexpr CardRow separator() { return {RowKind::Separator, 0, 0, 0, 0, none, none, none}; }

// Lines 14 to 37 of the card, top to bottom.
constexpr std::array<CardRow, 24> kRows = {{
    {RowKind::Station, 1, 80, 70, 0, none, none, at(8, 7)},
    station(2, 4900, half(8, 12), at(8, 13)),
    station(3, 11400, half(8, 19), at(8, 20)),
    passed(4, 11950, at(8, 21)),
    station(5, 13100, half(8, 23), at(8, 24)),
    separator(),
    passed(6, 82350, at(8, 28)),
    station(7, 77750, at(8, 35), at(8, 37)),
    {RowKind::ChainagePoint, 0, 40, 35, 74900, none, half(8, 40), none},
    station(8, 70850, at(8, 49), at(8, 51)),
    {RowKind::TunnelEntrance, 0, 80, 70, 67750, none, half(8, 56), none},
    {RowKind::TunnelExit, 0, 40, 35, 65750, none, half(8, 58), none},
    {RowKind::ChainagePoint, 0, 80, 70, 64300, none, at(9, 1), none},
    station(9, 58100, half(9, 6), at(9, 7)),
    station(10, 54250, half(9, 11), at(9, 12)),
    station(11, 50400, at(9, 18), at(9, 19)),
    {RowKind::Station, 12, 0, 75, 42150, at(9, 29), none, at(9, 34)},
    station(13, 31800, at(9, 44), at(9, 49)),
    station(14, 22900, half(9, 56), at(9, 57)),
    station(15, 16550, half(10, 3), at(10, 4)),
    station(16, 13650, half(10, 7), at(10, 8)),
    separator(),
    station(17, 8450, at(10, 12), at(10, 14)),
    {RowKind::Station, 18, 0, 0, 0, at(10, 23), none, none},
}};

// The tunnel whose entrance and exit the card lists.
constexpr std::string_view card_tunnel_name() {
  for (const auto& t : names::kTunnels) {
    if (t.sign_position == names::kCardTunnelSign) return t.name;
  }
  return {};
}
static_assert(!card_tunnel_name().empty(), "the card's tunnel must be among the named tunnels");

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string run(int n, char c) { return std::string(static_cast<std::size_t>(n), c); }

// `text` after `lead` blanks, filled with blanks to `width`.
std::string padded(std::string_view text, int lead, int width) {
  std::string s = blanks(lead);
  s += text;
  if (static_cast<int>(s.size()) < width) s += blanks(width - static_cast<int>(s.size()));
  return s;
}

// `text` right-aligned to end at `end` characters, then `tail` blanks.
std::string right_aligned(std::string_view text, int end, int tail) {
  std::string s;
  if (static_cast<int>(text.size()) < end) s = blanks(end - static_cast<int>(text.size()));
  s += text;
  return s + blanks(tail);
}

// Kilometres with three decimals: 12345 -> "12.345".
std::string kilometres(int metres) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%d.%03d", metres / 1000, metres % 1000);
  return buf;
}

// A point named by its chainage: 12345 -> "Km 12+345".
std::string chainage_name(int metres) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Km %d+%03d", metres / 1000, metres % 1000);
  return buf;
}

// Hours without leading zero, two-digit minutes: "8.07", "10.23".
std::string clock(const CardTime& t) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%d.%02d", t.h, t.m);
  return buf;
}

std::string speed_cell(int kmh) {
  return kmh == 0 ? blanks(kSpeedWidth) : right_aligned(std::to_string(kmh), 4, 1);
}

std::string chainage_cell(int metres) { return right_aligned(kilometres(metres), 8, 2); }

std::string place_cell(std::string_view place) { return padded(place, 1, kPlaceWidth); }

// Writes one time so that it ends at 1-based character `end`, its mark just after.
void put_time(std::string& cell, const CardTime& t, int end) {
  if (t.h < 0) return;
  const std::string text = clock(t);
  cell.replace(static_cast<std::size_t>(end) - text.size(), text.size(), text);
  if (t.half) cell[static_cast<std::size_t>(end)] = '+';
}

// Three slots: arrival ends at 6, passing at 11, departure at 15.
std::string time_cell(const CardRow& r) {
  std::string cell = blanks(kTimeWidth);
  put_time(cell, r.arrival, 6);
  put_time(cell, r.passing, 11);
  put_time(cell, r.departure, 15);
  return cell;
}

std::string place_text(const CardRow& r) {
  switch (r.kind) {
    case RowKind::Station:
      return std::string(names::kStations[static_cast<std::size_t>(r.station - 1)].card);
    case RowKind::ChainagePoint:
      return chainage_name(r.chainage);
    case RowKind::TunnelEntrance:
      return "Imbocco gall. " + std::string(card_tunnel_name());
    case RowKind::TunnelExit:
      return "Uscita gall. " + std::string(card_tunnel_name());
    case RowKind::Separator:
      break;
  }
  return {};
}

// One blank, a bar, then each cell followed by a bar.
std::string table_row(const std::vector<std::string>& cells) {
  std::string s = " |";
  for (const auto& c : cells) s += c + "|";
  return s;
}

std::string card_row(const CardRow& r) {
  if (r.kind == RowKind::Separator) {
    return table_row({run(kSpeedWidth, '-'), run(kSpeedWidth, '-'), run(kChainageWidth, '-'),
                      run(kNoWidth, '-'), run(kPlaceWidth, '-'), run(kTimeWidth, '-'),
                      run(kRecWidth, '-')});
  }
  return table_row({speed_cell(r.limit), speed_cell(r.running), chainage_cell(r.chainage),
                    blanks(kNoWidth), place_cell(place_text(r)), time_cell(r), blanks(kRecWidth)});
}

std::string table_rule() {
  return table_row({run(kSpeedWidth, '_'), run(kSpeedWidth, '_'), run(kChainageWidth, '_'),
                    run(kNoWidth, '_'), run(kPlaceWidth, '_'), run(kTimeWidth, '_'),
                    run(kRecWidth, '_')});
}

std::vector<std::string> table_head() {
  return {
      "  " + run(80, '_'),
      table_row({" Vel.", " Vel.", " Progr Km ", "  No ", "   Localita' di  Servizio   ",
                 "     Orario     ", " Rec "}),
      table_row({" Lim.", "Marc.", blanks(kChainageWidth), "  Rs ", blanks(kPlaceWidth),
                 blanks(kTimeWidth), blanks(kRecWidth)}),
      table_rule(),
  };
}

// The top band: train number, the two termini, line class and braked mass.
std::vector<std::string> top_band() {
  const std::string from = "da: " + std::string(names::kStations.front().card);
  const std::string to = "a: " + std::string(names::kStations.back().card);
  return {
      "  " + run(kNumberBox, '_') + blanks(kMiddleBand + 2) + run(kRightBox, '_'),
      " |" + blanks(kNumberBox) + "|" + padded("SCHEDA", 20, kMiddleBand) + "|" +
          blanks(kRightBox) + "|",
      " |" + padded("TRENO n. 31708", 3, kNumberBox) + "|" + padded(from, 19, kMiddleBand) + "|" +
          padded("V140 C", 4, kRightBox) + "|",
      " |" + run(kNumberBox, '_') + "|" + padded(to, 20, kMiddleBand) + "|" +
          padded("120%", 5, kRightBox) + "|",
      blanks(kNumberBox + kMiddleBand + 3) + "|" + run(kRightBox, '_') + "|",
  };
}

// The second band: classification and blocked mass.
std::vector<std::string> second_band() {
  return {
      "  " + run(kNumberBox, '_') + blanks(kBandGap + 2) + run(kNumberBox, '_'),
      " |" + padded("CLASSIFICAZIONE", 2, kNumberBox) + "|" + blanks(kBandGap) + "|" +
          padded("MASSA BLOCCATA", 2, kNumberBox) + "|" + blanks(7),
      " |" + padded("REGIONALE", 5, kNumberBox) + "|" + blanks(kBandGap) + "|" +
          padded("250T", 6, kNumberBox) + "|",
      " |" + run(kNumberBox, '_') + "|" + blanks(kBandGap) + "|" + run(kNumberBox, '_') + "|",
  };
}

void append(std::vector<std::string>& to, const std::vector<std::string>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

std::vector<std::string> righe_scheda() {
  std::vector<std::string> lines = top_band();
  append(lines, second_band());
  lines.emplace_back();
  append(lines, table_head());
  for (const auto& r : kRows) lines.push_back(card_row(r));
  lines.push_back(table_rule());
  lines.emplace_back();
  lines.emplace_back();
  lines.emplace_back("Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.");
  lines.emplace_back(kTerminator);
  return lines;
}

}  // namespace scenario
