// Warnings for texts that compile without an error into something other than
// what the author wrote: one small edit of the built-in texts per kind, with
// the exact text `check` prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scenario/avvisi_danni.h"
#include "scenario/verifica.h"
#include "tools/aiuti_prova.h"
#include "tools/json_prova.h"

namespace {

using prova::modifiche;

struct testi_controllati {
  prova::cartella_temporanea t;
  std::string linea, treno;

  testi_controllati(const modifiche& l, const modifiche& tr) {
    linea = t.scrivi("Morsalo_Torvia_linea.txt", prova::modificato(prova::testo_linea_incorporato(), l));
    treno = t.scrivi("Morsalo_Torvia_R20417-.txt", prova::modificato(prova::testo_treno_incorporato(), tr));
  }
  prova::uscita controlla(std::vector<std::string> opzioni = {}) const {
    std::vector<std::string> a = {linea, treno};
    a.insert(a.end(), opzioni.begin(), opzioni.end());
    return prova::esegui(comando_check, a);
  }
  std::string con_percorsi(const std::string& s) const {
    return prova::sostituisci(prova::sostituisci(s, "{L}", linea), "{T}", treno);
  }
};

TEST(AvvisiDanni, TheBuiltInTextsGiveNoWarning) {
  testi_controllati d({}, {});
  const prova::uscita u = d.controlla({"--strict"});
  EXPECT_EQ(u.stato, 0);
  EXPECT_EQ(u.err, "");
  const prova::uscita j = d.controlla({"--json"});
  const auto v = prova::leggi_json(j.out);
  ASSERT_TRUE(v.has_value()) << j.out;
  EXPECT_TRUE((*v)["warnings"].empty());
}

struct caso_avviso {
  const char* codice;  // the kind's code, as JSON gives it
  modifiche linea;
  modifiche treno;
  int stato;
  std::string messaggi;  // standard error of check, {L} and {T} the texts' paths
};

TEST(AvvisiDanni, OneEditPerKind) {
  const std::vector<caso_avviso> casi = {
      // CASI
  };
  std::vector<std::string> provati;
  for (const caso_avviso& c : casi) {
    SCOPED_TRACE(c.codice);
    testi_controllati d(c.linea, c.treno);
    const prova::uscita u = d.controlla();
    EXPECT_EQ(u.stato, c.stato);
    EXPECT_EQ(u.err, d.con_percorsi(c.messaggi));
    // JSON names the kind by its code.
    const prova::uscita j = d.controlla({"--json"});
    const auto v = prova::leggi_json(j.out);
    ASSERT_TRUE(v.has_value()) << j.out;
    bool trovato = false;
    for (const auto& w : (*v)["warnings"]) trovato = trovato || w.value("code", "") == c.codice;
    EXPECT_TRUE(trovato);
    provati.push_back(c.codice);
  }
  // Every kind has its edit here.
  for (const genere_avviso* g : generi_avviso()) {
    if (g == &avviso_record_sconosciuto) continue;
    EXPECT_NE(std::find(provati.begin(), provati.end(), g->codice), provati.end()) << g->codice;
  }
}

}  // namespace
