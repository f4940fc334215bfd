#include "scenario/ricostruzione.h"

#include <algorithm>
#include <bit>

#include "core/memorizza_percorso.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "scenario/formato.h"
#include "text/archivio.h"
#include "text/codifica.h"
#include "text/lettore_campi.h"

namespace {

constexpr const char* a_capo = "\r\n";

// Blanks either side of a field.
std::string senza_spazi(std::string_view s) {
  size_t a = 0;
  size_t b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return std::string(s.substr(a, b - a));
}

bool e_numero(const std::string& s) {
  size_t i = s.size() > 1 && s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
  }
  return true;
}

const char* nomi_campi_cella[] = {"tipo",      "valore",   "valore_2", "valore_3", "valore_4", "tempo",
                                  "preavviso", "montagna", "velocita", "pendenza", "aderenza"};

std::vector<int64_t> campi(const cella& c) {
  return {c.tipo, c.valore, c.valore_2, c.valore_3, c.valore_4, c.tempo, c.preavviso, c.montagna, c.velocita, c.pendenza, c.aderenza};
}

// Collects the differing fields of one record layout by name.
struct raccogli_campi {
  std::vector<std::pair<const char*, std::string>> v;
  template <class T>
  void operator()(const char* nome, const T& x) {
    v.push_back({nome, std::to_string(x)});
  }
  void testo(const char* nome, const std::string& t) {
    std::string q(1, '"');
    q += cp1252_a_utf8(t);
    q += '"';
    v.push_back({nome, std::move(q)});
  }
};

}  // namespace

std::string scrivi_testo(const testo_ricostruito& t) {
  std::string out = "- decompiled from the compiled files by scenario decompile";
  out += a_capo;
  for (const sezione_testo& s : t.sezioni) {
    out += s.intestazione;
    out += a_capo;
    if (!s.commento.empty() && !s.record.empty()) {
      out += s.commento;
      out += a_capo;
    }
    // Columns aligned over the section: the keyword, then each number.
    size_t chiave = 0;
    std::vector<size_t> larghezze;
    for (const record_ricostruito& r : s.record) {
      chiave = std::max(chiave, r.chiave.size());
      if (larghezze.size() < r.numeri.size()) larghezze.resize(r.numeri.size(), 0);
      for (size_t i = 0; i < r.numeri.size(); ++i) larghezze[i] = std::max(larghezze[i], std::to_string(r.numeri[i]).size());
    }
    for (const record_ricostruito& r : s.record) {
      std::string riga = r.chiave;
      riga += ',';
      riga += std::string(chiave - r.chiave.size(), ' ');
      for (size_t i = 0; i < r.numeri.size(); ++i) {
        const std::string n = std::to_string(r.numeri[i]);
        if (i > 0) riga += ",";
        riga += std::string(larghezze[i] - n.size() + 1, ' ') + n;
      }
      if (r.testo) {
        riga += ", ";
        riga += *r.testo;
      }
      out += riga;
      out += a_capo;
    }
  }
  return out;
}

std::vector<record_ricostruito> record_di(const std::string& testo) {
  std::vector<record_ricostruito> r;
  bool dentro = false;
  size_t i = 0;
  while (i < testo.size()) {
    size_t fine = testo.find_first_of("\r\n", i);
    if (fine == std::string::npos) fine = testo.size();
    const std::string riga = testo.substr(i, fine - i);
    i = fine + (testo.compare(fine, 2, "\r\n") == 0 ? 2 : 1);
    std::vector<std::string> parti;
    size_t a = 0;
    for (;;) {
      const size_t v = riga.find(',', a);
      parti.push_back(senza_spazi(riga.substr(a, v == std::string::npos ? std::string::npos : v - a)));
      if (v == std::string::npos) break;
      a = v + 1;
    }
    const std::string& chiave = parti[0];
    if (!dentro) {
      dentro = chiave.find("[generale]") != std::string::npos;
      continue;
    }
    if (chiave.empty() || chiave.find('-') != std::string::npos || chiave.find('[') != std::string::npos) continue;
    record_ricostruito q{chiave, {}, {}};
    for (size_t k = 1; k < parti.size(); ++k) {
      // The clock's values may be separated by blanks alone.
      std::string campo = parti[k];
      size_t spazio = campo.find_first_of(" \t");
      bool numeri_con_spazi = spazio != std::string::npos;
      if (numeri_con_spazi) {
        size_t b = 0;
        std::vector<std::string> pezzi;
        while (b < campo.size()) {
          size_t e = campo.find_first_of(" \t", b);
          if (e == std::string::npos) e = campo.size();
          if (e > b) pezzi.push_back(campo.substr(b, e - b));
          b = e + 1;
        }
        numeri_con_spazi = std::all_of(pezzi.begin(), pezzi.end(), e_numero);
        if (numeri_con_spazi) {
          for (const std::string& p : pezzi) q.numeri.push_back(std::stoll(p));
          continue;
        }
      }
      if (k + 1 == parti.size() && !e_numero(campo)) {
        q.testo = campo;
      } else if (e_numero(campo)) {
        q.numeri.push_back(std::stoll(campo));
      } else {
        q.testo = campo;
      }
    }
    r.push_back(std::move(q));
  }
  return r;
}

