// Platform layer for Windows: the program's directory, paths and file replacement.
#include <windows.h>
#include <io.h>

#include <string>

#include "platform/platform.h"
#include "platform/text_win32.h"
#include "platform/failure.h"

namespace scenario::platform {
namespace {

// The system's description of an error code, without the trailing line end.
std::string system_message(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD n = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n > 0 && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) return "error " + std::to_string(code);
  return narrow(text);
}

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::filesystem::path program_directory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) throw Failure("cannot find the program's directory: " + system_message(GetLastError()));
    if (n < buffer.size()) {
      buffer.resize(n);
      return std::filesystem::path(buffer).parent_path();
    }
    if (buffer.size() >= 32768) throw Failure("cannot find the program's directory: path too long");
    buffer.resize(buffer.size() * 2);
  }
}

std::filesystem::path join_path(const std::filesystem::path& dir, std::string_view name) {
  std::wstring full = dir.wstring();
  if (!full.empty() && !is_separator(full.back())) full += L'\\';
  full += widen(name);
  return std::filesystem::path(full);
}

bool sync_file(std::FILE* f) { return _commit(_fileno(f)) == 0; }

void replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (!MoveFileExW(from.c_str(), to.c_str(), flags)) {
    const DWORD code = GetLastError();
    throw Failure("cannot replace " + narrow(to.wstring()) + " with " + narrow(from.wstring()) + ": " +
                  system_message(code));
  }
}

}  // namespace scenario::platform
