// The steps of the line pass, shared by its source files.
#pragma once

#include <cstdint>

#include "model/scenario_record.h"
#include "parser/line_input.h"
#include "parser/passes.h"
#include "parser/track_plan.h"

namespace scenario {


// Working values of the body.
struct Contatori {
  std::int32_t c = kFirstDrawnPoint;  // next point of the line plan
  std::int32_t f = 0;             // next cell whose gradient code is not written
  std::int32_t g = 0;             // gradient in force
  std::int32_t r = kFirstSignRow;  // row for the next sign's text
  Owner g_owner = owner::kDefault;  // the record that set the gradient in force
};

// Skips the preamble up to the field that holds "[generale]" (status 102 when
// the text ends first).
Seguito cerca_generale(LineInput& li);

// The general section, up to and including its closing header (status 1, 3, 4 or 5).
Seguito leggi_generale(LineInput& li);

// The body records up to the end of the text or a failed bound check
// (status 103, 6 or a placement routine's own).
Seguito leggi_corpo(LineInput& li, Contatori& k);

}  // namespace scenario
