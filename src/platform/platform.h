// The platform layer: everything the rest of the program may ask of the OS.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace scenario::platform {

// The directory that holds the running program.
std::filesystem::path program_directory();

// A file name in a directory, joined with the platform's separator.
std::filesystem::path join_path(const std::filesystem::path& dir, std::string_view name);

// Pushes a written file's bytes to the disk; false with errno set on failure.
bool sync_file(std::FILE* f);

// Renames `from` over `to` in one step, replacing an existing `to`.
// Throws Failure naming both files and the system's reason.
void replace_file(const std::filesystem::path& from, const std::filesystem::path& to);

// The wait window: a small window whose only content is "Attendere", drawn
// before the long work starts. Without a display it is one line on stderr.
class WaitWindow {
 public:
  WaitWindow();
  ~WaitWindow();
  WaitWindow(const WaitWindow&) = delete;
  WaitWindow& operator=(const WaitWindow&) = delete;

  // Shows the window modeless and draws it at once.
  void show();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A modal message box with one OK button and no icon; waits for the user.
// Without a display the text goes to stderr.
void message_box(std::string_view title, std::string_view text);

// The program's title, used by message boxes.
inline constexpr std::string_view kProgramTitle = "scenario_gen";

}  // namespace scenario::platform
