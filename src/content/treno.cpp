// The built-in train source: consist, clock, profiles, timetable and signals.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
namespace {

// The numbers of a fixed-width line: each right-aligned in its own width and
// separated by single commas, after the keyword and its comma.
std::string colonne(std::string_view keyword, std::span<const std::int32_t> values,
                    std::span<const std::size_t> widths) {
  std::string line(keyword);
  line += ',';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    std::string number = std::to_string(values[i]);
    if (number.size() < widths[i]) line.append(widths[i] - number.size(), ' ');
    line += number;
  }
  return line;
}

constexpr std::array<std::size_t, 2> kSpeedWidths = {8, 6};
constexpr std::array<std::size_t, 16> kStationWidths = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
constexpr std::array<std::size_t, 11> kSignalWidths = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2};

// Speed limits in km/h from a position on; they match the line's indicators.
constexpr std::array<std::array<std::int32_t, 2>, 5> kSpeedLimits = {{
    {0, 80},
    {24600, 40},
    {31750, 80},
    {33750, 40},
    {35200, 80},
}};

// Position, kind, length, three flags, eight numbers, departure h m s; the
// name is the station of the same index in names::kStations.
constexpr std::array<std::array<std::int32_t, 16>, 18> kStationFields = {{
    {0, 12, 500, 1, 0, 0, 4, 1, 0, 2, 1, 1, 1, 8, 7, 0},
    {4900, 28, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 8, 13, 0},
    {11400, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 8, 20, 0},
    {11950, 26, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {13100, 28, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 8, 24, 0},
    {17150, 28, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {21750, 12, 300, 1, 0, 0, 4, 1, 0, 2, 1, 1, 60, 8, 37, 0},
    {28650, 12, 300, 1, 0, 0, 4, 1, 0, 2, 1, 1, 30, 8, 51, 0},
    {41400, 22, 300, 0, 0, 1, 0, 0, 0, 4, 1, 1, 30, 9, 7, 0},
    {45250, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 9, 12, 0},
    {49100, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 60, 9, 19, 0},
    {57350, 12, 300, 1, 0, 0, 4, 1, 0, 2, 1, 1, 30, 9, 34, 0},
    {67700, 12, 500, 1, 0, 1, 4, 1, 0, 2, 1, 1, 60, 9, 49, 0},
    {76600, 22, 300, 0, 0, 1, 0, 0, 0, 4, 1, 1, 30, 9, 57, 0},
    {82950, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 30, 10, 4, 0},
    {85850, 28, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 10, 8, 0},
    {87450, 12, 300, 1, 0, 0, 4, 1, 0, 2, 1, 1, 60, 10, 14, 0},
    {95900, 2, 600, 1, 1, 0, 1, 1, 0, 2, 1, 1, 0, 10, 23, 0},
}};

// posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo.
constexpr std::array<std::array<std::int32_t, 11>, 23> kSignals = {{
    {10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}, {11450, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},
    {12000, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0}, {19250, 1, 3, 4, 0, 0, 0, 0, 0, 0, 0},
    {21050, 2, 2, 3, 1, 0, 0, 0, 0, 0, 0}, {27400, 1, 3, 4, 0, 0, 0, 0, 0, 0, 0},
    {28100, 2, 2, 3, 0, 0, 0, 0, 0, 0, 0}, {39850, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
    {41000, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {47900, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
    {48700, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {56100, 1, 3, 4, 0, 0, 0, 0, 0, 0, 0},
    {56950, 2, 2, 3, 0, 0, 0, 0, 0, 0, 0}, {66100, 1, 3, 4, 0, 0, 0, 0, 0, 0, 0},
    {67050, 2, 2, 3, 0, 0, 0, 0, 0, 0, 0}, {73800, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
    {75850, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {81400, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
    {82350, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {85650, 1, 3, 4, 0, 0, 0, 0, 0, 0, 0},
    {86800, 2, 2, 3, 0, 0, 0, 0, 0, 0, 0}, {93750, 1, 3, 4, 0, 0, 0, 0, 0, 0, 0},
    {94950, 2, 2, 3, 0, 0, 0, 0, 0, 0, 0},
}};

void aggiungi_generale(std::vector<std::string>& lines) {
  lines.push_back("[generale]");
  lines.push_back("numero vetture,    3");
  lines.push_back("percentuale massa frenata,    120");
  lines.push_back("sabbia,    300");
  // Hours, minutes and seconds separated by blanks only, one blank after.
  lines.push_back("orologio,    8" + std::string(15, ' ') + "6" + std::string(13, ' ') + "30 ");
  lines.push_back("[aderenze]");
  lines.push_back("aderenza,   0,    100");
}

void aggiungi_velocita(std::vector<std::string>& lines) {
  lines.push_back("[vel_limite]");
  for (const auto& row : kSpeedLimits) lines.push_back(colonne("velocita", row, kSpeedWidths));
}

void aggiungi_stazioni(std::vector<std::string>& lines) {
  lines.push_back("[stazioni]");
  for (std::size_t i = 0; i < kStationFields.size(); ++i) {
    std::string line = colonne("stazione", kStationFields[i], kStationWidths);
    line += ", ";
    line += names::kStations[i].source;
    lines.push_back(std::move(line));
  }
}

void aggiungi_segnali(std::vector<std::string>& lines) {
  lines.push_back("[segnali]");
  for (const auto& row : kSignals) lines.push_back(colonne("segnale", row, kSignalWidths));
}

}  // namespace

std::vector<std::string> righe_treno() {
  static_assert(kStationFields.size() == names::kStations.size());
  std::vector<std::string> lines;
  aggiungi_generale(lines);
  aggiungi_velocita(lines);
  aggiungi_stazioni(lines);
  lines.push_back("[rallentamenti]");  // no slow order: the header alone
  aggiungi_segnali(lines);
  lines.push_back("[codici]");  // nothing the reader knows: the header alone
  lines.push_back("[fine]");
  lines.push_back(std::string(kTerminator));
  return lines;
}

}  // namespace scenario
