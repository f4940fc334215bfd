#include "scenario/parole_autore.h"

#include <algorithm>
#include <cstring>

#include "model/modello.h"
#include "text/codifica.h"

std::string oggetto_della_cella(uint8_t tipo, bool dalla_passata) {
  switch (tipo) {
    case vuota: return "nothing";
    case segnale: return "a signal";
    case fine_rallentamento: return "the end of a slowdown";
    case inizio_rallentamento: return "the start of a slowdown";
    case avviso_rallentamento: return "the advance warning of a slowdown";
    case tabella_rallentamento: return "a board of a slowdown";
    case indicatore_v_max: return "a maximum-speed indicator";
    case fermata: return "the stop of a station";
    case riempimento_montagna: return "mountain fill";
    case abbattimento:
      return dalla_passata ? "a speed marker of the finishing pass" : "an abbattimento item";
    case abbattimento_zero: return "an abbattimento item";
    case cartello: return "a sign";
    default: return "an object of kind " + std::to_string(tipo);
  }
}

namespace {

struct valori_del_genere {
  const char* genere;
  std::vector<const char*> nomi;
};

const std::vector<valori_del_genere>& valori() {
  static const std::vector<valori_del_genere> tabella = {
      {"lunghezza percorso", {"the line length"}},
      {"progressiva chilometrica", {"the position", "the kilometre figure", "the kind"}},
      {"sfondo", {"the background"}},
      {"ripetizione segnali", {"the start", "the end"}},
      {"pendenza", {"the position", "the gradient"}},
      {"curva", {"the start", "the length"}},
      {"montagna", {"the start", "the end", "the kind"}},
      {"indicatori_vmax",
       {"the position", "figure a of side s", "figure b of side s", "figure c of side s", "the stripes of side s",
        "figure a of side d", "figure b of side d", "figure c of side d", "the stripes of side d"}},
      {"cartello_indicatore", {"the position", "the sign text"}},
      {"massa frenata", {"the braked mass"}},
      {"vetture", {"the number of cars"}},
      {"velocita", {"the position", "the speed"}},
      {"aderenza", {"the position", "the adhesion"}},
      {"orologio", {"the hours", "the minutes", "the seconds"}},
      {"sabbia", {"the sand"}},
      {"segnale",
       {"the position", "sx", "s1", "s2", "s3", "rapp", "dx", "d1", "d2", "d3", "the hold time"}},
      {"rallentamento", {"the position", "the speed", "the length", "f_tt", "f_ta", "d_v"}},
      {"abbattimento", {"the position", "the value"}},
      {"stazione",
       {"the position", "the kind", "the length", "option 1", "option 4", "option 3", "integer 1", "integer 2",
        "option 2", "integer 3", "integer 4", "integer 5", "the stop time", "the hours", "the minutes",
        "the seconds", "the name"}},
  };
  return tabella;
}

}  // namespace

std::string nome_del_valore(const char* genere, int32_t n) {
  if (!genere || n < 0) return {};
  for (const valori_del_genere& v : valori()) {
    if (std::strcmp(v.genere, genere) == 0) {
      return static_cast<size_t>(n) < v.nomi.size() ? v.nomi[static_cast<size_t>(n)] : std::string();
    }
  }
  return {};
}

const std::vector<std::string>& parole_chiave(testo_sorgente testo) {
  static const std::vector<std::string> linea = [] {
    std::vector<std::string> p = {"lunghezza percorso",
                                  "progressiva chilometrica uno",
                                  "progressiva chilometrica due",
                                  "progressiva chilometrica tre",
                                  "sfondo uno",
                                  "sfondo due",
                                  "sfondo tre",
                                  "ripetizione segnali 4 codici",
                                  "ripetizione segnali 9 codici",
                                  "pendenza",
                                  "montagna",
                                  "indicatori_vmax",
                                  "cartello_indicatore"};
    for (const char* lato : {"curvas", "curvad"}) {
      for (char c = '1'; c <= '6'; ++c) p.push_back(lato + std::string(1, c));
    }
    return p;
  }();
  static const std::vector<std::string> treno = {
      "percentuale massa frenata", "numero vetture", "velocita", "aderenza",     "orologio",
      "sabbia",                    "segnale",        "rallentamento", "abbattimento", "stazione"};
  static const std::vector<std::string> nessuna;
  return testo == testo_linea ? linea : testo == testo_treno ? treno : nessuna;
}

size_t distanza_modifiche(const std::string& a, const std::string& b) {
  std::vector<size_t> riga(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) riga[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonale = riga[0];
    riga[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t sopra = riga[j];
      riga[j] = std::min({riga[j] + 1, riga[j - 1] + 1, diagonale + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonale = sopra;
    }
  }
  return riga[b.size()];
}

std::string parola_suggerita(testo_sorgente testo, const std::string& campo) {
  // Too short a field is within two edits of too much.
  if (campo.size() < 3) return {};
  const std::string scritto = minuscolo_cp1252(campo);
  std::string migliore;
  size_t distanza = 3;
  for (const std::string& p : parole_chiave(testo)) {
    const size_t d = distanza_modifiche(scritto, p);
    if (d < distanza) {
      distanza = d;
      migliore = p;
    }
  }
  return migliore;
}
