#ifndef SCENARIO_TOOLS_ANALISI_AVVISI_H
#define SCENARIO_TOOLS_ANALISI_AVVISI_H

// What the warnings of silent damage share: the compile's records and model,
// the texts' names, the warnings found so far, and how a warning is placed at
// a record's field.

#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/diagnostica.h"
#include "model/modello.h"
#include "scenario/rapporto.h"

// The values of each record kind, by their place among the record's values.
namespace valore {
constexpr int posizione = 0;
constexpr int gradiente = 1, aderenza = 1, limite = 1, abbattuto = 1;
constexpr int sx = 1, rapp = 5, dx = 6, tempo = 10;
constexpr int sosta = 12, ore = 13, minuti = 14, secondi = 15;
constexpr int rallentamento_v = 1, rallentamento_l = 2;
}  // namespace valore

// What the warnings work from: the compile's trace and model, and the texts' names.
struct analisi_avvisi {
  const modello& m;
  const diagnostica& d;
  const testo_autore& linea;
  const testo_autore& treno;
  std::vector<messaggio_avviso> avvisi;
  // The cells whose object each record placed, by record.
  std::map<int32_t, std::vector<int32_t>> celle_del_record;

  const record_letto& record(int32_t r) const { return d.record[static_cast<size_t>(r)]; }

  luogo_messaggio luogo(const luogo_sorgente& s) const { return luogo_del_messaggio(d, linea, treno, s); }

  // "FILE:LINE" of a record, for a message that names it.
  std::string dove(int32_t r) const {
    const luogo_messaggio l = luogo(record(r).chiave.luogo);
    return l.file + ":" + std::to_string(l.riga);
  }

  luogo_sorgente luogo_valore(int32_t r, int n) const {
    const record_letto& x = record(r);
    if (n < 0 || static_cast<size_t>(n) >= x.valori.size()) return x.chiave.luogo;
    return x.valori[static_cast<size_t>(n)].luogo;
  }

  // A warning at a field: the message opens with the field's text, quoted,
  // and goes on with `seguito`.
  messaggio_avviso& avvisa(const genere_avviso& g, const luogo_sorgente& dove_, const std::string& campo,
                           std::string seguito, std::vector<nota_messaggio> note = {}) {
    messaggio_avviso a;
    a.genere = &g;
    a.luogo = luogo(dove_);
    a.campo = campo;
    a.seguito = std::move(seguito);
    a.note = std::move(note);
    avvisi.push_back(std::move(a));
    return avvisi.back();
  }

  // The same at the n-th value of record r.
  messaggio_avviso& avvisa_valore(const genere_avviso& g, int32_t r, int n, std::string seguito) {
    const record_letto& x = record(r);
    const std::string campo = n >= 0 && static_cast<size_t>(n) < x.valori.size() ? x.valori[static_cast<size_t>(n)].testo
                                                                                  : x.chiave.testo;
    return avvisa(g, luogo_valore(r, n), campo, std::move(seguito));
  }

  // The n-th value of record r as a number, when it was read as one.
  std::optional<int64_t> numero(int32_t r, int n) const {
    const record_letto& x = record(r);
    if (n < 0 || static_cast<size_t>(n) >= x.valori.size()) return std::nullopt;
    const std::string& t = x.valori[static_cast<size_t>(n)].testo;
    int64_t v = 0;
    const auto [fine, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || fine != t.data() + t.size()) return std::nullopt;
    return v;
  }

  // The cell whose object record r placed, of kind `tipo`.
  const cella* cella_posta(int32_t r, uint8_t tipo) const {
    auto it = celle_del_record.find(r);
    if (it == celle_del_record.end()) return nullptr;
    for (int32_t k : it->second) {
      if (static_cast<size_t>(k) < m.celle.size() && m.celle[static_cast<size_t>(k)].tipo == tipo) {
        return &m.celle[static_cast<size_t>(k)];
      }
    }
    return nullptr;
  }
};

// A record read as exactly one kind, that kind.
inline bool di_genere(const record_letto& r, const char* genere) {
  return r.generi.size() == 1 && std::strcmp(r.generi[0], genere) == 0;
}

// The warnings of the timetable and of positions past the line's end.
void avvisi_degli_orari(analisi_avvisi& a);

#endif
