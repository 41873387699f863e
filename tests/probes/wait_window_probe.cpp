// Test probe: shows the wait window, says so on stdout, then keeps it up without events for a while.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/platform.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  scenario::platform::WaitWindow window;
  window.show();
  std::puts("shown");
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  return 0;
}
