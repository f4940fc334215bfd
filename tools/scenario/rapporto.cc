#include "scenario/rapporto.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "model/conversioni.h"
#include "model/errore_esecuzione.h"
#include "model/errori.h"
#include "text/codifica.h"
#include "text/lettore_campi.h"

namespace {

// A kind by its name, or by its code when it has none.
std::string nome_tipo_o_codice(uint8_t tipo) {
  const char* nome = nome_tipo_cella(tipo);
  return nome ? nome : "object of kind " + std::to_string(tipo);
}

bool fine_riga(char c) { return c == '\r' || c == '\n'; }

const testo_autore* testo_di(testo_sorgente t, const testo_autore& linea, const testo_autore& treno) {
  if (t == testo_linea) return &linea;
  if (t == testo_treno) return &treno;
  return nullptr;
}

// The offset of the first byte of line `riga` (from 1), or nothing.
std::optional<size_t> inizio_riga(std::string_view testo, int32_t riga) {
  size_t p = 0;
  for (int32_t r = 1; r < riga; ++r) {
    while (p < testo.size() && !fine_riga(testo[p])) ++p;
    if (p >= testo.size()) return std::nullopt;
    if (testo[p] == '\r' && p + 1 < testo.size() && testo[p + 1] == '\n') ++p;
    ++p;
  }
  return p;
}

luogo_messaggio luogo_in(const testo_autore& t, int32_t riga, int32_t colonna) {
  luogo_messaggio l;
  l.file = t.percorso;
  l.riga = riga;
  l.colonna = colonna;
  if (riga > 0) l.sorgente = std::string(lettore_campi(t.byte).riga_del_testo(riga));
  return l;
}

std::optional<luogo_messaggio> luogo_di(const luogo_sorgente& s, const testo_autore& linea,
                                        const testo_autore& treno) {
  const testo_autore* t = testo_di(s.testo, linea, treno);
  if (!t || s.riga <= 0) return std::nullopt;
  return luogo_in(*t, s.riga, s.colonna);
}

// The place of the n-th value (from 1) of the record whose keyword field
// stands at `record`, read as the compile reads numbers.
std::optional<luogo_sorgente> valore_del_record(const luogo_sorgente& record, int n,
                                                const testo_autore& linea, const testo_autore& treno) {
  const testo_autore* t = testo_di(record.testo, linea, treno);
  if (!t || record.riga <= 0 || record.colonna <= 0) return std::nullopt;
  const std::optional<size_t> riga = inizio_riga(t->byte, record.riga);
  if (!riga) return std::nullopt;
  const size_t inizio = *riga + static_cast<size_t>(record.colonna - 1);
  if (inizio > t->byte.size()) return std::nullopt;
  try {
    lettore_campi l(std::string_view(t->byte).substr(inizio));
    l.leggi_testo();
    for (int i = 0; i < n; ++i) l.leggi_numero();
    const luogo_testo v = l.luogo();
    const int32_t colonna = v.riga == 1 ? record.colonna - 1 + v.colonna : v.colonna;
    return luogo_sorgente{record.testo, record.riga + v.riga - 1, colonna};
  } catch (const errore_esecuzione&) {
    return std::nullopt;
  }
}

// The n-th value (from 1) of the record whose keyword field stands at `record`.
std::optional<int32_t> numero_del_record(const luogo_sorgente& record, int n, const testo_autore& linea,
                                         const testo_autore& treno) {
  const std::optional<luogo_sorgente> v = valore_del_record(record, n, linea, treno);
  const testo_autore* t = testo_di(record.testo, linea, treno);
  if (!v || !t) return std::nullopt;
  const std::optional<size_t> r = inizio_riga(t->byte, v->riga);
  if (!r) return std::nullopt;
  const size_t inizio = *r + static_cast<size_t>(v->colonna - 1);
  if (inizio > t->byte.size()) return std::nullopt;
  try {
    lettore_campi l(std::string_view(t->byte).substr(inizio));
    return l.leggi_long();
  } catch (const errore_esecuzione&) {
    return std::nullopt;
  }
}

// The keyword field of a record, as read.
std::string chiave_del_record(const luogo_sorgente& record, const testo_autore& linea, const testo_autore& treno) {
  const testo_autore* t = testo_di(record.testo, linea, treno);
  if (!t || record.riga <= 0 || record.colonna <= 0) return {};
  const std::optional<size_t> r = inizio_riga(t->byte, record.riga);
  if (!r || *r + static_cast<size_t>(record.colonna - 1) > t->byte.size()) return {};
  lettore_campi l(std::string_view(t->byte).substr(*r + static_cast<size_t>(record.colonna - 1)));
  return l.fine() ? std::string() : l.leggi_testo();
}

// A signal or slowdown of the train text stopped with 15 although it lies on
// the grid: the 15 is the line text's, and the train text stops at its first
// signal or slowdown after one.
bool quindici_della_linea(const modello& m, const diagnostica& d, const testo_autore& linea,
                          const testo_autore& treno) {
  if (d.record_errore.testo != testo_treno || !m.griglia_presente()) return false;
  const std::string chiave = chiave_del_record(d.record_errore, linea, treno);
  const bool segnale_record = contiene_senza_maiuscole(chiave, "segnale");
  const bool rallentamento_record = contiene_senza_maiuscole(chiave, "rallentamento");
  if (!segnale_record && !rallentamento_record) return false;
  const std::optional<int32_t> p = numero_del_record(d.record_errore, 1, linea, treno);
  if (!p || *p != m.posizione_errore || (static_cast<double>(*p) + 100) / 50.0 > m.numero_celle) return false;
  if (rallentamento_record) {
    const std::optional<int32_t> l = numero_del_record(d.record_errore, 3, linea, treno);
    if (!l) return false;
    const double fine = (static_cast<double>(*p) + *l) / 50.0 + 1;
    if (fine < -0.5 || fine > m.numero_celle + 0.5) return false;
  }
  return true;
}

// The first line of the general section of the line text that gives a
// kilometre progressive a position or figure that is not a multiple of 50.
std::optional<luogo_sorgente> progressiva_fuori_passo(std::string_view testo) {
  bool nel_generale = false;
  size_t p = 0;
  for (int32_t riga = 1; p <= testo.size(); ++riga) {
    size_t q = p;
    while (q < testo.size() && !fine_riga(testo[q])) ++q;
    lettore_campi l(testo.substr(p, q - p));
    if (!l.fine()) {
      const std::string chiave = l.leggi_testo();
      if (!nel_generale) {
        nel_generale = contiene_senza_maiuscole(chiave, "[generale]");
      } else if (contiene(chiave, "[") && contiene(chiave, "]") && chiave[0] != '-') {
        return std::nullopt;
      } else if (contiene(chiave, "progressiva") &&
                 (contiene(chiave, "uno") || contiene(chiave, "due") || contiene(chiave, "tre"))) {
        try {
          for (int i = 0; i < 2; ++i) {
            if (l.leggi_numero() % 50 != 0) return luogo_sorgente{testo_linea, riga, l.luogo().colonna};
          }
        } catch (const errore_esecuzione&) {
          // Not the line that failed: the compile read it.
        }
      }
    }
    if (q >= testo.size()) break;
    p = q + ((testo[q] == '\r' && q + 1 < testo.size() && testo[q + 1] == '\n') ? 2 : 1);
  }
  return std::nullopt;
}

// The text whose records place objects of a kind: the line's signs, boards
// and mountain fill, the train's everything else.
testo_sorgente testo_del_tipo(uint8_t tipo) {
  return (tipo == cartello || tipo == indicatore_v_max || tipo == riempimento_montagna) ? testo_linea
                                                                                        : testo_treno;
}

// Where the record that placed the object of cell k stands, when the trace
// knows it and it is that object's own record.
std::optional<luogo_sorgente> origine(const modello& m, const diagnostica& d, int64_t k) {
  if (k < 0 || static_cast<size_t>(k) >= d.origine_celle.size() || static_cast<size_t>(k) >= m.celle.size()) {
    return std::nullopt;
  }
  const luogo_sorgente& o = d.origine_celle[static_cast<size_t>(k)];
  if (o.testo == nessun_testo || o.riga <= 0) return std::nullopt;
  // A marker of the finishing pass has no record; the cell may still carry
  // the origin of what stood there before.
  if (o.testo != testo_del_tipo(m.celle[static_cast<size_t>(k)].tipo)) return std::nullopt;
  return o;
}

std::string con_articolo(uint8_t tipo) {
  const std::string nome = nome_tipo_o_codice(tipo);
  const bool vocale = std::string_view("aeiou").find(nome[0]) != std::string_view::npos;
  return (vocale ? "an " : "a ") + nome;
}

// The cell a refused placement found occupied, from the code and the
// record's values; nothing when it cannot be told.
std::optional<int32_t> cella_occupata(const modello& m, const diagnostica& d, int32_t codice,
                                      const testo_autore& linea, const testo_autore& treno) {
  const int32_t p = m.posizione_errore;
  try {
    switch (codice) {
      case 6:
      case 16:
      case 18:
      case 21:
        return cella_della_posizione(p);
      case 7:
        return CLng(p / 50.0);
      case 17:
        return cella_della_posizione(differenza(p, 1200));
      case 19: {
        // The end cell lies l metres on: the third value of the record.
        const std::optional<int32_t> l = numero_del_record(d.record_errore, 3, linea, treno);
        if (!l) return std::nullopt;
        return cella_della_posizione(somma(p, *l));
      }
      case 20: {
        // The first of the four board cells before the warning cell that is not free.
        const int32_t w = cella_della_posizione(differenza(p, 1200));
        for (int32_t i = 1; i <= 4; ++i) {
          const int64_t k = static_cast<int64_t>(w) - i;
          if (k >= 0 && static_cast<size_t>(k) < m.celle.size() && !libera(m.celle[static_cast<size_t>(k)])) {
            return static_cast<int32_t>(k);
          }
        }
        return std::nullopt;
      }
      default:
        return std::nullopt;
    }
  } catch (const errore_esecuzione&) {
    return std::nullopt;
  }
}

std::string luogo_breve(const luogo_sorgente& s, const testo_autore& linea, const testo_autore& treno) {
  const testo_autore* t = testo_di(s.testo, linea, treno);
  return t ? t->percorso + ":" + std::to_string(s.riga) : std::string();
}

// "line 12, column 5: " opens the reader's own words; the message's place says it already.
std::string senza_luogo(const std::string& s) {
  const std::string_view v(s);
  size_t i = 0;
  auto parola = [&](std::string_view w) {
    if (v.substr(i, w.size()) != w) return false;
    i += w.size();
    return true;
  };
  auto cifre = [&] {
    const size_t da = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
    return i > da;
  };
  if (parola("line ") && cifre() && parola(", column ") && cifre() && parola(": ")) return s.substr(i);
  return s;
}

// A line of a text, shown: Windows-1252 to UTF-8, control characters as '?'
// so that the caret below keeps its column.
std::string riga_mostrata(std::string_view riga) {
  std::string out;
  for (char c : riga) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\t') {
      out += c;
    } else if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
      out += '?';
    } else {
      out += cp1252_a_utf8(std::string_view(&c, 1));
    }
  }
  return out;
}

