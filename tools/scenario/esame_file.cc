#include "scenario/esame_file.h"

#include "core/codici_gara.h"
#include "scenario/formato.h"
#include "scenario/percorsi.h"

namespace {

// ---- Checks beyond the layout ---------------------------------------------

void controlla_punti(esame_file& e) {
  const tabella_punti& p = e.punti;
  int16_t marca = p[punto_scenario].intero_1;
  if (marca != marca_sim) {
    e.avvisi.push_back(formato("marca_sim is %d, not the file mark %d", marca, marca_sim));
  }
  int32_t codice = p[punto_scenario].orario;
  int32_t atteso = codice_st_atteso(p);
  if (codice != atteso) {
    e.avvisi.push_back(formato("codice_st is %d; the train code and scenario name of this file give %d", codice,
                               atteso));
  }
  for (int k : ruoli_di(p).altri) {
    e.avvisi.push_back(formato("record %d is neither a station nor a sign text", k));
  }
}

void controlla_celle(esame_file& e) {
  int16_t marca = e.celle[1].valore;
  if (marca != marca_dat) {
    e.avvisi.push_back(formato("marca_dat is %d, not the file mark %d", marca, marca_dat));
  }
  size_t sconosciute = 0;
  size_t prima = 0;
  for (size_t k = 0; k < e.celle.size(); ++k) {
    if (nome_tipo_cella(e.celle[k].tipo) == nullptr && sconosciute++ == 0) prima = k;
  }
  if (sconosciute > 0) {
    e.avvisi.push_back(formato("%zu cells hold a kind that is never stored (the first, cell %zu, kind %d)",
                               sconosciute, prima, e.celle[prima].tipo));
  }
}

void controlla_profilo(esame_file& e) {
  const profilo_linea& p = e.profilo;
  int32_t diversi = 0;
  int32_t primo = 0;
  for (int32_t m = 0; m <= p.limite; ++m) {
    if (p.tipi[0][m] != p.tipi[1][m] && diversi++ == 0) primo = m;
  }
  if (diversi > 0) {
    e.avvisi.push_back(
        formato("the two coordinates have different element types at %d points (the first, point %d)", diversi,
                primo));
  }
  estensione_piano est = estensione_di(p);
  if (est.non_finiti > 0) {
    e.avvisi.push_back(formato("%d elements are not finite numbers", est.non_finiti));
  }
}

}  // namespace

esame_file esamina(std::string nome, std::string_view byte) {
  esame_file e;
  e.nome = std::move(nome);
  e.byte = byte.size();
  e.genere = genere_da_nome(e.nome);
  if (!e.genere) {
    e.errore = e.nome + ": " + nome_non_di_scenario;
    return e;
  }
  // Only a file that fits its layout is looked over.
  auto prendi = [&e](auto d, auto& destinazione, void (*controlla)(esame_file&)) {
    destinazione = std::move(d.dati);
    if (!d.ok()) {
      e.errore = e.nome + ": " + d.errore;
    } else {
      controlla(e);
    }
  };
  switch (*e.genere) {
    case genere_file::punti: prendi(decodifica_punti(byte), e.punti, controlla_punti); break;
    case genere_file::celle: prendi(decodifica_celle(byte), e.celle, controlla_celle); break;
    case genere_file::profilo: prendi(decodifica_profilo(byte), e.profilo, controlla_profilo); break;
  }
  return e;
}

esame_file esamina_file(const std::string& percorso) {
  if (!genere_da_nome(percorso)) return esamina(percorso, {});
  auto letto = leggi_file(percorso_utf8(percorso));
  if (!letto.ok()) {
    esame_file e;
    e.nome = percorso;
    e.genere = genere_da_nome(percorso);
    e.errore = percorso + ": " + letto.errore;
    return e;
  }
  return esamina(percorso, letto.dati);
}
