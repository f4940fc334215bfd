#include "scenario/avvisi_danni.h"

#include <string>
#include <string_view>

#include "scenario/analisi_avvisi.h"
#include "scenario/parole_autore.h"
#include "text/codifica.h"

const genere_avviso avviso_pendenza_fuori_campo = {
    "gradient_out_of_range", "a gradient outside -100 to 155 is stored as another gradient"};
const genere_avviso avviso_aderenza_fuori_campo = {
    "adhesion_out_of_range", "an adhesion outside 0 to 255 is stored as another value"};
const genere_avviso avviso_tempo_segnale_fuori_campo = {
    "signal_time_out_of_range", "a signal's hold time outside 0 to 255 is stored as another time"};
const genere_avviso avviso_cifra_segnale_fuori_campo = {
    "signal_digit_out_of_range", "a signal digit outside 0 to 9 does not fit the decimal digit it is packed into"};
const genere_avviso avviso_indicatore_illeggibile = {
    "indicator_not_readable", "an indicator's speed figures or stripe counts are packed into a value that reads "
                              "back as other figures"};
const genere_avviso avviso_abbattimento_fuori_campo = {
    "abbattimento_out_of_range", "an \"abbattimento\" value beyond 16 bits is stored as another value"};
const genere_avviso avviso_velocita_arrotondata = {
    "speed_rounded", "a speed limit that is not a multiple of 5 is stored rounded to one"};
const genere_avviso avviso_lunghezza_con_testo = {
    "line_length_with_text", "text after the line length on its line is not part of it"};
const genere_avviso avviso_lato_curva = {
    "curve_side_by_letter", "a curve's side is decided by an \"s\" elsewhere than right after \"curva\""};
const genere_avviso avviso_classi_curva = {
    "curve_several_classes", "a curve keyword holds more than one class digit; the smallest is taken"};
const genere_avviso avviso_piu_record = {
    "several_record_kinds", "one keyword field is read as more than one record, each with its own values"};
const genere_avviso avviso_fermata_sopra_oggetto = {
    "stop_cell_over_object", "a station's stop cell is written over an object another record placed"};
const genere_avviso avviso_codici_sovrascritti = {
    "warning_codes_overwritten", "a signal's warning codes are written over another signal's codes or a "
                                 "station's approach marks"};
const genere_avviso avviso_orario_indietro = {
    "time_earlier_than_before", "a scheduled time is earlier than the one before it along the line"};
const genere_avviso avviso_ora_fuori_campo = {
    "time_out_of_range", "minutes or seconds of 60 or more, hours of 24 or more, or a clock outside a day"};
const genere_avviso avviso_sosta_senza_orario = {
    "stop_without_time", "a station has a stop time but no scheduled time"};
const genere_avviso avviso_oltre_la_linea = {
    "beyond_line_end", "a station, signal or slowdown lies beyond the line's end, in the grid's tail"};
const genere_avviso avviso_orario_troppo_stretto = {
    "timetable_too_fast", "a timetable gives less time between two stations than the speed limits need"};
const genere_avviso avviso_ultimo_campo = {
    "last_field_not_read", "the last field of a text is never read; the text should end with \"[fine]\""};
const genere_avviso avviso_commento_non_letto = {
    "comment_not_a_comment", "a field that starts with \"#\" or \"//\" is read as a field, not as a comment"};
const genere_avviso avviso_terzo_trattino = {
    "third_hyphen_field", "a third field with \"-\" in a row is read as a keyword field"};