std::string cursore(std::string_view riga, int32_t colonna) {
  std::string out;
  const size_t fino = std::min(riga.size(), static_cast<size_t>(colonna > 1 ? colonna - 1 : 0));
  for (size_t i = 0; i < fino; ++i) out += riga[i] == '\t' ? '\t' : ' ';
  return out + "^";
}

std::string prefisso(const luogo_messaggio& l) {
  if (l.file.empty()) return "scenario: ";
  if (l.riga <= 0) return l.file + ": ";
  return l.file + ":" + std::to_string(l.riga) + ":" + std::to_string(l.colonna) + ": ";
}

std::string sorgente_con_cursore(const luogo_messaggio& l) {
  if (l.riga <= 0 || l.sorgente.empty()) return {};
  return riga_mostrata(l.sorgente) + "\n" + cursore(l.sorgente, l.colonna) + "\n";
}

// Windows-1252 text shown on one line, in UTF-8: control characters as \xNN
// and, when `virgolette`, the quote and the backslash escaped.
std::string testo_mostrato(std::string_view testo, bool virgolette) {
  std::string out;
  for (char c : testo) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      const char* cifre = "0123456789abcdef";
      out += "\\x";
      out += cifre[b >> 4];
      out += cifre[b & 15];
    } else if (virgolette && (c == '"' || c == '\\')) {
      out += '\\';
      out += c;
    } else {
      out += cp1252_a_utf8(std::string_view(&c, 1));
    }
  }
  return out;
}

}  // namespace


