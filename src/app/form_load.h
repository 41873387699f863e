// The run: wait window, five text files, the compiler, the end.
#pragma once

#include <filesystem>
#include <string>

namespace scenario {

// Shows " Errore n. " followed by `a` in a message box and ends the program
// with exit status 1.
[[noreturn]] void errore(const std::string& a);

// The text errore shows.
std::string errore_text(const std::string& a);

// The whole run in `dir`; returns the exit status (0 after a complete run).
// Runtime failures propagate as Failure.
int Form_Load(const std::filesystem::path& dir);

}  // namespace scenario