namespace {

std::string minuscolo(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

// --- Values that change when stored -------------------------------------

void valori_memorizzati(analisi_avvisi& a, int32_t r) {
  const record_letto& x = a.record(r);
  // A value that made the compile fail was not stored: the error says so.
  if (a.m.numero_errore != 0 && a.d.errore.campo.record == r) return;
  using valore::gradiente, valore::aderenza, valore::limite, valore::abbattuto, valore::tempo;
  if (di_genere(x, "pendenza")) {
    if (auto g = a.numero(r, gradiente); g && (*g < -100 || *g > 155)) {
      const int64_t letto = ((*g + 100) & 0xFF) - 100;
      a.avvisa_valore(avviso_pendenza_fuori_campo, r, gradiente,
                      ": a gradient is kept in one byte, from -100 to 155, so this one is stored as " +
                          std::to_string(letto) + "; write a gradient in that range");
    }
  } else if (di_genere(x, "aderenza")) {
    if (auto v = a.numero(r, aderenza); v && (*v < 0 || *v > 255)) {
      a.avvisa_valore(avviso_aderenza_fuori_campo, r, aderenza,
                      ": an adhesion is kept in one byte, from 0 to 255, so this one is stored as " +
                          std::to_string(*v & 0xFF) + "; write a value in that range");
    }
  } else if (di_genere(x, "velocita")) {
    if (auto v = a.numero(r, limite); v && *v >= 0 && *v <= 1275 && *v % 5 != 0) {
      const int64_t tenuto = (*v + 2) / 5 * 5;
      a.avvisa_valore(avviso_velocita_arrotondata, r, limite,
                      ": a speed limit is stored in steps of 5 km/h, so this one is stored as " +
                          std::to_string(tenuto) + " km/h; write a multiple of 5")
          .sostituzioni.push_back(std::to_string(tenuto));
    }
  } else if (di_genere(x, "abbattimento")) {
    if (auto w = a.numero(r, abbattuto); w && *w > 32767) {
      const cella* c = a.cella_posta(r, tipo_cella::abbattimento);
      const int64_t tenuto = c ? c->valore : static_cast<int16_t>(static_cast<uint16_t>(*w & 0xFFFF));
      a.avvisa_valore(avviso_abbattimento_fuori_campo, r, abbattuto,
                      ": an \"abbattimento\" value is kept in 16 bits, so this one is stored as " +
                          std::to_string(tenuto) + "; write a value from 1 to 32767");
    }
  } else if (di_genere(x, "segnale")) {
    const cella* c = a.cella_posta(r, segnale);
    if (!c) return;
    const auto sx = a.numero(r, valore::sx);
    if (auto t = a.numero(r, tempo); sx && *sx == 2 && t && (*t < 0 || *t > 255)) {
      a.avvisa_valore(avviso_tempo_segnale_fuori_campo, r, tempo,
                      ": a signal's hold time is kept in one byte, so this one is stored as " +
                          std::to_string(c->tempo) + "; write a time from 0 to 255");
    }
    // s1 and d1 share `valore`, s2 and d2 `valore_2`, s3 and d3 `valore_3`.
    const int16_t tenuti[3] = {c->valore, c->valore_2, c->valore_3};
    const char* nomi[6] = {"s1", "s2", "s3", "d1", "d2", "d3"};
    for (int i = 0; i < 3; ++i) {
      for (int lato = 0; lato < 2; ++lato) {
        const int n = (lato == 0 ? 2 : 7) + i;
        const auto v = a.numero(r, n);
        if (!v || (*v >= 0 && *v <= 9)) continue;
        a.avvisa_valore(avviso_cifra_segnale_fuori_campo, r, n,
                        std::string(": the signal digit ") + nomi[lato * 3 + i] + " is packed as " + nomi[i] +
                            " x 10 + " + nomi[3 + i] + ", one decimal digit each, and the compiled signal holds " +
                            std::to_string(tenuti[i]) + "; write a digit from 0 to 9");
      }
    }
  } else if (di_genere(x, "indicatori_vmax")) {
    const cella* c = a.cella_posta(r, indicatore_v_max);
    if (!c) return;
    const int16_t tenuti[3] = {c->valore, c->valore_2, c->valore_3};
    for (int i = 0; i < 3; ++i) {
      const auto s = a.numero(r, 1 + i), dd = a.numero(r, 5 + i);
      if (!s || !dd) continue;
      const int32_t v = tenuti[i];
      const int64_t s_letto = v / 100 * 5, d_letto = v % 100 * 5;
      if (v >= 0 && s_letto == *s && d_letto == *dd) continue;
      const bool s_leggibile = *s >= 0 && *s % 5 == 0;
      a.avvisa_valore(avviso_indicatore_illeggibile, r, s_leggibile ? 5 + i : 1 + i,
               ": the speed figures " + std::to_string(*s) + " (side s) and " + std::to_string(*dd) +
                   " (side d) are packed into " + std::to_string(v) +
                   (v >= 0 ? ", which reads back as " + std::to_string(s_letto) + " and " + std::to_string(d_letto)
                           : ", which reads back as no figures") +
                   "; write multiples of 5 below 500");
    }
    const auto ss = a.numero(r, 4), sd = a.numero(r, 8);
    const int32_t v = c->valore_4;
    if (ss && sd && !(v >= 0 && v / 10 == *ss && v % 10 == *sd)) {
      a.avvisa_valore(avviso_indicatore_illeggibile, r, *ss >= 0 && *ss <= 9 ? 8 : 4,
               ": the stripe counts " + std::to_string(*ss) + " (side s) and " + std::to_string(*sd) +
                   " (side d) are packed into " + std::to_string(v) +
                   (v >= 0 ? ", which reads back as " + std::to_string(v / 10) + " and " + std::to_string(v % 10)
                           : ", which reads back as no counts") +
                   "; write counts from 0 to 9");
    }
  }
}

// "lunghezza percorso, 62 km": the number ends at the blank, and "km" is a
// field of its own.
void lunghezza_con_testo(analisi_avvisi& a, int32_t r) {
  const record_letto& x = a.record(r);
  if (!letto_come(x, "lunghezza percorso") || x.valori.empty()) return;
  if (static_cast<size_t>(r) + 1 >= a.d.record.size()) return;
  const record_letto& dopo = a.record(r + 1);
  const luogo_sorgente& v = x.valori[0].luogo;
  if (dopo.chiave.luogo.testo != v.testo || dopo.chiave.luogo.riga != v.riga || dopo.chiave.testo.empty()) return;
  a.avvisa(avviso_lunghezza_con_testo, dopo.chiave.luogo, dopo.chiave.testo,
           " after the line length is a field of its own, and the line is " + x.valori[0].testo +
               " m long; write the length in metres, as a number alone");
}

// --- Keywords decided by letters ---------------------------------------

void parole_chiave_lettere(analisi_avvisi& a, int32_t r) {
  const record_letto& x = a.record(r);
  if (x.generi.size() > 1) {
    std::string come;
    for (size_t i = 0; i < x.generi.size(); ++i) {
      come += (i == 0 ? "" : i + 1 == x.generi.size() ? " and then as " : ", then as ");
      come += std::string("a \"") + x.generi[i] + "\" record";
    }
    a.avvisa(avviso_piu_record, x.chiave.luogo, x.chiave.testo,
             " is read as " + come + ", each reading its own values; write one keyword per record");
  }
  if (!letto_come(x, "curva")) return;
  const std::string chiave = minuscolo(x.chiave.testo);
  const size_t dopo = chiave.find("curva") + 5;
  std::string classi;
  for (char c = '1'; c <= '6'; ++c) {
    if (chiave.find(c) != std::string::npos) classi += c;
  }
  const char classe = classi.empty() ? '?' : classi[0];
  if (chiave.find('s') != std::string::npos && (dopo >= chiave.size() || chiave[dopo] != 's')) {
    a.avvisa(avviso_lato_curva, x.chiave.luogo, x.chiave.testo,
             " turns the curve to side s, because it holds an \"s\" elsewhere than right after \"curva\"; "
             "write \"curvas" + std::string(1, classe) + "\" for side s or \"curvad" + classe + "\" for side d")
        .sostituzioni = classe == '?' ? std::vector<std::string>{}
                                      : std::vector<std::string>{"curvas" + std::string(1, classe),
                                                                 "curvad" + std::string(1, classe)};
  }
  if (classi.size() > 1) {
    std::string cifre;
    for (size_t i = 0; i < classi.size(); ++i) {
      cifre += (i == 0 ? "" : i + 1 == classi.size() ? " and " : ", ");
      cifre += classi[i];
    }
    a.avvisa(avviso_classi_curva, x.chiave.luogo, x.chiave.testo,
             " holds the class digits " + cifre + ", and the curve takes class " + std::string(1, classe) +
                 ", the smallest; write one class digit");
  }
}

// --- Objects silently replaced -------------------------------------------

void scritture_sopra(analisi_avvisi& a) {
  // One warning per pair of records: a signal's codes may meet several cells.
  std::map<std::pair<int32_t, int32_t>, std::vector<const scrittura_sopra*>> coppie;
  for (const scrittura_sopra& s : a.d.scritture_sopra) {
    if (s.record < 0 || s.record_precedente < 0) continue;
    if (static_cast<size_t>(s.record) >= a.d.record.size()) continue;
    if (static_cast<size_t>(s.record_precedente) >= a.d.record.size()) continue;
    if (!s.preavviso) {
      if (s.tipo_precedente == vuota || s.tipo_precedente == riempimento_montagna) continue;
      const std::string cosa = oggetto_della_cella(s.tipo_precedente, s.dalla_passata);
      a.avvisa(avviso_fermata_sopra_oggetto, a.record(s.record).chiave.luogo, a.record(s.record).chiave.testo,
               ": the stop cell of this station (cell " + std::to_string(s.cella) + ") is written over " + cosa +
                   " placed by " + a.dove(s.record_precedente) +
                   ", which the compiled files no longer hold; move the station or the other record",
               {{a.luogo(a.record(s.record_precedente).chiave.luogo), "the record whose object is lost"}});
      continue;
    }
    coppie[{s.record, s.record_precedente}].push_back(&s);
  }
  for (const auto& [chi, scritte] : coppie) {
    const auto [r, prima] = chi;
    if (!letto_come(a.record(r), "segnale") && !letto_come(a.record(prima), "segnale")) continue;
    const bool di_stazione = letto_come(a.record(prima), "stazione");
    std::string celle;
    for (size_t i = 0; i < scritte.size(); ++i) celle += (i ? ", " : "") + std::to_string(scritte[i]->cella);
    const std::string di = di_stazione ? "the approach marks of the station at " : "the warning codes of the signal at ";
    const std::string chi_scrive = letto_come(a.record(r), "segnale") ? "this signal's warning codes" :
                                                                         "this station's approach marks";
    a.avvisa(avviso_codici_sovrascritti, a.record(r).chiave.luogo, a.record(r).chiave.testo,
             ": " + chi_scrive + " are written over " + di + a.dove(prima) + " (cell" + (scritte.size() > 1 ? "s " : " ") +
                 celle + "), which the compiled files no longer hold; move one of the two so that their codes "
                 "do not meet",
             {{a.luogo(a.record(prima).chiave.luogo), "the record whose codes are lost"}});
  }
}

// --- Format traps ---------------------------------------------------------

void trappole(analisi_avvisi& a) {
  const int32_t n = static_cast<int32_t>(a.d.record.size());
  for (testo_sorgente t : {testo_linea, testo_treno}) {
    int32_t ultimo = -1;
    bool dentro = false, generale = false;
    int trattini = 0;
    for (int32_t r = 0; r < n; ++r) {
      const record_letto& x = a.record(r);
      if (x.chiave.luogo.testo != t) continue;
      ultimo = r;
      const std::string& c = x.chiave.testo;
      if (!dentro) {
        // Fields before "[generale]" are passed over, whatever they hold.
        dentro = minuscolo(c).find("[generale]") != std::string::npos;
        generale = dentro && t == testo_linea;
        continue;
      }
      const bool trattino = c.find('-') != std::string::npos;
      if (trattino) {
        const int limite = generale ? 10 : 2;
        if (trattini == limite) {
          a.avvisa(avviso_terzo_trattino, x.chiave.luogo, c,
                   " holds \"-\", but only " + std::to_string(limite) +
                       " such fields in a row are passed over as comments, so it is read as a keyword field; "
                       "put the comment on fewer lines");
          trattini = 0;
        } else {
          ++trattini;
        }
      } else {
        trattini = 0;
        if ((c.rfind("#", 0) == 0 || c.rfind("//", 0) == 0)) {
          a.avvisa(avviso_commento_non_letto, x.chiave.luogo, c,
                   " is read as a field, not as a comment: only a field that holds \"-\" is a "
                   "comment; start the line with \"--\"");
        }
      }
      if (generale && campo_di_sezione(c) && c[0] != '-') generale = false;
    }
    // The last field is never read; a compile that stopped early did not reach it.
    if (ultimo >= 0 && a.m.numero_errore == 0) {
      const record_letto& x = a.record(ultimo);
      if (x.valori.empty() && !x.chiave.testo.empty() && !campo_di_sezione(x.chiave.testo) &&
          x.chiave.testo.find('-') == std::string::npos) {
        a.avvisa(avviso_ultimo_campo, x.chiave.luogo, x.chiave.testo,
                 " is the last field of the text, and the last field is never read; "
                 "end the text with \"[fine]\"");
      }
    }
  }
}

}  // namespace

std::vector<messaggio_avviso> avvisi_dei_danni(const modello& m, const diagnostica& d, const testo_autore& linea,
                                               const testo_autore& treno) {
  analisi_avvisi a{m, d, linea, treno, {}, {}};
  for (size_t k = 0; k < d.origine_celle.size(); ++k) {
    const origine_cella& o = d.origine_celle[k];
    if (o.record >= 0 && !o.dalla_passata) a.celle_del_record[o.record].push_back(static_cast<int32_t>(k));
  }
  for (int32_t r = 0; r < static_cast<int32_t>(d.record.size()); ++r) {
    valori_memorizzati(a, r);
    lunghezza_con_testo(a, r);
    parole_chiave_lettere(a, r);
  }
  scritture_sopra(a);
  avvisi_degli_orari(a);
  trappole(a);
  return std::move(a.avvisi);
}