messaggio_errore errore_della_compilazione(const modello& m, const diagnostica& d,
                                           const esito_compilazione& esito,
                                           const testo_autore& linea, const testo_autore& treno) {
  messaggio_errore e;
  e.codice = m.numero_errore;
  if (!esito.errore.empty()) {
    try {
      e.codice = std::stoi(esito.errore);
    } catch (const std::exception&) {
      e.codice = -1;
    }
  }
  if (e.codice == 0) return e;
  e.descrizione = esito.errore.empty() || e.codice != -1 ? descrizione_errore(e.codice) : esito.errore;

  auto punta = [&](const std::optional<luogo_sorgente>& s) {
    if (!s) return false;
    std::optional<luogo_messaggio> l = luogo_di(*s, linea, treno);
    if (!l) return false;
    e.luogo = *l;
    return true;
  };

  // A taken slot of the binary files. The cell file keeps its mark and its
  // integrity code in cell 1, so an object there is the likely cause.
  if (e.codice != m.numero_errore) {
    if ((e.codice == 1250 || e.codice == 1251) && m.celle.size() > 1 && m.celle[1].tipo != vuota) {
      punta(origine(m, d, 1));
      e.note.push_back(std::string("cell 1 holds ") + con_articolo(m.celle[1].tipo) + ", and the cell file keeps its " +
                       (e.codice == 1250 ? "mark" : "integrity code") + " in that cell");
    }
    if (m.numero_errore != 0) {
      std::string nota = "the texts had also recorded error " + std::to_string(m.numero_errore);
      const voce_errore* v = cerca_errore(m.numero_errore);
      if (v && v->ha_posizione) nota += " at " + std::to_string(m.posizione_errore) + " m";
      e.note.push_back(nota + ": " + descrizione_errore(m.numero_errore));
    }
    return e;
  }
  const voce_errore* voce = cerca_errore(e.codice);
  e.con_posizione = voce && voce->ha_posizione;
  e.posizione = m.posizione_errore;

  auto valore = [&](int n) { return punta(valore_del_record(d.record_errore, n, linea, treno)); };
  auto record = [&] { return punta(d.record_errore); };
  auto campo = [&] { return punta(d.campo_errore); };

  switch (e.codice) {
    case 11:
    case 12:
    case 13: {
      // The finishing pass works on cells, after both texts: the cell's own
      // record is the best place to show.
      const int32_t k = m.posizione_errore / 50;
      punta(origine(m, d, k));
      std::string nota = "at cell " + std::to_string(k);
      if (k >= 0 && static_cast<size_t>(k) < m.celle.size() && m.celle[static_cast<size_t>(k)].tipo != vuota) {
        nota += ", which holds " + con_articolo(m.celle[static_cast<size_t>(k)].tipo);
      }
      e.note.push_back(nota);
      return e;
    }
    case 2:
      if (punta(progressiva_fuori_passo(linea.byte))) {
        e.note.push_back("kilometre progressives are checked once both texts are read");
      } else {
        e.luogo.file = linea.percorso;
      }
      return e;
    case 101:
    case 102:
      e.luogo.file = linea.percorso;
      return e;
    case 1:
    case 25:
      campo() || record();
      break;
    case 3:
      valore(1) || campo() || record();
      break;
    case 4:
      valore(2) || campo() || record();
      break;
    case 9:
      valore(3) || campo() || record();
      break;
    case 5:
    case 10:
    case 24:
    case 103:
      record();
      break;
    case 26:
      if (record()) {
        e.note.push_back("the general section ends here without one");
      } else {
        e.luogo.file = linea.percorso;
      }
      break;
    default:
      if (e.con_posizione) {
        valore(1) || campo() || record();
      } else {
        record();
      }
  }

  if (e.codice == 15 && quindici_della_linea(m, d, linea, treno)) {
    e.note.push_back("this record lies on the grid: a record of the line text beyond the grid left error 15, "
                     "and the train text stops at its first signal or slowdown after that");
  }
  if (e.codice == 25 && !d.messaggio_errore.empty()) {
    e.note.push_back(testo_mostrato(senza_luogo(d.messaggio_errore), false));
  }
  if (const std::optional<int32_t> k = cella_occupata(m, d, e.codice, linea, treno)) {
    if (*k >= 0 && static_cast<size_t>(*k) < m.celle.size() && !libera(m.celle[static_cast<size_t>(*k)])) {
      std::string nota = "cell " + std::to_string(*k) + " already holds " +
                         con_articolo(m.celle[static_cast<size_t>(*k)].tipo);
      if (const std::optional<luogo_sorgente> o = origine(m, d, *k)) {
        nota += ", placed by " + luogo_breve(*o, linea, treno);
      }
      e.note.push_back(nota);
    }
  }
  return e;
}

