#include "scenario/lsp_informazioni.h"

#include <algorithm>
#include <cmath>

#include "model/modello.h"
#include "scenario/formato.h"
#include "scenario/parole_autore.h"
#include "scenario/riferimento.h"
#include "text/codifica.h"

namespace {

// The reference entry of a record read: the kind the compile read it as, in
// the text it stands in.
const record_testo* voce_del_record(const record_letto& r, testo_sorgente t) {
  const testo_di td = t == testo_linea ? testo_di::linea : testo_di::treno;
  for (const record_testo* v : record_per_campo(r.chiave.testo)) {
    if (v->testo == td) return v;
  }
  return nullptr;
}

std::string con_unita(const valore_record& v) {
  std::string s = v.nome;
  if (*v.unita) s += std::string(" (") + v.unita + ")";
  return s;
}

// The metres a cell takes: the positions p whose cell, CLng(p / 50 + 1), it is.
std::pair<int32_t, int32_t> metri_della_cella(int32_t k) {
  int32_t da = 50 * k - 80, a = 50 * k - 20;
  while (cella_della_posizione(da) != k) ++da;
  while (cella_della_posizione(a) != k) --a;
  return {da, a};
}

// The kilometre of a line position by the progressives: the figure of the
// one in force there (the largest position not past it) less the metres run
// since, the figure counting down along the line as the sign texts of the
// built-in line show.
std::optional<std::string> chilometro(const modello& m, int32_t p) {
  const punto* scelto = nullptr;
  for (int k : {progressiva_tre, progressiva_due, progressiva_uno}) {
    const punto& q = m.punti[static_cast<size_t>(k)];
    if (q.fine == 0 && q.inizio == 0) continue;
    if (q.inizio <= p && (!scelto || q.inizio > scelto->inizio)) scelto = &q;
  }
  if (!scelto) return std::nullopt;
  // The figure stored carries the direction flag's 100 m.
  const int64_t figura = static_cast<int64_t>(scelto->fine) - (scelto->posizione == 1 ? 100 : 0);
  const int64_t metri = figura - (static_cast<int64_t>(p) - scelto->inizio);
  return formato("%s%lld.%03lld", metri < 0 ? "-" : "", static_cast<long long>(std::llabs(metri) / 1000),
                 static_cast<long long>(std::llabs(metri) % 1000));
}

// The cells record r placed its object in.
std::string celle_del_record(const compilazione_autore& c, int32_t r) {
  std::string s;
  const diagnostica& d = c.traccia;
  for (size_t k = 0; k < d.origine_celle.size(); ++k) {
    if (d.origine_celle[k].record != r || d.origine_celle[k].dalla_passata) continue;
    const auto [da, a] = metri_della_cella(static_cast<int32_t>(k));
    s += "\n\nPlaced in cell " + std::to_string(k) + ", which holds " + std::to_string(da) + " to " + std::to_string(a) +
         " m of the line";
    if (auto km = chilometro(c.m, da)) s += "; km " + *km + " by the kilometre progressives";
    s += ".";
  }
  return s;
}

std::string hover_chiave(const record_letto& r, testo_sorgente t) {
  const std::string campo = cp1252_a_utf8(r.chiave.testo);
  if (campo_di_sezione(r.chiave.testo)) return "**" + campo + "**: a section header";
  const record_testo* v = voce_del_record(r, t);
  if (!v) {
    std::string s = "**" + campo + "** matches no record of the " +
                    (t == testo_linea ? "line text" : "train text") + " and is passed over";
    const std::string simile = parola_suggerita(t, r.chiave.testo);
    if (!simile.empty()) s += "; did you mean **" + cp1252_a_utf8(simile) + "**?";
    return s;
  }
  std::string s = "**" + std::string(v->nome) + "** (" + nome_testo(v->testo) + ", " + v->dove + ")\n\n" + v->diventa;
  if (!v->valori.empty()) {
    s += "\n\nValues, in order:";
    for (size_t i = 0; i < v->valori.size(); ++i) {
      s += '\n';
      s += std::to_string(i + 1);
      s += ". ";
      s += con_unita(v->valori[i]);
    }
  }
  return s;
}

std::string hover_valore(const compilazione_autore& c, const record_letto& r, testo_sorgente t, size_t n) {
  const campo_letto& f = r.valori[n];
  const record_testo* v = voce_del_record(r, t);
  std::string s;
  if (v && n < v->valori.size()) {
    const valore_record& x = v->valori[n];
    s = "**" + con_unita(x) + "** of **" + v->nome + "**: " + x.significato + "\n\nFaithful range: " + x.intervallo +
        "\n\nRead: `" + cp1252_a_utf8(f.testo) + "`";
  } else {
    std::string nome = r.generi.empty() ? std::string() : nome_del_valore(r.generi[0], static_cast<int32_t>(n));
    s = "**" + (nome.empty() ? "value " + std::to_string(n + 1) : nome) + "**\n\nRead: `" + cp1252_a_utf8(f.testo) + "`";
  }
  // A value that changes when stored has a warning at its place.
  for (const messaggio_avviso& a : c.avvisi) {
    if (a.luogo.riga == f.luogo.riga && a.luogo.colonna == f.luogo.colonna &&
        a.luogo.file == (t == testo_linea ? c.linea.percorso : c.treno.percorso)) {
      s += "\n\nStored: " + riassunto_avviso(a);
    }
  }
  return s;
}

bool nel_campo(const campo_letto& f, testo_sorgente t, int32_t riga, int32_t colonna) {
  if (f.luogo.testo != t || f.luogo.riga != riga) return false;
  const auto larghezza = std::max<int32_t>(static_cast<int32_t>(f.testo.size()), 1);
  return colonna >= f.luogo.colonna && colonna <= f.luogo.colonna + larghezza;
}

// The position a record is placed at, by its first value.
std::string posizione_del_record(const record_letto& r) {
  return r.valori.empty() ? std::string() : cp1252_a_utf8(r.valori[0].testo) + " m";
}

}  // namespace

