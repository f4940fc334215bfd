#include "scenari_generati.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "line/dati_linea.h"
#include "model/nomi_file.h"
#include "text/archivio.h"
#include "text/scrittura.h"
#include "train/dati_treno.h"

namespace {

constexpr int32_t metri_blocco = 5000;
// Signs and stations share the point table: 29 signs leave room for 40 stations.
constexpr int32_t cartelli_massimi = 29;
constexpr int32_t stazioni_massime = 40;

// printf into a std::string; the records are short.
template <typename... T>
std::string riga(const char* formato, T... valori) {
  char b[160];
  const int n = std::snprintf(b, sizeof b, formato, valori...);
  if (n < 0 || static_cast<size_t>(n) >= sizeof b) throw std::logic_error("a generated record is too long");
  return std::string(b, static_cast<size_t>(n));
}

// Every how many blocks a bounded kind of record comes, so that at most
// `massimo` of them are spread over `blocchi` blocks.
int32_t passo(int32_t blocchi, int32_t massimo) { return (blocchi + massimo - 1) / massimo; }

// Offsets in a block, in metres from its start. Cells are 50 m: the offsets
// keep every object in a cell of its own, and leave the finishing pass the
// free cells it needs around the slowdowns.
constexpr int32_t inizio_curva = 200;
constexpr int32_t posizione_indicatori = 700;
constexpr int32_t posizione_cartello = 1150;
constexpr int32_t segnale_a = 1350;
constexpr int32_t inizio_montagna = 1500;
constexpr int32_t fine_montagna = 2500;
constexpr int32_t posizione_stazione = 2000;
constexpr int32_t inizio_rallentamento = 3000;
constexpr int32_t segnale_b = 3350;

std::vector<std::string> elenco_linea_generata(int32_t lunghezza, int32_t blocchi) {
  std::vector<std::string> e;
  e.push_back("[generale]");
  e.push_back(riga("lunghezza percorso,    %d", lunghezza));
  e.push_back("progressiva chilometrica uno,    0,    150300,    1");
  e.push_back("progressiva chilometrica due,    0,    0,    0");
  e.push_back("progressiva chilometrica tre,    0,    0,    0");
  e.push_back("sfondo uno,    0");
  e.push_back("sfondo due,    0");
  e.push_back("sfondo tre,    1");
  e.push_back(riga("ripetizione segnali 4 codici,    0,    %d", (lunghezza - 2000) / 50 * 50));

  e.push_back("[curve]");
  for (int32_t i = 0; i < blocchi; ++i) {
    const int32_t b = i * metri_blocco;
    const char lato = i % 2 == 0 ? 's' : 'd';
    e.push_back(riga("curva%c%d,  %d,  %d", lato, i % 6 + 1, b + inizio_curva, 300 + i % 5 * 300));
  }
  e.push_back("[pendenze]");
  for (int32_t i = 0; i < blocchi; ++i) {
    e.push_back(riga("pendenza,  %d,   %d", i * metri_blocco, i * 3 % 9 - 4));
  }
  e.push_back("[montagne]");
  for (int32_t i = 5; i < blocchi; i += 10) {
    const int32_t b = i * metri_blocco;
    e.push_back(riga("montagna,  %d,  %d,  %d", b + inizio_montagna, b + fine_montagna, i % 20 == 5 ? 12 : 2));
  }
  e.push_back("[cartelli]");
  for (int32_t i = 0; i < blocchi; ++i) {
    const int32_t v = 80 + i % 8 * 10;
    e.push_back(riga("indicatori_vmax,  %d,  %d,  %d,  %d,  %d,  %d,  %d,  %d,  %d",
                     i * metri_blocco + posizione_indicatori, v, v + 5, v + 10, i % 3, v, v + 5, v + 10, i % 3));
  }
  e.push_back("[indicazioni]");
  const int32_t ogni_cartello = passo(blocchi, cartelli_massimi);
  for (int32_t i = 0, n = 1; i < blocchi; i += ogni_cartello, ++n) {
    e.push_back(riga("cartello_indicatore,  %d,   (CARTELLO   )(N. %03d     )", i * metri_blocco + posizione_cartello, n));
  }
  e.push_back("[fine]");
  e.push_back(fine_elenco);
  return e;
}

std::vector<std::string> elenco_treno_generato(int32_t blocchi) {
  std::vector<std::string> e;
  e.push_back("[generale]");
  e.push_back("numero vetture,    4");
  e.push_back("percentuale massa frenata,    105");
  e.push_back("sabbia,    300");
  e.push_back("orologio,    12              42            20 ");

  e.push_back("[aderenze]");
  for (int32_t i = 0; i < blocchi; i += 2) {
    e.push_back(riga("aderenza,  %d,    %d", i * metri_blocco, 55 + i / 2 % 3 * 10));
  }
  e.push_back("[vel_limite]");
  for (int32_t i = 0; i < blocchi; ++i) {
    e.push_back(riga("velocita,  %d,    %d", i * metri_blocco, 80 + i % 8 * 10));
  }
  e.push_back("[stazioni]");
  const int32_t ogni_stazione = passo(blocchi, stazioni_massime);
  for (int32_t i = 0, n = 0; i < blocchi; i += ogni_stazione, ++n) {
    const int32_t minuti = 43 + 4 * n;
    e.push_back(riga("stazione,  %d, 12,  600,  %d, 0, %d,  4,1,0,  2,1,1,   30,  %d,%d, 0, Localita %d",
                     i * metri_blocco + posizione_stazione, n % 2, n % 3 == 1 ? 1 : 0, 12 + minuti / 60,
                     minuti % 60, n + 1));
  }
  e.push_back("[rallentamenti]");
  for (int32_t i = 1; i < blocchi; i += 4) {
    const int32_t k = i / 4;
    e.push_back(riga("rallentamento,  %d,    %d,  %d, %d,  1,  0", i * metri_blocco + inizio_rallentamento,
                     k % 2 == 0 ? 40 : 60, 150 + k % 2 * 150, k % 2));
  }
  e.push_back("[segnali]");
  for (int32_t i = 0; i < blocchi; ++i) {
    const int32_t b = i * metri_blocco;
    e.push_back(riga("segnale,  %d,   2, 4, 1,  0, 0,    2,  2,1,0, %d", b + segnale_a, i % 7 == 3 ? 250 : 0));
    e.push_back(riga("segnale,  %d,   1, 5, 1,  0, 0,    1,  3,1,0, 0", b + segnale_b));
  }
  e.push_back("[codici]");
  e.push_back("[fine]");
  e.push_back(fine_elenco);
  return e;
}

}  // namespace

testi_scenario testi_generati(int32_t chilometri) {
  if (chilometri < 10 || chilometri > 1000) throw std::invalid_argument("a generated line is 10 to 1000 km long");
  const int32_t lunghezza = chilometri * 1000;
  const int32_t blocchi = lunghezza / metri_blocco;
  return {testo_da_elenco(elenco_linea_generata(lunghezza, blocchi)),
          testo_da_elenco(elenco_treno_generato(blocchi))};
}

modello modello_generato() {
  modello m;
  m.nome_scenario = "Banco_Prova";
  m.codice_treno = "P00001";
  return m;
}

void deposita_testi(const modello& m, archivio& a, const testi_scenario& t) {
  a.scrivi(nome_testo_linea(m), t.linea);
  a.scrivi(nome_testo_treno(m), t.treno);
}

testi_scenario testi_incorporati() {
  archivio_memoria a;
  scrivi_elenco(a, "l", elenco_linea());
  scrivi_elenco(a, "t", elenco_treno());
  return {a.file["l"], a.file["t"]};
}
