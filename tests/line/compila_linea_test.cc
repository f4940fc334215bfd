#include "line/compila_linea.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "line/dati_linea.h"
#include "line/piazzamento_linea.h"
#include "line/progressive.h"
#include "model/errore_esecuzione.h"
#include "text/archivio.h"
#include "text/scrittura.h"

namespace {

const char* const nome_linea = "Prova_linea.txt";

struct risultato {
  modello m;
  archivio_memoria a;
  bool prosegue = false;
  int32_t prossimo_cartello = -1;
  bool eccezione = false;
};

// Compiles a line text given as lines; each line gets CR LF.
void compila(risultato& r, const std::string& testo, int32_t genera = 1) {
  r.m.nome_scenario = "Prova";
  r.m.codice_treno = "T1";
  r.m.genera_linea = genera;
  r.a.file[nome_linea] = testo;
  try {
    r.prosegue = compila_linea(r.m, r.a, r.prossimo_cartello);
  } catch (const errore_esecuzione&) {
    r.eccezione = true;
  }
}

std::string righe(std::initializer_list<const char*> l) {
  std::string t;
  for (const char* x : l) t += std::string(x) + "\r\n";
  return t;
}

// A short line of 1000 m (cells 0 to 160) with a body given by the caller.
std::string linea_corta(const std::string& corpo) {
  return righe({"[generale]", "lunghezza percorso, 1000", "[corpo]"}) + corpo + "[fine]\r\n";
}

TEST(CompilaLinea, BuiltInLineReproducesItsFigures) {
  risultato r;
  r.m.nome_scenario = "Morsalo_Torvia";
  r.m.codice_treno = "R20417";
  r.m.genera_linea = 1;
  dati_linea(r.m, r.a);
  ASSERT_TRUE(compila_linea(r.m, r.a, r.prossimo_cartello));
  const modello& m = r.m;
  EXPECT_EQ(m.numero_errore, 0);
  EXPECT_FALSE(r.a.esiste("Morsalo_Torvia_linea.txt"));
  EXPECT_EQ(m.lunghezza_estesa, 69000);
  EXPECT_EQ(m.numero_celle, 1380);
  EXPECT_EQ(m.punti[punto_treno].fine, 62000);
  EXPECT_EQ(r.prossimo_cartello, 60);

  // Header slots: backgrounds, repetition, progressives, names.
  EXPECT_EQ(m.punti[punto_scenario].inizio, 0);
  EXPECT_EQ(m.punti[punto_scenario].posizione, 0);
  EXPECT_EQ(m.punti[punto_scenario].fine, 1);
  EXPECT_EQ(m.punti[punto_scenario].testo, "Morsalo_Torvia");
  EXPECT_EQ(m.punti[punto_codici].testo, "R20417");
  EXPECT_EQ(m.punti[punto_codici].inizio, 0);
  EXPECT_EQ(m.punti[punto_codici].fine, 60000);
  EXPECT_EQ(m.punti[punto_codici].posizione, 4);
  EXPECT_EQ(m.punti[progressiva_tre].inizio, 0);
  EXPECT_EQ(m.punti[progressiva_tre].fine, 150400);
  EXPECT_EQ(m.punti[progressiva_tre].posizione, 1);
  for (int k : {progressiva_due, progressiva_uno}) {
    EXPECT_EQ(m.punti[k].inizio + m.punti[k].fine + m.punti[k].posizione, 0);
  }

  // The plan: straight up to 350, the first curve from 351.
  const profilo_linea& p = m.profilo;
  EXPECT_EQ(p.valori[0][350], 0.0);
  EXPECT_EQ(p.valori[1][350], 350.0);
  EXPECT_NE(p.valori[0][351], 0.0);
  EXPECT_NEAR(p.valori[0][1000], -140.0, 0.05);
  EXPECT_NEAR(p.valori[1][1000], 983.1, 0.05);
  EXPECT_NEAR(p.valori[0][62000], 285.8, 0.05);
  EXPECT_NEAR(p.valori[1][62000], 54686.0, 0.05);
  EXPECT_NEAR(p.valori[0][68998], 2966.6, 0.05);
  EXPECT_NEAR(p.valori[1][68998], 61207.8, 0.05);
  const double dx = p.valori[0][68998] - p.valori[0][68997];
  const double dy = p.valori[1][68998] - p.valori[1][68997];
  EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 1.0076, 0.0001);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(p.tipi[c][0], variante_intero);
    EXPECT_EQ(p.tipi[c][1], variante_intero);
    EXPECT_EQ(p.tipi[c][2], variante_doppio);
    EXPECT_EQ(p.tipi[c][68998], variante_doppio);
    EXPECT_EQ(p.tipi[c][68999], variante_vuota);
    EXPECT_EQ(p.tipi[c][69000], variante_vuota);
  }
  EXPECT_EQ(p.valori[1][1], 1.0);

  // Gradients by cell range.
  const struct {
    int da, a, valore;
  } pendenze[] = {{0, 331, 100},    {332, 427, 96},   {428, 633, 100}, {634, 759, 99},
                  {760, 925, 100},  {926, 1109, 97},  {1110, 1377, 100}, {1378, 1380, 0}};
  for (const auto& g : pendenze) {
    for (int i = g.da; i <= g.a; ++i) ASSERT_EQ(m.celle[i].pendenza, g.valore) << "cell " << i;
  }

  // Signs: texts from record 80 down to 61, the first in cell 10.
  EXPECT_EQ(m.celle[10].tipo, cartello);
  EXPECT_EQ(m.celle[10].valore, 80);
  EXPECT_EQ(m.punti[80].testo, "(PONTE SUL   )(FIUME VERSAL)");
  EXPECT_EQ(m.punti[61].testo, "(P.L.     )(Km 98.517)");
  EXPECT_EQ(m.punti[60].testo, "");

  // Indicator boards and their packed values.
  const struct {
    int cella;
    int16_t v1, v2, v3, v4;
  } indicatori[] = {{15, 1919, 2020, 2121, 0},   {29, 2828, 3030, 3030, 0},
                    {304, 2222, 2424, 2525, 0},  {371, 2828, 3030, 3030, 0},
                    {605, 2626, 2727, 2828, 0},  {757, 2222, 2424, 2525, 0},
                    {836, 2626, 2727, 2828, 0},  {1024, 1414, 1515, 1515, 22},
                    {1028, 1414, 1515, 1515, 11}, {1032, 1414, 1515, 1515, 0}};
  int quanti = 0;
  for (const cella& c : m.celle) quanti += c.tipo == indicatore_v_max;
  EXPECT_EQ(quanti, 10);
  for (const auto& i : indicatori) {
    const cella& c = m.celle[i.cella];
    EXPECT_EQ(c.tipo, indicatore_v_max) << i.cella;
    EXPECT_EQ(c.valore, i.v1);
    EXPECT_EQ(c.valore_2, i.v2);
    EXPECT_EQ(c.valore_3, i.v3);
    EXPECT_EQ(c.valore_4, i.v4);
  }
}

