// Test probe: calls errore with its first argument, so its box and exit status can be checked.
#include <cstdio>

#include "app/form_load.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: errore_probe <error number>\n", stderr);
    return 64;
  }
  return scenario::errore(argv[1]);
}
