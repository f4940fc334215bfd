#include "scenario/oggetti_mappa.h"

#include "scenario/formato.h"
#include "text/codifica.h"

oggetti_mappa raccogli_oggetti(const std::vector<cella>& c) {
  oggetti_mappa o;
  auto n_celle = static_cast<int32_t>(c.size());
  // For each cell, the next cell at or after it that ends a slowdown.
  std::vector<int32_t> prossima_fine(c.size() + 1, -1);
  for (int32_t k = n_celle - 1; k >= 0; --k) {
    prossima_fine[static_cast<size_t>(k)] =
        c[static_cast<size_t>(k)].tipo == fine_rallentamento ? k : prossima_fine[static_cast<size_t>(k) + 1];
  }
  for (int32_t k = 0; k < n_celle; ++k) {
    switch (c[static_cast<size_t>(k)].tipo) {
      case segnale: o.segnali.push_back(k); break;
      case inizio_rallentamento: {
        int32_t fine = prossima_fine[static_cast<size_t>(k)];
        o.rallentamenti.push_back({k, fine < 0 ? k : fine});
        break;
      }
      case avviso_rallentamento: o.avvisi.push_back(k); break;
      case cartello: o.cartelli.push_back(k); break;
      case indicatore_v_max: o.indicatori.push_back(k); break;
      default: break;
    }
  }
  return o;
}

std::vector<stazione_mappa> stazioni_di(const tabella_punti& punti) {
  std::vector<stazione_mappa> v;
  ruoli_punti r = ruoli_di(punti);
  for (int k = 1; k <= r.ultima_stazione; ++k) {
    v.push_back({k, punti[static_cast<size_t>(k)].posizione, &punti[static_cast<size_t>(k)]});
  }
  return v;
}

std::string km(int64_t metri) { return formato("%.3f km", static_cast<double>(metri) / 1000); }

std::string testo_cartello(const vista_scenario& s, int32_t k) {
  const cella& c = s.celle[static_cast<size_t>(k)];
  if (c.tipo != cartello || c.valore < 1 || c.valore > primo_cartello) return {};
  return cp1252_a_utf8(s.punti[static_cast<size_t>(c.valore)].testo);
}

std::string titolo_cella(const vista_scenario& s, int32_t k) {
  const cella& c = s.celle[static_cast<size_t>(k)];
  int64_t m = int64_t{k} * metri_per_cella;
  const char* nome = nome_tipo_cella(c.tipo);
  std::string t = formato("%s at %jd m (%s)", nome ? nome : "object", static_cast<intmax_t>(m), km(m).c_str());
  if (c.tipo == cartello && c.valore >= 1 && c.valore <= primo_cartello) return t + ": " + testo_cartello(s, k);
  std::string sintesi = sintesi_cella(c);
  return sintesi.empty() ? t : t + ": " + sintesi;
}

std::string titolo_stazione(const stazione_mappa& s) {
  return formato("station %d, kind %d, at %d m, extent %d to %d m", s.record, s.p->tipo, s.posizione, s.p->inizio,
                 s.p->fine);
}
