// The keyword spellings of every record kind.
#include "compile/keyword_spelling.h"

namespace scenario::tool {
namespace {

using K = RecordKind;

constexpr std::string_view kRouteLength[] = {"lunghezza percorso"};
constexpr std::string_view kChainageOne[] = {"progressiva chilometrica uno"};
constexpr std::string_view kChainageTwo[] = {"progressiva chilometrica due"};
constexpr std::string_view kChainageThree[] = {"progressiva chilometrica tre"};
constexpr std::string_view kBackgroundOne[] = {"sfondo uno"};
constexpr std::string_view kBackgroundTwo[] = {"sfondo due"};
constexpr std::string_view kBackgroundThree[] = {"sfondo tre"};
constexpr std::string_view kRepetition[] = {"ripetizione segnali 4 codici", "ripetizione segnali 9 codici"};
constexpr std::string_view kGradient[] = {"pendenza"};
constexpr std::string_view kCurve[] = {"curvas4", "curvad4", "curvas5", "curvad5"};
constexpr std::string_view kMontagna[] = {"montagna"};
constexpr std::string_view kBoards[] = {"indicatori_vmax"};
constexpr std::string_view kSign[] = {"cartello_indicatore"};
constexpr std::string_view kMass[] = {"percentuale massa frenata"};
constexpr std::string_view kCars[] = {"numero vetture"};
constexpr std::string_view kSpeed[] = {"velocita"};
constexpr std::string_view kAdhesion[] = {"aderenza"};
constexpr std::string_view kClock[] = {"orologio"};
constexpr std::string_view kSand[] = {"sabbia"};
constexpr std::string_view kSignal[] = {"segnale"};
constexpr std::string_view kSlowOrder[] = {"rallentamento"};
constexpr std::string_view kReduction[] = {"abbattimento"};
constexpr std::string_view kStation[] = {"stazione"};

}  // namespace

std::span<const std::string_view> keyword_spellings(RecordKind kind) {
  switch (kind) {
    case K::None: break;
    case K::RouteLength: return kRouteLength;
    case K::ChainageThree: return kChainageThree;
    case K::ChainageTwo: return kChainageTwo;
    case K::ChainageOne: return kChainageOne;
    case K::BackgroundOne: return kBackgroundOne;
    case K::BackgroundTwo: return kBackgroundTwo;
    case K::BackgroundThree: return kBackgroundThree;
    case K::SignalRepetition: return kRepetition;
    case K::Gradient: return kGradient;
    case K::Curve: return kCurve;
    case K::Montagna: return kMontagna;
    case K::SpeedBoards: return kBoards;
    case K::Sign: return kSign;
    case K::Mass: return kMass;
    case K::Cars: return kCars;
    case K::SpeedProfile: return kSpeed;
    case K::Adhesion: return kAdhesion;
    case K::Clock: return kClock;
    case K::Sand: return kSand;
    case K::Signal: return kSignal;
    case K::SlowOrder: return kSlowOrder;
    case K::Reduction: return kReduction;
    case K::Station: return kStation;
  }
  return {};
}

}  // namespace scenario::tool