TEST(CompilaLinea, ErrorsOfTheLineText) {
  struct caso {
    const char* nome;
    std::string testo;
    int32_t errore;       // 25 when a run-time failure is expected
    int32_t posizione;    // -1: not set
    bool prosegue;        // the train half follows
  };
  const std::string generale = "[generale]\r\nlunghezza percorso, 1000\r\n";
  const caso casi[] = {
      {"no [generale]", "lunghezza percorso, 1000\r\n", 102, -1, false},
      {"[generale] as last field", "x\r\n[generale]\r\n", 102, -1, false},
      {"length above 1000000", "[generale]\r\nlunghezza percorso, 1000001\r\n[x]\r\n", 1, -1, false},
      {"negative length", "[generale]\r\nlunghezza percorso, -50\r\n[x]\r\n", 1, -1, false},
      {"no line length", "[generale]\r\nsfondo uno, 1\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n", 26, -1, false},
      {"repetition start", generale + "ripetizione segnali 4, 25, 100\r\n[x]\r\n", 3, -1, false},
      {"repetition end", generale + "ripetizione segnali 4, 50, 110\r\n[x]\r\n", 4, -1, false},
      {"repetition codes", generale + "ripetizione segnali 5, 50, 100\r\n[x]\r\n", 5, -1, false},
      {"sign on a sign", linea_corta("cartello_indicatore, 450, A\r\ncartello_indicatore, 460, B\r\n"), 6, 460, false},
      {"indicator on a sign",
       linea_corta("cartello_indicatore, 700, A\r\nindicatori_vmax, 700, 1,1,1,0,1,1,1,0\r\n"), 21, 700, false},
      {"beyond the grid", linea_corta("pendenza, 7901, 1\r\npendenza, 100, 1\r\n"), 15, 7901, true},
      {"curve without class", linea_corta("curvas, 100, 10\r\n"), 103, -1, false},
      {"text ends inside a record", linea_corta("pendenza, 100"), 25, -1, false},
      {"not a number", linea_corta("pendenza, 100, x\r\n"), 25, -1, false},
      {"packed speed beyond 16 bits", linea_corta("indicatori_vmax, 700, 2000,1,1,0,1,1,1,0\r\n"), 25, -1, false},
      {"negative indicator cell", linea_corta("indicatori_vmax, -100, 1,1,1,0,1,1,1,0\r\n"), 25, -1, false},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    risultato r;
    r.m.posizione_errore = -1;
    compila(r, c.testo);
    if (c.errore == 25) {
      EXPECT_TRUE(r.eccezione);
      continue;
    }
    EXPECT_FALSE(r.eccezione);
    EXPECT_EQ(r.m.numero_errore, c.errore);
    EXPECT_EQ(r.m.posizione_errore, c.posizione);
    EXPECT_EQ(r.prosegue, c.prosegue);
    EXPECT_FALSE(r.a.esiste(nome_linea));  // every exit deletes the line text
  }
}

