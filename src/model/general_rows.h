// The fields of the general rows 84 to 86 named by what they hold, where the file layout gives them only a place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/account.h"
#include "model/scenario_record.h"

namespace scenario {

// One field of a general row: the row, the field as the account names it,
// and the member of the row that holds it.
template <typename T>
struct GeneralField {
  int row;
  RowField field;
  T ScenarioRecord::*member;
};

// Row 84: the train's braked-mass percentage and number of cars (train
// source), the route length in metres (line source).
inline constexpr GeneralField<std::int32_t> kBrakedMass{kRouteRow, RowField::Start, &ScenarioRecord::Start};
inline constexpr GeneralField<std::int32_t> kCars{kRouteRow, RowField::Position, &ScenarioRecord::Position};
inline constexpr GeneralField<std::int32_t> kRouteLength{kRouteRow, RowField::End, &ScenarioRecord::End};

// Row 85: the three backgrounds (line source), the route name, and the
// stamp's mark and check code.
inline constexpr GeneralField<std::int32_t> kBackgroundOne{kStampRow, RowField::Start, &ScenarioRecord::Start};
inline constexpr GeneralField<std::int32_t> kBackgroundTwo{kStampRow, RowField::Position, &ScenarioRecord::Position};
inline constexpr GeneralField<std::int32_t> kBackgroundThree{kStampRow, RowField::End, &ScenarioRecord::End};
inline constexpr GeneralField<std::string> kRouteName{kStampRow, RowField::Name, &ScenarioRecord::Name};
inline constexpr GeneralField<std::int16_t> kStampMark{kStampRow, RowField::Word1, &ScenarioRecord::Word1};
inline constexpr GeneralField<std::int32_t> kCheckCode{kStampRow, RowField::Time, &ScenarioRecord::Time};

// Row 86: the signal repetition's start, end and number of codes (line
// source), the sand and the clock at the start (train source), the train code.
inline constexpr GeneralField<std::int32_t> kRepetitionStart{kTrainRow, RowField::Start, &ScenarioRecord::Start};
inline constexpr GeneralField<std::int32_t> kRepetitionEnd{kTrainRow, RowField::End, &ScenarioRecord::End};
inline constexpr GeneralField<std::int32_t> kRepetitionCodes{kTrainRow, RowField::Position, &ScenarioRecord::Position};
inline constexpr GeneralField<std::int16_t> kSand{kTrainRow, RowField::Word1, &ScenarioRecord::Word1};
inline constexpr GeneralField<std::int16_t> kClockHours{kTrainRow, RowField::Word3, &ScenarioRecord::Word3};
inline constexpr GeneralField<std::int16_t> kClockMinutes{kTrainRow, RowField::Word4, &ScenarioRecord::Word4};
inline constexpr GeneralField<std::int16_t> kClockSeconds{kTrainRow, RowField::Word5, &ScenarioRecord::Word5};
inline constexpr GeneralField<std::string> kTrainCode{kTrainRow, RowField::Name, &ScenarioRecord::Name};

// The field `f` of a scenario table.
template <typename T>
constexpr T& general_field(ScenarioRows& rows, const GeneralField<T>& f) {
  return rows[static_cast<std::size_t>(f.row)].*f.member;
}
template <typename T>
constexpr const T& general_field(const ScenarioRows& rows, const GeneralField<T>& f) {
  return rows[static_cast<std::size_t>(f.row)].*f.member;
}

}  // namespace scenario