compilazione_memoria compila_in_memoria(const std::string& nome_scenario, const std::string& codice_treno,
                                        const std::string& linea, const std::string& treno, bool con_linea) {
  compilazione_memoria c;
  modello m;
  m.nome_scenario = nome_scenario;
  m.codice_treno = codice_treno;
  archivio_memoria a;
  a.file[nome_testo_linea(m)] = linea;
  a.file[nome_testo_treno(m)] = treno;
  esito_compilazione e;
  try {
    e = memorizza_percorso(m, a, con_linea ? 1 : 0);
  } catch (const errore_esecuzione&) {
    c.errore = 25;
    return c;
  }
  c.errore = e.errore != 0 ? e.errore : m.numero_errore;
  c.posizione_errore = m.posizione_errore;
  if (e.errore != 0) return c;
  c.scritto = true;
  c.file.punti = m.punti;
  c.file.celle = std::move(m.celle);
  if (con_linea) c.file.profilo = std::move(m.profilo);
  return c;
}

std::vector<std::string> confronta_binari(const scenario_binario& atteso, const scenario_binario& ottenuto) {
  std::vector<std::string> d;
  for (int r = 0; r < numero_punti; ++r) {
    raccogli_campi a, o;
    tracciato_punto(atteso.punti[static_cast<size_t>(r)], a);
    tracciato_punto(ottenuto.punti[static_cast<size_t>(r)], o);
    for (size_t i = 0; i < a.v.size(); ++i) {
      if (a.v[i].second != o.v[i].second) {
        d.push_back(formato("point record %d: %s %s, the files hold %s", r, a.v[i].first, o.v[i].second.c_str(),
                            a.v[i].second.c_str()));
      }
    }
  }
  if (atteso.celle.size() != ottenuto.celle.size()) {
    d.push_back(formato("cells: %zu, the files hold %zu", ottenuto.celle.size(), atteso.celle.size()));
  }
  for (size_t k = 0; k < std::min(atteso.celle.size(), ottenuto.celle.size()); ++k) {
    const std::vector<int64_t> a = campi(atteso.celle[k]);
    const std::vector<int64_t> o = campi(ottenuto.celle[k]);
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i] != o[i]) {
        d.push_back(formato("cell %zu (%zu m): %s %lld, the files hold %lld", k, k * 50, nomi_campi_cella[i],
                            static_cast<long long>(o[i]), static_cast<long long>(a[i])));
      }
    }
  }
  if (atteso.profilo.has_value() != ottenuto.profilo.has_value()) {
    d.push_back(atteso.profilo ? "line profile: not written, the files hold one" : "line profile: written, the files hold none");
  } else if (atteso.profilo) {
    const profilo_linea& a = *atteso.profilo;
    const profilo_linea& o = *ottenuto.profilo;
    if (a.limite != o.limite) d.push_back(formato("plan: points 0 to %d, the files hold 0 to %d", o.limite, a.limite));
    int32_t diversi = 0;
    int32_t primo = -1;
    for (int32_t m = 0; m <= std::min(a.limite, o.limite); ++m) {
      for (int c = 0; c < 2; ++c) {
        const bool uguale = a.tipi[c][m] == o.tipi[c][m] &&
                            (a.tipi[c][m] == variante_vuota ||
                             std::bit_cast<uint64_t>(a.valori[c][m]) == std::bit_cast<uint64_t>(o.valori[c][m]));
        if (!uguale) {
          if (primo < 0) primo = m;
          ++diversi;
          if (diversi <= 20) {
            d.push_back(formato("plan point %d, coordinate %d: %.17g, the files hold %.17g", m, c + 1, o.valori[c][m],
                                a.valori[c][m]));
          }
        }
      }
    }
    if (diversi > 20) d.push_back(formato("plan: %d elements differ in all, from point %d", diversi, primo));
  }
  return d;
}

