#include "scenario/rapporto.h"

#include <algorithm>
#include <string_view>

#include "model/errori.h"
#include "scenario/avvisi_danni.h"
#include "scenario/parole_autore.h"
#include "text/codifica.h"

const genere_avviso avviso_record_sconosciuto = {
    "record_sconosciuto", "a field in keyword position matches no record and is passed over, with the value "
                          "fields after it on its line"};

const std::vector<const genere_avviso*>& generi_avviso() {
  static const std::vector<const genere_avviso*> tutti = {
      &avviso_record_sconosciuto,
      // What compiles without an error but not as written (avvisi_danni.h).
      &avviso_pendenza_fuori_campo,      &avviso_aderenza_fuori_campo,   &avviso_tempo_segnale_fuori_campo,
      &avviso_cifra_segnale_fuori_campo, &avviso_indicatore_illeggibile, &avviso_abbattimento_fuori_campo,
      &avviso_velocita_arrotondata,      &avviso_lunghezza_con_testo,    &avviso_lato_curva,
      &avviso_classi_curva,              &avviso_piu_record,             &avviso_fermata_sopra_oggetto,
      &avviso_codici_sovrascritti,       &avviso_orario_indietro,        &avviso_ora_fuori_campo,
      &avviso_sosta_senza_orario,        &avviso_oltre_la_linea,         &avviso_orario_troppo_stretto,
      &avviso_ultimo_campo,              &avviso_commento_non_letto,     &avviso_terzo_trattino,
  };
  return tutti;
}

namespace {

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

std::string tra_virgolette(std::string_view testo) {
  std::string s = "\"";
  s += testo_mostrato(testo, true);
  s += '"';
  return s;
}

// What the formatting needs of one compile: its trace and the names of its texts.
struct contesto {
  const diagnostica& d;
  const testo_autore& linea;
  const testo_autore& treno;

  const testo_autore* testo(testo_sorgente t) const {
    return t == testo_linea ? &linea : t == testo_treno ? &treno : nullptr;
  }

  luogo_messaggio luogo(const luogo_sorgente& s) const { return luogo_del_messaggio(d, linea, treno, s); }

  luogo_messaggio luogo(riferimento_campo c) const { return luogo(luogo_di(d, c)); }

  const record_letto* record(int32_t r) const {
    return r >= 0 && static_cast<size_t>(r) < d.record.size() ? &d.record[static_cast<size_t>(r)] : nullptr;
  }

  // The text of a field as read, Windows-1252.
  std::string testo_campo(riferimento_campo c) const {
    const record_letto* r = record(c.record);
    if (!r) return {};
    if (c.valore < 0) return r->chiave.testo;
    return static_cast<size_t>(c.valore) < r->valori.size() ? r->valori[static_cast<size_t>(c.valore)].testo
                                                           : std::string();
  }

  // The kind a record was read as, when it was read as just one.
  const char* genere(int32_t r) const {
    const record_letto* x = record(r);
    return x && x->generi.size() == 1 ? x->generi[0] : nullptr;
  }

  // "the speed of velocita", or "this field".
  std::string nome_campo(riferimento_campo c) const {
    const char* g = genere(c.record);
    const std::string nome = nome_del_valore(g, c.valore);
    return nome.empty() ? "this field" : nome + " of " + g;
  }

  // A record by its kind: "this segnale record".
  std::string questo_record(int32_t r) const {
    const char* g = genere(r);
    return g ? std::string("this ") + g + " record" : "this record";
  }