std::optional<json> hover_del_campo(const compilazione_lsp& c, const std::string& percorso, posizione_editor p,
                                    unita_colonna u) {
  testo_sorgente t = nessun_testo;
  const testo_compilato* testo = testo_del_percorso(c, percorso, &t);
  if (!testo || !c.c) return std::nullopt;
  int32_t riga = 0, colonna = 0;
  carattere_della_posizione(testo->utf8, p, u, riga, colonna);
  const diagnostica& d = c.c->traccia;
  for (size_t i = 0; i < d.record.size(); ++i) {
    const record_letto& r = d.record[i];
    const auto ri = static_cast<int32_t>(i);
    const campo_letto* f = nullptr;
    std::string s;
    if (nel_campo(r.chiave, t, riga, colonna)) {
      f = &r.chiave;
      s = hover_chiave(r, t) + celle_del_record(*c.c, ri);
    } else {
      for (size_t n = 0; n < r.valori.size() && !f; ++n) {
        if (!nel_campo(r.valori[n], t, riga, colonna)) continue;
        f = &r.valori[n];
        s = hover_valore(*c.c, r, t, n);
        if (n == 0) s += celle_del_record(*c.c, ri);
      }
    }
    if (!f) continue;
    const posizione_editor a = posizione_del_carattere(testo->utf8, f->luogo.riga, f->luogo.colonna, u);
    const posizione_editor b = posizione_del_carattere(
        testo->utf8, f->luogo.riga, f->luogo.colonna + static_cast<int32_t>(f->testo.size()), u);
    return json{{"contents", {{"kind", "markdown"}, {"value", s}}}, {"range", json_intervallo({a, b})}};
  }
  return std::nullopt;
}

