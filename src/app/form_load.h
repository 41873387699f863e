// The run: wait window, five text files, the compiler, the end.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/status.h"

namespace scenario {

// The exit status after errore's box.
inline constexpr int kErroreExitStatus = 1;
// The exit status after a runtime failure ended the run.
inline constexpr int kFailureExitStatus = 2;

// Shows " Errore n. " followed by `a` in a message box and returns the exit
// status the program then ends with (1).
int errore(const std::string& a);

// The text errore shows.
std::string errore_text(const std::string& a);

// The whole run in `dir`. Returns the stamp guard's code when the guard
// failed (nothing has been written then), nothing after a complete run.
// Runtime failures propagate as Failure.
std::optional<Status> Form_Load(const std::filesystem::path& dir);

}  // namespace scenario
