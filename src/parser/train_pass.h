// The train pass's working state and the helpers its record readers share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/compile_state.h"
#include "model/source_files.h"
#include "parser/field_reader.h"
#include "parser/pass_state.h"
#include "parser/passes.h"

namespace scenario::treno {

// The cells keep a speed limit in steps of this many km/h, in one byte.
inline constexpr std::int32_t kSpeedStep = 5;
inline constexpr std::int32_t kLargestByte = 0xff;

struct TrainPass {
  PassState& pass;
  CompileState& s;  // pass.s
  SourceFiles& sources;
  FieldReader reader;
  std::int32_t next_sign_row = kFirstSignRow;
  std::int32_t k = 1;              // row of the next station
  std::int32_t speed_fill = 0;     // first cell whose speed limit is not written
  std::int32_t adhesion_fill = 0;  // first cell whose adhesion is not written
  std::int32_t speed = 0;          // speed in force, km/h
  std::optional<RecordPlace> speed_place{};  // the speed field of the record that set it
  std::int32_t adhesion = 0;       // adhesion in force
  Owner speed_owner = owner::kDefault;     // the record that set the speed in force
  Owner adhesion_owner = owner::kDefault;  // the record that set the adhesion in force
};

// Reads of one field, each kept in the record in progress.
std::string leggi_testo(TrainPass& p);
std::int32_t leggi_i32(TrainPass& p);
std::int16_t leggi_i16(TrainPass& p);
std::uint8_t leggi_u8(TrainPass& p);

// A failed bound check: status 15 at the position (the record's field 1);
// the end of pass follows.
Seguito oltre_limite(TrainPass& p, std::int32_t position);

// Ends the pass after an error: deletes the train source and sets the status
// position when one is given. The status itself is set, and recorded, first.
Seguito termina(TrainPass& p, std::optional<std::int32_t> position);

// The record readers, in the order the keyword tests are made.
Seguito leggi_massa(TrainPass& p);
Seguito leggi_vetture(TrainPass& p);
Seguito leggi_velocita(TrainPass& p);
Seguito leggi_aderenza(TrainPass& p);
Seguito leggi_orologio(TrainPass& p);
Seguito leggi_sabbia(TrainPass& p);
Seguito leggi_segnale(TrainPass& p);
Seguito leggi_rallentamento(TrainPass& p);
Seguito leggi_abbattimento(TrainPass& p);
Seguito leggi_stazione(TrainPass& p);

// The speed limit in fifths of km/h as the cells hold it; throws Failure
// when the rounded quotient does not fit a byte.
std::uint8_t quinto(std::int32_t speed);

// The speed in force as the cells hold it. When it does not fit, the failure
// is recorded at the speed field of the record that set it (the cells are
// filled only when a later record, or the end of the pass, moves the fill
// on), with the speed as written and the written speeds a cell can take.
std::uint8_t quinto_in_vigore(TrainPass& p);

}  // namespace scenario::treno
