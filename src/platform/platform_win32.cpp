// Platform layer for Windows: the program's directory, paths and file replacement.
#include <windows.h>

#include <limits>
#include <string>
#include <utility>

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

[[noreturn]] void fail(const char* verb, const std::string& shown, DWORD code) {
  throw Failure(std::string("cannot ") + verb + " " + shown + ": " + system_message(code));
}

HANDLE as_handle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

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

NewFile::NewFile(NewFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)), shown_(std::move(other.shown_)) {}

NewFile& NewFile::operator=(NewFile&& other) noexcept {
  if (this != &other) {
    if (handle_ != kNoHandle) CloseHandle(as_handle(handle_));
    handle_ = std::exchange(other.handle_, kNoHandle);
    shown_ = std::move(other.shown_);
  }
  return *this;
}

NewFile::~NewFile() {
  if (handle_ != kNoHandle) CloseHandle(as_handle(handle_));
}

std::optional<NewFile> NewFile::create(const std::filesystem::path& path, std::string shown) {
  // CREATE_NEW fails on any name that exists, a link included; opening the
  // reparse point itself means a link is never followed. No security
  // attributes: the handle is not inherited.
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h != INVALID_HANDLE_VALUE) return NewFile(reinterpret_cast<std::intptr_t>(h), std::move(shown));
  const DWORD code = GetLastError();
  if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return std::nullopt;
  fail("create", shown, code);
}

void NewFile::write(std::string_view bytes) {
  constexpr std::size_t kLargestWrite = std::numeric_limits<DWORD>::max();
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() < kLargestWrite ? bytes.size() : kLargestWrite);
    DWORD written = 0;
    if (!WriteFile(as_handle(handle_), bytes.data(), chunk, &written, nullptr)) fail("write", shown_, GetLastError());
    if (written == 0) fail("write", shown_, ERROR_WRITE_FAULT);
    bytes.remove_prefix(written);
  }
}

void NewFile::sync() {
  if (!FlushFileBuffers(as_handle(handle_))) fail("write", shown_, GetLastError());
}

void NewFile::close() {
  const HANDLE h = as_handle(std::exchange(handle_, kNoHandle));
  if (!CloseHandle(h)) fail("write", shown_, GetLastError());
}

void replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (!MoveFileExW(from.c_str(), to.c_str(), flags)) {
    const DWORD code = GetLastError();
    throw Failure("cannot replace " + narrow(to.wstring()) + " with " + narrow(from.wstring()) + ": " +
                  system_message(code));
  }
}

}  // namespace scenario::platform
