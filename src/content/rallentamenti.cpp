// Temporary stub for the built-in rallentamenti content.
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
std::vector<std::string> righe_rallentamenti() { return {"[generale]", std::string(kTerminator)}; }
}  // namespace scenario