ricostruzione ricostruisci(const scenario_binario& s) {
  ricostruzione r;
  r.nome_scenario = s.punti[punto_scenario].testo;
  r.codice_treno = s.punti[punto_codici].testo;
  std::vector<std::string> dubbi_linea;
  r.linea = scrivi_testo(testo_linea_di(s, dubbi_linea));
  const bool con_linea = s.profilo.has_value();

  // The speed markers that are surely records: kind 13, and kind 12 of
  // another value than the pass's.
  const std::vector<cella> c = celle_senza_marche(s.celle);
  std::vector<std::pair<int32_t, cella>> certi;
  for (size_t k = 0; k < c.size(); ++k) {
    const bool marcatore = c[k].tipo == abbattimento || c[k].tipo == abbattimento_zero;
    if (marcatore && !(c[k].tipo == abbattimento && c[k].valore == 180)) certi.push_back({static_cast<int32_t>(k), c[k]});
  }

  // The search compiles without the plan, which has no part in the cells or
  // the point table; the texts found are then compiled once with it.
  scenario_binario senza_piano{s.punti, s.celle, std::nullopt};
  auto differenze = [&](const std::string& treno, bool piano) {
    const compilazione_memoria m = compila_in_memoria(r.nome_scenario, r.codice_treno, r.linea, treno, piano);
    std::vector<std::string> diff;
    if (m.errore != 0) {
      diff.push_back(formato("the compile of the texts records error %d at %d m", m.errore, m.posizione_errore));
    }
    if (m.scritto) {
      const std::vector<std::string> d = confronta_binari(piano ? s : senza_piano, m.file);
      diff.insert(diff.end(), d.begin(), d.end());
    }
    return std::pair{diff, m};
  };
  size_t migliore = SIZE_MAX;
  std::vector<std::string> dubbi_migliori;
  const std::pair<bool, bool> ordini[] = {{false, false}, {true, false}, {true, true}};
  for (const auto& [dopo, sotto] : ordini) {
    scelte_ricostruzione scelte{dopo, sotto, certi};
    // Each round adds the first stored marker that the compile did not put
    // where it stands; after many rounds, all of them at once.
    for (size_t giro = 0; giro <= c.size() && migliore > 0; ++giro) {
      std::vector<std::string> dubbi;
      const std::string treno = scrivi_testo(testo_treno_di(s, scelte, dubbi));
      const auto [diff, m] = differenze(treno, false);
      if (diff.size() < migliore) {
        migliore = diff.size();
        r.treno = treno;
        dubbi_migliori = dubbi;
      }
      if (!m.scritto || diff.empty()) break;
      const std::vector<cella> o = celle_senza_marche(m.file.celle);
      bool aggiunto = false;
      for (size_t k = 0; k < c.size() && k < o.size() && (!aggiunto || giro >= 200); ++k) {
        const bool marcatore = c[k].tipo == abbattimento || c[k].tipo == abbattimento_zero;
        const bool gia = std::any_of(scelte.abbattimenti.begin(), scelte.abbattimenti.end(),
                                     [k](const auto& q) { return q.first == static_cast<int32_t>(k); });
        if (marcatore && !gia && (o[k].tipo != c[k].tipo || o[k].valore != c[k].valore)) {
          scelte.abbattimenti.push_back({static_cast<int32_t>(k), c[k]});
          aggiunto = true;
        }
      }
      if (!aggiunto) break;
    }
    if (migliore == 0) break;
  }
  r.differenze = differenze(r.treno, con_linea).first;
  r.identico = r.differenze.empty();
  if (!r.identico) {
    r.differenze.insert(r.differenze.begin(), dubbi_linea.begin(), dubbi_linea.end());
    r.differenze.insert(r.differenze.end(), dubbi_migliori.begin(), dubbi_migliori.end());
  }
  return r;
}
