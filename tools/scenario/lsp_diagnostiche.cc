#include "scenario/lsp_diagnostiche.h"

#include "scenario/avvisi_danni.h"
#include "scenario/parole_autore.h"
#include "text/codifica.h"

namespace {

// The characters a field takes from `colonna` in its line (Windows-1252):
// up to the next comma or the line's end, without the blanks after it; at
// least one.
int32_t larghezza_campo(const std::string& riga, int32_t colonna) {
  if (colonna < 1) return 1;
  size_t i = static_cast<size_t>(colonna - 1);
  size_t fine = i;
  while (fine < riga.size() && riga[fine] != ',') ++fine;
  while (fine > i && (riga[fine - 1] == ' ' || riga[fine - 1] == '\t')) --fine;
  return fine > i ? static_cast<int32_t>(fine - i) : 1;
}

struct contesto_lsp {
  const compilazione_lsp& cl;
  unita_colonna u;
  const std::function<std::string(const std::string&)>& uri_di;

  const testo_compilato* testo(const std::string& file) const { return testo_del_percorso(cl, file); }

  // The span of `larghezza` characters at a message's place.
  intervallo_editor dove(const testo_compilato& t, int32_t riga, int32_t colonna, int32_t larghezza) const {
    if (riga <= 0) return {};
    return {posizione_del_carattere(t.utf8, riga, colonna, u),
            posizione_del_carattere(t.utf8, riga, colonna + larghezza, u)};
  }

  intervallo_editor dove(const luogo_messaggio& l, int32_t larghezza) const {
    const testo_compilato* t = testo(l.file);
    if (!t) return {};
    return dove(*t, l.riga, l.colonna, larghezza > 0 ? larghezza : larghezza_campo(l.sorgente, l.colonna));
  }
};

// The place a message names, before its words: "FILE:LINE:COLUMN: ".
std::string prefisso(const luogo_messaggio& l) {
  if (l.file.empty()) return "scenario: ";
  if (l.riga <= 0) return l.file + ": ";
  return l.file + ":" + std::to_string(l.riga) + ":" + std::to_string(l.colonna) + ": ";
}

// The first line of a printed message, without its place.
std::string senza_luogo(const std::string& stampato, const luogo_messaggio& l) {
  std::string s = stampato.substr(0, stampato.find('\n'));
  const std::string p = prefisso(l);
  if (s.compare(0, p.size(), p) == 0) s.erase(0, p.size());
  return s;
}

json note_json(const contesto_lsp& x, const std::vector<nota_messaggio>& note, const std::string& file,
               const intervallo_editor& dove) {
  json r = json::array();
  for (const nota_messaggio& n : note) {
    const bool propria = x.testo(n.luogo.file) != nullptr;
    const std::string f = propria ? n.luogo.file : file;
    r.push_back(json{{"location", {{"uri", x.uri_di(f)}, {"range", json_intervallo(propria ? x.dove(n.luogo, 0) : dove)}}},
                     {"message", n.testo}});
  }
  return r;
}

diagnostica_lsp nuova(const std::string& file, const intervallo_editor& dove, int gravita, json codice,
                      const std::string& messaggio) {
  diagnostica_lsp d;
  d.percorso = file;
  d.dove = dove;
  d.voce = json{{"range", json_intervallo(dove)}, {"severity", gravita}};
  if (!codice.is_null()) d.voce["code"] = std::move(codice);
  d.voce["source"] = "scenario";
  d.voce["message"] = messaggio;
  return d;
}

void diagnostiche_della_compilazione(compilazione_lsp& cl, const contesto_lsp& x) {
  const compilazione_autore& c = *cl.c;
  // The warnings, then the error, in the order `check` prints them.
  for (const messaggio_avviso& a : c.avvisi) {
    if (!x.testo(a.luogo.file)) continue;
    const auto larghezza = static_cast<int32_t>(a.campo.size());
    const intervallo_editor dove = x.dove(a.luogo, larghezza > 0 ? larghezza : 1);
    diagnostica_lsp d = nuova(a.luogo.file, dove, 2, a.genere->codice, senza_luogo(testo_avviso_autore(a), a.luogo));
    if (!a.note.empty()) d.voce["relatedInformation"] = note_json(x, a.note, a.luogo.file, dove);
    for (const std::string& s : a.sostituzioni) {
      d.correzioni.push_back({"Write \"" + cp1252_a_utf8(s) + "\"", dove, cp1252_a_utf8(s)});
    }
    if (a.genere == &avviso_ultimo_campo && distanza_modifiche(a.campo, "[fine]") <= 2) {
      // A misspelt end: the field itself becomes "[fine]".
      d.correzioni.push_back({"Write \"[fine]\"", dove, "[fine]"});
    } else if (a.genere == &avviso_ultimo_campo) {
      // The text ends with "[fine]" on a line of its own.
      const testo_compilato& t = *x.testo(a.luogo.file);
      const std::string a_capo = t.utf8.find("\r\n") != std::string::npos ? "\r\n" : "\n";
      const bool con_a_capo = !t.utf8.empty() && (t.utf8.back() == '\n' || t.utf8.back() == '\r');
      const posizione_editor fine = posizione_dell_offset(t.utf8, t.utf8.size(), x.u);
      d.correzioni.push_back({"End the text with \"[fine]\"", {fine, fine}, (con_a_capo ? "" : a_capo) + "[fine]" + a_capo});
    }
    cl.diagnostiche.push_back(std::move(d));
  }
  if (c.errore.codice != 0) {
    luogo_messaggio l = c.errore.luogo;
    // An error of no text stands at the start of the line text.
    if (!x.testo(l.file)) l = luogo_messaggio{cl.linea.percorso.empty() ? cl.treno.percorso : cl.linea.percorso, 0, 0, {}};
    const intervallo_editor dove = x.dove(l, 0);
    diagnostica_lsp d = nuova(l.file, dove, 1, c.errore.codice, senza_luogo(testo_errore_autore(c.errore), c.errore.luogo));
    if (!c.errore.note.empty()) d.voce["relatedInformation"] = note_json(x, c.errore.note, l.file, dove);
    cl.diagnostiche.push_back(std::move(d));
  }
}

}  // namespace

