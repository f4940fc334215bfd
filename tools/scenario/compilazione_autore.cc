#include "scenario/compilazione_autore.h"

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "core/file_binari.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "scenario/avvisi_danni.h"
#include "scenario/json.h"
#include "scenario/percorsi.h"
#include "scenario/sostituzione_insieme.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

// A source text larger than this is not a source text.
constexpr uintmax_t testo_massimo = 64u << 20;

// The whole of a source text, or why it cannot be read. A pipe or a device
// is read too, up to the size a text may have.
std::optional<std::string> leggi_sorgente(const std::string& percorso, std::string& perche) {
  const fs::path p = percorso_utf8(percorso);
  const std::string troppo = "cannot read " + percorso + ": larger than " +
                             std::to_string(testo_massimo >> 20) + " MiB, too large for a source text";
  std::error_code ec;
  const fs::file_status s = fs::status(p, ec);
  if (fs::is_directory(s)) {
    perche = "cannot read " + percorso + ": it is a folder";
    return std::nullopt;
  }
  if (fs::is_regular_file(s) && fs::file_size(p, ec) > testo_massimo && !ec) {
    perche = troppo;
    return std::nullopt;
  }
  std::string dati;
  int numero = 0;
  switch (leggi_file_intero(p, testo_massimo, dati, numero)) {
    case esito_lettura::letto:
      return dati;
    case esito_lettura::troppo_grande:
      perche = troppo;
      return std::nullopt;
    default:
      perche = "cannot read " + percorso + ": " + std::strerror(numero);
      return std::nullopt;
  }
}

std::string punto_u(uint32_t cp) {
  char b[16];
  std::snprintf(b, sizeof b, "U+%04X", static_cast<unsigned>(cp));
  return b;
}

std::string nome_leggibile(codifica_letta c) {
  switch (c) {
    case codifica_letta::utf_8:
      return "UTF-8";
    case codifica_letta::utf_16_le:
      return "UTF-16 (little-endian)";
    case codifica_letta::utf_16_be:
      return "UTF-16 (big-endian)";
    default:
      return "Windows-1252";
  }
}

// Why a text could not become Windows-1252, at its place.
std::string testo_errore_codifica(const std::string& percorso, const testo_codificato& t) {
  const errore_codifica& e = *t.errore;
  std::string s = percorso + ":" + std::to_string(e.luogo.riga) + ":" + std::to_string(e.luogo.colonna) + ": error: ";
  if (e.punto_codice != 0 || !e.carattere.empty()) {
    std::string mostrato = e.punto_codice < 0x20 ? std::string() : "\"" + e.carattere + "\" ";
    return s + "the character " + mostrato + "(" + punto_u(e.punto_codice) +
           ") has no Windows-1252 byte, and the simulator reads Windows-1252 texts: write it with a character "
           "Windows-1252 holds (the text was read as " + nome_leggibile(t.codifica) + ")";
  }
  s += "the text is not valid " + nome_leggibile(t.codifica) + ": " + e.perche;
  if (t.codifica == codifica_letta::utf_8 && !t.con_marca) s += "; give --encoding windows-1252 for a Windows-1252 text";
  return s;
}

// The order of a place in the texts: the line text, then the train text,
// then what has no place.
std::tuple<int, int32_t, int32_t> ordine(const luogo_messaggio& l, const compilazione_autore& c) {
  const int testo = l.file == c.linea.percorso ? 0 : l.file == c.treno.percorso ? 1 : 2;
  return {testo, l.riga, l.colonna};
}

// A place as the three keys file, line and column, each null when not known.
void metti_luogo(json& j, const luogo_messaggio& l) {
  j["file"] = l.file.empty() ? json(nullptr) : json(l.file);
  j["line"] = l.riga > 0 ? json(l.riga) : json(nullptr);
  j["column"] = l.riga > 0 ? json(l.colonna) : json(nullptr);
}

json json_note(const std::vector<nota_messaggio>& note) {
  json j = json::array();
  for (const nota_messaggio& n : note) {
    json v;
    metti_luogo(v, n.luogo);
    v["message"] = n.testo;
    j.push_back(std::move(v));
  }
  return j;
}

json json_codifica(const testo_autore& t, const lettura_testo& l) {
  json j;
  j["file"] = t.percorso;
  j["encoding"] = nome_codifica(l.codifica);
  j["mark"] = l.con_marca;
  j["converted"] = l.codifica != codifica_letta::windows_1252;
  return j;
}

}  // namespace

std::optional<rifiuto_compilazione> prepara_compilazione(const richiesta_compilazione& r, compilazione_autore& c) {
  c.linea = {r.percorso_linea, {}};
  c.treno = {r.percorso_treno, {}};
  const std::string perche_nomi = deriva_nomi(r.percorso_linea, r.percorso_treno, r.scenario, r.codice_treno, c.nomi);
  if (!perche_nomi.empty()) return rifiuto_compilazione{true, perche_nomi, false, {}, {}};

  // Both texts are read, and converted, before anything else happens.
  for (auto [t, l, dati] : {std::tuple{&c.linea, &c.letta_linea, &r.dati_linea},
                            std::tuple{&c.treno, &c.letta_treno, &r.dati_treno}}) {
    std::string perche;
    std::optional<std::string> byte = *dati ? *dati : leggi_sorgente(t->percorso, perche);
    if (!byte) return rifiuto_compilazione{false, perche, false, {}, {}};
    testo_codificato letto = leggi_codifica(*byte, *dati ? r.codifica_dati : r.codifica);
    if (letto.errore) {
      return rifiuto_compilazione{false, testo_errore_codifica(t->percorso, letto), true, t->percorso,
                                  letto.errore->luogo};
    }
    t->byte = std::move(letto.byte);
    *l = {letto.codifica, letto.con_marca};
  }
  c.m.nome_scenario = c.nomi.nome_scenario;
  c.m.codice_treno = c.nomi.codice_treno;
  return std::nullopt;
}

