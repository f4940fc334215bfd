// Writes the line and train texts of a generated line of KM kilometres into
// DIR, under the names the compile reads (Banco_Prova_linea.txt and its
// train's), for the preview's browser test: genera_testi DIR KM.

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "scenari_generati.h"
#include "text/archivio.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: genera_testi DIR KM\n");
    return 2;
  }
  const int km = std::atoi(argv[2]);
  if (km < 10 || km > 1000) {
    std::fprintf(stderr, "genera_testi: KM is 10 to 1000\n");
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  archivio_disco disco(argv[1]);
  deposita_testi(modello_generato(), disco, testi_generati(km));
  return 0;
}
