// Sub-string tests on keyword fields, exact and ignoring the case of ASCII letters.
#pragma once

#include <string_view>

namespace scenario {

bool contiene(std::string_view field, std::string_view part);
bool contiene_ci(std::string_view field, std::string_view part);

}  // namespace scenario
