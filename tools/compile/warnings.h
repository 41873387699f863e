// Warnings for source input that the compiler silently passes over but an author almost surely did not mean.
#pragma once

#include <vector>

#include "compile/compile_outcome.h"
#include "compile/message_sink.h"

namespace scenario::tool {

// From the field notes of the compilation:
//  "after-end"       a record after "[fine]" (the compiler still reads it);
//  "unread-last"     a keyword that is the last field of its file (never read);
//  "unknown-keyword" a field that starts no record and is no section header
//                    or comment, with a "did you mean" hint for a near miss;
//  "past-end"        a position past the route's end that the compiler accepts.
void field_warnings(const CompileOutcome& r, MessageSink& out);

}  // namespace scenario::tool