bool esegui_compilazione(compilazione_autore& c, int32_t genera_linea, std::string& perche) {
  c.memoria.file[nome_testo_linea(c.m)] = c.linea.byte;
  c.memoria.file[nome_testo_treno(c.m)] = c.treno.byte;
  c.m.traccia = &c.traccia;
  try {
    c.esito = compila_percorso(c.m, c.memoria, genera_linea);
  } catch (const errore_esecuzione& e) {
    c.m.traccia = nullptr;
    perche = e.what();
    return false;
  }
  c.m.traccia = nullptr;
  c.errore = messaggio_dell_errore(c.m, c.traccia, c.esito, c.linea, c.treno);
  c.avvisi = avvisi_della_compilazione(c.traccia, c.linea, c.treno);
  std::vector<messaggio_avviso> danni = avvisi_dei_danni(c.m, c.traccia, c.linea, c.treno);
  // A field that a warning of its own explains ("# ...", a third "-- ...")
  // needs no second one saying that it matched nothing.
  std::erase_if(c.avvisi, [&](const messaggio_avviso& a) {
    return a.genere == &avviso_record_sconosciuto &&
           std::any_of(danni.begin(), danni.end(), [&](const messaggio_avviso& b) {
             return b.luogo.file == a.luogo.file && b.luogo.riga == a.luogo.riga && b.luogo.colonna == a.luogo.colonna;
           });
  });
  c.avvisi.insert(c.avvisi.end(), std::make_move_iterator(danni.begin()), std::make_move_iterator(danni.end()));
  return true;
}

bool file_da_scrivere(const compilazione_autore& c) { return c.esito.errore == 0; }

std::string sostituisci_file_compilazione(const compilazione_autore& c, const archivio_disco& disco,
                                          std::vector<std::string>& scritti) {
  scritti.clear();
  if (!file_da_scrivere(c)) return {};
  std::vector<std::string> nomi;
  std::vector<file_insieme> insieme;
  try {
    for (file_binario& f : file_binari(c.m)) {
      nomi.push_back(f.nome);
      insieme.push_back({std::move(f.nome), std::move(f.produci)});
    }
    const std::string perche = sostituisci_insieme(disco, insieme);
    if (!perche.empty()) return perche;
  } catch (const errore_esecuzione& e) {
    return e.what();
  }
  scritti = std::move(nomi);
  return {};
}

bool con_errore(const compilazione_autore& c) { return c.m.numero_errore != 0 || c.esito.errore != 0; }

std::optional<std::string> nota_codifica(const lettura_testo& l) {
  if (l.codifica == codifica_letta::windows_1252) return std::nullopt;
  return "read as " + nome_leggibile(l.codifica) + (l.con_marca ? " (it has a byte-order mark)" : "") +
         " and converted to Windows-1252, the encoding the simulator reads";
}

void stampa_diagnostiche(const compilazione_autore& c, std::ostream& err) {
  if (auto n = nota_codifica(c.letta_linea)) err << c.linea.percorso << ": note: " << *n << "\n";
  if (auto n = nota_codifica(c.letta_treno)) err << c.treno.percorso << ": note: " << *n << "\n";
  std::vector<std::pair<std::tuple<int, int32_t, int32_t>, std::string>> voci;
  for (const messaggio_avviso& a : c.avvisi) voci.push_back({ordine(a.luogo, c), testo_avviso_autore(a)});
  if (c.errore.codice != 0) voci.push_back({ordine(c.errore.luogo, c), testo_errore_autore(c.errore)});
  std::stable_sort(voci.begin(), voci.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& v : voci) err << v.second;
}

std::string risultato_json(const compilazione_autore& c, bool con_file, const std::vector<std::string>& scritti) {
  const modello& m = c.m;
  json j;
  j["numero_errore"] = m.numero_errore;
  j["posizione_errore"] = m.posizione_errore;
  j["errore"] = c.esito.errore == 0 ? json(nullptr) : json(std::to_string(c.esito.errore));
  metti_luogo(j, c.errore.luogo);
  j["message"] = c.errore.codice != 0 ? json(riassunto_errore(c.errore)) : json(nullptr);
  j["notes"] = json_note(c.errore.note);
  if (con_file) {
    j["files"] = json::array();
    for (const std::string& f : scritti) j["files"].push_back(cp1252_a_utf8(f));
    j["kept"] = scritti.empty();
  }
  j["warnings"] = json::array();
  for (const messaggio_avviso& a : c.avvisi) {
    json w;
    metti_luogo(w, a.luogo);
    w["message"] = riassunto_avviso(a);
    w["code"] = a.genere->codice;
    w["notes"] = json_note(a.note);
    j["warnings"].push_back(std::move(w));
  }
  j["encodings"] = json::array({json_codifica(c.linea, c.letta_linea), json_codifica(c.treno, c.letta_treno)});
  return testo_json(j) + "\n";
}
