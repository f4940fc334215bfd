#include "scenario/decodifica.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/codici_gara.h"
#include "scenario/formato.h"
#include "text/archivio.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

bool solo_testo(const punto& p) {
  punto q = p;
  q.testo.clear();
  return !p.testo.empty() && punto_vuoto(q);
}

std::string tre(const std::array<int, 3>& v) { return formato("%d %d %d", v[0], v[1], v[2]); }

}  // namespace

decodificato<std::string> leggi_file(const fs::path& percorso) {
  decodificato<std::string> r;
  std::error_code ec;
  if (fs::is_directory(percorso, ec)) {
    r.errore = "is a folder, not a file";
    return r;
  }
  int numero = 0;
  switch (leggi_file_intero(percorso, massimo_byte_file, r.dati, numero)) {
    case esito_lettura::letto:
      break;
    case esito_lettura::troppo_grande:
      r.errore = formato("larger than %ju bytes: too large for a scenario file", massimo_byte_file);
      break;
    default:
      r.errore = std::string("cannot be read: ") + std::strerror(numero);
  }
  return r;
}

aspetti_segnale aspetti_di(const cella& c) {
  aspetti_segnale a;
  const int16_t coppie[3] = {c.valore, c.valore_2, c.valore_3};
  a.valido = c.valore_4 >= 0;
  for (int i = 0; i < 3; ++i) {
    if (coppie[i] < 0 || coppie[i] > 99) a.valido = false;
    a.sinistra[i] = coppie[i] / 10;
    a.destra[i] = coppie[i] % 10;
  }
  a.rapp = c.valore_4 / 10;
  a.sx = c.valore_4 % 10 / 3;
  a.dx = c.valore_4 % 10 % 3;
  return a;
}

figure_indicatore figure_di(const cella& c) {
  figure_indicatore f;
  const int16_t valori[3] = {c.valore, c.valore_2, c.valore_3};
  f.valido = c.valore_4 >= 0;
  for (int i = 0; i < 3; ++i) {
    if (valori[i] < 0) f.valido = false;
    f.lato_s[i] = valori[i] / 100 * 5;
    f.lato_d[i] = valori[i] % 100 * 5;
  }
  f.strisce_s = c.valore_4 / 10;
  f.strisce_d = c.valore_4 % 10;
  return f;
}

std::string sintesi_cella(const cella& c) {
  // The fields a kind gives meaning to; any other field that is not zero is
  // shown by name after the decoded values.
  enum : unsigned { v1 = 1, v2 = 2, v3 = 4, v4 = 8, tm = 16 };
  unsigned usati = 0;
  std::string s;
  auto aggiungi = [&s](const std::string& parte) {
    if (!s.empty()) s += ", ";
    s += parte;
  };
  switch (c.tipo) {
    case segnale: {
      aspetti_segnale a = aspetti_di(c);
      if (!a.valido) break;
      usati = v1 | v2 | v3 | v4 | tm;
      aggiungi("left " + tre(a.sinistra));
      aggiungi("right " + tre(a.destra));
      aggiungi(formato("sx %d, dx %d, rapp %d, tempo %d", a.sx, a.dx, a.rapp, c.tempo));
      break;
    }
    case fine_rallentamento:
    case inizio_rallentamento:
    case avviso_rallentamento:
      usati = v1 | v2;
      aggiungi(formato("%d km/h", c.valore));
      if (c.valore_2 != 0) aggiungi(formato("d_v %d", c.valore_2));
      if (c.tipo != avviso_rallentamento) {
        usati |= v3;
        aggiungi(formato("f_tt %d", c.valore_3));
      }
      break;
    case tabella_rallentamento:
      usati = v1 | v2;
      aggiungi(formato("board %d", c.valore));
      if (c.valore_2 != 0) aggiungi(formato("d_v board %d", c.valore_2));
      break;
    case indicatore_v_max: {
      figure_indicatore f = figure_di(c);
      if (!f.valido) break;
      usati = v1 | v2 | v3 | v4;
      aggiungi("s " + tre(f.lato_s));
      aggiungi("d " + tre(f.lato_d));
      aggiungi(formato("stripes s %d d %d", f.strisce_s, f.strisce_d));
      break;
    }
    case fermata:
      usati = v1;
      aggiungi(formato("station record %d", c.valore));
      break;
    case abbattimento:
      usati = v1;
      aggiungi(formato("value %d", c.valore));
      break;
    case cartello:
      usati = v1;
      aggiungi(formato("sign text record %d", c.valore));
      break;
    default:
      break;
  }
  const struct {
    unsigned bit;
    const char* nome;
    int valore;
  } campi[] = {{v1, "valore", c.valore},     {v2, "valore_2", c.valore_2}, {v3, "valore_3", c.valore_3},
               {v4, "valore_4", c.valore_4}, {tm, "tempo", c.tempo}};
  for (const auto& k : campi) {
    if (!(usati & k.bit) && k.valore != 0) aggiungi(formato("%s %d", k.nome, k.valore));
  }
  return s;
}