TEST(CompilaLinea, MissingLineTextIs101AndDeletesNothing) {
  risultato r;
  r.m.nome_scenario = "Prova";
  r.a.file["Prova_T-.txt"] = "x";
  EXPECT_FALSE(compila_linea(r.m, r.a, r.prossimo_cartello));
  EXPECT_EQ(r.m.numero_errore, 101);
  EXPECT_TRUE(r.a.esiste("Prova_T-.txt"));
}

TEST(CompilaLinea, RangeTestEdge) {
  // 1000 m: numero_celle 160, so a record may stand at 50 * 160 - 100 = 7900.
  risultato r;
  compila(r, linea_corta("pendenza, 7900, 3\r\n"));
  EXPECT_EQ(r.m.numero_errore, 0);
  EXPECT_EQ(r.m.celle[157].pendenza, 100);
  EXPECT_EQ(r.m.celle[158].pendenza, 103);  // the tail runs to numero_celle - 3
  EXPECT_EQ(r.m.celle[159].pendenza, 0);
}

TEST(CompilaLinea, GradientRecords) {
  risultato r;
  // At 0 m no cell is written; a second record at the same position writes one more cell.
  compila(r, linea_corta("pendenza, 0, -4\r\npendenza, 100, 2\r\npendenza, 100, 5\r\n"));
  EXPECT_EQ(r.m.celle[0].pendenza, 96);
  EXPECT_EQ(r.m.celle[1].pendenza, 96);
  EXPECT_EQ(r.m.celle[2].pendenza, 102);  // the repeated record's one cell
  EXPECT_EQ(r.m.celle[3].pendenza, 105);
  // The stored byte is the low 8 bits of gradient + 100.
  risultato b;
  compila(b, linea_corta("pendenza, 0, 200\r\n"));
  EXPECT_EQ(b.m.celle[0].pendenza, 44);
}

TEST(CompilaLinea, KeysAreRecognisedByTheirRules) {
  struct caso {
    const char* chiave;
    bool lunghezza;  // recognised as the line length
  };
  const caso lunghezze[] = {{"LUNGHEZZA PERCORSO", true},
                            {"percorso lunghezza", true},
                            {"la lunghezza del percorso", true},
                            {"lunghezza", false}};
  for (const caso& c : lunghezze) {
    SCOPED_TRACE(c.chiave);
    risultato r;
    compila(r, std::string("[generale]\r\n") + c.chiave + ", 1000\r\n[x]\r\n");
    EXPECT_EQ(r.m.numero_errore, c.lunghezza ? 0 : 26);
  }
  // Progressives and backgrounds need the exact letter case.
  risultato r;
  compila(r, righe({"[generale]", "lunghezza percorso, 1000", "Progressiva chilometrica uno, 500, 200, 0",
                    "SFONDO uno, 7", "sfondo uno, 3", "[x]"}));
  EXPECT_EQ(r.m.numero_errore, 0);
  EXPECT_EQ(r.m.punti[progressiva_tre].fine, 0);
  EXPECT_EQ(r.m.punti[punto_scenario].inizio, 3);
}

