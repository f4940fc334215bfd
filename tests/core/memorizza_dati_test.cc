#include "core/memorizza_dati.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/passata_finale.h"
#include "line/dati_linea.h"
#include "train/dati_treno.h"

namespace {

const char* const nome_linea = "P_linea.txt";
const char* const nome_treno = "P_T-.txt";

// A 10000 m line (cells 0 to 340) with nothing on it.
const std::string linea_vuota = "[generale]\r\nlunghezza percorso, 10000\r\n[fine]\r\n";

struct compilazione {
  modello m;
  archivio_memoria a;
  diagnostica d;
};

void compila(compilazione& c, const std::string& linea, const std::string& treno) {
  c.m.nome_scenario = "P";
  c.m.codice_treno = "T";
  c.m.genera_linea = 0;
  c.m.posizione_errore = -1;
  c.m.traccia = &c.d;
  c.a.file[nome_linea] = linea;
  c.a.file[nome_treno] = treno;
  memorizza_dati(c.m, c.a);
}

std::string treno(const std::string& corpo) { return "[generale]\r\n" + corpo + "[fine]\r\n"; }

TEST(CompilaTreno, BuiltInScenarioCompilesWithoutError) {
  compilazione c;
  c.m.nome_scenario = "Morsalo_Torvia";
  c.m.codice_treno = "R20417";
  c.m.genera_linea = 1;
  dati_linea(c.m, c.a);
  dati_treno(c.m, c.a);
  memorizza_dati(c.m, c.a);
  const modello& m = c.m;
  EXPECT_EQ(m.numero_errore, 0);
  EXPECT_TRUE(c.a.file.empty());  // both texts deleted
  EXPECT_TRUE(c.d.avvisi.empty());

  for (int i = 1; i <= 12; ++i) EXPECT_NE(m.punti[i].testo, "") << i;
  EXPECT_EQ(m.punti[13].testo, "");
  EXPECT_EQ(m.punti[1].inizio, -500);
  EXPECT_EQ(m.punti[1].fine, 500);
  EXPECT_EQ(m.punti[7].testo, "Cal\xE8/ Kaltig");
  EXPECT_EQ(m.punti[1].orario, (12 * 60 + 43) * 60);
  std::vector<int> fermate;
  for (int k = 0; k <= m.numero_celle; ++k) {
    if (m.celle[k].tipo == fermata) fermate.push_back(k);
  }
  EXPECT_EQ(fermate, (std::vector<int>{9, 157, 226, 329, 444, 522, 632, 779, 924, 1089, 1116}));

  // Header values of the train.
  EXPECT_EQ(m.punti[punto_treno].inizio, 105);
  EXPECT_EQ(m.punti[punto_treno].posizione, 4);
  EXPECT_EQ(m.punti[punto_codici].intero_1, 300);
  EXPECT_EQ(m.punti[punto_codici].intero_3, 12);
  EXPECT_EQ(m.punti[punto_codici].intero_4, 42);
  EXPECT_EQ(m.punti[punto_codici].intero_5, 20);

  // Speed and adhesion profiles.
  const struct {
    int da, a;
    uint8_t velocita;
  } velocita[] = {{0, 13, 6}, {14, 27, 20}, {28, 330, 30}, {331, 369, 24}, {1059, 1377, 15}, {1378, 1380, 0}};
  for (const auto& v : velocita) {
    for (int k = v.da; k <= v.a; ++k) ASSERT_EQ(m.celle[k].velocita, v.velocita) << k;
  }
  EXPECT_EQ(m.celle[329].aderenza, 55);
  EXPECT_EQ(m.celle[330].aderenza, 70);
  EXPECT_EQ(m.celle[1377].aderenza, 70);
  EXPECT_EQ(m.celle[1378].aderenza, 0);

  // The held signal at 9450 m and the slowdown at 18000 m.
  const cella& s = m.celle[190];
  EXPECT_EQ(s.tipo, segnale);
  EXPECT_EQ(s.valore, 52);
  EXPECT_EQ(s.valore_2, 11);
  EXPECT_EQ(s.valore_4, 8);
  EXPECT_EQ(s.tempo, 250);
  for (int k : {188, 186, 184, 182}) EXPECT_EQ(m.celle[k].preavviso, 81 + (188 - k) / 2);
  EXPECT_EQ(m.celle[337].tipo, avviso_rallentamento);
  EXPECT_EQ(m.celle[361].tipo, inizio_rallentamento);
  EXPECT_EQ(m.celle[364].tipo, fine_rallentamento);
  EXPECT_EQ(m.celle[364].valore_3, 1);
}

TEST(CompilaTreno, ErrorsOfTheTrainText) {
  struct caso {
    const char* nome;
    std::string linea;
    std::string treno;
    int32_t errore;
    int32_t posizione;  // -1: not set
  };
  const std::string prog = "[generale]\r\nlunghezza percorso, 10000\r\n"
                           "progressiva chilometrica uno, 0, 125, 0\r\n[fine]\r\n";
  const std::string stazione = "stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n";
  std::string piena = "[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\n";
  for (int i = 0; i < 78; ++i) piena += "cartello_indicatore, " + std::to_string(100 + 100 * i) + ", S\r\n";
  const caso casi[] = {
      {"progressive not a multiple of 50", prog, treno(""), 2, -1},
      {"abbattimento on a signal", linea_vuota,
       treno("segnale, 950, 1,0,0,0,0,0,0,0,0,0\r\nabbattimento, 1000, 5\r\n"), 7, 1000},
      {"station position", linea_vuota, treno("stazione, 1025, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"),
       8, 1025},
      {"station length", linea_vuota, treno("stazione, 1000, 12, 650, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"),
       9, 1000},
      {"station table full", piena, treno(stazione), 10, -1},
      {"signal beyond the grid", linea_vuota, treno("segnale, 16901, 1,0,0,0,0,0,0,0,0,0\r\n"), 15, 16901},
      {"station beyond the grid", linea_vuota,
       treno("stazione, 16250, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"), 15, 16250},
      {"station stop cell beyond the grid", linea_vuota,
       treno("stazione, 16200, 8, 1000, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"), 15, 16200},
      {"slowdown end beyond the grid", linea_vuota, treno("rallentamento, 16000, 30, 1000, 0,0,0\r\n"), 15,
       16000},
      {"signal on a signal", linea_vuota,
       treno("segnale, 1000, 1,0,0,0,0,0,0,0,0,0\r\nsegnale, 1010, 1,0,0,0,0,0,0,0,0,0\r\n"), 16, 1010},
      {"slowdown warning occupied", linea_vuota,
       treno("segnale, 1800, 1,0,0,0,0,0,0,0,0,0\r\nrallentamento, 3000, 30, 100, 0,0,0\r\n"), 17, 3000},
      {"slowdown start occupied", linea_vuota,
       treno("segnale, 3000, 1,0,0,0,0,0,0,0,0,0\r\nrallentamento, 3000, 30, 100, 0,0,0\r\n"), 18, 3000},
      {"slowdown end occupied", linea_vuota,
       treno("segnale, 3100, 1,0,0,0,0,0,0,0,0,0\r\nrallentamento, 3000, 30, 100, 0,0,0\r\n"), 19, 3000},
      {"slowdown boards occupied", linea_vuota,
       treno("segnale, 1700, 1,0,0,0,0,0,0,0,0,0\r\nrallentamento, 3000, 30, 100, 0,1,0\r\n"), 20, 3000},
      {"stations too close", linea_vuota,
       treno("stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"
             "stazione, 1400, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B\r\n"),
       22, 1400},
      {"station ends too early", linea_vuota,
       treno("stazione, 0, 12, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"), 24, -1},
      {"train text cut short", linea_vuota, "[generale]\r\nsegnale, 1000, 1\r\n", 25, -1},
      {"byte out of range", linea_vuota,
       treno("stazione, 1000, 256, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"), 25, -1},
      {"speed too high for a byte", linea_vuota, treno("velocita, 0, 1280\r\nvelocita, 100, 0\r\n"), 25, -1},
      {"clock overflows a 16-bit integer", linea_vuota, treno("orologio, 40000 0 0\r\n"), 25, -1},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    compilazione r;
    compila(r, c.linea, c.treno);
    EXPECT_EQ(r.m.numero_errore, c.errore);
    EXPECT_EQ(r.m.posizione_errore, c.posizione);
    EXPECT_TRUE(r.a.file.empty());  // both texts are gone whatever the outcome
  }
}

TEST(CompilaTreno, MissingTrainTextIs25) {
  compilazione c;
  c.a.file[nome_linea] = linea_vuota;
  c.m.nome_scenario = "P";
  c.m.codice_treno = "T";
  memorizza_dati(c.m, c.a);
  EXPECT_EQ(c.m.numero_errore, 25);
  EXPECT_TRUE(c.a.file.empty());
}

TEST(CompilaTreno, ARunTimeFailureInTheLineTextDeletesBothTexts) {
  compilazione c;
  compila(c, "[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\npendenza, 100, 3x\r\n", treno(""));
  EXPECT_EQ(c.m.numero_errore, 25);
  EXPECT_EQ(c.m.posizione_errore, -1);  // left as it was
  EXPECT_TRUE(c.a.file.empty());
  // The failing field is kept as the record's value, with why it failed.
  const luogo_sorgente l = luogo_di(c.d, c.d.errore.campo);
  EXPECT_EQ(l.riga, 4);
  EXPECT_EQ(l.colonna, 16);
  EXPECT_EQ(c.d.record.at(static_cast<size_t>(c.d.errore.campo.record)).valori.at(1).testo, "3x");
  EXPECT_EQ(c.d.errore.motivo, motivo_fallimento::non_numero);
}

// The trace holds every record with the places and texts of its fields.
TEST(CompilaTreno, TheTraceKeepsEveryRecordAndTheOriginOfEveryObject) {
  compilazione c;
  compila(c, linea_vuota, treno("  sabbia,  12\r\nrallentamento, 3000, 30, 100, 0,0,0\r\n"));
  ASSERT_EQ(c.m.numero_errore, 0);
  // [generale], lunghezza percorso, [fine] of the line; [generale], sabbia, rallentamento, [fine] of the train.
  ASSERT_EQ(c.d.record.size(), 7u);
  const record_letto& sabbia = c.d.record[4];
  EXPECT_EQ(sabbia.chiave.testo, "sabbia");
  EXPECT_EQ(sabbia.chiave.luogo.testo, testo_treno);
  EXPECT_EQ(sabbia.chiave.luogo.riga, 2);
  EXPECT_EQ(sabbia.chiave.luogo.colonna, 3);
  ASSERT_EQ(sabbia.valori.size(), 1u);
  EXPECT_EQ(sabbia.valori[0].testo, "12");
  EXPECT_EQ(sabbia.valori[0].luogo.colonna, 12);
  // The kinds' names, compared as texts: the same literal need not have one address.
  ASSERT_EQ(sabbia.generi.size(), 1u);
  EXPECT_STREQ(sabbia.generi[0], "sabbia");
  EXPECT_EQ(c.d.record[5].valori.size(), 6u);
  EXPECT_EQ(c.d.righe_treno.at(1), "  sabbia,  12");
  // Start and end of the slowdown: its record placed them.
  EXPECT_EQ(origine_di(c.d, 61), 5);
  EXPECT_EQ(origine_di(c.d, 63), 5);
  // The markers of the finishing pass have the record whose rule placed them.
  passata_finale(c.m);
  ASSERT_EQ(c.m.celle[56].tipo, abbattimento);
  EXPECT_EQ(origine_di(c.d, 56), 5);
  EXPECT_TRUE(c.d.origine_celle.at(56).dalla_passata);
}

// A signal whose values overflow fails after its kind is written; the cause
// is its record.
TEST(CompilaTreno, ASignalThatOverflowsLeavesItsKindAndNamesItsRecord) {
  compilazione c;
  compila(c, linea_vuota, treno("segnale, 2000, 1,0,0,0,300000000,0,0,0,0,0\r\n"));
  EXPECT_EQ(c.m.numero_errore, 25);
  EXPECT_EQ(c.m.celle[41].tipo, segnale);
  EXPECT_EQ(c.m.celle[41].valore_4, 0);
  EXPECT_EQ(c.d.errore.motivo, motivo_fallimento::calcolo_fuori_campo);
  EXPECT_EQ(c.d.errore.campo.valore, nessuno);
  EXPECT_EQ(c.d.record.at(static_cast<size_t>(c.d.errore.campo.record)).chiave.testo, "segnale");
}

// A compile without a trace pays for none and gives the same model.
TEST(CompilaTreno, TheTraceChangesNothing) {
  const std::string t = treno("velocita, 0, 50\r\nsegnale, 2000, 1,0,0,0,0,0,0,0,0,0\r\nvelocita, 3000, 2000\r\n");
  compilazione con;
  compila(con, linea_vuota, t);
  compilazione senza;
  senza.m.nome_scenario = "P";
  senza.m.codice_treno = "T";
  senza.m.posizione_errore = -1;
  senza.a.file[nome_linea] = linea_vuota;
  senza.a.file[nome_treno] = t;
  memorizza_dati(senza.m, senza.a);
  EXPECT_EQ(con.m.numero_errore, senza.m.numero_errore);
  ASSERT_EQ(con.m.celle.size(), senza.m.celle.size());
  for (size_t k = 0; k < con.m.celle.size(); ++k) {
    EXPECT_EQ(con.m.celle[k].tipo, senza.m.celle[k].tipo) << k;
    EXPECT_EQ(con.m.celle[k].velocita, senza.m.celle[k].velocita) << k;
  }
}

TEST(CompilaTreno, ALineStopLeavesTheTrainTextUnread) {
  compilazione c;
  compila(c, "[generale]\r\nlunghezza percorso, 2000000\r\n[x]\r\n", treno(""));
  EXPECT_EQ(c.m.numero_errore, 1);
  EXPECT_FALSE(c.a.esiste(nome_linea));
  EXPECT_TRUE(c.a.esiste(nome_treno));
}

TEST(CompilaTreno, ErrorFifteenOfTheLineStopsTheTrainAtItsFirstSignal) {
  compilazione c;
  compila(c, "[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\npendenza, 99999, 0\r\n",
          treno("velocita, 0, 50\r\nstazione, 1000, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"
                "segnale, 2000, 1,0,0,0,0,0,0,0,0,0\r\nvelocita, 3000, 100\r\n"));
  EXPECT_EQ(c.m.numero_errore, 15);
  EXPECT_EQ(c.m.posizione_errore, 2000);
  EXPECT_EQ(c.m.punti[1].testo, "A");  // read before the signal
  EXPECT_EQ(c.m.celle[50].velocita, 0);  // no tails after an error exit
  EXPECT_TRUE(c.a.file.empty());
}

TEST(CompilaTreno, CodeTwoReplacesFifteenAndTailsRunAfterFifteen) {
  compilazione c;
  compila(c, "[generale]\r\nlunghezza percorso, 10000\r\nprogressiva chilometrica uno, 0, 130, 0\r\n[x]\r\n",
          treno("velocita, 0, 50\r\nvelocita, 99999, 100\r\nvelocita, 200, 100\r\n"));
  EXPECT_EQ(c.m.numero_errore, 2);
  EXPECT_EQ(c.m.posizione_errore, 99999);
  EXPECT_EQ(c.m.celle[337].velocita, 10);  // the tail still ran, with the speed in force
  EXPECT_EQ(c.m.celle[338].velocita, 0);
}

TEST(CompilaTreno, StreamRules) {
  compilazione c;
  compila(c, linea_vuota,
          "prologo, 1, 2\r\n"
          "[GENERALE]\r\n"
          "PERCENTUALE DI MASSA FRENATA, 95\r\n"
          "frenata senza l'altra, 7\r\n"
          "orologio,    12              42            20 \r\n"
          "[stazioni]\r\n"
          "segnale, 2000, 1,5,0,0,0,0,3,0,0,0\r\n"  // a record under another header
          "VELOCIT\xC0, 0, 50\r\n"
          "velocitazzz, 500, 100\r\n"
          "- a\r\n- b\r\n-vetture, 3\r\n"           // the third hyphenated field is read
          "[aderenze]\r\n[rallentamenti]\r\n[segnali]\r\n[vel_limite]\r\n"
          "sabbia\r\n");  // a keyword as the last field is not interpreted
  EXPECT_EQ(c.m.numero_errore, 0);
  EXPECT_EQ(c.m.punti[punto_treno].inizio, 95);
  EXPECT_EQ(c.m.punti[punto_treno].posizione, 3);
  EXPECT_EQ(c.m.punti[punto_codici].intero_3, 12);
  EXPECT_EQ(c.m.punti[punto_codici].intero_5, 20);
  EXPECT_EQ(c.m.punti[punto_codici].intero_1, 0);
  EXPECT_EQ(c.m.celle[41].tipo, segnale);
  EXPECT_EQ(c.m.celle[0].velocita, 10);
  EXPECT_EQ(c.m.celle[10].velocita, 20);
  // Typos are reported as warnings; headers and hyphenated fields are not.
  ASSERT_EQ(c.d.avvisi.size(), 2u);
  auto chiave = [&](size_t i) { return c.d.record.at(static_cast<size_t>(c.d.avvisi.at(i))).chiave; };
  EXPECT_EQ(chiave(0).testo, "frenata senza l'altra");
  EXPECT_EQ(chiave(0).luogo.riga, 4);
  EXPECT_EQ(chiave(1).testo, "7");

  // Without "[generale]" nothing is read and nothing fails.
  compilazione senza;
  compila(senza, linea_vuota, "segnale, 2000, 1,5,0,0,0,0,3,0,0,0\r\n");
  EXPECT_EQ(senza.m.numero_errore, 0);
  EXPECT_EQ(senza.m.celle[41].tipo, vuota);
  // An empty train text is no error either.
  compilazione vuoto;
  compila(vuoto, linea_vuota, "");
  EXPECT_EQ(vuoto.m.numero_errore, 0);
}

TEST(CompilaTreno, StationsAndPoints) {
  compilazione c;
  compila(c, linea_vuota,
          treno("stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"
                // exactly 350 m after the end of the one before
                "stazione, 1550, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B, con virgola\r\n"
                "stazione, 3000, 12, 700, 0,7,1, 0,0,0, 0,0,0, 30, 1,2,3, C\r\n"
                "abbattimento, 6000, 0\r\nabbattimento, 7000, 33\r\n"
                "velocita, 20, 100\r\n"));
  const modello& m = c.m;
  EXPECT_EQ(m.numero_errore, 0);
  EXPECT_EQ(m.punti[2].inizio, 1450);
  EXPECT_EQ(m.punti[2].testo, "B");  // cut at the comma; the rest is a keyword field
  const punto& p = m.punti[3];
  EXPECT_EQ(p.inizio, 2650);
  EXPECT_EQ(p.fine, 3400);        // lengthened by 50 for the third option byte
  EXPECT_EQ(p.opzione_3, 1);
  EXPECT_EQ(p.opzione_4, 7);      // kept: length 700
  EXPECT_EQ(p.orario, 3723);
  EXPECT_EQ(m.celle[67].tipo, fermata);
  EXPECT_EQ(m.celle[67].valore, 3);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(m.celle[67 - k].preavviso, 80 + k);
  EXPECT_EQ(m.celle[120].tipo, abbattimento_zero);
  EXPECT_EQ(m.celle[140].tipo, abbattimento);
  EXPECT_EQ(m.celle[140].valore, 33);
  // A speed record at 20 m writes no cell; the speed it sets is in force from cell 0.
  EXPECT_EQ(m.celle[0].velocita, 20);
  EXPECT_EQ(m.punti[1].opzione_3, 0);
}

TEST(CompilaTreno, AdhesionFillStopsAtTheGridEnd) {
  // Records out of order advance the fill by one cell each, never past the grid.
  std::string corpo = "aderenza, 16000, 5\r\n";
  for (int i = 0; i < 400; ++i) corpo += "aderenza, 50, 9\r\n";
  compilazione c;
  compila(c, linea_vuota, treno(corpo));
  EXPECT_EQ(c.m.numero_errore, 0);
  EXPECT_EQ(c.m.celle[319].aderenza, 0);
  EXPECT_EQ(c.m.celle[320].aderenza, 5);
  EXPECT_EQ(c.m.celle[321].aderenza, 9);
  EXPECT_EQ(c.m.celle[340].aderenza, 9);  // the tail's one cell
}

}  // namespace