json schema_del_testo(const compilazione_lsp& c, const std::string& percorso, unita_colonna u) {
  json sezioni = json::array();
  testo_sorgente t = nessun_testo;
  const testo_compilato* testo = testo_del_percorso(c, percorso, &t);
  if (!testo || !c.c) return sezioni;
  struct genere_schema {
    const char* genere;
    int simbolo;  // the protocol's SymbolKind
  };
  static const genere_schema generi[] = {
      {"stazione", 5}, {"segnale", 24}, {"rallentamento", 14}, {"velocita", 16},
      {"curva", 12},   {"cartello_indicatore", 15}, {"indicatori_vmax", 15},
  };
  auto fine_record = [&](const record_letto& r) {
    const campo_letto& ultimo = r.valori.empty() ? r.chiave : r.valori.back();
    if (ultimo.luogo.riga != r.chiave.luogo.riga) {
      return posizione_del_carattere(testo->utf8, r.chiave.luogo.riga, 1 << 30, u);
    }
    return posizione_del_carattere(testo->utf8, ultimo.luogo.riga,
                                   ultimo.luogo.colonna + static_cast<int32_t>(ultimo.testo.size()), u);
  };
  json* sezione = nullptr;
  for (const record_letto& r : c.c->traccia.record) {
    if (r.chiave.luogo.testo != t || r.chiave.luogo.riga <= 0) continue;
    const posizione_editor a = posizione_del_carattere(testo->utf8, r.chiave.luogo.riga, r.chiave.luogo.colonna, u);
    const posizione_editor chiave_fine = posizione_del_carattere(
        testo->utf8, r.chiave.luogo.riga, r.chiave.luogo.colonna + static_cast<int32_t>(r.chiave.testo.size()), u);
    if (campo_di_sezione(r.chiave.testo) && r.generi.empty()) {
      sezioni.push_back(json{{"name", cp1252_a_utf8(r.chiave.testo)},
                             {"kind", 3},
                             {"range", json_intervallo({a, chiave_fine})},
                             {"selectionRange", json_intervallo({a, chiave_fine})},
                             {"children", json::array()}});
      sezione = &sezioni.back();
      continue;
    }
    const genere_schema* g = nullptr;
    for (const genere_schema& x : generi) {
      if (letto_come(r, x.genere)) g = &x;
    }
    if (!g) continue;
    std::string nome = cp1252_a_utf8(r.chiave.testo);
    // A station by its name, a sign by its text.
    const std::string genere = g->genere;
    if ((genere == "stazione" || genere == "cartello_indicatore") && r.valori.size() > 1) {
      nome = cp1252_a_utf8(r.valori.back().testo);
    }
    const posizione_editor b = fine_record(r);
    json simbolo{{"name", nome.empty() ? std::string(g->genere) : nome},
                 {"detail", std::string(g->genere) + (r.valori.empty() ? "" : " at " + posizione_del_record(r))},
                 {"kind", g->simbolo},
                 {"range", json_intervallo({a, b})},
                 {"selectionRange", json_intervallo({a, chiave_fine})}};
    if (sezione) {
      (*sezione)["children"].push_back(std::move(simbolo));
      // A section reaches to its last record.
      (*sezione)["range"]["end"] = json_posizione(b);
    } else {
      sezioni.push_back(std::move(simbolo));
    }
  }
  return sezioni;
}

json completamenti(const std::string& testo, bool treno, posizione_editor p, unita_colonna u) {
  json voci = json::array();
  // Only the record's first field takes a keyword: nothing but the word
  // being typed before the cursor on its line.
  const size_t fino = offset_della_posizione(testo, p, u);
  const size_t inizio = offset_della_posizione(testo, {p.riga, 0}, u);
  size_t parola = inizio;
  for (size_t i = inizio; i < fino; ++i) {
    if (testo[i] == ',') return voci;
    if (testo[i] == ' ' || testo[i] == '\t') parola = i + 1;
  }
  // Each item replaces what was typed of the field, "[" included.
  const json dove = json_intervallo({posizione_dell_offset(testo, parola, u), p});
  auto segnaposto = [](std::string s) {
    std::string out;
    for (char c : s) {
      if (c == '$' || c == '}' || c == '\\') out += '\\';
      out += c;
    }
    return out;
  };
  const testo_di t = treno ? testo_di::treno : testo_di::linea;
  for (const record_testo& r : record_dei_testi()) {
    if (r.testo != t) continue;
    std::string snippet = segnaposto(r.nome);
    for (size_t i = 0; i < r.valori.size(); ++i) {
      snippet += ", ${" + std::to_string(i + 1) + ":" + segnaposto(r.valori[i].nome) + "}";
    }
    std::string dettaglio;
    for (const valore_record& v : r.valori) dettaglio += (dettaglio.empty() ? "" : ", ") + con_unita(v);
    voci.push_back(json{{"label", r.nome},
                        {"kind", 14},
                        {"detail", dettaglio},
                        {"documentation", r.diventa},
                        {"insertTextFormat", 2},
                        {"textEdit", {{"range", dove}, {"newText", snippet}}}});
  }
  for (const intestazione_sezione& s : intestazioni_sezioni()) {
    if (s.testo != t) continue;
    const std::string h = "[" + std::string(s.nome) + "]";
    voci.push_back(json{{"label", h},
                        {"kind", 14},
                        {"detail", "section header"},
                        {"insertTextFormat", 1},
                        {"textEdit", {{"range", dove}, {"newText", h}}}});
  }
  return voci;
}
