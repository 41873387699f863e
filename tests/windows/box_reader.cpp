// Finds the program's message box and prints its title, controls and icon state.
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK print_child(HWND child, LPARAM) {
  wchar_t cls[64] = {};
  wchar_t text[256] = {};
  GetClassNameW(child, cls, 64);
  GetWindowTextW(child, text, 256);
  const LONG style = GetWindowLongW(child, GWL_STYLE);
  if (!IsWindowVisible(child)) return TRUE;
  if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
    // The box keeps an icon slot; it shows an icon only when it holds one.
    const bool has_icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
    std::printf("%s\n", has_icon ? "icon shown" : "icon slot empty");
    return TRUE;
  }
  std::printf("control %ls [%ls]\n", cls, text);
  return TRUE;
}

}  // namespace

// Usage: box_reader TITLE; waits up to 30 s for a visible dialog with that title.
int main(int argc, char** argv) {
  if (argc < 2) return 2;
  wchar_t title[128] = {};
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, title, 128);
  HWND box = nullptr;
  for (int i = 0; i < 300 && !box; ++i) {
    box = FindWindowW(L"#32770", title);
    if (box && !IsWindowVisible(box)) box = nullptr;
    if (!box) Sleep(100);
  }
  if (!box) {
    std::puts("no box");
    return 3;
  }
  std::printf("box [%ls]\n", title);
  EnumChildWindows(box, print_child, 0);
  return 0;
}
