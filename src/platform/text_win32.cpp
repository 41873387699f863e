// Text conversions between the program's narrow strings and Windows' UTF-16.
#include "platform/text_win32.h"

#include <windows.h>

#include <climits>

#include "platform/failure.h"

namespace scenario::platform {
namespace {

int checked_length(std::size_t n) {
  if (n > static_cast<std::size_t>(INT_MAX)) throw Failure("text too long to convert");
  return static_cast<int>(n);
}

// Converts with one code page; false when the bytes are not valid in it.
bool widen_with(UINT code_page, DWORD flags, std::string_view text, std::wstring& out) {
  const int n = checked_length(text.size());
  const int size = MultiByteToWideChar(code_page, flags, text.data(), n, nullptr, 0);
  if (size <= 0) return false;
  out.assign(static_cast<std::size_t>(size), L'\0');
  return MultiByteToWideChar(code_page, flags, text.data(), n, out.data(), size) == size;
}

}  // namespace

std::wstring widen(std::string_view text) {
  std::wstring out;
  if (text.empty()) return out;
  if (widen_with(CP_UTF8, MB_ERR_INVALID_CHARS, text, out)) return out;
  if (widen_with(CP_ACP, 0, text, out)) return out;
  throw Failure("cannot convert text to UTF-16");
}

std::string narrow(std::wstring_view text) {
  std::string out;
  if (text.empty()) return out;
  const int n = checked_length(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), n, nullptr, 0, nullptr, nullptr);
  if (size <= 0) throw Failure("cannot convert text to UTF-8");
  out.assign(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), n, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace scenario::platform
