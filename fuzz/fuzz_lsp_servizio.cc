#include "prove.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t quanti) {
  prova_lsp_servizio(dati, quanti);
  return 0;
}
