#include "scenario/comandi.h"

#include <cstdio>

int esegui_scenario(int, char**) {
  std::fputs("usage: scenario <init|compile|inspect|map> ...\n", stderr);
  return 2;
}
