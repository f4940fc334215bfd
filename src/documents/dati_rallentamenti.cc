#include "documents/dati_rallentamenti.h"

#include <iterator>

#include "documents/tabella.h"
#include "model/nomi_file.h"
#include "text/scrittura.h"

namespace {

// Columns: N., FRA LE STAZIONI, Inizio dopo il cippo chilometrico,
// Velocita', Lunghezza metri, Prescrizioni specifiche.
const tabella ordine({3, 28, 12, 10, 9, 12});

// The two stations between which a slowdown lies, in one language form.
std::string cella_stazioni(const char* da, const char* a) {
  return a_sinistra(da, 9) + "-  " + a_sinistra(a, 16);
}

// A slowdown takes two rows: the figures with the first form of the station
// names, then the second form alone.
struct rallentamento {
  const char* numero;
  const char* da;
  const char* a;
  const char* da_altra_lingua;
  const char* a_altra_lingua;
  const char* cippo;
  const char* velocita;
  const char* lunghezza;
  const char* prescrizione;
};

// The same two slowdowns as the train text holds; "---" is no prescription.
constexpr rallentamento rallentamenti[] = {
    {" 1 ", "MORSALO", "PRADELLA", "MORSK", "PRADL", "    146     ", "    40    ", "   100   ",
     "    ---     "},
    {" 2 ", "ULSA", "TESSO", "ULSACH", "TESSACH", "    133     ", "    30    ", "   150   ",
     "     A      "},
};

}  // namespace

std::vector<std::string> elenco_rallentamenti() {
  std::vector<std::string> e = {
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " " + std::string(80, '_'),
      "  Linea  VALICORO/VALIKOR - SELVIA CAMPO ROSSO",
      "",
      "  Si ordina al macchinista del treno 20417 di effettuare i seguenti rallentamenti",
      "  " + std::string(79, '_'),
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      ordine.righello(),
  };
  for (const rallentamento& r : rallentamenti) {
    e.push_back(ordine.vuota());
    e.push_back(ordine.riga({r.numero, cella_stazioni(r.da, r.a), r.cippo, r.velocita,
                             r.lunghezza, r.prescrizione}));
    e.push_back(ordine.riga({ordine.bianca(0), cella_stazioni(r.da_altra_lingua, r.a_altra_lingua),
                             ordine.bianca(2), ordine.bianca(3), ordine.bianca(4),
                             ordine.bianca(5)}));
  }
  // Room for further entries.
  for (int i = 0; i < 20; ++i) e.push_back(ordine.vuota());
  e.push_back(ordine.righello());
  // The key of the prescriptions, D before C as on the printed form, whose
  // misspelt "Rallentamneto" the copy keeps.
  const char* chiave[] = {
      "",
      "              Prescrizioni specifiche",
      " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
      " B - Interessa anche la stazione di.......",
      " D - Rallentamneto N. ... e N. ...  sono contigui",
      " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
      "     i giorni esclusi i seguenti:.........",
      fine_elenco,
  };
  e.insert(e.end(), std::begin(chiave), std::end(chiave));
  return e;
}

void dati_rallentamenti(const modello& m, archivio& a) {
  scrivi_elenco(a, nome_rallentamenti(m), elenco_rallentamenti());
}
