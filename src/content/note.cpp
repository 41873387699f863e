// Temporary stub for the built-in note content.
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
std::vector<std::string> righe_note() { return {"[generale]", std::string(kTerminator)}; }
}  // namespace scenario
