// Temporary stub for the built-in linea content.
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
std::vector<std::string> righe_linea() { return {"[generale]", std::string(kTerminator)}; }
}  // namespace scenario