std::vector<tratta> tratte(const std::vector<cella>& celle, uint8_t cella::*campo) {
  std::vector<tratta> t;
  for (size_t k = 0; k < celle.size(); ++k) {
    int v = celle[k].*campo;
    if (!t.empty() && t.back().valore == v) {
      t.back().ultima = static_cast<int32_t>(k);
    } else {
      t.push_back({static_cast<int32_t>(k), static_cast<int32_t>(k), v});
    }
  }
  return t;
}

std::string ore_minuti_secondi(int64_t secondi) {
  uint64_t a = secondi < 0 ? 0 - static_cast<uint64_t>(secondi) : static_cast<uint64_t>(secondi);
  return formato("%s%02ju:%02ju:%02ju", secondi < 0 ? "-" : "", static_cast<uintmax_t>(a / 3600),
                 static_cast<uintmax_t>(a / 60 % 60), static_cast<uintmax_t>(a % 60));
}

std::string orologio_di(const tabella_punti& p) {
  const punto& c = p[punto_codici];
  return formato("%02d:%02d:%02d", c.intero_3, c.intero_4, c.intero_5);
}

int32_t codice_st_atteso(const tabella_punti& p) {
  modello m;
  m.punti[punto_codici].testo = p[punto_codici].testo;
  m.punti[punto_scenario].testo = p[punto_scenario].testo;
  return codice_gara_st(m);
}

bool punto_vuoto(const punto& p) {
  return p.tipo == 0 && p.inizio == 0 && p.fine == 0 && p.posizione == 0 && p.opzione_1 == 0 && p.testo.empty() &&
         p.intero_1 == 0 && p.intero_2 == 0 && p.intero_3 == 0 && p.intero_4 == 0 && p.intero_5 == 0 &&
         p.opzione_2 == 0 && p.sosta == 0 && p.opzione_3 == 0 && p.opzione_4 == 0 && p.orario == 0;
}

ruoli_punti ruoli_di(const tabella_punti& p) {
  ruoli_punti r;
  while (r.cartello_piu_basso > 1 && solo_testo(p[static_cast<size_t>(r.cartello_piu_basso - 1)])) {
    --r.cartello_piu_basso;
  }
  while (r.ultima_stazione + 1 < r.cartello_piu_basso && !punto_vuoto(p[static_cast<size_t>(r.ultima_stazione + 1)])) {
    ++r.ultima_stazione;
  }
  if (!punto_vuoto(p[0])) r.altri.push_back(0);
  for (int k = r.ultima_stazione + 1; k < r.cartello_piu_basso; ++k) {
    if (!punto_vuoto(p[static_cast<size_t>(k)])) r.altri.push_back(k);
  }
  return r;
}

estensione_piano estensione_di(const profilo_linea& p) {
  estensione_piano e;
  bool precedente = false;
  std::array<double, 2> prima{};
  for (int32_t m = 0; m <= p.limite; ++m) {
    bool presente = true;
    std::array<double, 2> q{};
    for (int c = 0; c < 2; ++c) {
      if (p.tipi[c][m] == variante_vuota) {
        presente = false;
        continue;
      }
      q[c] = p.valori[c][m];
      if (!std::isfinite(q[c])) {
        ++e.non_finiti;
        presente = false;
      }
    }
    if (presente) {
      for (int c = 0; c < 2; ++c) {
        if (e.punti_presenti == 0 || q[c] < e.minimo[c]) e.minimo[c] = q[c];
        if (e.punti_presenti == 0 || q[c] > e.massimo[c]) e.massimo[c] = q[c];
      }
      ++e.punti_presenti;
      if (precedente) e.lunghezza += std::hypot(q[0] - prima[0], q[1] - prima[1]);
      prima = q;
    }
    precedente = presente;
  }
  return e;
}

std::vector<tratta_tipi> tratte_tipi(const profilo_linea& p, int coordinata) {
  std::vector<tratta_tipi> t;
  for (int32_t m = 0; m <= p.limite; ++m) {
    uint8_t tipo = p.tipi[coordinata][m];
    if (!t.empty() && t.back().tipo == tipo) {
      t.back().ultimo = m;
    } else {
      t.push_back({m, m, tipo});
    }
  }
  return t;
}

const char* nome_variante(uint8_t tipo) {
  switch (tipo) {
    case variante_vuota: return "empty";
    case variante_intero: return "16-bit integer";
    case variante_doppio: return "double";
    default: return "unknown";
  }
}
