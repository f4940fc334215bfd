#include "documents/dati_scheda.h"

#include "documents/tabella.h"
#include "model/nomi_file.h"
#include "text/scrittura.h"

namespace {

// Columns of the timetable: Vel. Lim., Vel. Marc., Progr Km, No Rs,
// Localita' di Servizio, Orario, Rec.
const tabella orario({5, 5, 10, 5, 28, 16, 5});

// One row of the timetable as the crew reads it; an empty text leaves its
// place blank. A time with "+" keeps it.
struct fermata_orario {
  const char* velocita_limite;
  const char* progressiva;
  const char* velocita_rs;
  const char* localita;
  const char* arrivo;
  const char* passaggio;
  const char* partenza;
  const char* recupero;
};

constexpr fermata_orario righe_orario[] = {
    {"30", "150.200", "30", "MORSALO/MORSK", "", "", "12.43", ""},
    {"100", "149.550", "100", "deviatoio di uscita", "", "12.44", "", ""},
    {"150", "148.900", "130", "Km 148.900", "", "12.44+", "", ""},
    {"", "142.500", "", "PRADELLA/PRADL", "12.48+", "", "12.49", ""},
    {"", "139.300", "", "SORVINO/SORWEIN", "12.51+", "", "12.52", ""},
    {"", "134.150", "", "ULSA/ULSACH", "12.56+", "", "12.57", ""},
    {"120", "133.750", "120", "deviatoio di uscita", "", "12.57+", "", ""},
    {"150", "131.800", "130", "Km 131.800", "", "12.59", "", ""},
    {"", "128.400", "", "TESSO/TESSACH", "13.00+", "", "13.01", ""},
    {"", "124.400", "", "CALE'/KALTIG", "13.05+", "", "13.06", ""},
    {"", "119.000", "", "PIANOLDO/PLANOLD", "13.09+", "", "13.10", ""},
    {"135", "118.500", "", "deviatoio di uscita", "", "13.10+", "", ""},
    {"", "111.600", "", "ROCCAFONDA", "13.15+", "", "13.16", ""},
    {"120", "111.150", "120", "deviatoio di uscita", "", "13.16+", "", ""},
    {"135", "108.550", "130", "Km.108.550", "", "13.18", "", ""},
    {"", "105.300", "", "CRESPA", "", "13.22", "", "1.0"},
    {"75", "97.350", "75", "segn. prot. TORVIA scalo", "", "13.24", "", ""},
    {"", "95.350", "", "TORVIA scalo", "", "13.26", "", ""},
    {"", "94.800", "", "TORVIA", "13.29", "", "", ""},
};

// A speed fills the first four places from the right; the fifth stays blank.
std::string cella_velocita(const char* v) { return a_destra(v, 4) + " "; }

std::string cella_progressiva(const char* km) { return a_destra(km, 8) + "  "; }

std::string cella_localita(const char* nome) { return a_sinistra(std::string("  ") + nome, 28); }

// Places inside the time cell count from 1: arrival from 2 (its "+" at 7),
// passing from 6 (its "+" at 11), departure from 11.
std::string cella_orario(const fermata_orario& f) {
  std::string c = orario.bianca(5);
  scrivi_in(c, 2, f.arrivo);
  scrivi_in(c, 6, f.passaggio);
  scrivi_in(c, 11, f.partenza);
  return c;
}

std::string cella_recupero(const char* r) {
  std::string c = orario.bianca(6);
  scrivi_in(c, 2, r);
  return c;
}

std::string riga_orario(const fermata_orario& f) {
  return orario.riga({cella_velocita(f.velocita_limite), orario.bianca(1),
                      cella_progressiva(f.progressiva), cella_velocita(f.velocita_rs),
                      cella_localita(f.localita), cella_orario(f), cella_recupero(f.recupero)});
}

}  // namespace

std::vector<std::string> elenco_scheda() {
  std::vector<std::string> e = {
      "",
      " ",
      "  ___________________                                               ______________",
      " |                   |                    SCHEDA                   |              |",
      " |   TRENO n.20417   |                   da: MORSALO/MORSK         |    V160 B    |",
      " |___________________|                    a: SELVIA C.R.           |     105%     |",
      "                                                                   |______________|",
      "  ___________________                ___________________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      " |   REGIONALE       |              |      300T         |",
      " |___________________|              |___________________|",
      "",
      "  " + std::string(80, '_'),
      " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      " | Lim.|Marc.|          |  Rs |                            |                |     |",
      orario.righello(),
      orario.vuota(),
  };
  for (const fermata_orario& f : righe_orario) e.push_back(riga_orario(f));
  e.push_back(orario.vuota());
  e.push_back(orario.vuota());
  // Cells 2 to 6 merge into one cell for the note.
  e.push_back(tabella({5, 68, 5}).riga(
      {orario.bianca(0),
       a_sinistra("   SEGUONO INFORMAZIONI TRATTO TORVIA - SELVIA CAMPO ROSSO", 68),
       orario.bianca(6)}));
  for (int i = 0; i < 6; ++i) e.push_back(orario.vuota());
  e.push_back(orario.righello());
  e.push_back("");
  e.push_back(fine_elenco);
  return e;
}

void dati_scheda(const modello& m, archivio& a) { scrivi_elenco(a, nome_scheda(m), elenco_scheda()); }
