// Wait window and message box for builds without a windowing toolkit.
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace scenario::platform {

struct WaitWindow::Impl {};

WaitWindow::WaitWindow() = default;
WaitWindow::~WaitWindow() = default;

void WaitWindow::show() { std::fputs("Attendere\n", stderr); }

void message_box(std::string_view title, std::string_view text) {
  (void)title;
  std::fprintf(stderr, "%s\n", std::string(text).c_str());
}

}  // namespace scenario::platform
