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

// A small deterministic generator (xorshift), the same on every platform.
class Draw {
 public:
  static constexpr int kWarmUp = 16;
  explicit Draw(std::uint32_t seed) : state_(seed * 2654435761u + 0x9e3779b9u) {
    if (state_ == 0) state_ = 1;
    // The first outputs of neighbouring seeds are alike; they are passed over.
    for (int i = 0; i < kWarmUp; ++i) next();
  }
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // A value from lo to hi, both included.
  std::int32_t in(std::int32_t lo, std::int32_t hi) {
    return lo + static_cast<std::int32_t>(next() % static_cast<std::uint32_t>(hi - lo + 1));
  }
  bool chance(int percent) { return in(1, 100) <= percent; }

 private:
  std::uint32_t state_;
};

// Place names with Latin-1 letters (one byte each, as the sources hold them).
const char* const kNames[] = {"Citt\xe0 Alta", "Pont\xe9", "Gr\xfc" "nau", "Vall\xe9" "e", "Monte Rosso", "S\xe3o Bento"};

void varied_line(Draw& d, std::int32_t length, std::string& out) {
  line(out, "[generale]");
  line(out, "lunghezza percorso,    " + n(length));
  line(out, "progressiva chilometrica uno,    0,    0,    0");
  const std::int32_t turn = 50 * d.in(1, length / 50);
  line(out, "progressiva chilometrica due,    " + n(turn) + ",    " + n(50 * d.in(0, 4000)) + ",    " + n(d.in(0, 1)));
  line(out, "progressiva chilometrica tre,    0,    0,    0");
  line(out, "sfondo uno,    " + n(d.in(0, 99999)));
  line(out, "sfondo due,    " + n(d.in(0, 3)));
  line(out, "sfondo tre,    " + n(d.in(0, 9999)));
  line(out, std::string("ripetizione segnali ") + (d.chance(50) ? "4" : "9") + " codici,    " + n(50 * d.in(0, 20)) +
                ",    " + n(50 * d.in(0, 40)));
  line(out, "[curve]");
  const char* kinds[] = {"curvas1", "curvad2", "curvas3", "curvad4", "curvas5", "curvad6",
                         "curvad1", "curvas2", "curvad3", "curvas4", "curvad5", "curvas6"};
  for (std::int32_t s = d.in(2, 400); s + 700 < length; s += d.in(1, 900)) {
    const std::int32_t len = d.in(0, 600);
    line(out, std::string(kinds[d.in(0, 11)]) + ",  " + n(s) + ",  " + n(len));
    s += len;
  }
  line(out, "[pendenze]");
  for (std::int32_t p = 0; p < length; p += d.in(1, 3000)) line(out, "pendenza,  " + n(p) + ",   " + n(d.in(-40, 40)));
  line(out, "[montagne]");
  int ranges = 0;
  for (std::int32_t p = d.in(100, 3000); p + 3000 < length && ranges < 76; p += d.in(400, 15000)) {
    const std::int32_t end = p + d.in(60, 2500);
    const int type = d.in(1, 4) + (d.chance(50) ? 10 : 0);
    line(out, "montagna,   " + n(p) + ",  " + n(end) + ",  " + n(type));
    ++ranges;
    if (d.chance(20)) {  // adjacent: starts where the last one ended, so it takes type 3
      line(out, "montagna,   " + n(end) + ",  " + n(end + d.in(50, 800)) + ",  " + n(d.in(1, 12)));
      ++ranges;
    } else if (d.chance(10)) {  // nested inside the last one
      line(out, "montagna,   " + n(p + 100) + ",  " + n(p + 200) + ",  " + n(d.in(1, 2)));
      ++ranges;
    }
    p = end;
  }
  // Every kilometre: a board in its 200 to 249 m, a sign in its 550 to 599 m.
  line(out, "[cartelli]");
  for (std::int32_t km = 1; km * 1000 + 1000 < length; ++km) {  // kilometre 0 holds the first stop
    if (!d.chance(30)) continue;
    line(out, "indicatori_vmax,  " + n(km * 1000 + d.in(200, 249)) + ",  " + n(d.in(0, 150)) + ",  " +
                  n(d.in(0, 150)) + ",  " + n(d.in(0, 150)) + ",  " + n(d.in(0, 3)) + ",  " + n(5 * d.in(0, 19)) +
                  ",  ,  " + n(5 * d.in(0, 19)) + ",  " + n(d.in(0, 3)));
  }
  line(out, "[indicazioni]");
  int signs = 0;
  for (std::int32_t km = 0; km * 1000 + 1000 < length && signs < 30; ++km) {
    if (!d.chance(10)) continue;
    line(out, "cartello_indicatore,  " + n(km * 1000 + d.in(550, 599)) + ",  (" + kNames[d.in(0, 5)] + ")  (" +
                  n(d.in(1, 9000)) + " m.)");
    ++signs;
  }
  line(out, "[fine]");
}

