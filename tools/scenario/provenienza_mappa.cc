#include "scenario/provenienza_mappa.h"

#include <charconv>
#include <cstring>

#include "model/conversioni.h"
#include "text/codifica.h"

namespace {

std::optional<int64_t> numero(const std::string& t) {
  int64_t v = 0;
  const auto [fine, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || fine != t.data() + t.size()) return std::nullopt;
  return v;
}

}  // namespace

std::vector<attributo_svg> dati_record(const provenienza_mappa* p, int32_t record, const char* genere,
                                       int64_t posizione, int32_t cella) {
  if (!p || record < 0 || static_cast<size_t>(record) >= p->traccia.record.size()) return {};
  const record_letto& r = p->traccia.record[static_cast<size_t>(record)];
  const luogo_messaggio l = luogo_del_messaggio(p->traccia, p->linea, p->treno, r.chiave.luogo);
  const char* g = letto_come(r, genere) || r.generi.empty() ? genere : r.generi.front();
  // The metre the record itself gives (a signal's, not its cell's), where
  // its first value is one.
  if (!r.valori.empty()) posizione = numero(r.valori[0].testo).value_or(posizione);
  return {{"data-file", l.file},
          {"data-line", std::to_string(l.riga)},
          {"data-column", std::to_string(l.colonna)},
          {"data-position", std::to_string(posizione)},
          {"data-kind", g},
          {"data-cell", std::to_string(cella)},
          {"data-record", cp1252_a_utf8(l.sorgente)}};
}

std::vector<record_in_posizione> record_del_genere(const provenienza_mappa& p, const char* genere) {
  std::vector<record_in_posizione> v;
  for (size_t i = 0; i < p.traccia.record.size(); ++i) {
    const record_letto& r = p.traccia.record[i];
    if (r.valori.empty() || !letto_come(r, genere)) continue;
    const std::optional<int64_t> m = numero(r.valori[0].testo);
    if (!m) continue;
    const std::optional<int64_t> x = r.valori.size() > 1 ? numero(r.valori[1].testo) : std::nullopt;
    const bool in_celle = *m >= 0 && *m <= int64_t{INT32_MAX};
    v.push_back({static_cast<int32_t>(i), *m, x.value_or(0),
                 in_celle ? CLng(static_cast<double>(*m) / 50.0) : nessuno});
  }
  return v;
}

int32_t record_della_stazione(const provenienza_mappa* p, int numero_stazione) {
  if (!p) return nessuno;
  int n = 0;
  for (size_t i = 0; i < p->traccia.record.size(); ++i) {
    const record_letto& r = p->traccia.record[i];
    if (r.chiave.luogo.testo != testo_treno || !letto_come(r, "stazione")) continue;
    if (++n == numero_stazione) return static_cast<int32_t>(i);
  }
  return nessuno;
}