std::unique_ptr<compilazione_lsp> compila_coppia(const coppia_testi& coppia, const documenti_aperti& aperti,
                                                 unita_colonna u,
                                                 const std::function<std::string(const std::string&)>& uri_di) {
  auto cl = std::make_unique<compilazione_lsp>();
  cl->coppia = coppia;
  if (coppia.linea.empty()) {
    // A train text compiles only with its line text.
    cl->treno.percorso = coppia.treno;
    const documento_aperto* d = aperto_al_percorso(aperti, coppia.treno);
    cl->treno.utf8 = d ? d->testo : std::string();
    std::string nome = nome_del_percorso(coppia.treno);
    nome = nome.substr(0, nome.size() - 5);
    const size_t sotto = nome.rfind('_');
    const std::string linea = sotto == std::string::npos ? std::string("NAME_linea.txt") : nome.substr(0, sotto) + "_linea.txt";
    cl->diagnostiche.push_back(nuova(coppia.treno, {{0, 0}, posizione_del_carattere(cl->treno.utf8, 1, 1 << 30, u)}, 3,
                                     "line_text_missing",
                                     "this train text is compiled with its line text " + linea +
                                         ", which is not in its folder; create it or open it to see the messages of "
                                         "both texts"));
    return cl;
  }

  richiesta_compilazione r;
  r.percorso_linea = coppia.linea;
  const bool da_sola = coppia.treno.empty();
  if (da_sola) {
    // The line text alone: the train half reads an empty text, which gives
    // no train data and no message of its own.
    r.percorso_treno = coppia.linea.substr(0, coppia.linea.size() - 10) + "_0-.txt";
    r.dati_treno = std::string();
  } else {
    r.percorso_treno = coppia.treno;
    cl->treno.percorso = coppia.treno;
  }
  cl->linea.percorso = coppia.linea;
  if (const documento_aperto* d = aperto_al_percorso(aperti, coppia.linea)) r.dati_linea = d->testo;
  if (!da_sola) {
    if (const documento_aperto* d = aperto_al_percorso(aperti, coppia.treno)) r.dati_treno = d->testo;
  }
  const contesto_lsp x{*cl, u, uri_di};

  auto c = std::make_unique<compilazione_autore>();
  if (const std::optional<rifiuto_compilazione> no = prepara_compilazione(r, *c)) {
    std::string file = no->con_luogo ? no->file : coppia.linea;
    if (file != cl->linea.percorso && file != cl->treno.percorso) file = coppia.linea;
    testo_compilato& t = file == cl->linea.percorso ? cl->linea : cl->treno;
    const documento_aperto* d = aperto_al_percorso(aperti, file);
    t.utf8 = d ? d->testo : std::string();
    intervallo_editor dove;
    std::string messaggio = no->messaggio;
    if (no->con_luogo) {
      dove = x.dove(t, no->luogo.riga, no->luogo.colonna, 1);
      const std::string p = file + ":" + std::to_string(no->luogo.riga) + ":" + std::to_string(no->luogo.colonna) + ": ";
      if (messaggio.compare(0, p.size(), p) == 0) messaggio.erase(0, p.size());
    }
    cl->diagnostiche.push_back(nuova(file, dove, 1, json(nullptr), messaggio));
    return cl;
  }
  cl->linea.utf8 = cp1252_a_utf8(c->linea.byte);
  if (!da_sola) cl->treno.utf8 = cp1252_a_utf8(c->treno.byte);
  std::string perche;
  if (!esegui_compilazione(*c, 1, perche)) {
    cl->diagnostiche.push_back(nuova(coppia.linea, {}, 1, json(nullptr),
                                     "the compile failed after reading the texts: " + perche));
    return cl;
  }
  cl->c = std::move(c);
  diagnostiche_della_compilazione(*cl, x);
  return cl;
}

json json_posizione(posizione_editor p) { return json{{"line", p.riga}, {"character", p.colonna}}; }

json json_intervallo(const intervallo_editor& i) {
  return json{{"start", json_posizione(i.inizio)}, {"end", json_posizione(i.fine)}};
}

const testo_compilato* testo_del_percorso(const compilazione_lsp& c, const std::string& percorso,
                                          testo_sorgente* t) {
  for (auto [testo, quale] : {std::pair{&c.linea, testo_linea}, std::pair{&c.treno, testo_treno}}) {
    if (testo->percorso.empty() || testo->percorso != percorso) continue;
    if (t) *t = quale;
    return testo;
  }
  return nullptr;
}

json diagnostiche_del_testo(const compilazione_lsp& c, const std::string& percorso) {
  json r = json::array();
  for (const diagnostica_lsp& d : c.diagnostiche) {
    if (d.percorso == percorso) r.push_back(d.voce);
  }
  return r;
}
