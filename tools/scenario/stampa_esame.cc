#include "scenario/stampa_esame.h"

#include "core/codici_gara.h"
#include "scenario/formato.h"
#include "text/codifica.h"

namespace {

// The three kilometre progressives, in the order of their records.
const struct {
  const char* nome;
  int indice;
} progressive[] = {{"progressiva_tre", progressiva_tre},
                   {"progressiva_due", progressiva_due},
                   {"progressiva_uno", progressiva_uno}};

// The slots do not follow the text's names: the compile sorts the three
// progressives and adjusts their figures.
const char* const nota_progressive =
    "  (the text's progressives are stored reordered: by position, largest first,\n"
    "  into progressiva_tre, _due, _uno; when every position is 0, the first of the\n"
    "  text's uno, due, tre with a figure leads. A direction of 1 has added 100 m to\n"
    "  the figure: the text's\n"
    "  `progressiva ... uno, 0, 150300, 1` alone is progressiva_tre 0, 150400, 1.)\n";

// A text of the files (Windows-1252) as a quoted, escaped UTF-8 string.
std::string citato(const std::string& cp1252) { return stringa_json(cp1252_a_utf8(cp1252)); }

std::string chilometri(int64_t metri) {
  uint64_t a = metri < 0 ? 0 - static_cast<uint64_t>(metri) : static_cast<uint64_t>(metri);
  return formato("%s%ju.%03ju", metri < 0 ? "-" : "", static_cast<uintmax_t>(a / 1000),
                 static_cast<uintmax_t>(a % 1000));
}

std::string orario_o_nessuno(int32_t orario) { return orario == 0 ? "none" : ore_minuti_secondi(orario); }

// The fields of a point record that are not zero, by name.
std::string campi_punto(const punto& p) {
  std::string s;
  auto aggiungi = [&s](const char* nome, int64_t v) {
    if (v == 0) return;
    if (!s.empty()) s += ", ";
    s += formato("%s %jd", nome, static_cast<intmax_t>(v));
  };
  aggiungi("tipo", p.tipo);
  aggiungi("inizio", p.inizio);
  aggiungi("fine", p.fine);
  aggiungi("posizione", p.posizione);
  aggiungi("opzione_1", p.opzione_1);
  aggiungi("intero_1", p.intero_1);
  aggiungi("intero_2", p.intero_2);
  aggiungi("intero_3", p.intero_3);
  aggiungi("intero_4", p.intero_4);
  aggiungi("intero_5", p.intero_5);
  aggiungi("opzione_2", p.opzione_2);
  aggiungi("sosta", p.sosta);
  aggiungi("opzione_3", p.opzione_3);
  aggiungi("opzione_4", p.opzione_4);
  aggiungi("orario", p.orario);
  if (!p.testo.empty()) s += (s.empty() ? "testo " : ", testo ") + citato(p.testo);
  return s;
}

// The cell as listed: cell 1's file mark and code belong to the header.
cella come_elencata(const std::vector<cella>& celle, size_t k) {
  cella c = celle[k];
  if (k == 1) c.valore = c.valore_2 = 0;
  return c;
}

bool da_elencare(const cella& c) { return c.tipo != vuota || !sintesi_cella(c).empty(); }

// The positions a text may give for an object of cell k: those the compile
// rounds to k, halves to the even cell. Most objects take CLng(p / 50 + 1),
// an "abbattimento" item CLng(p / 50), a station's stop cell
// CLng(fine / 50 - 1) of its extent's end; mountain fill has no position of
// its own.
struct posizioni_testo {
  bool note = false;
  const char* che = "";  // what the text gives: "" for an object's position
  int64_t da = 0;
  int64_t a = 0;
};

posizioni_testo posizioni_della_cella(int64_t k, uint8_t tipo) {
  posizioni_testo p;
  if (tipo == riempimento_montagna) return p;
  int64_t spostamento = 1;
  if (tipo == abbattimento || tipo == abbattimento_zero) spostamento = 0;
  if (tipo == fermata) {
    spostamento = -1;
    p.che = "end ";
  }
  const int64_t centro = (k - spostamento) * metri_per_cella;
  const int64_t mezzo = k % 2 == 0 ? metri_per_cella / 2 : metri_per_cella / 2 - 1;
  p.note = true;
  p.da = centro - mezzo;
  p.a = centro + mezzo;
  return p;
}

std::string testo_posizioni(const posizioni_testo& p) {
  if (!p.note) return "";
  return formato("(%s%jd-%jd m)", p.che, static_cast<intmax_t>(p.da), static_cast<intmax_t>(p.a));
}

// What an approach mark says: the k-th cell before a station's stop cell
// (81 to 84), or the b-th warning code of a signal 2b cells on, whose sides
// give the tens. The value alone cannot tell a station's 81 from that of a
// signal with sx 2 and dx 2; the cells after it can.
std::string senso_preavviso(const std::vector<cella>& celle, size_t k, uint8_t v) {
  const int b = v % 10;
  const int lato = v / 10;
  if (v >= 81 && v <= 84) {
    const size_t fermata_k = k + static_cast<size_t>(v - 80);
    if (fermata_k < celle.size() && celle[fermata_k].tipo == fermata) {
      return formato("approach mark %d of the station stopping in cell %zu, %d cell%s before it", v - 80,
                     fermata_k, v - 80, v == 81 ? "" : "s");
    }
  }
  if (b >= 1 && b <= 4) {
    const size_t segnale_k = k + 2 * static_cast<size_t>(b);
    if (segnale_k < celle.size() && celle[segnale_k].tipo == segnale) {
      return formato("warning code %d of the signal in cell %zu (sx %d, dx %d), %d m before it", b, segnale_k,
                     lato / 3, lato % 3, b * 100);
    }
    return formato("warning code %d (sx x 3 + dx = %d), or approach mark; no signal or stop cell where it points",
                   b, lato);
  }
  return "a value no compile writes";
}

// ---- Text -------------------------------------------------------------------

void testo_punti(const esame_file& e, std::ostream& out) {
  const tabella_punti& p = e.punti;
  const punto& tr = p[punto_treno];
  const punto& sc = p[punto_scenario];
  const punto& co = p[punto_codici];
  for (const auto& g : progressive) {
    const punto& q = p[g.indice];
    out << formato("  %-20s from %d m, figure %d m, direction %d\n", g.nome, q.inizio, q.fine, q.posizione);
  }
  out << nota_progressive;
  out << formato("  %-20s %d\n", "massa_frenata", tr.inizio);
  out << formato("  %-20s %d m\n", "lunghezza_percorso", tr.fine);
  out << formato("  %-20s %d\n", "numero_vetture", tr.posizione);
  out << formato("  %-20s %d\n", "sfondo_uno", sc.inizio);
  out << formato("  %-20s %d\n", "sfondo_due", sc.posizione);
  out << formato("  %-20s %d\n", "sfondo_tre", sc.fine);
  out << formato("  %-20s %s\n", "scenario name", citato(sc.testo).c_str());
  out << formato("  %-20s %d\n", "marca_sim", sc.intero_1);
  out << formato("  %-20s %d\n", "codice_st", sc.orario);
  out << formato("  %-20s %d m\n", "ripetizione_inizio", co.inizio);
  out << formato("  %-20s %d m\n", "ripetizione_fine", co.fine);
  out << formato("  %-20s %d\n", "numero_codici", co.posizione);
  out << formato("  %-20s %s\n", "train code", citato(co.testo).c_str());
  out << formato("  %-20s %d\n", "sabbia", co.intero_1);
  out << formato("  %-20s %s\n", "orologio", orologio_di(p).c_str());

  ruoli_punti r = ruoli_di(p);
  out << formato("stations: %d\n", r.ultima_stazione);
  for (int k = 1; k <= r.ultima_stazione; ++k) {
    const punto& s = p[k];
    out << formato("  %2d  kind %d  %s\n", k, s.tipo, citato(s.testo).c_str());
    out << formato("      at %d m (%s km), extent %d to %d m, time %s, ", s.posizione, chilometri(s.posizione).c_str(),
                   s.inizio, s.fine, orario_o_nessuno(s.orario).c_str());
    out << (s.sosta == 0 ? std::string("no stop") : formato("stop %d s", s.sosta)) << "\n";
    out << formato("      opzione_1 %d, opzione_2 %d, opzione_3 %d, opzione_4 %d, intero %d %d %d %d %d\n",
                   s.opzione_1, s.opzione_2, s.opzione_3, s.opzione_4, s.intero_1, s.intero_2, s.intero_3,
                   s.intero_4, s.intero_5);
  }
  out << formato("sign texts: %d\n", primo_cartello + 1 - r.cartello_piu_basso);
  for (int k = primo_cartello; k >= r.cartello_piu_basso; --k) {
    out << formato("  %2d  %s\n", k, citato(p[k].testo).c_str());
  }
  if (!r.altri.empty()) {
    out << "other records:\n";
    for (int k : r.altri) out << formato("  %2d  %s\n", k, campi_punto(p[k]).c_str());
  }
}

void testo_tratte(const std::vector<cella>& celle, const char* titolo, uint8_t cella::*campo,
                  std::string (*valore)(int), std::ostream& out) {
  out << titolo << ":\n";
  for (const tratta& t : tratte(celle, campo)) {
    out << formato("  cells %4d-%-4d %7d m to %7d m: %s\n", t.prima, t.ultima, t.prima * metri_per_cella,
                   (t.ultima + 1) * metri_per_cella, valore(t.valore).c_str());
  }
}

std::string km_h(int v) { return formato("%d km/h", v * 5); }
// A stored 0 is what cells that no gradient reached hold.
std::string per_mille(int v) { return formato(v == 0 ? "%d per mille (pendenza 0)" : "%d per mille", v - 100); }
std::string semplice(int v) { return formato("%d", v); }

void testo_celle(const esame_file& e, std::ostream& out) {
  const std::vector<cella>& c = e.celle;
  out << formato("  %-20s %d\n", "marca_dat", c[1].valore);
  out << formato("  %-20s %d\n", "codice_og", c[1].valore_2);
  size_t oggetti = 0;
  for (size_t k = 0; k < c.size(); ++k) oggetti += da_elencare(come_elencata(c, k));
  out << formato("objects: %zu\n", oggetti);
  out << "  (cell k stands at k x 50 m; in brackets, the positions a text gives for what lands\n"
         "  in it, for a stop cell the end of the station's extent)\n";
  for (size_t k = 0; k < c.size(); ++k) {
    cella x = come_elencata(c, k);
    if (!da_elencare(x)) continue;
    const char* nome = nome_tipo_cella(x.tipo);
    std::string genere = nome ? nome : formato("kind %d", x.tipo);
    auto m = static_cast<int64_t>(k) * metri_per_cella;
    const std::string testo = testo_posizioni(posizioni_della_cella(static_cast<int64_t>(k), x.tipo));
    out << formato("  cell %4zu %7jd m %8s km  %-15s %-22s %s\n", k, static_cast<intmax_t>(m), chilometri(m).c_str(),
                   testo.c_str(), genere.c_str(), sintesi_cella(x).c_str());
  }
  out << "approach marks (preavviso):\n";
  for (size_t k = 0; k < c.size(); ++k) {
    if (c[k].preavviso == 0) continue;
    out << formato("  cell %4zu %7zu m: %d  %s\n", k, k * metri_per_cella, c[k].preavviso,
                   senso_preavviso(c, k, c[k].preavviso).c_str());
  }
  testo_tratte(c, "speed (velocita x 5)", &cella::velocita, km_h, out);
  testo_tratte(c, "gradient (pendenza - 100)", &cella::pendenza, per_mille, out);
  testo_tratte(c, "adhesion (aderenza)", &cella::aderenza, semplice, out);
  testo_tratte(c, "mountain (montagna)", &cella::montagna, semplice, out);
}

std::string tipi_in_parole(const profilo_linea& p, int coordinata) {
  std::string s;
  for (const tratta_tipi& t : tratte_tipi(p, coordinata)) {
    if (!s.empty()) s += ", ";
    s += t.primo == t.ultimo ? formato("%d", t.primo) : formato("%d-%d", t.primo, t.ultimo);
    s += formato(" %s", nome_variante(t.tipo));
  }
  return s;
}

void testo_profilo(const esame_file& e, std::ostream& out) {
  const profilo_linea& p = e.profilo;
  out << formato("  first coordinate:  %s\n", tipi_in_parole(p, 0).c_str());
  out << formato("  second coordinate: %s\n", tipi_in_parole(p, 1).c_str());
  estensione_piano est = estensione_di(p);
  out << formato("  plan: %d points with both coordinates\n", est.punti_presenti);
  if (est.punti_presenti == 0) return;
  out << formato("  first coordinate from %.1f to %.1f m\n", est.minimo[0], est.massimo[0]);
  out << formato("  second coordinate from %.1f to %.1f m\n", est.minimo[1], est.massimo[1]);
  out << formato("  length along the plan: %.1f m\n", est.lunghezza);
}

// ---- JSON -------------------------------------------------------------------

void json_punto(const punto& p, scrittore_json& j) {
  j.chiave("tipo").intero(p.tipo);
  j.chiave("testo").testo(cp1252_a_utf8(p.testo));
  j.chiave("posizione").intero(p.posizione);
  j.chiave("inizio").intero(p.inizio);
  j.chiave("fine").intero(p.fine);
  j.chiave("orario").intero(p.orario);
  j.chiave("time");
  if (p.orario == 0) {
    j.testo("");
  } else {
    j.testo(ore_minuti_secondi(p.orario));
  }
  j.chiave("sosta").intero(p.sosta);
  j.chiave("opzione_1").intero(p.opzione_1);
  j.chiave("opzione_2").intero(p.opzione_2);
  j.chiave("opzione_3").intero(p.opzione_3);
  j.chiave("opzione_4").intero(p.opzione_4);
  j.chiave("intero_1").intero(p.intero_1);
  j.chiave("intero_2").intero(p.intero_2);
  j.chiave("intero_3").intero(p.intero_3);
  j.chiave("intero_4").intero(p.intero_4);
  j.chiave("intero_5").intero(p.intero_5);
}

void json_punti(const esame_file& e, scrittore_json& j) {
  const tabella_punti& p = e.punti;
  const punto& tr = p[punto_treno];
  const punto& sc = p[punto_scenario];
  const punto& co = p[punto_codici];
  j.chiave("header").oggetto();
  for (const auto& g : progressive) {
    const punto& q = p[g.indice];
    j.chiave(g.nome).oggetto();
    j.chiave("from_m").intero(q.inizio);
    j.chiave("figure_m").intero(q.fine);
    j.chiave("direction").intero(q.posizione);
    j.chiudi();
  }
  j.chiave("progressives_note").testo(
      "stored reordered: by position, largest first, into progressiva_tre, progressiva_due, progressiva_uno (the "
      "first of the text's uno, due, tre with a figure leads when every position is 0); a direction of 1 has "
      "added 100 m to the figure");
  j.chiave("massa_frenata").intero(tr.inizio);
  j.chiave("lunghezza_percorso").intero(tr.fine);
  j.chiave("numero_vetture").intero(tr.posizione);
  j.chiave("sfondo_uno").intero(sc.inizio);
  j.chiave("sfondo_due").intero(sc.posizione);
  j.chiave("sfondo_tre").intero(sc.fine);
  j.chiave("scenario_name").testo(cp1252_a_utf8(sc.testo));
  j.chiave("marca_sim").intero(sc.intero_1);
  j.chiave("codice_st").intero(sc.orario);
  j.chiave("ripetizione_inizio").intero(co.inizio);
  j.chiave("ripetizione_fine").intero(co.fine);
  j.chiave("numero_codici").intero(co.posizione);
  j.chiave("train_code").testo(cp1252_a_utf8(co.testo));
  j.chiave("sabbia").intero(co.intero_1);
  j.chiave("orologio").testo(orologio_di(p));
  j.chiudi();

  ruoli_punti r = ruoli_di(p);
  j.chiave("stations").lista();
  for (int k = 1; k <= r.ultima_stazione; ++k) {
    j.oggetto().chiave("record").intero(k);
    json_punto(p[k], j);
    j.chiudi();
  }
  j.chiudi();
  j.chiave("signs").lista();
  for (int k = primo_cartello; k >= r.cartello_piu_basso; --k) {
    j.oggetto().chiave("record").intero(k).chiave("testo").testo(cp1252_a_utf8(p[k].testo)).chiudi();
  }
  j.chiudi();
  j.chiave("other_records").lista();
  for (int k : r.altri) {
    j.oggetto().chiave("record").intero(k);
    json_punto(p[k], j);
    j.chiudi();
  }
  j.chiudi();
}

void json_tratte(const std::vector<cella>& celle, const char* nome, uint8_t cella::*campo, int moltiplica,
                 int aggiungi, scrittore_json& j) {
  j.chiave(nome).lista();
  for (const tratta& t : tratte(celle, campo)) {
    j.oggetto();
    j.chiave("first_cell").intero(t.prima).chiave("last_cell").intero(t.ultima);
    j.chiave("from_m").intero(int64_t{t.prima} * metri_per_cella);
    j.chiave("to_m").intero((int64_t{t.ultima} + 1) * metri_per_cella);
    j.chiave("raw").intero(t.valore).chiave("value").intero(t.valore * moltiplica + aggiungi);
    j.chiudi();
  }
  j.chiudi();
}

void json_celle(const esame_file& e, scrittore_json& j) {
  const std::vector<cella>& c = e.celle;
  j.chiave("cells").intero(static_cast<int64_t>(c.size()));
  j.chiave("marca_dat").intero(c[1].valore);
  j.chiave("codice_og").intero(c[1].valore_2);
  j.chiave("objects").lista();
  for (size_t k = 0; k < c.size(); ++k) {
    cella x = come_elencata(c, k);
    if (!da_elencare(x)) continue;
    auto m = static_cast<int64_t>(k) * metri_per_cella;
    const char* nome = nome_tipo_cella(x.tipo);
    j.oggetto();
    j.chiave("cell").intero(static_cast<int64_t>(k)).chiave("m").intero(m);
    j.chiave("km").reale(static_cast<double>(m) / 1000);
    j.chiave("tipo").intero(x.tipo).chiave("kind").testo(nome ? nome : "");
    j.chiave("valore").intero(x.valore).chiave("valore_2").intero(x.valore_2);
    j.chiave("valore_3").intero(x.valore_3).chiave("valore_4").intero(x.valore_4);
    j.chiave("tempo").intero(x.tempo);
    const posizioni_testo pt = posizioni_della_cella(static_cast<int64_t>(k), x.tipo);
    if (pt.note) j.chiave("text_from_m").intero(pt.da).chiave("text_to_m").intero(pt.a);
    if (x.tipo == segnale) {
      aspetti_segnale a = aspetti_di(x);
      if (a.valido) {
        j.chiave("left").lista().intero(a.sinistra[0]).intero(a.sinistra[1]).intero(a.sinistra[2]).chiudi();
        j.chiave("right").lista().intero(a.destra[0]).intero(a.destra[1]).intero(a.destra[2]).chiudi();
        j.chiave("sx").intero(a.sx).chiave("dx").intero(a.dx).chiave("rapp").intero(a.rapp);
      }
    } else if (x.tipo == indicatore_v_max) {
      figure_indicatore f = figure_di(x);
      if (f.valido) {
        j.chiave("s").lista().intero(f.lato_s[0]).intero(f.lato_s[1]).intero(f.lato_s[2]).chiudi();
        j.chiave("d").lista().intero(f.lato_d[0]).intero(f.lato_d[1]).intero(f.lato_d[2]).chiudi();
        j.chiave("stripes_s").intero(f.strisce_s).chiave("stripes_d").intero(f.strisce_d);
      }
    }
    j.chiave("summary").testo(sintesi_cella(x));
    j.chiudi();
  }
  j.chiudi();
  j.chiave("preavviso").lista();
  for (size_t k = 0; k < c.size(); ++k) {
    if (c[k].preavviso == 0) continue;
    j.oggetto().chiave("cell").intero(static_cast<int64_t>(k));
    j.chiave("m").intero(static_cast<int64_t>(k) * metri_per_cella).chiave("value").intero(c[k].preavviso);
    j.chiave("meaning").testo(senso_preavviso(c, k, c[k].preavviso));
    j.chiudi();
  }
  j.chiudi();
  json_tratte(c, "velocita", &cella::velocita, 5, 0, j);
  json_tratte(c, "pendenza", &cella::pendenza, 1, -100, j);
  json_tratte(c, "aderenza", &cella::aderenza, 1, 0, j);
  json_tratte(c, "montagna", &cella::montagna, 1, 0, j);
}

void json_profilo(const esame_file& e, scrittore_json& j) {
  const profilo_linea& p = e.profilo;
  j.chiave("points").intero(int64_t{p.limite} + 1);
  const char* nomi[2] = {"first_coordinate_types", "second_coordinate_types"};
  for (int c = 0; c < 2; ++c) {
    j.chiave(nomi[c]).lista();
    for (const tratta_tipi& t : tratte_tipi(p, c)) {
      j.oggetto().chiave("first").intero(t.primo).chiave("last").intero(t.ultimo);
      j.chiave("type").intero(t.tipo).chiave("name").testo(nome_variante(t.tipo)).chiudi();
    }
    j.chiudi();
  }
  estensione_piano est = estensione_di(p);
  j.chiave("plan_points").intero(est.punti_presenti);
  if (est.punti_presenti > 0) {
    j.chiave("first_min").reale(est.minimo[0]).chiave("first_max").reale(est.massimo[0]);
    j.chiave("second_min").reale(est.minimo[1]).chiave("second_max").reale(est.massimo[1]);
  }
  j.chiave("length_m").reale(est.lunghezza);
}

}  // namespace

