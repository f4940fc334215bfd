#include "scenario/analisi_avvisi.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "scenario/avvisi_danni.h"

namespace {

// --- Timetable and positions ----------------------------------------------

struct stazione_oraria {
  int32_t record;
  int64_t posizione;
  int64_t orario;  // seconds
  int64_t sosta;
};

std::string ora(int64_t secondi) {
  char b[32];
  const int64_t h = secondi / 3600, m = secondi / 60 % 60, s = secondi % 60;
  if (s != 0) {
    std::snprintf(b, sizeof b, "%lld:%02lld:%02lld", static_cast<long long>(h), static_cast<long long>(m),
                  static_cast<long long>(s));
  } else {
    std::snprintf(b, sizeof b, "%lld:%02lld", static_cast<long long>(h), static_cast<long long>(m));
  }
  return b;
}

std::string durata(double secondi) {
  const auto s = static_cast<int64_t>(std::ceil(secondi - 1e-9));
  char b[32];
  std::snprintf(b, sizeof b, "%lld min %02lld s", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
  return b;
}

std::string chilometri(int64_t metri) {
  char b[32];
  std::snprintf(b, sizeof b, "%.1f km", static_cast<double>(metri) / 1000.0);
  return b;
}

// Hours, minutes and seconds that a clock does not show; the warning names
// the first of them. True when it warned.
bool ora_fuori_campo(analisi_avvisi& a, int32_t r, int n_ore, const char* che) {
  const auto h = a.numero(r, n_ore), m = a.numero(r, n_ore + 1), s = a.numero(r, n_ore + 2);
  if (!h || !m || !s) return false;
  const int64_t tot = (*h * 60 + *m) * 60 + *s;
  std::string perche;
  int n = n_ore;
  if (*m < 0 || *m >= 60) {
    perche = "minutes " + std::to_string(*m) + " are not a minute of an hour";
    n = n_ore + 1;
  } else if (*s < 0 || *s >= 60) {
    perche = "seconds " + std::to_string(*s) + " are not a second of a minute";
    n = n_ore + 2;
  } else if (*h < 0 || *h >= 24) {
    perche = "hours " + std::to_string(*h) + " are not an hour of a day";
  } else {
    return false;
  }
  const std::string tenuto = tot >= 0 && tot < 86400 ? ", which reads as " + ora(tot)
                                                     : ", which is outside a day";
  a.avvisa_valore(avviso_ora_fuori_campo, r, n,
                  ": " + perche + ", and " + che + " is stored as " + std::to_string(tot) + " s" + tenuto +
                      "; write hours from 0 to 23, minutes and seconds from 0 to 59");
  return true;
}

// The speed limit in force at each point, from the records: the speed
// records from their position on, each slowdown over its length.
struct limiti {
  std::vector<std::pair<int64_t, int64_t>> velocita;  // position, km/h; sorted
  std::vector<std::array<int64_t, 3>> rallentamenti;  // start, end, km/h

  // The time (s) at the limits from x to y; nothing where no limit is known.
  std::optional<double> tempo(int64_t x, int64_t y) const {
    std::vector<int64_t> punti = {x, y};
    for (const auto& [p, v] : velocita) {
      if (p > x && p < y) punti.push_back(p);
    }
    for (const auto& r : rallentamenti) {
      for (int64_t p : {r[0], r[1]}) {
        if (p > x && p < y) punti.push_back(p);
      }
    }
    std::sort(punti.begin(), punti.end());
    double t = 0;
    for (size_t i = 0; i + 1 < punti.size(); ++i) {
      const int64_t da = punti[i], a = punti[i + 1];
      if (a <= da) continue;
      const int64_t medio = da + (a - da) / 2;
      int64_t v = 0;
      for (const auto& [p, w] : velocita) {
        if (p <= medio) v = w;
      }
      for (const auto& r : rallentamenti) {
        if (r[0] <= medio && medio < r[1] && r[2] > 0) v = std::min(v, r[2]);
      }
      if (v <= 0) return std::nullopt;
      t += static_cast<double>(a - da) * 3.6 / static_cast<double>(v);
    }
    return t;
  }
};

}  // namespace

void avvisi_degli_orari(analisi_avvisi& a) {
  const int64_t lunghezza = a.m.punti[84].fine;
  std::vector<stazione_oraria> stazioni;
  limiti lim;
  for (int32_t r = 0; r < static_cast<int32_t>(a.d.record.size()); ++r) {
    const record_letto& x = a.record(r);
    if (x.chiave.luogo.testo != testo_treno) continue;
    if (di_genere(x, "orologio")) ora_fuori_campo(a, r, 0, "the clock");
    if (di_genere(x, "velocita")) {
      const auto p = a.numero(r, 0), v = a.numero(r, 1);
      if (p && v) lim.velocita.push_back({*p, *v});
    }
    const bool fermato_qui = a.d.errore.campo.record == r;
    if (di_genere(x, "rallentamento")) {
      const auto p = a.numero(r, 0), v = a.numero(r, valore::rallentamento_v), l = a.numero(r, valore::rallentamento_l);
      if (p && v && l) lim.rallentamenti.push_back({*p, *p + *l, *v});
    }
    if ((di_genere(x, "stazione") || di_genere(x, "segnale") || di_genere(x, "rallentamento")) && !fermato_qui) {
      const auto p = a.numero(r, valore::posizione);
      if (p && *p > lunghezza && lunghezza > 0) {
        a.avvisa_valore(avviso_oltre_la_linea, r, valore::posizione,
                 ": this " + std::string(di_genere(x, "stazione") ? "station" : di_genere(x, "segnale") ? "signal" : "slowdown") + " lies beyond the end of the line (" +
                     std::to_string(lunghezza) + " m), in the 7000 m the cell grid runs on past it; place it "
                     "within the line");
      }
    }
    if (!di_genere(x, "stazione") || x.valori.size() <= static_cast<size_t>(valore::secondi)) continue;
    // A time already warned about is left out of the comparisons along the line.
    if (ora_fuori_campo(a, r, valore::ore, "the scheduled time")) continue;
    const auto p = a.numero(r, 0), sosta = a.numero(r, valore::sosta), h = a.numero(r, valore::ore),
               m = a.numero(r, valore::minuti), s = a.numero(r, valore::secondi);
    if (!p || !sosta || !h || !m || !s) continue;
    const int64_t orario = (*h * 60 + *m) * 60 + *s;
    if (*h == 0 && *m == 0 && *s == 0) {
      if (*sosta > 0) {
        a.avvisa_valore(avviso_sosta_senza_orario, r, valore::sosta,
                        ": a stop time is given at a station without a scheduled time (0 0 0); give the station "
                        "its time, or write the stop time 0");
      }
      continue;
    }
    stazioni.push_back({r, *p, orario, *sosta});
  }
  std::stable_sort(stazioni.begin(), stazioni.end(),
                   [](const stazione_oraria& x, const stazione_oraria& y) { return x.posizione < y.posizione; });
  for (size_t i = 1; i < stazioni.size(); ++i) {
    const stazione_oraria& prima = stazioni[i - 1];
    const stazione_oraria& dopo = stazioni[i];
    if (dopo.orario < prima.orario) {
      a.avvisa_valore(avviso_orario_indietro, dopo.record, valore::ore,
               ": the scheduled time " + ora(dopo.orario) + " is earlier than " + ora(prima.orario) +
                   " at the station before it along the line (" + a.dove(prima.record) +
                   "); write times that grow along the line");
      continue;
    }
    const std::optional<double> corsa = lim.tempo(prima.posizione, dopo.posizione);
    if (!corsa) continue;
    const double servono = *corsa + static_cast<double>(dopo.sosta);
    const auto dato = static_cast<double>(dopo.orario - prima.orario);
    if (dato + 1e-9 >= servono) continue;
    a.avvisa_valore(avviso_orario_troppo_stretto, dopo.record, valore::ore,
             ": " + ora(prima.orario) + " to " + ora(dopo.orario) + " gives " + durata(dato) + " for " +
                 chilometri(dopo.posizione - prima.posizione) + "; the speed limits alone need " + durata(servono) +
                 (dopo.sosta > 0 ? " with the stop of " + std::to_string(dopo.sosta) + " s" : std::string()) +
                 " (a lower bound: starting and braking are left out); give the train more time");
  }
}