TEST(CompilaLinea, CommentsAndSectionEnds) {
  // General section: up to ten comments in a row; "-[nota]-" is a comment, not the end.
  risultato r;
  std::string t = "[generale]\r\n-[nota]-\r\n";
  for (int i = 0; i < 9; ++i) t += "- commento\r\n";
  t += "lunghezza percorso, 1000\r\n[curve]\r\n";
  // Body: a hyphenated line holding a keyword is dropped; of three in a row the third is read.
  t += "-- tratto in pendenza --\r\n2000\r\n";
  t += "- a\r\n- b\r\n-pendenza, 100, 7\r\n[fine]\r\n";
  compila(r, t);
  EXPECT_EQ(r.m.numero_errore, 0);
  EXPECT_EQ(r.m.celle[1].pendenza, 100);
  EXPECT_EQ(r.m.celle[2].pendenza, 107);

  // An eleventh comment in the general section is taken as a keyword field.
  risultato undici;
  std::string u = "[generale]\r\n";
  for (int i = 0; i < 10; ++i) u += "- c\r\n";
  u += "-lunghezza percorso, 1000\r\n[x]\r\n";
  compila(undici, u);
  EXPECT_EQ(undici.m.numero_errore, 0);
  EXPECT_EQ(undici.m.numero_celle, 160);
}

TEST(CompilaLinea, LastFieldIsNeverInterpreted) {
  // A record on the last line is read; a lone keyword as the last field is not.
  risultato r;
  compila(r, righe({"[generale]", "lunghezza percorso, 1000", "[x]", "cartello_indicatore, 450, A"}));
  EXPECT_EQ(r.m.numero_errore, 0);
  EXPECT_EQ(r.m.celle[10].tipo, cartello);
  risultato solo;
  compila(solo, righe({"[generale]", "lunghezza percorso, 1000", "[x]", "pendenza"}));
  EXPECT_EQ(solo.m.numero_errore, 0);
  EXPECT_FALSE(solo.eccezione);
}

TEST(CompilaLinea, CurveClassAndSide) {
  struct caso {
    const char* chiave;
    double curvatura;  // signed: side s turns the other way
  };
  const caso casi[] = {{"curvas6", -0.003}, {"curvad4", 0.001}, {"curvaS2", -0.0002},
                       {"curva12", 0.0001}, {"curvad5", 0.002}, {"CURVA 3", 0.0004}};
  for (const caso& c : casi) {
    SCOPED_TRACE(c.chiave);
    risultato r;
    compila(r, linea_corta(std::string(c.chiave) + ", 10, 1\r\n"));
    ASSERT_EQ(r.m.numero_errore, 0);
    // Point 11 is the one curve step: x = 0 + (1 * c + 0).
    EXPECT_EQ(r.m.profilo.valori[0][11], c.curvatura);
    EXPECT_EQ(r.m.profilo.valori[1][11], 11.0);
  }
}

TEST(CompilaLinea, PlanLimits) {
  // A curve of length 0 lays only its straight steps.
  risultato zero;
  compila(zero, linea_corta("curvad4, 10, 0\r\n"));
  EXPECT_EQ(zero.m.profilo.valori[0][11], 0.0);
  // A curve past the end of the plan stops at lunghezza_estesa - 2.
  risultato oltre;
  compila(oltre, linea_corta("curvad4, 7000, 5000\r\n"));
  EXPECT_EQ(oltre.m.numero_errore, 0);
  EXPECT_EQ(oltre.m.profilo.tipi[0][7998], variante_doppio);
  EXPECT_EQ(oltre.m.profilo.tipi[0][7999], variante_vuota);
  EXPECT_EQ(oltre.m.profilo.tipi[1][8000], variante_vuota);
  // Without a plan a curve record is not a record, and the plan stays unallocated.
  risultato senza;
  compila(senza, linea_corta("curvas, 10, 0\r\n"), 0);
  EXPECT_EQ(senza.m.numero_errore, 0);
  EXPECT_FALSE(senza.m.profilo.allocato());
  // The plan may not pass 1000000 points.
  risultato lunga;
  compila(lunga, righe({"[generale]", "lunghezza percorso, 1000000", "[x]", "curvad1, 999990, 20"}));
  EXPECT_EQ(lunga.m.numero_errore, 103);
  // Point 1000000 is still laid; the one after it is not.
  EXPECT_EQ(lunga.m.profilo.tipi[0][1000000], variante_doppio);
  EXPECT_EQ(lunga.m.profilo.tipi[1][1000001], variante_vuota);
  // A curve that ends on point 999999 is accepted; the straight tail then
  // runs on to the plan's last point, past 1000000.
  risultato al_limite;
  compila(al_limite, righe({"[generale]", "lunghezza percorso, 1000000", "[x]", "curvad1, 999990, 9"}));
  EXPECT_EQ(al_limite.m.numero_errore, 0);
  EXPECT_EQ(al_limite.m.profilo.tipi[0][1006998], variante_doppio);
  EXPECT_EQ(al_limite.m.profilo.tipi[0][1006999], variante_vuota);
}

