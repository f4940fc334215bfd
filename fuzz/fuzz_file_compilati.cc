#include "prove.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t quanti) {
  prova_file_compilati(dati, quanti);
  return 0;
}
