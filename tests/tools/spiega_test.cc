#include "scenario/spiega.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/memorizza_percorso.h"
#include "model/diagnostica.h"
#include "model/errori.h"
#include "model/modello.h"
#include "scenario/rapporto.h"
#include "scenario/riferimento.h"
#include "scenario/spiega_avvisi.h"
#include "text/archivio.h"
#include "text/codifica.h"
#include "text/lettore_campi.h"
#include "tools/aiuti_prova.h"
#include "tools/file_di_prova.h"

namespace {

bool ha(const std::string& testo, const std::string& parte) { return testo.find(parte) != std::string::npos; }

// What compiling a line text and a train text left: the error code and the
// keyword fields that matched nothing.
struct compilato {
  int32_t errore = 0;
  std::vector<std::string> avvisi;
};

compilato compila(const std::string& linea, const std::string& treno) {
  modello m;
  m.nome_scenario = "Prova";
  m.codice_treno = "T1";
  diagnostica d;
  m.traccia = &d;
  archivio_memoria a;
  a.scrivi("Prova_linea.txt", linea);
  a.scrivi("Prova_T1-.txt", treno);
  memorizza_percorso(m, a, 1);
  compilato c;
  c.errore = m.numero_errore;
  for (int32_t r : d.avvisi) c.avvisi.push_back(d.record[static_cast<size_t>(r)].chiave.testo);
  return c;
}

// A record's example line set into the smallest texts that hold it.
compilato compila_esempio(const record_testo& r, const std::string& riga) {
  const std::string linea_base = "[generale]\r\nlunghezza percorso, 62000\r\n";
  if (r.testo == testo_di::treno) return compila(linea_base + "[fine]\r\n", "[generale]\r\n" + riga + "\r\n[fine]\r\n");
  const bool generale = std::string(r.dove).rfind("general", 0) == 0;
  if (generale) return compila(linea_base + riga + "\r\n[corpo]\r\n[fine]\r\n", "[generale]\r\n[fine]\r\n");
  return compila(linea_base + "[corpo]\r\n" + riga + "\r\n[fine]\r\n", "[generale]\r\n[fine]\r\n");
}

std::string maiuscolo(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The tables say what the compile does: each example compiles clean, and its
// keyword in capitals is still recognised exactly when letter case is ignored.
TEST(Riferimento, EveryExampleIsRecognisedByTheCompileAsItsTableSays) {
  for (const record_testo& r : record_dei_testi()) {
    SCOPED_TRACE(r.nome);
    const compilato c = compila_esempio(r, r.esempio);
    EXPECT_EQ(c.errore, 0);
    EXPECT_TRUE(c.avvisi.empty()) << c.avvisi.front();

    const std::string riga = r.esempio;
    const size_t virgola = riga.find(',');
    const compilato m = compila_esempio(r, maiuscolo(riga.substr(0, virgola)) + riga.substr(virgola));
    EXPECT_EQ(m.avvisi.empty(), !r.maiuscole_contano);

    // The example names its own kind and no other.
    const std::vector<const record_testo*> trovati = record_per_campo(riga.substr(0, virgola));
    ASSERT_EQ(trovati.size(), 1u);
    EXPECT_EQ(trovati[0], &r);
    // One value per entry of the table: the fields after the keyword.
    size_t campi = 0;
    const std::string valori = riga.substr(virgola + 1);
    lettore_campi l(valori);
    if (r.valori.back().larghezza == std::string("text")) {
      for (size_t i = 0; i + 1 < r.valori.size(); ++i, ++campi) l.leggi_long();
      l.leggi_testo();
      ++campi;
    } else {
      while (!l.fine()) {
        l.leggi_long();
        ++campi;
      }
    }
    EXPECT_TRUE(l.fine());
    EXPECT_EQ(campi, r.valori.size());
  }
}

// Every keyword fragment the two compiles test names exactly one entry.
TEST(Riferimento, EveryKeywordOfTheCompilesHasItsEntry) {
  const char* const chiavi[] = {
      "lunghezza percorso", "progressiva chilometrica uno", "progressiva chilometrica due",
      "progressiva chilometrica tre", "sfondo uno", "sfondo due", "sfondo tre", "ripetizione segnali 9 codici",
      "pendenza", "curvad3", "montagna", "indicatori_vmax", "cartello_indicatore", "percentuale massa frenata",
      "numero vetture", "velocita", "aderenza", "orologio", "sabbia", "segnale", "rallentamento",
      "abbattimento", "stazione"};
  for (const char* c : chiavi) {
    SCOPED_TRACE(c);
    EXPECT_EQ(record_per_campo(c).size(), 1u);
  }
  EXPECT_EQ(record_dei_testi().size(), std::size(chiavi));
  // And every keyword field of the built-in texts.
  for (const std::vector<std::string>& testo : {elenco_linea(), elenco_treno()}) {
    for (const std::string& riga : testo) {
      const size_t virgola = riga.find(',');
      if (virgola == std::string::npos) continue;
      EXPECT_EQ(record_per_campo(riga.substr(0, virgola)).size(), 1u) << riga;
    }
  }
}

TEST(Riferimento, EveryErrorCodeHasWhatToChangeAndEveryRecordItsCodes) {
  int quante = 0;
  const voce_errore* e = tabella_errori(&quante);
  ASSERT_EQ(rimedi_errori().size(), static_cast<size_t>(quante));
  for (int i = 0; i < quante; ++i) {
    SCOPED_TRACE(e[i].codice);
    EXPECT_EQ(rimedi_errori()[static_cast<size_t>(i)].codice, e[i].codice);
    const prova::uscita u = prova::esegui(comando_explain, {std::to_string(e[i].codice)});
    EXPECT_EQ(u.stato, 0);
    EXPECT_EQ(u.err, "");
    EXPECT_TRUE(ha(u.out, "error " + std::to_string(e[i].codice) + ": " + e[i].descrizione)) << u.out;
    EXPECT_TRUE(ha(u.out, "what to change: ")) << u.out;
  }
  for (const record_testo& r : record_dei_testi()) {
    for (int32_t c : r.errori) EXPECT_NE(cerca_errore(c), nullptr) << r.nome << " " << c;
  }
}

TEST(Explain, EveryKeywordAndRuleByName) {
  for (const record_testo& r : record_dei_testi()) {
    const prova::uscita u = prova::esegui(comando_explain, {r.nome});
    EXPECT_EQ(u.stato, 0) << r.nome;
    EXPECT_EQ(u.out.rfind(std::string(r.nome) + ": " + nome_testo(r.testo), 0), 0u) << u.out;
    EXPECT_TRUE(ha(u.out, std::string("example: ") + r.esempio)) << u.out;
    for (const valore_record& v : r.valori) EXPECT_TRUE(ha(u.out, v.nome)) << r.nome << " " << v.nome;
  }
  for (const regola_lettura& r : regole_di_lettura()) {
    const prova::uscita u = prova::esegui(comando_explain, {r.argomento});
    EXPECT_EQ(u.stato, 0) << r.argomento;
    EXPECT_EQ(u.out.rfind(std::string(r.titolo) + "\n", 0), 0u) << u.out;
  }
}

// A topic is found as the compile would read it as a keyword field.
TEST(Explain, AFieldAsWrittenNamesItsRecord) {
  struct caso {
    const char* argomento;
    const char* inizio;
  };
  const caso casi[] = {
      {"curvas6", "curva: line text"},
      {"SEGNALE", "segnale: train text"},
      {"velocit\xc3\xa0", "velocita: train text"},
      {"PERCENTUALE DI MASSA FRENATA", "percentuale massa frenata: train text"},
      {"[segnali]", "Section headers\n"},
      {"segnali", "Section headers\n"},
      {"[fine]", "The last field is never read\n"},
      {"[Generale]", "Where reading starts"},
      {"generale", "Where reading starts"},
  };
  for (const caso& c : casi) {
    const prova::uscita u = prova::esegui(comando_explain, {c.argomento});
    EXPECT_EQ(u.stato, 0) << c.argomento;
    EXPECT_EQ(u.out.rfind(c.inizio, 0), 0u) << u.out;
  }
}

TEST(Explain, AloneListsEveryTopic) {
  const prova::uscita u = prova::esegui(comando_explain, {});
  EXPECT_EQ(u.stato, 0);
  std::string unito = prova::sostituisci(u.out, "\n    ", " ");
  for (const record_testo& r : record_dei_testi()) EXPECT_TRUE(ha(unito, r.nome)) << r.nome;
  for (const regola_lettura& r : regole_di_lettura()) EXPECT_TRUE(ha(unito, r.argomento)) << r.argomento;
  int quante = 0;
  const voce_errore* e = tabella_errori(&quante);
  for (int i = 0; i < quante; ++i) EXPECT_TRUE(ha(unito, " " + std::to_string(e[i].codice) + (i + 1 < quante ? "," : "\n")));
}

TEST(Explain, UnknownTopicsAndBadOptions) {
  struct caso {
    std::vector<std::string> argomenti;
    std::string errore;
  };
  const caso casi[] = {
      {{"14"}, "scenario explain: no topic '14'; 'scenario explain' lists the topics\n"},
      {{"binario"}, "scenario explain: no topic 'binario'; 'scenario explain' lists the topics\n"},
      {{"--page", "station"},
       "scenario explain: --page is 'line', 'train' or 'errors', not 'station'\n"
       "usage: scenario explain [TOPIC...]  (see 'scenario explain --help')\n"},
      {{"--page", "line", "16"},
       "scenario explain: --page takes no topic\nusage: scenario explain [TOPIC...]  (see 'scenario explain --help')\n"},
      {{"--pages"},
       "scenario explain: The following argument was not expected: --pages\nusage: scenario explain [TOPIC...]  (see 'scenario explain --help')\n"},
  };
  for (const caso& c : casi) {
    const prova::uscita u = prova::esegui(comando_explain, c.argomenti);
    EXPECT_EQ(u.stato, 2);
    EXPECT_EQ(u.err, c.errore);
  }
  // A known topic among unknown ones is still explained.
  const prova::uscita u = prova::esegui(comando_explain, {"binario", "16"});
  EXPECT_EQ(u.stato, 2);
  EXPECT_TRUE(ha(u.out, "error 16: "));
}

TEST(Explain, LinesAreWrappedAtTheirWidthAndKeepParagraphs) {
  EXPECT_EQ(a_capo("uno due tre quattro", 9, "> ", "  "), "> uno due\n  tre\n  quattro\n");
  EXPECT_EQ(a_capo("uno\n\ndue", 20, "", "  "), "uno\n\n  due\n");
  // A word longer than the line stands alone.
  EXPECT_EQ(a_capo("a lunghissima b", 5, "", ""), "a\nlunghissima\nb\n");
}

}  // namespace

namespace {

// The pages of doc/ are what `explain --page` makes of the tables today.
TEST(PagineRiferimento, DocPagesAreTheTablesOfToday) {
  const struct {
    const char* pagina;
    const char* file;
  } pagine[] = {{"line", "testo_linea.md"}, {"train", "testo_treno.md"}, {"errors", "codici_errore.md"}};
  for (const auto& p : pagine) {
    const prova::uscita u = prova::esegui(comando_explain, {"--page", p.pagina});
    ASSERT_EQ(u.stato, 0);
    EXPECT_TRUE(prova::leggi_file(std::filesystem::path(SCENARIO_DOC_DIR) / p.file) == u.out)
        << "doc/" << p.file << " is out of date: run 'scenario explain --page " << p.pagina << " > doc/"
        << p.file << "'";
  }
}

// The worked example of the train page is what the compile makes of the held
// signal of the built-in train.
TEST(PagineRiferimento, TheWorkedSignalIsWhatTheCompileMakes) {
  const modello m = prova::scenario_incorporato();
  const cella& c = m.celle[190];
  EXPECT_EQ(c.tipo, segnale);
  EXPECT_EQ(c.valore, 52);
  EXPECT_EQ(c.valore_2, 11);
  EXPECT_EQ(c.valore_3, 0);
  EXPECT_EQ(c.valore_4, 8);
  EXPECT_EQ(c.tempo, 250);
  EXPECT_EQ(m.celle[188].preavviso, 81);
  EXPECT_EQ(m.celle[186].preavviso, 82);
  EXPECT_EQ(m.celle[184].preavviso, 83);
  EXPECT_EQ(m.celle[182].preavviso, 84);
  // The positions the page gives for cell 190, and no others.
  for (int32_t p : {9424, 9425, 9450, 9475, 9476}) EXPECT_EQ(cella_della_posizione(p) == 190, p >= 9425 && p <= 9475) << p;
  const std::string pagina = prova::esegui(comando_explain, {"--page", "train"}).out;
  for (const char* parte : {"segnale,    9450,   2, 5, 1,  0, 0,    2,  2,1,0, 250", "valore = s1 × 10 + d1 = 52",
                            "valore_2 = s2 × 10 + d2 = 11", "valore_3 = s3 × 10 + d3 = 0",
                            "valore_4 = rapp × 10 + sx × 3 + dx = 8", "81 in cell 188, 82 in cell 186, 83 in cell 184 and 84 in cell 182",
                            "tempo is 250", "from 9425 m to 9475 m"}) {
    EXPECT_TRUE(ha(pagina, parte)) << parte;
  }
}

}  // namespace

namespace {

// Every kind of warning is a topic; the sentences on what to change name
// kinds that exist.
TEST(Explain, EveryWarningCode) {
  const std::string elenco = prova::sostituisci(prova::esegui(comando_explain, {}).out, "\n    ", " ");
  for (const genere_avviso* g : generi_avviso()) {
    SCOPED_TRACE(g->codice);
    const prova::uscita u = prova::esegui(comando_explain, {g->codice});
    EXPECT_EQ(u.stato, 0);
    const std::string unito = prova::sostituisci(u.out, "\n  ", " ");
    EXPECT_EQ(unito.rfind(std::string("warning ") + g->codice + ": " + g->descrizione + "\n", 0), 0u) << u.out;
    EXPECT_TRUE(ha(elenco, g->codice)) << elenco;
  }
  for (const std::string& c : codici_rimedi_avvisi()) {
    bool c_e = false;
    for (const genere_avviso* g : generi_avviso()) c_e = c_e || c == g->codice;
    EXPECT_TRUE(c_e) << c;
  }
  EXPECT_TRUE(ha(prova::esegui(comando_explain, {"record_sconosciuto"}).out, "what to change: "));
}

}  // namespace
