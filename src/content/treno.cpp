// Temporary stub for the built-in treno content.
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
std::vector<std::string> righe_treno() { return {"[generale]", std::string(kTerminator)}; }
}  // namespace scenario