  bool dalla_passata(int32_t k) const {
    return k >= 0 && static_cast<size_t>(k) < d.origine_celle.size() &&
           d.origine_celle[static_cast<size_t>(k)].dalla_passata;
  }
};

// A section header such as "[stazione]": meant to match nothing.
// "4.5", "-0.25": a number, but not a whole one.
bool decimale(std::string_view t) {
  if (!t.empty() && t[0] == '-') t.remove_prefix(1);
  const size_t punto = t.find_first_of(".");
  if (punto == std::string_view::npos || punto == 0 || punto + 1 == t.size()) return false;
  for (size_t i = 0; i < t.size(); ++i) {
    if (i != punto && (t[i] < '0' || t[i] > '9')) return false;
  }
  return true;
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

// Why a run-time failure happened, in the author's terms.
std::string dettaglio_fallimento(const contesto& x, const causa_errore& c) {
  const std::string t = x.testo_campo(c.campo);
  const std::string nome = x.nome_campo(c.campo);
  const bool riordinata = std::any_of(c.note.begin(), c.note.end(), [](const nota_errore& n) {
    return n.genere == genere_nota::progressiva_riordinata;
  });
  switch (c.motivo) {
    case motivo_fallimento::oltre_la_fine:
      return "the text ends before all the values of this record are read";
    case motivo_fallimento::non_numero:
      if (t.empty()) return "a number is needed here, and the field is empty";
      if (decimale(t)) return "a whole number is needed here, not " + testo_mostrato(t, false);
      return "a number is needed here, not " + tra_virgolette(t);
    case motivo_fallimento::numero_troppo_largo:
      return testo_mostrato(t, false) + " does not fit " + nome + ": it must be a whole number from " +
             std::to_string(c.minimo) + " to " + std::to_string(c.massimo);
    case motivo_fallimento::testo_troppo_lungo:
      return "this text is " + std::to_string(t.size()) + " bytes long; a record holds at most " +
             std::to_string(c.massimo);
    case motivo_fallimento::valore_fuori_campo: {
      const char* g = x.genere(c.campo.record);
      if (g && std::string_view(g) == "pendenza") {
        return "the gradient " + testo_mostrato(t, false) + " is too large: 100 is added to it before it is "
               "stored, so it must be at most " + std::to_string(c.massimo);
      }
      if (g && std::string_view(g) == "indicatori_vmax") {
        return "a figure of this indicator does not fit: each pair of figures is kept as the side-s figure "
               "times 20 plus the side-d figure divided by 5, which must lie between " +
               std::to_string(c.minimo) + " and " + std::to_string(c.massimo);
      }
      return "the speed " + testo_mostrato(t, false) +
             " km/h does not fit the cells: a speed is kept as its fifth in a byte, so it must lie between " +
             std::to_string(c.minimo) + " and " + std::to_string(c.massimo) + " km/h";
    }
    case motivo_fallimento::calcolo_fuori_campo:
      if (riordinata) {
        return "the kilometre figure " + testo_mostrato(t, false) +
               " does not fit once 100 is added to it, as it is for a progressive of kind 1: it must be at "
               "most 2147483547";
      }
      return "a value computed from the values of this record does not fit a 32-bit whole number "
             "(-2147483648 to 2147483647); make them smaller";
    case motivo_fallimento::sconosciuto:
      break;
  }
  return testo_mostrato(senza_luogo(c.messaggio), false);
}

nota_messaggio nota(luogo_messaggio luogo, std::string testo) { return {std::move(luogo), std::move(testo)}; }

// A note of the compile, in words.
nota_messaggio nota_della_compilazione(const contesto& x, const causa_errore& c, const nota_errore& n,
                                       int32_t codice) {
  switch (n.genere) {
    case genere_nota::fermato_qui:
      return nota(x.luogo(n.campo), "the train text stopped at " + x.questo_record(n.campo.record) +
                                        ", its first signal or slowdown after that error, which took its "
                                        "position");
    case genere_nota::valore_in_vigore: {
      const char* g = x.genere(c.campo.record);
      const std::string cosa = g && std::string_view(g) == "pendenza" ? "gradient" : "speed";
      if (!n.campo.presente()) {
        return nota({}, "it failed when the " + cosa + " in force filled the cells after the last record");
      }
      return nota(x.luogo(n.campo), "it failed here, when " + x.questo_record(n.campo.record) + " carried the " +
                                        cosa + " in force on to its cells");
    }
    case genere_nota::progressiva_riordinata:
      return nota(x.luogo(n.campo), "the kilometre progressives are put in order here, where the general "
                                    "section ends");
    case genere_nota::cella_occupata: {
      std::string s = "cell " + std::to_string(n.cella) + " already holds " +
                      oggetto_della_cella(n.tipo_cella, x.dalla_passata(n.cella));
      if (codice == 1250 || codice == 1251) {
        s = "cell 1 holds " + oggetto_della_cella(n.tipo_cella, x.dalla_passata(1)) +
            ", and the cell file keeps its " + (codice == 1250 ? "mark" : "integrity code") + " in that cell";
        return nota({}, s);
      }
      const luogo_messaggio l = x.luogo(n.campo);
      if (l.riga > 0) s += ", placed by " + x.questo_record(n.campo.record);
      return nota(l, s);
    }
    case genere_nota::cella_della_passata: {
      std::string s = "at cell " + std::to_string(n.cella);
      if (n.tipo_cella != vuota) s += ", which holds " + oggetto_della_cella(n.tipo_cella, x.dalla_passata(n.cella));
      return nota({}, s);
    }
    case genere_nota::letto_come_record:
      return nota(x.luogo(n.campo), std::string("read as a ") + (n.genere_record ? n.genere_record : "") +
                                        " record");
  }
  return {};
}

std::string prefisso(const luogo_messaggio& l) {
  if (l.file.empty()) return "";
  if (l.riga <= 0) return l.file + ": ";
  return l.file + ":" + std::to_string(l.riga) + ":" + std::to_string(l.colonna) + ": ";
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

std::string sorgente_con_cursore(const luogo_messaggio& l) {
  if (l.riga <= 0 || l.sorgente.empty()) return {};
  return riga_mostrata(l.sorgente) + "\n" + cursore(l.sorgente, l.colonna) + "\n";
}

}  // namespace

messaggio_errore messaggio_dell_errore(const modello& m, const diagnostica& d, const esito_compilazione& esito,
                                       const testo_autore& linea, const testo_autore& treno) {
  const contesto x{d, linea, treno};
  const errore_compilazione errore = errore_della_compilazione(m, esito);
  messaggio_errore e;
  e.codice = errore.codice;
  if (e.codice == 0) return e;
  e.descrizione = descrizione_errore(e.codice);
  e.con_posizione = errore.con_posizione;
  e.posizione = errore.posizione;
  // The trace of this compile holds the cause of its error.
  const causa_errore& c = d.errore;
  e.luogo = x.luogo(c.campo);

  switch (e.codice) {
    case 101:
    case 102:
      e.luogo = luogo_messaggio{linea.percorso, 0, 0, {}};
      break;
    case 2:
      if (e.luogo.riga > 0) e.note.push_back(nota({}, "kilometre progressives are checked once both texts are read"));
      break;
    case 26:
      if (e.luogo.riga > 0) e.note.push_back(nota({}, "the general section ends here without one"));
      break;
    default:
      break;
  }
  // Codes of the line text as a whole name it even without a line.
  if (e.luogo.file.empty() && (e.codice == 2 || e.codice == 26)) e.luogo.file = linea.percorso;

  // A record begun by a longer field, such as a section header holding a
  // keyword: the error points at that field, and the value that failed gets
  // a note of its own.
  const record_letto* r = x.record(c.campo.record);
  const bool da_intestazione = r && !r->generi.empty() && campo_di_sezione(r->chiave.testo);
  if (da_intestazione) {
    e.luogo = x.luogo(luogo_di(d, {c.campo.record, nessuno}));
    e.note.push_back(nota({}, tra_virgolette(r->chiave.testo) + " holds the keyword \"" + r->generi[0] +
                                  "\", so it was read as a " + r->generi[0] +
                                  " record, taking its values from the fields after it"));
    if (c.campo.valore >= 0 && e.codice != 25) {
      const std::string nome = x.nome_campo(c.campo);
      e.note.push_back(nota(x.luogo(c.campo), (nome == "this field" ? "the value" : nome) + " was read here"));
    }
  }
  if (e.codice == 25 && !errore.senza_file) {
    std::string dettaglio = dettaglio_fallimento(x, c);
    if (c.motivo == motivo_fallimento::oltre_la_fine && r) {
      // The text ended: point at the record that was left unfinished.
      e.luogo = x.luogo(luogo_di(d, {c.campo.record, nessuno}));
      e.note.push_back(nota({}, dettaglio));
    } else if (da_intestazione && c.campo.valore >= 0) {
      e.note.push_back(nota(x.luogo(c.campo), dettaglio));
    } else {
      e.note.push_back(nota({}, dettaglio));
    }
  }
  for (const nota_errore& n : c.note) {
    if (n.genere == genere_nota::cella_occupata && errore.senza_file && n.cella != 1) continue;
    e.note.push_back(nota_della_compilazione(x, c, n, e.codice));
  }

  // A code of the files stopped the compile although the texts had one too.
  if (errore.senza_file && m.numero_errore != 0 && m.numero_errore != e.codice) {
    std::string s = "the texts had also recorded error " + std::to_string(m.numero_errore);
    const voce_errore* v = cerca_errore(m.numero_errore);
    if (v && v->ha_posizione) s += " at " + std::to_string(m.posizione_errore) + " m";
    e.note.push_back(nota({}, s + ": " + descrizione_errore(m.numero_errore)));
  }
  return e;
}

std::vector<messaggio_avviso> avvisi_della_compilazione(const diagnostica& d, const testo_autore& linea,
                                                        const testo_autore& treno) {
  const contesto x{d, linea, treno};
  std::vector<messaggio_avviso> avvisi;
  for (size_t i = 0; i < d.avvisi.size(); ++i) {
    const int32_t r = d.avvisi[i];
    const record_letto* record = x.record(r);
    if (!record) continue;
    // The value fields that follow it on its line were read as records too,
    // and matched nothing: they belong to this warning.
    size_t dopo = 0;
    while (i + 1 < d.avvisi.size()) {
      const record_letto* seguente = x.record(d.avvisi[i + 1]);
      if (d.avvisi[i + 1] != r + static_cast<int32_t>(dopo) + 1 || !seguente ||
          seguente->chiave.luogo.testo != record->chiave.luogo.testo ||
          seguente->chiave.luogo.riga != record->chiave.luogo.riga) {
        break;
      }
      ++dopo;
      ++i;
    }
    messaggio_avviso a;
    a.luogo = x.luogo(record->chiave.luogo);
    a.luogo.sorgente.clear();
    a.campo = record->chiave.testo;
    a.seguito = " matches no record and is passed over";
    if (dopo == 1) a.seguito += ", with the field after it on this line";
    if (dopo > 1) a.seguito += ", with the " + std::to_string(dopo) + " fields after it on this line";
    const std::string simile = parola_suggerita(record->chiave.luogo.testo, record->chiave.testo);
    if (!simile.empty()) {
      a.seguito += "; did you mean \"" + simile + "\"?";
      a.sostituzioni.push_back(simile);
    }
    avvisi.push_back(std::move(a));
  }
  return avvisi;
}

std::string riassunto_errore(const messaggio_errore& e) {
  std::string s = e.descrizione;
  for (const nota_messaggio& n : e.note) s += "; " + n.testo;
  return s;
}

std::string riassunto_avviso(const messaggio_avviso& a) {
  std::string s = "\"";
  s += cp1252_a_utf8(a.campo);
  s += '"';
  return s + a.seguito;
}

std::string testo_errore_autore(const messaggio_errore& e) {
  if (e.codice == 0) return {};
  std::string s = (e.luogo.file.empty() ? std::string("scenario: ") : prefisso(e.luogo)) + "error " +
                  std::to_string(e.codice);
  if (e.con_posizione) s += " at " + std::to_string(e.posizione) + " m";
  s += ": " + e.descrizione + "\n";
  s += sorgente_con_cursore(e.luogo);
  for (const nota_messaggio& n : e.note) s += prefisso(n.luogo) + "note: " + n.testo + "\n";
  return s;
}

std::string testo_avviso_autore(const messaggio_avviso& a) {
  std::string s = prefisso(a.luogo) + "warning: " + tra_virgolette(a.campo) + a.seguito + "\n";
  for (const nota_messaggio& n : a.note) s += prefisso(n.luogo) + "note: " + n.testo + "\n";
  return s;
}

luogo_messaggio luogo_del_messaggio(const diagnostica& d, const testo_autore& linea, const testo_autore& treno,
                                    const luogo_sorgente& s) {
  luogo_messaggio l;
  const testo_autore* t = s.testo == testo_linea ? &linea : s.testo == testo_treno ? &treno : nullptr;
  if (!t) return l;
  l.file = t->percorso;
  if (s.riga <= 0) return l;
  l.riga = s.riga;
  l.colonna = s.colonna;
  const std::vector<std::string>& righe = s.testo == testo_linea ? d.righe_linea : d.righe_treno;
  if (static_cast<size_t>(s.riga) <= righe.size()) l.sorgente = righe[static_cast<size_t>(s.riga - 1)];
  return l;
}
