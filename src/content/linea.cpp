// The built-in line source: general values, curves, gradients, "montagna"
// ranges, speed indicator boards and indication signs, in file order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "platform/failure.h"

namespace scenario {
namespace {

constexpr std::array<std::string_view, 9> kGenerale = {
    "[generale]",
    "lunghezza percorso,    96000",
    "progressiva chilometrica uno,    0,    0,    0",
    "progressiva chilometrica due,    14700,    99500,    1",
    "progressiva chilometrica tre,    87900,    95900,    1",
    "sfondo uno,    78700",
    "sfondo due,    1",
    "sfondo tre,    3600",
    "ripetizione segnali 4 codici,    0    ,0",
};

// Ascending starts, no curve reaching into the next; the four longest (1050,
// 2000, 1750, 2450 m) run through the four spiral tunnels.
constexpr std::array<std::string_view, 160> kCurve = {
    "curvas4,  250,  400",
    "curvad5,  800,  450",
    "curvad5,  1450,  300",
    "curvas6,  1900,  200",
    "curvas4,  2250,  700",
    "curvas5,  3100,  250",
    "curvad5,  3500,  150",
    "curvas6,  3800,  50",
    "curvad5,  4000,  350",
    "curvad5,  4500,  500",
    "curvad5,  5150,  400",
    "curvas6,  5650,  150",
    "curvas6,  5950,  150",
    "curvad5,  6200,  200",
    "curvas4,  6550,  700",
    "curvas5,  7350,  450",
    "curvad5,  7950,  200",
    "curvas5,  8300,  150",
    "curvad5,  8600,  250",
    "curvas6,  8950,  150",
    "curvad5,  9200,  450",
    "curvad5,  9750,  200",
    "curvas5,  10100,  200",
    "curvad4,  10400,  700",
    "curvas5,  11250,  350",
    "curvas5,  11750,  300",
    "curvas5,  12150,  600",
    "curvad5,  12900,  200",
    "curvas4,  13300,  700",
    "curvad4,  14100,  800",
    "curvas5,  15000,  100",
    "curvad5,  15250,  200",
    "curvas5,  15600,  100",
    "curvas5,  15850,  150",
    "curvad5,  16150,  300",
    "curvas4,  16600,  1000",
    "curvas4,  17750,  400",
    "curvad5,  18250,  300",
    "curvas5,  18700,  500",
    "curvad5,  19350,  300",
    "curvad5,  19800,  200",
    "curvad5,  20150,  450",
    "curvad5,  20750,  400",
    "curvad3,  22550,  50",
    "curvad5,  22700,  200",
    "curvad5,  23000,  400",
    "curvas5,  23500,  100",
    "curvad4,  23700,  200",
    "curvad4,  24000,  300",
    "curvad4,  24400,  400",
    "curvas5,  24900,  300",
    "curvad5,  25300,  300",
    "curvas4,  25700,  200",
    "curvas5,  26000,  100",
    "curvas5,  26200,  400",
    "curvas6,  26700,  300",
    "curvas6,  27100,  100",
    "curvad5,  27300,  100",
    "curvas5,  27500,  200",
    "curvad6,  27800,  200",
    "curvas5,  28100,  200",
    "curvad5,  28400,  100",
    "curvas5,  28600,  250",
    "curvad4,  28950,  300",
    "curvad4,  29350,  200",
    "curvad5,  29650,  150",
    "curvad4,  29900,  400",
    "curvad4,  30400,  300",
    "curvad6,  30800,  150",
    "curvas6,  31050,  150",
    "curvas4,  31300,  300",
    "curvas4,  32650,  1050",
    "curvad5,  33900,  300",
    "curvas5,  34500,  350",
    "curvas5,  35100,  250",
    "curvad5,  35600,  300",
    "curvas5,  36250,  150",
    "curvas6,  36700,  300",
    "curvad5,  37250,  500",
    "curvad5,  37950,  400",
    "curvas5,  38550,  250",
    "curvad5,  39000,  100",
    "curvad6,  39350,  250",
    "curvas5,  40000,  150",
    "curvad5,  40400,  400",
    "curvad6,  40950,  200",
    "curvas6,  41400,  100",
    "curvad4,  42100,  2000",
    "curvas5,  44250,  350",
    "curvas6,  44750,  100",
    "curvad6,  45000,  100",
    "curvas4,  45250,  200",
    "curvas6,  45600,  200",
    "curvad6,  45950,  300",
    "curvas5,  46400,  500",
    "curvad5,  47100,  250",
    "curvad5,  47450,  600",
    "curvad4,  48250,  400",
    "curvad6,  48800,  100",
    "curvad3,  49350,  150",
    "curvad3,  49600,  50",
    "curvad4,  51150,  1750",
    "curvas6,  53450,  200",
    "curvas6,  54100,  150",
    "curvad3,  54550,  550",
    "curvas5,  55250,  450",
    "curvad5,  55850,  600",
    "curvas5,  56600,  600",
    "curvad5,  57500,  300",
    "curvas5,  58000,  150",
    "curvad5,  66250,  250",
    "curvad5,  66600,  250",
    "curvas5,  66950,  400",
    "curvad5,  67450,  350",
    "curvas6,  67900,  100",
    "curvad5,  68100,  300",
    "curvas5,  68500,  250",
    "curvad4,  68850,  600",
    "curvas4,  69550,  1000",
    "curvas5,  70650,  350",
    "curvas4,  71100,  400",
    "curvas6,  71600,  100",
    "curvas5,  71800,  200",
    "curvas5,  72100,  250",
    "curvas5,  72450,  200",
    "curvad6,  72750,  100",
    "curvad4,  73300,  2450",
    "curvas5,  75950,  450",
    "curvas5,  76500,  200",
    "curvad6,  76850,  150",
    "curvas4,  77100,  900",
    "curvad5,  78200,  250",
    "curvas4,  78650,  900",
    "curvas5,  79700,  500",
    "curvad4,  80350,  900",
    "curvas4,  81400,  1000",
    "curvad6,  82600,  100",
    "curvad5,  82850,  400",
    "curvad5,  83400,  150",
    "curvas5,  83700,  200",
    "curvas5,  84050,  450",
    "curvad5,  84700,  150",
    "curvad6,  85050,  100",
    "curvas5,  85300,  250",
    "curvad5,  85750,  450",
    "curvas5,  86400,  350",
    "curvad4,  86900,  700",
    "curvad4,  87800,  900",
    "curvad5,  88850,  450",
    "curvad5,  89400,  200",
    "curvas5,  89800,  200",
    "curvas5,  90150,  250",
    "curvad5,  90550,  400",
    "curvas5,  91100,  350",
    "curvad4,  91600,  500",
    "curvad4,  92300,  300",
    "curvad5,  92750,  150",
    "curvas5,  93000,  200",
    "curvas5,  93350,  250",
    "curvad5,  94700,  400",
};

// Each gradient holds from its position to the next line's position.
constexpr std::array<std::string_view, 40> kPendenze = {
    "pendenza,   0,    0",
    "pendenza,  500,   3",
    "pendenza,  750,   5",
    "pendenza,  4800,   0",
    "pendenza,  5100,   14",
    "pendenza,  9550,   15",
    "pendenza,  11800,   0",
    "pendenza,  12100,   15",
    "pendenza,  12950,   0",
    "pendenza,  13250,   23",
    "pendenza,  17000,   0",
    "pendenza,  17250,   21",
    "pendenza,  21100,   0",
    "pendenza,  22000,   22",
    "pendenza,  28500,   0",
    "pendenza,  28900,   20",
    "pendenza,  41250,   0",
    "pendenza,  41550,   14",
    "pendenza,  43950,   17",
    "pendenza,  45100,   0",
    "pendenza,  45400,   20",
    "pendenza,  48950,   0",
    "pendenza,  49250,   20",
    "pendenza,  57200,   0",
    "pendenza,  57500,   16",
    "pendenza,  58100,   7",
    "pendenza,  65450,   0",
    "pendenza,  66300,   -27",
    "pendenza,  67400,   0",
    "pendenza,  68000,   -26",
    "pendenza,  73100,   -23",
    "pendenza,  76400,   0",
    "pendenza,  76700,   -19",
    "pendenza,  82750,   0",
    "pendenza,  83150,   -16",
    "pendenza,  85700,   0",
    "pendenza,  86000,   -8",
    "pendenza,  87250,   0",
    "pendenza,  87650,   -13",
    "pendenza,  95200,   0",
};

// Ascending, none overlapping the next. Kinds 11 and 12 are tunnels, 1 and 2
// short 50 m ranges.
constexpr std::array<std::string_view, 75> kMontagne = {
    "montagna,   2450,  2600,  12",
    "montagna,   2900,  3150,  11",
    "montagna,   3500,  3650,  12",
    "montagna,   4100,  4250,  12",
    "montagna,   4700,  4850,  11",
    "montagna,   5250,  6750,  11",
    "montagna,   7250,  7450,  11",
    "montagna,   7750,  8950,  11",
    "montagna,   9400,  9700,  12",
    "montagna,   10050,  11050,  12",
    "montagna,   11350,  11450,  12",
    "montagna,   11700,  11800,  11",
    "montagna,   12050,  12200,  11",
    "montagna,   12500,  12600,  12",
    "montagna,   13050,  13250,  11",
    "montagna,   13700,  13750,  12",
    "montagna,   14200,  15400,  11",
    "montagna,   15750,  16150,  12",
    "montagna,   16550,  16750,  12",
    "montagna,   17250,  17750,  11",
    "montagna,   18100,  18800,  11",
    "montagna,   19800,  21000,  11",
    "montagna,   22700,  23500,  12",
    "montagna,   25100,  25350,  11",
    "montagna,   26850,  26900,  2",
    "montagna,   27100,  27500,  11",
    "montagna,   27750,  27800,  1",
    "montagna,   28800,  29050,  11",
    "montagna,   30050,  30200,  11",
    "montagna,   31200,  31250,  1",
    "montagna,   31350,  31400,  2",
    "montagna,   31600,  31650,  11",
    "montagna,   31850,  33700,  11",
    "montagna,   33900,  34050,  11",
    "montagna,   34300,  34350,  2",
    "montagna,   34700,  35400,  12",
    "montagna,   35800,  36400,  12",
    "montagna,   36650,  36750,  12",
    "montagna,   37100,  37350,  11",
    "montagna,   37600,  38000,  12",
    "montagna,   38400,  39650,  11",
    "montagna,   39950,  41100,  12",
    "montagna,   42000,  43850,  11",
    "montagna,   44450,  44550,  12",
    "montagna,   45400,  47000,  11",
    "montagna,   47300,  48500,  12",
    "montagna,   48800,  49100,  12",
    "montagna,   49400,  49750,  12",
    "montagna,   50150,  51600,  11",
    "montagna,   51800,  52400,  12",
    "montagna,   52600,  52650,  11",
    "montagna,   52850,  53000,  11",
    "montagna,   53200,  53800,  12",
    "montagna,   54000,  54350,  11",
    "montagna,   54550,  54900,  11",
    "montagna,   55100,  55150,  11",
    "montagna,   55350,  55450,  11",
    "montagna,   55700,  56900,  12",
    "montagna,   58150,  66250,  11",
    "montagna,   66500,  66900,  12",
    "montagna,   67150,  68650,  11",
    "montagna,   68900,  69250,  12",
    "montagna,   69600,  70700,  11",
    "montagna,   70950,  71200,  12",
    "montagna,   71450,  71500,  11",
    "montagna,   71750,  71950,  11",
    "montagna,   72200,  72550,  11",
    "montagna,   73900,  75400,  11",
    "montagna,   78900,  79100,  11",
    "montagna,   81100,  81350,  12",
    "montagna,   84000,  84600,  11",
    "montagna,   85700,  85800,  11",
    "montagna,   87250,  87300,  12",
    "montagna,   90900,  91600,  11",
    "montagna,   93850,  95100,  12",
};

// Boards for a reduction to 40 stand 50 m before the change, those for a rise
// to 80 at the change itself.
constexpr std::array<std::string_view, 5> kIndicatori = {
    "indicatori_vmax,  550,  80,  80,  80,  0,  ,  ,  ,  0",
    "indicatori_vmax,  24550,  40,  40,  40,  0,  ,  ,  ,  0",
    "indicatori_vmax,  31750,  80,  80,  80,  0,  ,  ,  ,  0",
    "indicatori_vmax,  33700,  40,  40,  40,  0,  ,  ,  ,  0",
    "indicatori_vmax,  35200,  80,  80,  80,  0,  ,  ,  ,  0",
};

// Where an indication sign takes the name of its structure from.
enum class Nome : std::uint8_t { Confine, Galleria, Viadotto };

// One indication sign. Every group of its text has `width` characters between
// its parentheses; a border sign has the country's group alone.
struct Cartello {
  std::int32_t position;
  std::size_t width;
  Nome nome;
  std::string_view tipo;       // first group of a structure sign
  std::string_view lunghezza;  // third group of a tunnel sign
};

constexpr std::array<Cartello, 16> kCartelli = {{
    {14700, 7, Nome::Confine, "", ""},
    {19750, 8, Nome::Galleria, "(Galleria)", "(1186 m. )"},
    {31700, 10, Nome::Viadotto, "( Viadotto )", ""},
    {31800, 10, Nome::Galleria, "(Gall.elic.)", "( 1883 m.  )"},
    {38350, 10, Nome::Galleria, "( Galleria )", "( 1249 m.  )"},
    {39900, 8, Nome::Galleria, "(Galleria)", "(1154 m. )"},
    {41950, 10, Nome::Galleria, "(Gall.elic.)", "( 1857 m.  )"},
    {45350, 8, Nome::Galleria, "(Galleria)", "( 1584 m.)"},
    {50100, 10, Nome::Galleria, "(Gall.elic.)", "( 1467 m.  )"},
    {55650, 8, Nome::Galleria, "(Galleria)", "( 1273 m.)"},
    {58100, 12, Nome::Galleria, "(  Galleria  )", "(  8099 m.   )"},
    {61900, 6, Nome::Confine, "", ""},
    {69550, 8, Nome::Galleria, "(Galleria)", "( 1086 m.)"},
    {73100, 8, Nome::Viadotto, "(Viadotto)", ""},
    {73850, 10, Nome::Galleria, "(Gall.elic.)", "( 1502 m.  )"},
    {93800, 9, Nome::Galleria, "(Galleria )", "( 1276 m. )"},
}};

std::span<const names::StructureName> elenco(Nome n) {
  switch (n) {
    case Nome::Confine:
      return names::kBorders;
    case Nome::Galleria:
      return names::kTunnels;
    case Nome::Viadotto:
      return names::kViaducts;
  }
  return {};
}

// The name of the structure (or country) announced by the sign at a position.
std::string_view nome_di(const Cartello& c) {
  for (const names::StructureName& s : elenco(c.nome)) {
    if (s.sign_position == c.position) return s.name;
  }
  throw Failure("no place name for the sign at " + std::to_string(c.position) + " m");
}

// A name centred between parentheses in the sign's width; the odd blank goes
// after the name.
std::string gruppo(std::string_view name, std::size_t width) {
  if (name.size() > width) {
    throw Failure("the name '" + std::string(name) + "' is wider than its sign (" + std::to_string(width) + ")");
  }
  std::size_t left = (width - name.size()) / 2;
  std::string g = "(";
  g.append(left, ' ');
  g += name;
  g.append(width - name.size() - left, ' ');
  g += ')';
  return g;
}

std::string riga_cartello(const Cartello& c) {
  std::string text = std::string(c.tipo) + gruppo(nome_di(c), c.width) + std::string(c.lunghezza);
  return "cartello_indicatore,  " + std::to_string(c.position) + ",   " + text;
}

// The comment line names the starting station as the route name spells it.
std::string riga_altitudine() {
  std::string_view start = names::kRouteName.substr(0, names::kRouteName.find('_'));
  return "- Altitudine iniziale " + std::string(start) + " = 9 m.";
}

template <std::size_t N>
void aggiungi(std::vector<std::string>& out, const std::array<std::string_view, N>& lines) {
  for (std::string_view l : lines) out.emplace_back(l);
}

}  // namespace

std::vector<std::string> righe_linea() {
  std::vector<std::string> out;
  out.reserve(313);
  aggiungi(out, kGenerale);
  out.emplace_back("[curve]");
  aggiungi(out, kCurve);
  out.emplace_back("[pendenze]");
  out.push_back(riga_altitudine());
  aggiungi(out, kPendenze);
  out.emplace_back("[montagne]");
  aggiungi(out, kMontagne);
  out.emplace_back("[cartelli]");
  aggiungi(out, kIndicatori);
  out.emplace_back("[indicazioni]");
  for (const Cartello& c : kCartelli) out.push_back(riga_cartello(c));
  out.emplace_back("[fine]");
  out.emplace_back(kTerminator);
  return out;
}

}  // namespace scenario
