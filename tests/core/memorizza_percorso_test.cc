#include "core/memorizza_percorso.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/file_binari.h"
#include "model/modello.h"
#include "text/archivio.h"

namespace {

bool vuoto(const punto& p) {
  return p.tipo == 0 && p.inizio == 0 && p.fine == 0 && p.posizione == 0 && p.opzione_1 == 0 &&
         p.testo.empty() && p.intero_1 == 0 && p.intero_2 == 0 && p.intero_3 == 0 &&
         p.intero_4 == 0 && p.intero_5 == 0 && p.opzione_2 == 0 && p.sosta == 0 &&
         p.opzione_3 == 0 && p.opzione_4 == 0 && p.orario == 0;
}

// Binary files of an earlier run.
archivio_memoria con_file_vecchi() {
  archivio_memoria a;
  a.file["Prova_linea.dat"] = "old line";
  a.file["Prova_T1.sim"] = "old sim";
  a.file["Prova_T1.dat"] = "old dat";
  return a;
}

// What the compile of the texts could leave: a grid, a plan when asked for,
// the names in their records.
modello compilato(int32_t genera_linea) {
  modello m;
  m.nome_scenario = "Prova";
  m.codice_treno = "T1";
  m.genera_linea = genera_linea;
  alloca_griglia(m, 0);
  if (genera_linea != 0) alloca_profilo(m);
  m.punti[punto_scenario].testo = "Prova";
  m.punti[punto_codici].testo = "T1";
  return m;
}

TEST(MemorizzaPercorso, WithoutGridNothingIsWrittenAndTheCodeIsReturned) {
  modello m;
  m.nome_scenario = "Prova";
  m.codice_treno = "T1";
  m.numero_errore = 5;
  m.posizione_errore = 777;
  for (punto& p : m.punti) {
    p.inizio = 9;
    p.testo = "stale";
  }
  // A grid and plan of an earlier compile must not be completed or written.
  alloca_griglia(m, 1000);
  alloca_profilo(m);
  archivio_memoria a = con_file_vecchi();
  const auto prima = a.file;

  // No line text in the store: the compile of the texts stops with 101.
  esito_compilazione e = memorizza_percorso(m, a, 1);
  EXPECT_EQ(e.errore, 101);
  EXPECT_TRUE(e.file_scritti.empty());
  EXPECT_EQ(a.file, prima);
  EXPECT_EQ(m.numero_errore, 101);
  EXPECT_EQ(m.posizione_errore, 777);  // kept from before
  EXPECT_EQ(m.genera_linea, 1);
  EXPECT_FALSE(m.griglia_presente());
  EXPECT_FALSE(m.profilo.allocato());
  for (int r = 0; r <= 84; ++r) EXPECT_TRUE(vuoto(m.punti[r])) << "record " << r;
}

TEST(CompletaPercorso, WithoutGrid) {
  struct caso {
    int32_t codice;
    int32_t atteso;
  };
  const caso casi[] = {{26, 26}, {102, 102}, {25, 25}, {1, 1}, {0, 26}};
  for (const caso& c : casi) {
    modello m;
    m.numero_errore = c.codice;
    archivio_memoria a = con_file_vecchi();
    const auto prima = a.file;
    esito_compilazione e = completa_percorso(m, a);
    EXPECT_EQ(e.errore, c.atteso);
    EXPECT_EQ(m.numero_errore, c.atteso);
    EXPECT_TRUE(e.file_scritti.empty());
    EXPECT_EQ(a.file, prima);
  }
}

TEST(CompletaPercorso, ATakenSlotWritesNoFile) {
  struct caso {
    const char* nome;
    void (*occupa)(modello&);
    int32_t atteso;
  };
  const caso casi[] = {
      // An object at position 0 lands in cell 1, the header cell.
      {"object in cell 1", [](modello& m) { m.celle[1].tipo = 12; m.celle[1].valore = 90; }, 1250},
      {"marca_sim", [](modello& m) { m.punti[punto_scenario].intero_1 = 1; }, 1250},
      {"codice_og", [](modello& m) { m.celle[1].valore_2 = 4; }, 1251},
      {"codice_st", [](modello& m) { m.punti[punto_scenario].orario = 4; }, 1251},
  };
  for (const caso& c : casi) {
    modello m = compilato(1);
    c.occupa(m);
    archivio_memoria a = con_file_vecchi();
    const auto prima = a.file;
    esito_compilazione e = completa_percorso(m, a);
    EXPECT_EQ(e.errore, c.atteso) << c.nome;
    EXPECT_TRUE(e.file_scritti.empty()) << c.nome;
    EXPECT_EQ(a.file, prima) << c.nome;
  }
}

TEST(CompletaPercorso, WritesTheFilesInOrder) {
  modello m = compilato(1);
  archivio_memoria a;
  esito_compilazione e = completa_percorso(m, a);
  EXPECT_EQ(e.errore, 0);
  EXPECT_EQ(e.file_scritti,
            (std::vector<std::string>{"Prova_linea.dat", "Prova_T1.sim", "Prova_T1.dat"}));
  EXPECT_EQ(a.file["Prova_linea.dat"], byte_file_linea(m.profilo));
  EXPECT_EQ(a.file["Prova_T1.sim"], byte_file_sim(m));
  EXPECT_EQ(a.file["Prova_T1.dat"], byte_file_dat(m));
  EXPECT_EQ(m.celle[1].valore, 5121);
  EXPECT_EQ(m.punti[punto_scenario].intero_1, 610);
}

TEST(CompletaPercorso, WithoutLinePlanTheOldLineFileStays) {
  modello m = compilato(0);
  archivio_memoria a = con_file_vecchi();
  esito_compilazione e = completa_percorso(m, a);
  EXPECT_EQ(e.errore, 0);
  EXPECT_EQ(e.file_scritti, (std::vector<std::string>{"Prova_T1.sim", "Prova_T1.dat"}));
  EXPECT_EQ(a.file["Prova_linea.dat"], "old line");
  EXPECT_EQ(a.file["Prova_T1.sim"].size(), 87u * 34 + 5 + 2);
  EXPECT_EQ(a.file["Prova_T1.dat"].size(), 15u * 141);
}

TEST(CompletaPercorso, ACompileErrorWithAGridStillWritesTheFiles) {
  modello m = compilato(0);
  m.numero_errore = 15;
  m.posizione_errore = 3000;
  // A slowdown, so the pass has something to do.
  m.celle[30].tipo = inizio_rallentamento;
  m.celle[30].valore = 120;
  m.celle[31].tipo = fine_rallentamento;
  archivio_memoria a;
  esito_compilazione e = completa_percorso(m, a);
  EXPECT_EQ(e.errore, 0);
  EXPECT_EQ(e.file_scritti.size(), 2u);
  EXPECT_EQ(m.numero_errore, 15);
  EXPECT_EQ(m.posizione_errore, 3000);
  // The pass ran before the files: cell 25 is a marker of 180 in the file.
  const std::string& dat = a.file["Prova_T1.dat"];
  EXPECT_EQ(dat.substr(25 * 15, 3), std::string("\x0c\xb4\x00", 3));
}

}  // namespace
