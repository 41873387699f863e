// Wait window and message box with FLTK, falling back to stderr without a display.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace scenario::platform {
namespace {

// Hands an X connection to FLTK unless it has one already. FLTK's own opener
// ends the process when no server answers, so the server is tried here first;
// false means the caller writes to stderr instead.
bool display_available() {
  if (fl_display) return true;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return false;
  fl_open_display(d);
  return true;
}

// Form1 remembers its first complete drawing, so that show() can wait for it.
class Form1Window : public Fl_Window {
 public:
  Form1Window() : Fl_Window(280, 179, "scenario_gen") {}
  bool drawn() const { return drawn_; }

 protected:
  void draw() override {
    Fl_Window::draw();
    drawn_ = true;
  }

 private:
  bool drawn_ = false;
};

// FLTK keeps left- or right-aligned label text this far from either side.
constexpr int kLabelInset = 3;

// The largest size, at most `size`, at which `text` fits `room` pixels in
// `font`. The label was laid out for a font of Helvetica's widths; a wider
// sans-serif face would otherwise run past the label's right edge.
int size_that_fits(const char* text, Fl_Font font, int size, int room) {
  for (; size > 8; --size) {
    fl_font(font, size);
    if (fl_width(text) <= room) break;
  }
  return size;
}

// Form1 with Label1: 280 x 179 client area, placed by the window manager;
// "Attendere" in bold 24 pt (32 px at 96 dpi) at the label's left.
std::unique_ptr<Form1Window> make_form1() {
  // FLTK's bold sans face is "sans", which fontconfig often resolves to a
  // wider face than Helvetica; asking for Helvetica gets a face with its
  // widths where one is installed and the default sans otherwise.
  Fl::set_font(FL_HELVETICA_BOLD, "BHelvetica");
  auto window = std::make_unique<Form1Window>();
  window->color(FL_BACKGROUND_COLOR);
  auto* label = new Fl_Box(FL_NO_BOX, 64, 64, 177, 53, "Attendere");  // owned by the window
  label->labelfont(FL_HELVETICA_BOLD);
  label->labelsize(size_that_fits(label->label(), FL_HELVETICA_BOLD, 32, label->w() - 2 * kLabelInset));
  label->labelcolor(FL_FOREGROUND_COLOR);
  label->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  window->end();
  return window;
}

// Processes events until the window has been mapped and drawn once (or a
// short time has passed, e.g. when it is mapped minimised), then makes sure
// the server has the drawing before the long work starts.
void wait_until_drawn(const Form1Window& window) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!window.drawn() && std::chrono::steady_clock::now() < deadline) Fl::wait(0.05);
  Fl::flush();
  XSync(fl_display, False);
}

void close_window(Fl_Widget* widget, void*) { widget->window()->hide(); }

}  // namespace

struct WaitWindow::Impl {
  std::unique_ptr<Form1Window> window;  // empty without a display
};

WaitWindow::WaitWindow() : impl_(std::make_unique<Impl>()) {}

WaitWindow::~WaitWindow() {
  if (!impl_->window) return;
  impl_->window->hide();
  Fl::flush();
}

void WaitWindow::show() {
  if (!display_available()) {
    std::fputs("Attendere\n", stderr);
    return;
  }
  impl_->window = make_form1();
  impl_->window->show();
  wait_until_drawn(*impl_->window);
}

void message_box(std::string_view title, std::string_view text) {
  const std::string message(text);
  if (!display_available()) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return;
  }
  fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
  int text_w = 0;
  int text_h = 0;
  fl_measure(message.c_str(), text_w, text_h, 0);
  const int width = std::max(text_w + 40, 200);
  const int height = text_h + 75;

  auto window = std::make_unique<Fl_Window>(width, height);
  window->copy_label(std::string(title).c_str());
  auto* box = new Fl_Box(FL_NO_BOX, 20, 15, width - 40, text_h + 10, nullptr);  // owned by the window
  box->copy_label(message.c_str());
  box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  auto* ok = new Fl_Return_Button((width - 80) / 2, height - 40, 80, 25, "OK");
  ok->callback(close_window);
  window->end();
  window->set_modal();
  window->show();
  // Return presses OK; Escape or the close button hide the window too.
  while (window->shown()) Fl::wait();
}

}  // namespace scenario::platform