void varied_train(Draw& d, std::int32_t length, std::string& out) {
  line(out, "[generale]");
  line(out, "numero vetture,    " + n(d.in(1, 12)));
  line(out, "percentuale massa frenata,    " + n(d.in(50, 160)));
  line(out, "sabbia,    " + n(d.in(0, 900)));
  line(out, "orologio,    " + n(d.in(0, 23)) + "               " + n(d.in(0, 59)) + "             " + n(d.in(0, 59)) + " ");
  line(out, "[aderenze]");
  for (std::int32_t p = 0; p < length; p += d.in(1, 20000)) line(out, "aderenza,  " + n(p) + ",   " + n(d.in(0, 255)));
  line(out, "[vel_limite]");
  for (std::int32_t p = 0; p < length; p += d.in(1, 15000)) line(out, "velocita,  " + n(p) + ",    " + n(5 * d.in(1, 40)));
  // A signal behind a stopping point: read before the station, whose stop then takes its cell.
  const bool hidden_signal = length > 12000 && d.chance(1);
  if (hidden_signal) line(out, "segnale,  10150,   1, 4, 1,  0, 0,    0,  0, 0, 0, 0");
  line(out, "[stazioni]");
  line(out, "stazione,       0, 12,  500,  1, 0, " + n(d.in(0, 1)) + ",  4, 1, 0,  2, 1, 1,    1,   8, 7, 0," +
                kNames[d.in(0, 5)]);
  int k = 1;
  const std::int32_t kinds[] = {2, 5, 7, 12, 22, 26, 28};
  for (std::int32_t km = 10; km * 1000 + 2000 < length && k < 40; km += d.in(2, 30), ++k) {
    // The stop lies in the kilometre's 200 m cell: the zone's end is 250 m in.
    const std::int32_t kind = kinds[d.in(0, 6)];
    const std::int32_t len = kind == 5 || kind == 6 ? 100 : kind == 7 || kind == 8 ? 100 : 200;
    const std::int32_t third = kind == 12 || kind == 22 ? 0 : d.in(0, 1);
    const std::int32_t end_shift = kind == 5 || kind == 6 ? 150 : kind == 7 || kind == 8 ? len : len / 2 + 50 * third;
    const std::int32_t p = km * 1000 + 250 - end_shift;
    line(out, "stazione,  " + n(p) + ", " + n(kind) + ",  " + n(len) + ",  " + n(d.in(0, 1)) + ", " + n(d.in(0, 1)) +
                  ", " + n(third) + ",  " + n(d.in(0, 9)) + ", 1, 0,  2, 1, 1,   30,   " + n(8 + k / 4) + ", " +
                  n((k * 13) % 60) + ", " + n(d.in(0, 59)) + "," + kNames[d.in(0, 5)] + " " + n(k));
  }
  // Slow orders in the kilometre's 700 m; their approach cells fall 1200 m before.
  line(out, "[rallentamenti]");
  for (std::int32_t km = 3; km * 1000 + 3000 < length; km += d.in(5, 60)) {
    line(out, "rallentamento,  " + n(km * 1000 + d.in(700, 720)) + ",  " + n(5 * d.in(2, 30)) + ",  " +
                  n(d.in(0, 10)) + ",  " + n(d.in(0, 1)) + ",  " + n(d.in(0, 1)) + ",  " + n(d.in(0, 2)));
  }
  // Signals in the kilometre's 850 m, or at its 900 m in the hundreds.
  line(out, "[segnali]");
  for (std::int32_t km = 0; km * 1000 + 1000 < length; ++km) {
    if (!d.chance(25)) continue;
    line(out, "segnale,  " + n(km * 1000 + d.in(850, 874)) + ",   " + n(d.in(1, 2)) + ", " + n(d.in(0, 9)) + ", " +
                  n(d.in(0, 9)) + ",  " + n(d.in(0, 9)) + ", " + n(d.in(0, 9)) + ",    " + n(d.in(0, 2)) + ",  " +
                  n(d.in(0, 9)) + ", " + n(d.in(0, 9)) + ", " + n(d.in(0, 9)) + ", " + n(d.in(0, 200)));
  }
  line(out, "[abbattimenti]");
  for (std::int32_t km = 0; km * 1000 + 1000 < length; ++km) {
    if (d.chance(5)) line(out, "abbattimento,  " + n(km * 1000 + 950) + ",  " + n(d.in(0, 120)));
  }
  line(out, "[codici]");
  line(out, "[fine]");
}

}  // namespace

GeneratedSources generate_varied_sources(std::uint32_t seed) {
  Draw d(seed);
  // Mostly short routes, so that thousands of pairs cost seconds; one in a
  // hundred runs to hundreds of kilometres, and seed 7 of every ten thousand
  // to the longest.
  std::int32_t km = d.chance(99) ? d.in(1, 40) : d.in(41, 1000);
  if (seed % 10000 == 7) km = 1000;
  const std::int32_t length = km * 1000 + d.in(0, 999);
  GeneratedSources g;
  varied_line(d, length, g.line);
  varied_train(d, length, g.train);
  return g;
}

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
