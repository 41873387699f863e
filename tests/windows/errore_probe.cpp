// Calls errore("1251") so the checks can see its message box and exit status.
#include "app/form_load.h"

int main() { return scenario::errore("1251"); }