std::vector<messaggio_avviso> avvisi_della_compilazione(const diagnostica& d, const testo_autore& linea,
                                                        const testo_autore& treno) {
  std::vector<messaggio_avviso> avvisi;
  for (const avviso_campo& a : d.avvisi) {
    messaggio_avviso m;
    if (std::optional<luogo_messaggio> l = luogo_di(a.luogo, linea, treno)) m.luogo = *l;
    else if (const testo_autore* t = testo_di(a.luogo.testo, linea, treno)) m.luogo.file = t->percorso;
    m.campo = a.campo;
    avvisi.push_back(std::move(m));
  }
  return avvisi;
}

std::string riassunto_errore(const messaggio_errore& e) {
  std::string s = e.descrizione;
  for (const std::string& n : e.note) s += "; " + n;
  return s;
}

std::string riassunto_avviso(const messaggio_avviso& a) {
  std::string s = "\"";
  s += cp1252_a_utf8(a.campo);
  return s + "\" matches no record and is passed over";
}

std::string testo_errore_autore(const messaggio_errore& e) {
  if (e.codice == 0) return {};
  std::string s = prefisso(e.luogo) + "error " + std::to_string(e.codice);
  if (e.con_posizione) s += " at " + std::to_string(e.posizione) + " m";
  s += ": " + e.descrizione + "\n";
  s += sorgente_con_cursore(e.luogo);
  for (const std::string& n : e.note) s += "note: " + n + "\n";
  return s;
}

std::string testo_avviso_autore(const messaggio_avviso& a) {
  return prefisso(a.luogo) + "warning: \"" + testo_mostrato(a.campo, true) +
         "\" matches no record and is passed over\n";
}