TEST(CompilaLinea, SignTableHoldsEightyTexts) {
  std::string corpo;
  for (int i = 0; i < 81; ++i) corpo += "cartello_indicatore, " + std::to_string(100 + 100 * i) + ", S\r\n";
  risultato r;
  compila(r, righe({"[generale]", "lunghezza percorso, 10000", "[x]"}) + corpo);
  EXPECT_EQ(r.m.numero_errore, 27);
  EXPECT_EQ(r.m.posizione_errore, 8100);
  EXPECT_EQ(r.m.punti[1].testo, "S");
  EXPECT_EQ(r.m.punti[0].testo, "");
  EXPECT_EQ(r.m.celle[cella_della_posizione(8100)].tipo, vuota);
}

TEST(ProgressiveOrdina, OrdersAndTies) {
  struct terna {
    int32_t a, b, f;
  };
  struct caso {
    const char* nome;
    terna tre, due, uno;     // before
    terna r1, r2, r3;        // after: tre, due, uno
  };
  const caso casi[] = {
      {"by position, uno largest", {100, 1000, 0}, {200, 2000, 0}, {300, 3000, 0},
       {300, 3000, 0}, {200, 2000, 0}, {100, 1000, 0}},
      {"by position, tre largest", {300, 3000, 0}, {100, 1000, 0}, {200, 2000, 1},
       {300, 3000, 0}, {200, 2100, 1}, {100, 1000, 0}},
      {"by position, due largest", {100, 1000, 0}, {300, 3000, 0}, {200, 2000, 0},
       {300, 3000, 0}, {200, 2000, 0}, {100, 1000, 0}},
      {"tie at the top", {300, 3000, 0}, {300, 2000, 0}, {100, 1000, 0},
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"by figure, uno", {0, 0, 0}, {0, 0, 0}, {0, 150300, 1},
       {0, 150400, 1}, {0, 0, 0}, {0, 0, 0}},
      {"by figure, due", {0, 5, 0}, {0, 7, 1}, {0, 0, 0},
       {0, 107, 1}, {0, 5, 0}, {0, 0, 0}},
      {"by figure, tre", {0, 5, 1}, {0, 0, 0}, {0, -1, 0},
       {0, 105, 1}, {0, 0, 0}, {0, -1, 0}},
      {"nothing", {0, 0, 1}, {0, 0, 1}, {0, 0, 1},
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    modello m;
    auto metti = [&](int k, terna t) {
      m.punti[k].inizio = t.a;
      m.punti[k].fine = t.b;
      m.punti[k].posizione = t.f;
    };
    auto uguale = [&](int k, terna t) {
      EXPECT_EQ(m.punti[k].inizio, t.a) << k;
      EXPECT_EQ(m.punti[k].fine, t.b) << k;
      EXPECT_EQ(m.punti[k].posizione, t.f) << k;
    };
    metti(progressiva_tre, c.tre);
    metti(progressiva_due, c.due);
    metti(progressiva_uno, c.uno);
    progressive_ordina(m);
    uguale(progressiva_tre, c.r1);
    uguale(progressiva_due, c.r2);
    uguale(progressiva_uno, c.r3);
  }
}

TEST(PiazzamentoLinea, MountainStretches) {
  modello m;
  alloca_griglia(m, 1000);  // cells 0 to 160
  // A lit stretch (kind 12 -> 2) fills its 4th, 8th, ... empty cells; a sign stays.
  m.celle[27].tipo = cartello;
  int32_t i1 = 1000, f1 = 2000, t1 = 12;
  memo_montagna(m, i1, f1, t1);
  EXPECT_EQ(t1, 2);
  EXPECT_EQ(m.numero_montagne, 1);
  EXPECT_EQ(m.celle[20].montagna, 2);
  EXPECT_EQ(m.celle[39].montagna, 2);
  EXPECT_EQ(m.celle[40].montagna, 0);
  EXPECT_EQ(m.celle[23].tipo, riempimento_montagna);
  EXPECT_EQ(m.celle[22].tipo, vuota);
  EXPECT_EQ(m.celle[27].tipo, cartello);
  EXPECT_EQ(m.celle[31].tipo, riempimento_montagna);
  // Starting 150 m after the end of the one before: kind 3; 200 m after: its own kind.
  int32_t i2 = 2150, f2 = 2300, t2 = 5;
  memo_montagna(m, i2, f2, t2);
  EXPECT_EQ(m.celle[43].montagna, 3);
  int32_t i3 = 2500, f3 = 2600, t3 = 5;
  memo_montagna(m, i3, f3, t3);
  EXPECT_EQ(m.celle[50].montagna, 5);
  // 1000 to 1040 covers cell 20 alone; 1000 to 1000 covers nothing but is counted.
  modello n;
  alloca_griglia(n, 1000);
  int32_t a = 1000, b = 1040, k = 1;
  memo_montagna(n, a, b, k);
  EXPECT_EQ(n.celle[20].montagna, 1);
  EXPECT_EQ(n.celle[21].montagna, 0);
  int32_t c = 3000, d = 3000, e = 4;
  memo_montagna(n, c, d, e);
  EXPECT_EQ(n.numero_montagne, 2);
  EXPECT_EQ(n.montagne_inizio[2], 3000);
  EXPECT_EQ(n.celle[60].montagna, 0);
}

TEST(PiazzamentoLinea, MountainsAreClippedAndCounted) {
  modello m;
  alloca_griglia(m, 1000);
  // Beyond both ends of the grid: only cells 0 to 160 are touched, the count
  // of lit cells still starts at the stretch's own first cell (-4).
  int32_t i = -200, f = 100000, t = 13;
  memo_montagna(m, i, f, t);
  EXPECT_EQ(m.celle[0].montagna, 3);
  EXPECT_EQ(m.celle[160].montagna, 3);
  EXPECT_EQ(m.celle[3].tipo, riempimento_montagna);  // the 8th cell from -4
  EXPECT_EQ(m.celle[4].tipo, vuota);
  // The 81st stretch is refused and nothing of it is stored.
  for (int k = 1; k < 80; ++k) {
    int32_t a = 0, b = 0, c = 1;
    memo_montagna(m, a, b, c);
  }
  EXPECT_EQ(m.numero_errore, 0);
  int32_t a = 5000, b = 6000, c = 1;
  memo_montagna(m, a, b, c);
  EXPECT_EQ(m.numero_errore, 28);
  EXPECT_EQ(m.numero_montagne, 80);
  EXPECT_EQ(m.celle[110].montagna, 3);
}

TEST(PiazzamentoLinea, IndicatorsReplaceMountainFillOnly) {
  modello m;
  alloca_griglia(m, 1000);
  m.celle[15].tipo = riempimento_montagna;
  int32_t v[8] = {95, 100, 105, 0, 95, 100, 105, 0};
  memo_indicatori_v_max(m, 700, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
  EXPECT_EQ(m.numero_errore, 0);
  EXPECT_EQ(m.celle[15].tipo, indicatore_v_max);
  EXPECT_EQ(m.celle[15].valore, 1919);
  m.celle[16].tipo = cartello;
  memo_indicatori_v_max(m, 750, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
  EXPECT_EQ(m.numero_errore, 21);
  EXPECT_EQ(m.celle[16].tipo, cartello);
  EXPECT_EQ(m.celle[16].valore, 0);

  // A packed figure that does not fit fails where it is formed: the board's
  // kind and the values before it stay written.
  int32_t grandi[8] = {95, 2000, 105, 0, 95, 100, 105, 0};
  EXPECT_THROW(memo_indicatori_v_max(m, 800, grandi[0], grandi[1], grandi[2], grandi[3], grandi[4], grandi[5],
                                     grandi[6], grandi[7]),
               errore_esecuzione);
  EXPECT_EQ(m.celle[17].tipo, indicatore_v_max);
  EXPECT_EQ(m.celle[17].valore, 1919);
  EXPECT_EQ(m.celle[17].valore_2, 0);
}

}  // namespace
