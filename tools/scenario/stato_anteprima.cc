#include "scenario/stato_anteprima.h"

#include <charconv>
#include <ctime>
#include <cstdlib>

#include "scenario/disegno_mappa.h"
#include "scenario/formato.h"
#include "scenario/json.h"
#include "scenario/provenienza_mappa.h"
#include "text/codifica.h"

namespace {

std::string disegna(const compilazione_autore& c, const opzioni_disegno& d) {
  if (c.m.celle.size() < 2) {
    std::string nome = cp1252_a_utf8(c.m.nome_scenario);
    nome.append(" \xE2\x80\x94 train ").append(cp1252_a_utf8(c.m.codice_treno));
    return disegna_mappa_senza_griglia(nome, d.errore_compilazione.empty() ? "error " + std::to_string(c.esito.errore)
                                                                           : d.errore_compilazione)
        .svg;
  }
  const provenienza_mappa p{c.traccia, c.linea, c.treno};
  const vista_scenario v{c.m.punti, c.m.celle, c.m.profilo.allocato() ? &c.m.profilo : nullptr, &p};
  return disegna_mappa(v, d).svg;
}

// The error as the banner shows it: FILE:LINE:COLUMN: error N at P m: ...
std::string banner_errore(const compilazione_autore& c) {
  std::string t;
  const luogo_messaggio& l = c.errore.luogo;
  if (!l.file.empty() && l.riga > 0) t = formato("%s:%d:%d: ", l.file.c_str(), l.riga, l.colonna);
  t += "error " + std::to_string(c.errore.codice);
  if (c.errore.con_posizione) t += formato(" at %d m", c.errore.posizione);
  return t + ": " + riassunto_errore(c.errore);
}

// The metre of a kilometre written in a query, as `map --from` takes it.
std::optional<int64_t> metri(std::string_view t) {
  if (t.empty() || t.size() > 32) return std::nullopt;
  const std::string s(t);
  char* fine = nullptr;
  const double v = std::strtod(s.c_str(), &fine);
  if (fine != s.c_str() + s.size()) return std::nullopt;
  return metri_del_chilometro(v);
}

}  // namespace

parte_richiesta parte_della_query(std::string_view query) {
  parte_richiesta p;
  while (!query.empty()) {
    const size_t e = query.find('&');
    const std::string_view coppia = query.substr(0, e);
    query = e == std::string_view::npos ? std::string_view{} : query.substr(e + 1);
    const size_t u = coppia.find('=');
    if (u == std::string_view::npos) continue;
    const std::string_view nome = coppia.substr(0, u);
    const std::optional<int64_t> v = metri(coppia.substr(u + 1));
    if (!v) continue;
    if (nome == "from") p.da = v;
    if (nome == "to") p.a = v;
  }
  if (p.da && p.a && *p.a <= *p.da) p = {};
  return p;
}

std::string stato_anteprima::registra(compilazione_autore& c, const resoconto_giro& r) {
  json ev;
  std::lock_guard<std::mutex> chiave(m_);
  ++generazione_;
  ev["generation"] = generazione_;
  ev["time"] = ora_locale();
  ev["duration_ms"] = r.durata.count();
  ev["compiled"] = r.esito.compilato;
  ev["failed"] = !r.esito.compilato || r.esito.fallito;
  ev["summary"] = r.verdetto;
  if (r.esito.compilato) {
    const bool errore = con_errore(c);
    ev["errors"] = errore ? 1 : 0;
    ev["warnings"] = c.avvisi.size();
    ev["verdict"] = quanti(errore ? 1 : 0, "error", "errors") + ", " + quanti(c.avvisi.size(), "warning", "warnings");
    if (c.errore.codice != 0) {
      ev["error"] = banner_errore(c);
    } else if (r.esito.fallito) {
      ev["error"] = quanti(c.avvisi.size(), "warning", "warnings") + " counted as errors (--strict)";
    } else if (!file_da_scrivere(c)) {
      ev["error"] = "error " + std::to_string(c.esito.errore);
    } else {
      ev["error"] = nullptr;
    }
    diagnostiche_ = risultato_json(c, false, {});
    auto presa = std::make_shared<const compilazione_autore>(std::move(c));
    ultima_ = presa;
    if (!r.esito.fallito) {
      buona_ = presa;
      generazione_mappa_ = generazione_;
    } else if (!buona_) {
      generazione_mappa_ = generazione_;  // nothing good yet: the failed one's map, which says so
    }
  } else {
    ev["errors"] = nullptr;
    ev["warnings"] = nullptr;
    ev["verdict"] = r.verdetto;
    ev["error"] = r.verdetto;
  }
  const compilazione_autore* m = buona_ ? buona_.get() : ultima_.get();
  ev["map_generation"] = generazione_mappa_;
  ev["length"] = m ? json(static_cast<int64_t>(m->m.celle.size()) * 50) : json(nullptr);
  ev["editor"] = i_.modello_editor;
  ev["paths"] = json::object();
  for (const auto& [nome, percorso] : i_.percorsi) ev["paths"][nome] = percorso;
  return testo_json(ev);
}

std::string stato_anteprima::mappa(std::string_view query) {
  std::shared_ptr<const compilazione_autore> c;
  uint64_t g = 0;
  bool buona = false;
  {
    std::lock_guard<std::mutex> chiave(m_);
    c = buona_ ? buona_ : ultima_;
    buona = c && c == buona_;
    g = generazione_mappa_;
    if (query.empty() && c && generazione_mappa_intera_ == g) return mappa_intera_;
  }
  if (!c) {
    return disegna_mappa_senza_griglia("no compile yet", "the texts have not been compiled").svg;
  }
  opzioni_disegno d;
  const parte_richiesta p = parte_della_query(query);
  d.da = p.da;
  d.a = p.a;
  if (!buona && con_errore(*c)) d.errore_compilazione = riassunto_errore(c->errore);
  std::string svg = disegna(*c, d);
  if (!p.da && !p.a) {
    std::lock_guard<std::mutex> chiave(m_);
    if (g == generazione_mappa_) {
      mappa_intera_ = svg;
      generazione_mappa_intera_ = g;
    }
  }
  return svg;
}

std::string stato_anteprima::diagnostiche() {
  std::lock_guard<std::mutex> chiave(m_);
  if (!diagnostiche_.empty()) return diagnostiche_;
  json j;
  j["numero_errore"] = nullptr;
  j["message"] = "the texts have not been compiled yet";
  j["warnings"] = json::array();
  return testo_json(j) + "\n";
}
