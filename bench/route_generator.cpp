// Generated line and train sources in the built-in content's layout.
#include "route_generator.h"

#include <stdexcept>
#include <string>

namespace scenario::bench {
namespace {

// Spacing of each kind of object along the route, in metres. Within every
// kilometre the objects that take a cell keep to their own offset (stopping
// points at 200, boards at 350, signs at 600, signals at 850 m after the
// kilometre's start), so no two of them ever meet in one cell.
constexpr std::int32_t kCurveEvery = 600;       // about the built-in density
constexpr std::int32_t kGradientEvery = 2400;   // likewise
constexpr std::int32_t kRangeEvery = 12500;     // 80 ranges at 1000 km
constexpr std::int32_t kBoardEvery = 20000;
constexpr std::int32_t kSignEvery = 25000;      // 40 signs at 1000 km
constexpr std::int32_t kStationEvery = 28000;   // 36 stations after the first
constexpr std::int32_t kSignalEvery = 4000;
constexpr std::int32_t kSpeedEvery = 20000;

void line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

std::string n(std::int32_t v) { return std::to_string(v); }

void line_general(std::string& out, std::int32_t length) {
  line(out, "[generale]");
  line(out, "lunghezza percorso,    " + n(length));
  line(out, "progressiva chilometrica uno,    0,    0,    0");
  line(out, "progressiva chilometrica due,    0,    0,    0");
  line(out, "progressiva chilometrica tre,    0,    0,    0");
  line(out, "sfondo uno,    78700");
  line(out, "sfondo due,    1");
  line(out, "sfondo tre,    3600");
  line(out, "ripetizione segnali 4 codici,    0    ,0");
}

void line_curves(std::string& out, std::int32_t length) {
  line(out, "[curve]");
  const char* kinds[] = {"curvas4", "curvad5", "curvas6", "curvad3", "curvas5", "curvad4"};
  int k = 0;
  for (std::int32_t s = 250; s + 400 < length; s += kCurveEvery, k = (k + 1) % 6) {
    line(out, std::string(kinds[k]) + ",  " + n(s) + ",  " + n(150 + 50 * (k % 4)));
  }
}

void line_gradients(std::string& out, std::int32_t length) {
  line(out, "[pendenze]");
  const std::int32_t values[] = {0, 3, 14, -8, 23, -27, 0, 15};
  int k = 0;
  for (std::int32_t p = 0; p < length; p += kGradientEvery, k = (k + 1) % 8) {
    line(out, "pendenza,  " + n(p) + ",   " + n(values[k]));
  }
}

void line_ranges(std::string& out, std::int32_t length) {
  line(out, "[montagne]");
  for (std::int32_t p = 2000; p + 3000 < length; p += kRangeEvery) {
    line(out, "montagna,   " + n(p) + ",  " + n(p + 2500) + ",  " + ((p / kRangeEvery) % 2 ? "11" : "12"));
  }
}

void line_boards(std::string& out, std::int32_t length) {
  line(out, "[indicazioni]");
  for (std::int32_t p = 10000 + 300; p < length; p += kBoardEvery) {
    line(out, "indicatori_vmax,  " + n(p) + ",  80,  80,  80,  0,  ,  ,  ,  0");
  }
}

void line_signs(std::string& out, std::int32_t length) {
  line(out, "[cartelli]");
  for (std::int32_t p = 5000 + 550; p < length; p += kSignEvery) {
    line(out, "cartello_indicatore,  " + n(p) + ",  (Galleria)  (Km " + n(p / 1000) + ")  (2500)");
  }
}

void train_general(std::string& out) {
  line(out, "[generale]");
  line(out, "numero vetture,    3");
  line(out, "percentuale massa frenata,    120");
  line(out, "sabbia,    300");
  line(out, "orologio,    8               6             30 ");
  line(out, "[aderenze]");
  line(out, "aderenza,       0,   100");
}

void train_speeds(std::string& out, std::int32_t length) {
  line(out, "[vel_limite]");
  int k = 0;
  for (std::int32_t p = 0; p < length; p += kSpeedEvery, ++k) {
    line(out, "velocita,  " + n(p) + ",    " + (k % 2 ? "60" : "80"));
  }
}

// The first station as in the built-in timetable, then one every kStationEvery.
void train_stations(std::string& out, std::int32_t length) {
  line(out, "[stazioni]");
  line(out, "stazione,       0, 12,  500,  1, 0, 0,  4, 1, 0,  2, 1, 1,    1,   8, 7, 0,ORIGINE");
  int k = 1;
  for (std::int32_t p = kStationEvery + 100; p + 1000 < length; p += kStationEvery, ++k) {
    line(out, "stazione,  " + n(p) + ", 12,  300,  1, 0, 0,  4, 1, 0,  2, 1, 1,   30,   " + n(8 + k / 4) + ", " +
                  n((k * 13) % 60) + ", 0,STAZIONE " + n(k));
  }
}

void train_signals(std::string& out, std::int32_t length) {
  line(out, "[segnali]");
  int k = 0;
  for (std::int32_t p = 800; p < length; p += kSignalEvery, ++k) {
    line(out, "segnale,  " + n(p) + ",   " + (k % 2 ? "2" : "1") + ", 4, 1,  0, 0,    0,  0, 0, 0, 30");
  }
}

}  // namespace

GeneratedSources generate_sources(std::int32_t km) {
  if (km < 1 || km > 1000) throw std::invalid_argument("a generated route has 1 to 1000 km");
  const std::int32_t length = km * 1000;
  GeneratedSources g;
  line_general(g.line, length);
  line_curves(g.line, length);
  line_gradients(g.line, length);
  line_ranges(g.line, length);
  line_boards(g.line, length);
  line_signs(g.line, length);
  line(g.line, "[fine]");

  train_general(g.train);
  train_speeds(g.train, length);
  train_stations(g.train, length);
  line(g.train, "[rallentamenti]");
  train_signals(g.train, length);
  line(g.train, "[codici]");
  line(g.train, "[fine]");
  return g;
}

}  // namespace scenario::bench