void stampa_testo(const esame_file& e, std::ostream& out) {
  if (!e.errore.empty()) return;
  out << e.nome << ": " << descrizione_genere(*e.genere) << ", " << e.byte << " bytes";
  switch (*e.genere) {
    case genere_file::punti:
      out << ", " << numero_punti << " records\n";
      testo_punti(e, out);
      break;
    case genere_file::celle:
      out << formato(", %zu cells (0 to %zu m)\n", e.celle.size(), (e.celle.size() - 1) * metri_per_cella);
      testo_celle(e, out);
      break;
    case genere_file::profilo:
      out << formato(", %d points (0 to %d) for each coordinate\n", e.profilo.limite + 1, e.profilo.limite);
      testo_profilo(e, out);
      break;
  }
  for (const std::string& a : e.avvisi) out << "warning: " << a << "\n";
}

void stampa_json(const esame_file& e, scrittore_json& j) {
  j.oggetto();
  j.chiave("file").testo(e.nome);
  if (!e.errore.empty()) {
    j.chiave("error").testo(e.errore).chiudi();
    return;
  }
  j.chiave("kind").testo(descrizione_genere(*e.genere));
  j.chiave("bytes").intero(static_cast<int64_t>(e.byte));
  switch (*e.genere) {
    case genere_file::punti: json_punti(e, j); break;
    case genere_file::celle: json_celle(e, j); break;
    case genere_file::profilo: json_profilo(e, j); break;
  }
  j.chiave("warnings").lista();
  for (const std::string& a : e.avvisi) j.testo(a);
  j.chiudi();
  j.chiudi();
}
