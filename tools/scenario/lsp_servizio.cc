#include "scenario/lsp_servizio.h"

#include <set>

#include "scenario/lsp_informazioni.h"
#include "versione.h"

namespace {

// The protocol's error codes.
constexpr int errore_lettura = -32700;
constexpr int richiesta_non_valida = -32600;
constexpr int metodo_sconosciuto = -32601;
constexpr int parametri_non_validi = -32602;
constexpr int non_inizializzato = -32002;

void invia(servizio_lsp& s, const json& j) { s.invia(testo_json(j)); }

void rispondi(servizio_lsp& s, const json& id, json risultato) {
  invia(s, json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}});
}

void rispondi_errore(servizio_lsp& s, const json& id, int codice, const std::string& messaggio) {
  invia(s, json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", messaggio}}}});
}

void notifica(servizio_lsp& s, const char* metodo, json parametri) {
  invia(s, json{{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}});
}

void registra(servizio_lsp& s, int tipo, const std::string& messaggio) {
  notifica(s, "window/logMessage", json{{"type", tipo}, {"message", messaggio}});
}

json capacita(const servizio_lsp& s) {
  return json{
      {"positionEncoding", s.unita == unita_colonna::utf_8 ? "utf-8" : "utf-16"},
      {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
      {"hoverProvider", true},
      {"documentSymbolProvider", true},
      {"completionProvider", {{"triggerCharacters", json::array({"["})}}},
      {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}},
  };
}

std::string uri_di(const servizio_lsp& s, const std::string& percorso) {
  if (const documento_aperto* d = aperto_al_percorso(s.documenti, percorso)) return d->uri;
  return uri_del_percorso(percorso);
}

// Compiles the pairs of the open texts in the folder of `percorso` and
// sends the diagnostics of both texts of each pair: an open text's with its
// version, a partner read from disk's without one. A pair is compiled once.
// A partner that is no longer one, or is closed with no open partner, has
// its diagnostics taken away.
void ricompila(servizio_lsp& s, const std::string& percorso) {
  std::map<std::pair<std::string, std::string>, std::shared_ptr<compilazione_lsp>> fatte;
  const auto uri = [&](const std::string& p) { return uri_di(s, p); };
  for (const auto& [u, d] : s.documenti) {
    if (cartella_del_percorso(d.percorso) != cartella_del_percorso(percorso)) continue;
    const coppia_testi coppia = coppia_del_file(d.percorso, s.documenti);
    if (coppia.linea.empty() && coppia.treno.empty()) continue;
    std::shared_ptr<compilazione_lsp>& c = fatte[{coppia.linea, coppia.treno}];
    if (!c) c = compila_coppia(coppia, s.documenti, s.unita, uri);
    s.compilazioni[u] = c;
    notifica(s, "textDocument/publishDiagnostics",
             json{{"uri", d.uri}, {"version", d.versione}, {"diagnostics", diagnostiche_del_testo(*c, d.percorso)}});
  }
  std::set<std::string> chiusi;
  for (const auto& [coppia, c] : fatte) {
    for (const std::string* p : {&c->linea.percorso, &c->treno.percorso}) {
      if (p->empty() || aperto_al_percorso(s.documenti, *p) || !chiusi.insert(*p).second) continue;
      notifica(s, "textDocument/publishDiagnostics",
               json{{"uri", uri_del_percorso(*p)}, {"diagnostics", diagnostiche_del_testo(*c, *p)}});
      s.partner_chiusi.insert(*p);
    }
  }
  for (auto i = s.partner_chiusi.begin(); i != s.partner_chiusi.end();) {
    if (cartella_del_percorso(*i) != cartella_del_percorso(percorso) || chiusi.count(*i)) {
      ++i;
      continue;
    }
    if (!aperto_al_percorso(s.documenti, *i)) {
      notifica(s, "textDocument/publishDiagnostics", json{{"uri", uri_del_percorso(*i)}, {"diagnostics", json::array()}});
    }
    i = s.partner_chiusi.erase(i);
  }
}

const json& richiesto(const json& j, const char* chiave) {
  if (!j.is_object() || !j.contains(chiave)) throw std::invalid_argument(std::string("missing \"") + chiave + "\"");
  return j.at(chiave);
}

posizione_editor posizione(const json& j) {
  return {richiesto(j, "line").get<int32_t>(), richiesto(j, "character").get<int32_t>()};
}

intervallo_editor intervallo(const json& j) { return {posizione(richiesto(j, "start")), posizione(richiesto(j, "end"))}; }

bool prima(posizione_editor a, posizione_editor b) {
  return a.riga < b.riga || (a.riga == b.riga && a.colonna < b.colonna);
}

documento_aperto* documento(servizio_lsp& s, const json& p) {
  const std::string uri = richiesto(richiesto(p, "textDocument"), "uri").get<std::string>();
  auto i = s.documenti.find(uri);
  return i == s.documenti.end() ? nullptr : &i->second;
}

void apri(servizio_lsp& s, const json& p) {
  const json& td = richiesto(p, "textDocument");
  const std::string uri = richiesto(td, "uri").get<std::string>();
  const std::optional<std::string> percorso = percorso_dell_uri(uri);
  if (!percorso) {
    registra(s, 3, "not a file: " + uri + "; its texts are not checked");
    return;
  }
  documento_aperto d{uri, *percorso, richiesto(td, "text").get<std::string>(), td.value("version", int64_t{0})};
  s.documenti[uri] = std::move(d);
  ricompila(s, *percorso);
}

void cambia(servizio_lsp& s, const json& p) {
  documento_aperto* d = documento(s, p);
  if (!d) {
    registra(s, 2, "a change for " + richiesto(p, "textDocument").value("uri", std::string("?")) +
                       ", which is not open, is ignored");
    return;
  }
  for (const json& c : richiesto(p, "contentChanges")) {
    if (c.contains("range")) {
      sostituisci_intervallo(d->testo, intervallo(c.at("range")), richiesto(c, "text").get<std::string>(), s.unita);
    } else {
      d->testo = richiesto(c, "text").get<std::string>();
    }
  }
  d->versione = richiesto(p, "textDocument").value("version", d->versione + 1);
  ricompila(s, d->percorso);
}

void chiudi(servizio_lsp& s, const json& p) {
  documento_aperto* d = documento(s, p);
  if (!d) return;
  const std::string uri = d->uri, percorso = d->percorso;
  s.documenti.erase(uri);
  s.compilazioni.erase(uri);
  notifica(s, "textDocument/publishDiagnostics", json{{"uri", uri}, {"diagnostics", json::array()}});
  ricompila(s, percorso);
}

json azioni(servizio_lsp& s, const json& p) {
  json r = json::array();
  documento_aperto* d = documento(s, p);
  if (!d) return r;
  auto c = s.compilazioni.find(d->uri);
  if (c == s.compilazioni.end()) return r;
  const intervallo_editor chiesto = intervallo(richiesto(p, "range"));
  for (const diagnostica_lsp& x : c->second->diagnostiche) {
    if (x.percorso != d->percorso) continue;
    // The diagnostic meets the range asked for.
    if (prima(x.dove.fine, chiesto.inizio) || prima(chiesto.fine, x.dove.inizio)) continue;
    bool primo = true;
    for (const correzione_lsp& k : x.correzioni) {
      r.push_back(json{{"title", k.titolo},
                       {"kind", "quickfix"},
                       {"diagnostics", json::array({x.voce})},
                       {"isPreferred", primo},
                       {"edit", {{"changes", {{d->uri, json::array({{{"range", json_intervallo(k.dove)},
                                                                      {"newText", k.nuovo}}})}}}}}});
      primo = false;
    }
  }
  return r;
}

// The answer to a request, or the reason it has none.
json richiesta(servizio_lsp& s, const std::string& metodo, const json& p, bool& conosciuta) {
  conosciuta = true;
  if (metodo == "shutdown") {
    s.spento = true;
    return nullptr;
  }
  if (metodo == "textDocument/hover") {
    documento_aperto* d = documento(s, p);
    auto c = d ? s.compilazioni.find(d->uri) : s.compilazioni.end();
    if (c == s.compilazioni.end()) return nullptr;
    std::optional<json> h = hover_del_campo(*c->second, d->percorso, posizione(richiesto(p, "position")), s.unita);
    return h ? *h : json(nullptr);
  }
  if (metodo == "textDocument/documentSymbol") {
    documento_aperto* d = documento(s, p);
    auto c = d ? s.compilazioni.find(d->uri) : s.compilazioni.end();
    if (c == s.compilazioni.end()) return json::array();
    return schema_del_testo(*c->second, d->percorso, s.unita);
  }
  if (metodo == "textDocument/completion") {
    documento_aperto* d = documento(s, p);
    if (!d) return json::array();
    return completamenti(d->testo, genere_del_file(d->percorso) == genere_testo::treno,
                         posizione(richiesto(p, "position")), s.unita);
  }
  if (metodo == "textDocument/codeAction") return azioni(s, p);
  conosciuta = false;
  return nullptr;
}

void inizializza(servizio_lsp& s, const json& id, const json& p) {
  // UTF-8 columns when the client offers them: no counting of UTF-16 units.
  const json codifiche = p.is_object() ? p.value("/capabilities/general/positionEncodings"_json_pointer, json::array())
                                       : json::array();
  for (const json& c : codifiche) {
    if (c == "utf-8") s.unita = unita_colonna::utf_8;
  }
  s.inizializzato = true;
  rispondi(s, id, json{{"capabilities", capacita(s)},
                       {"serverInfo", {{"name", "scenario"}, {"version", versione_progetto}}}});
}

}  // namespace

