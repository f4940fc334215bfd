// The builder with one fault put into its line text: a sign at 0 m. A sign at
// 0 m lies in cell 1, whose first value is the slot of the cell file's mark,
// so the run must end with error 1250 and write no binary file.
#include <string>

#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "run/aggancio.h"
#include "text/archivio.h"

void prima_della_compilazione(modello& m, archivio& cartella) {
  const std::string nome = nome_testo_linea(m);
  std::string testo = cartella.leggi(nome);
  const std::string sezione = "[indicazioni]\r\n";
  const size_t dove = testo.find(sezione);
  if (dove == std::string::npos) throw errore_esecuzione(nome + " has no section of signs");
  testo.insert(dove + sezione.size(), "cartello_indicatore,  0,   (PROVA       )\r\n");
  cartella.scrivi(nome, testo);
}
