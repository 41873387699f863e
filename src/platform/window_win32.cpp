// Wait window and message box as plain Win32 windows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/text_win32.h"

namespace scenario::platform {
namespace {

// Sizes of the window and its label in twips (1/1440 inch).
constexpr int kClientWidth = 4200;
constexpr int kClientHeight = 2688;
constexpr int kLabelLeft = 960;
constexpr int kLabelTop = 960;
constexpr int kLabelWidth = 2652;
constexpr int kLabelHeight = 792;
constexpr int kLabelPoints = 24;

constexpr wchar_t kWindowClass[] = L"Form1";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

int twips_to_pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// Dots per inch of the screen along one axis.
int screen_dpi(int axis) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, axis) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

bool register_window_class(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kWindowClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// "MS Sans Serif" when the system has it, otherwise its sans-serif substitute.
HFONT create_label_font(int dpi) {
  return CreateFontW(-MulDiv(kLabelPoints, dpi, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                     L"MS Sans Serif");
}

// The top-level window with a client area of the given size, placed by the system.
HWND create_form(HINSTANCE instance, int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRect(&frame, kWindowStyle, FALSE);
  const std::wstring title = widen(kProgramTitle);
  return CreateWindowExW(0, kWindowClass, title.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
}

HWND create_label(HWND form, HINSTANCE instance, int dpi_x, int dpi_y) {
  return CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT,
                         twips_to_pixels(kLabelLeft, dpi_x), twips_to_pixels(kLabelTop, dpi_y),
                         twips_to_pixels(kLabelWidth, dpi_x), twips_to_pixels(kLabelHeight, dpi_y), form, nullptr,
                         instance, nullptr);
}

}  // namespace

struct WaitWindow::Impl {
  HWND form = nullptr;
  HFONT font = nullptr;
};

// Builds the window hidden; without a usable desktop the window stays absent
// and show() falls back to a line on stderr.
WaitWindow::WaitWindow() : impl_(std::make_unique<Impl>()) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!register_window_class(instance)) return;
  const int dpi_x = screen_dpi(LOGPIXELSX);
  const int dpi_y = screen_dpi(LOGPIXELSY);
  impl_->form = create_form(instance, twips_to_pixels(kClientWidth, dpi_x), twips_to_pixels(kClientHeight, dpi_y));
  if (!impl_->form) return;
  HWND label = create_label(impl_->form, instance, dpi_x, dpi_y);
  impl_->font = create_label_font(dpi_y);
  if (label && impl_->font) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(impl_->font), FALSE);
}

WaitWindow::~WaitWindow() {
  if (impl_->form) DestroyWindow(impl_->form);
  if (impl_->font) DeleteObject(impl_->font);
}

void WaitWindow::show() {
  if (!impl_->form) {
    std::fputs("Attendere\n", stderr);
    return;
  }
  ShowWindow(impl_->form, SW_SHOWNORMAL);
  UpdateWindow(impl_->form);
}

void message_box(std::string_view title, std::string_view text) {
  const std::wstring wide_title = widen(title);
  const std::wstring wide_text = widen(text);
  if (MessageBoxW(nullptr, wide_text.c_str(), wide_title.c_str(), MB_OK) == 0) {
    std::fprintf(stderr, "%s\n", std::string(text).c_str());
  }
}

}  // namespace scenario::platform
