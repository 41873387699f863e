// The notes on the scenario: heading, seven remarks and the credit block.
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
namespace {

// "ABC DEF - GHI" -> "Abc Def - Ghi": each word capitalised.
std::string mixed_case(std::string_view name) {
  std::string s;
  bool word_start = true;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    s += static_cast<char>(word_start ? std::toupper(u) : std::tolower(u));
    word_start = !std::isalpha(u);
  }
  return s;
}

std::string station(std::size_t index) { return mixed_case(names::kStations[index].card); }

// The first line after " - ", the others after three blanks, so the text
// of a remark stays aligned.
void add_remark(std::vector<std::string>& to, const std::vector<std::string>& text) {
  for (std::size_t i = 0; i < text.size(); ++i) to.push_back((i == 0 ? " - " : "   ") + text[i]);
}

std::vector<std::string> remark_railway() {
  return {
      "Il percorso riproduce una linea di valico a semplice binario, elettrificata",
      "in corrente continua, sulla quale circolano di solito treni regionali",
      "composti da una locomotiva e da poche carrozze a media distanza.",
  };
}

std::vector<std::string> remark_spirals() {
  return {
      "Le gallerie elicoidali con cui la linea supera i forti dislivelli sono",
      "state riprodotte modificando il raggio di alcune curve, cosi' da",
      "conservare il massimo realismo possibile.",
  };
}

std::vector<std::string> remark_slow_stretches() {
  return {
      "Due tratti vanno percorsi a 40 km/h (uno dei due e' lungo circa 7 km). I",
      "cartelli di cambio velocita' non sono posti alla distanza di avviso ma",
      "esattamente nel punto di cambio: occorre quindi molta attenzione e conviene",
      "riferirsi ai punti indicati nella scheda treno.",
  };
}

// The third station of the timetable lies between two tunnels.
std::vector<std::string> remark_hidden_halt() {
  return {
      "La fermata di " + station(2) + " e' stretta fra due gallerie, poco visibile",
      "e priva di preavviso: occorre prestare attenzione nell'avvicinarsi.",
  };
}

// The chainage changes after the fifth station and at the seventeenth.
std::vector<std::string> remark_chainages() {
  return {
      "La progressiva chilometrica cambia due volte. La prima volta dopo la",
      "stazione di " + station(4) + ", da dove si conta a partire dal",
      "capolinea opposto. La seconda nella stazione di " + station(16) + ",",
      "dove la linea lascia un tracciato piu' antico che oggi non esiste piu'.",
  };
}

std::vector<std::string> remark_sources() {
  return {
      "I dati della linea sono stati ricavati da carte in scala 1:25000 e da",
      "registrazioni video effettuate dalla cabina di guida. In mancanza di",
      "documenti piu' precisi, le progressive chilometriche delle stazioni",
      "possono differire leggermente da quelle reali.",
  };
}

std::vector<std::string> remark_difficulty() {
  return {"Il percorso di questo treno e' privo di particolari situazioni 'difficili'."};
}

}  // namespace

std::vector<std::string> righe_note() {
  const std::string route = station(0) + " - " + station(names::kStations.size() - 1);
  std::vector<std::string> lines = {
      std::string(14, ' ') + "Treno 31708 sul percorso " + route,
      "",
      " Note sullo scenario:",
      "",
  };
  add_remark(lines, remark_railway());
  add_remark(lines, remark_spirals());
  add_remark(lines, remark_slow_stretches());
  add_remark(lines, remark_hidden_halt());
  add_remark(lines, remark_chainages());
  add_remark(lines, remark_sources());
  add_remark(lines, remark_difficulty());
  lines.emplace_back();
  lines.emplace_back(" Scenario e generatore: il gruppo che ha ricostruito il generatore in C++.");
  lines.emplace_back(" Dati di linea e treno raccolti e verificati dagli autori dello scenario.");
  lines.emplace_back(kTerminator);
  return lines;
}

}  // namespace scenario
