// Shows the wait window, reports its geometry and font, and keeps it up a while.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace {

// The label's rectangle in client coordinates of its parent.
RECT child_rect(HWND form, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int count_children(HWND form) {
  int n = 0;
  for (HWND c = GetWindow(form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
  return n;
}

// The face the system chose for the label's font and the width of its text.
void report_face(HWND label, HFONT font) {
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SIZE extent{};
  GetTextExtentPoint32W(dc, L"Attendere", 9, &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  std::printf("face %ls\n", face);
  std::printf("extent %ld %ld\n", extent.cx, extent.cy);
}

void report(HWND form) {
  RECT client{};
  GetClientRect(form, &client);
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
  HWND label = GetWindow(form, GW_CHILD);
  if (!label) return;
  RECT r = child_rect(form, label);
  std::printf("label %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  wchar_t text[64] = {};
  GetWindowTextW(label, text, 64);
  std::printf("text %ls\n", text);
  LOGFONTW font{};
  HFONT handle = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  if (handle && GetObjectW(handle, sizeof font, &font)) {
    std::printf("font %ld %ld %d %d %d %d\n", font.lfHeight, font.lfWeight, font.lfCharSet, font.lfItalic,
                font.lfUnderline, font.lfStrikeOut);
  }
  if (handle) report_face(label, handle);
  std::printf("visible %d\n", IsWindowVisible(form) ? 1 : 0);
  std::printf("controls %d\n", count_children(form));
}

}  // namespace

// Usage: wait_probe [seconds]; the report goes to stdout before the wait.
int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  scenario::platform::WaitWindow window;
  window.show();
  HWND form = FindWindowW(L"Form1", nullptr);
  if (!form) {
    std::puts("no window");
    return 3;
  }
  report(form);
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return 0;
}
