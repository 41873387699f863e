// Temporary stub for the built-in scheda content.
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
std::vector<std::string> righe_scheda() { return {"[generale]", std::string(kTerminator)}; }
}  // namespace scenario
