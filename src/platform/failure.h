// The project's one exception type for runtime failures.
#pragma once

#include <stdexcept>
#include <string>

namespace scenario {

// A runtime failure: a read that fails, a conversion that does not fit, an
// index outside its array, a file that cannot be written. Inside the compile
// passes it becomes status 25; anywhere else it ends the program with exit 2.
class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace scenario
