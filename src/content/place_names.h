// Every place name of the built-in scenario, in one place, so that the line
// source's signs, the train source and the timetable card cannot disagree.
#pragma once

#include <array>
#include <string_view>

namespace scenario::names {

inline constexpr std::string_view kRouteName = "Castrovelde_Ardis";
inline constexpr std::string_view kTrainCode = "R31708";

// A station as the train source writes it and as the timetable card shows it.
struct StationName {
  std::string_view source;  // upper case letters, blanks, full stops
  std::string_view card;    // the card's own form
};

// The 18 stations in route order.
inline constexpr std::array<StationName, 18> kStations = {{
    {"CASTROVELDE", "CASTROVELDE"},
    {"MONTEFERRO", "MONTEFERRO"},
    {"PIANELLO", "PIANELLO"},
    {"P.M. Km 11.959", "P.M. Km 11+959"},
    {"CASELLE TORRIANA", "CASELLE - TORRIANA"},
    {"PASSO LUNARO", "Passo Lunaro"},
    {"VILLAROSA", "VILLAROSA"},
    {"SANTA LUCE BAGNI", "SANTA LUCE - BAGNI"},
    {"SERRAVALLE", "SERRAVALLE"},
    {"COLLEFONDO", "COLLEFONDO"},
    {"ROCCABRUNA", "ROCCABRUNA"},
    {"PIETRAMALA", "PIETRAMALA"},
    {"BORGO ARDESIO", "BORGO ARDESIO"},
    {"VALMORENA", "VALMORENA"},
    {"MONTALDO", "MONTALDO"},
    {"CAMPOLUNGO", "CAMPOLUNGO"},
    {"FONTANELLE", "FONTANELLE"},
    {"ARDIS", "ARDIS"},
}};

// A structure announced by an indication sign, keyed by the sign's position.
struct StructureName {
  int sign_position;
  std::string_view name;  // mixed case, at most the sign's width
};

// Tunnels, in route order.
inline constexpr std::array<StructureName, 12> kTunnels = {{
    {19750, "Sorba"},
    {31800, "Rosaro"},
    {38350, "Cavallina"},
    {39900, "Pradella"},
    {41950, "Varenna"},
    {45350, "Ronchi"},
    {50100, "Fontana"},
    {55650, "Lagone"},
    {58100, "Monte Ardo"},
    {69550, "Serra"},
    {73850, "Preda"},
    {93800, "Castagno"},
}};

// Viaducts, in route order.
inline constexpr std::array<StructureName, 2> kViaducts = {{
    {31700, "Valgrande"},
    {73100, "Rovina"},
}};

// Countries entered at the two border signs (upper case, as on the signs).
inline constexpr std::array<StructureName, 2> kBorders = {{
    {14700, "ALVERIA"},
    {61900, "VALSIA"},
}};

// The tunnel named on the timetable card (entrance and exit rows).
inline constexpr int kCardTunnelSign = 31800;

}  // namespace scenario::names
