// The slow-order notice: the train runs under no slow order.
#include <string>
#include <vector>

#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {

// Four empty lines, then the notice indented by 25 blanks. The train source
// has an empty slow-order section, so there is nothing else to list.
std::vector<std::string> righe_rallentamenti() {
  return {"", "", "", "", std::string(25, ' ') + "NESSUNA PRESCRIZIONE", std::string(kTerminator)};
}

}  // namespace scenario