void gestisci_messaggio(servizio_lsp& s, const std::string& corpo) {
  json m;
  try {
    m = json::parse(corpo);
  } catch (const json::exception& e) {
    rispondi_errore(s, nullptr, errore_lettura, std::string("not valid JSON: ") + e.what());
    return;
  }
  const bool ha_id = m.is_object() && m.contains("id") &&
                     (m["id"].is_number_integer() || m["id"].is_string());
  if (!m.is_object() || !m.contains("method") || !m["method"].is_string() || !m.contains("jsonrpc") ||
      m["jsonrpc"] != "2.0" ||
      (m.contains("id") && !ha_id)) {
    // A response from the client (to nothing we asked) is no request either.
    rispondi_errore(s, ha_id ? m["id"] : json(nullptr), richiesta_non_valida, "not a JSON-RPC 2.0 request");
    return;
  }
  const std::string metodo = m["method"];
  const json id = ha_id ? m["id"] : json(nullptr);
  const json p = m.contains("params") ? m["params"] : json::object();
  try {
    if (metodo == "exit") {
      s.finito = true;
      return;
    }
    if (!s.inizializzato) {
      if (metodo == "initialize" && ha_id) {
        inizializza(s, id, p);
      } else if (ha_id) {
        rispondi_errore(s, id, non_inizializzato, "the server is not initialized");
      }
      return;
    }
    if (!ha_id) {
      if (metodo == "textDocument/didOpen") {
        apri(s, p);
      } else if (metodo == "textDocument/didChange") {
        cambia(s, p);
      } else if (metodo == "textDocument/didSave") {
        if (documento_aperto* d = documento(s, p)) ricompila(s, d->percorso);
      } else if (metodo == "textDocument/didClose") {
        chiudi(s, p);
      }
      // Any other notification ("initialized", "$/cancelRequest", ...) needs nothing.
      return;
    }
    if (s.spento) {
      rispondi_errore(s, id, richiesta_non_valida, "the server is shut down");
      return;
    }
    if (metodo == "initialize") {
      rispondi_errore(s, id, richiesta_non_valida, "the server is already initialized");
      return;
    }
    bool conosciuta = false;
    json r = richiesta(s, metodo, p, conosciuta);
    if (!conosciuta) {
      rispondi_errore(s, id, metodo_sconosciuto, "unknown method " + metodo);
      return;
    }
    rispondi(s, id, std::move(r));
  } catch (const std::exception& e) {
    // Parameters of the wrong shape: the request fails, the server goes on.
    if (ha_id) {
      rispondi_errore(s, id, parametri_non_validi, std::string("invalid parameters: ") + e.what());
    } else {
      registra(s, 1, metodo + ": invalid parameters: " + e.what());
    }
  }
}

int stato_di_uscita(const servizio_lsp& s) { return s.spento ? 0 : 1; }
