// The platform layer: everything the rest of the program may ask of the OS.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace scenario::platform {

// The directory that holds the running program.
std::filesystem::path program_directory();

// A file name in a directory, joined with the platform's separator.
std::filesystem::path join_path(const std::filesystem::path& dir, std::string_view name);

// A file this program has just created under a name that nothing held before,
// open for writing. Closed (never removed) when it goes. Every failure throws
// Failure("cannot create|write <shown>: <system's reason>"), where `shown` is
// the name the caller wants in messages.
class NewFile {
 public:
  NewFile(NewFile&& other) noexcept;
  NewFile& operator=(NewFile&& other) noexcept;
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  ~NewFile();

  // Creates `path` with exclusive creation that never follows a link: when a
  // file, a directory or a link (even a dangling one) already stands at that
  // name, nothing is opened, written or truncated and the result is empty.
  // The handle is not inherited by child processes.
  static std::optional<NewFile> create(const std::filesystem::path& path, std::string shown);

  // Writes every byte, continuing after short writes.
  void write(std::string_view bytes);
  // Pushes the written bytes to the disk.
  void sync();
  // Closes the file, reporting a failure the system reports only on close.
  void close();

 private:
  NewFile(std::intptr_t handle, std::string shown) : handle_(handle), shown_(std::move(shown)) {}

  static constexpr std::intptr_t kNoHandle = -1;
  std::intptr_t handle_ = kNoHandle;
  std::string shown_;
};

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
