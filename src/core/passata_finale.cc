#include "core/passata_finale.h"

#include "model/conversioni.h"

namespace {

// Slowdowns at this speed or faster get no markers inside.
constexpr int16_t velocita_senza_ripetizioni = 110;
constexpr int32_t intervallo_marcatori = 8;
constexpr int32_t finestra_segnali = 20;
constexpr int32_t cella_segnale_minima = 3;
constexpr int32_t finestra_dopo_fine = 12;

struct passata {
  modello& m;
  int32_t ultima;  // the last cell of the grid

  bool esiste(int32_t k) const { return k >= 0 && k <= ultima; }
  cella& at(int32_t k) { return cella_di(m, k); }
  bool libera_in(int32_t k) { return esiste(k) && libera(at(k)); }

  // The record whose rule is being applied: the signal's or the slowdown's,
  // when traced.
  int32_t record = nessuno;

  void marca(int32_t k) {
    cella& c = at(k);
    c.tipo = abbattimento;
    c.valore = valore_marcatore;
    annota_origine(m.traccia, k, record, true);
  }

  // An error at cell k, caused by the record of the rule, met at cell
  // `dove` (the signal's or slowdown's own cell).
  void errore(int32_t codice, int32_t k) {
    m.numero_errore = codice;
    m.posizione_errore = prodotto(k, 50);
    if (diagnostica* d = m.traccia) {
      annota_errore(d, {record, nessuno});
      aggiungi_nota(d, {genere_nota::cella_della_passata, {}, k, esiste(k) ? at(k).tipo : uint8_t{0}, nullptr});
    }
  }

  void regola_di(int32_t k) {
    if (m.traccia) record = origine_di(*m.traccia, k);
  }

  // Caps an existing marker at the marker value.
  void limita(int32_t k) {
    cella& c = at(k);
    c.valore = CInt(minimo(valore_marcatore, c.valore));
  }

  // Rule A: signals before an advance-warning cell.
  void segnali_prima_dell_avviso(int32_t k) {
    for (int32_t a = 1; a <= finestra_segnali && k - a >= cella_segnale_minima; ++a) {
      const int32_t s = k - a;
      if (at(s).tipo != segnale) continue;
      regola_di(s);
      if (libera_in(s - 1)) {
        marca(s - 1);
      } else if (libera_in(s - 2)) {
        marca(s - 2);
      } else if (at(s - 1).tipo == abbattimento) {
        limita(s - 1);
      } else if (at(s - 2).tipo == abbattimento) {
        limita(s - 2);
      } else {
        errore(11, s);
      }
    }
  }

  // Rule B: markers in front of, inside and after a slowdown starting at k.
  void rallentamento(int32_t k) {
    static constexpr int32_t gruppi[3][3] = {{5, 6, 7}, {11, 12, 13}, {18, 19, 20}};
    regola_di(k);
    for (const auto& gruppo : gruppi) {
      if (k <= gruppo[2]) continue;
      bool posto = false;
      for (int32_t d : gruppo) {
        if (libera_in(k - d)) {
          marca(k - d);
          posto = true;
          break;
        }
      }
      if (!posto) errore(12, k);
    }

    // Walk to the end cell; place the repeated markers only when slow.
    const bool lento = at(k).valore < velocita_senza_ripetizioni;
    int32_t contatore = 0;
    int32_t i = k;
    do {
      ++i;
      ++contatore;
      if (lento && contatore == intervallo_marcatori) {
        if (libera_in(i)) {
          marca(i);
          contatore = 0;
        } else if (libera_in(i - 1)) {
          marca(i - 1);
          contatore = 1;
        } else if (libera_in(i + 1)) {
          marca(i + 1);
          contatore = -1;
        } else {
          // The counter passes 8: no further marker in this slowdown.
          errore(13, i);
        }
      }
    } while (at(i).tipo != fine_rallentamento && i < ultima);

    // The first signal in the end cell or the 12 after it.
    contatore = 0;
    for (int32_t q = i; q <= i + finestra_dopo_fine && q <= ultima; ++q) {
      if (at(q).tipo == segnale) {
        contatore = q - 1;
        break;
      }
    }
    if (contatore > 0) {
      if (libera_in(contatore)) {
        marca(contatore);
      } else if (libera_in(contatore - 1)) {
        marca(contatore - 1);
      } else {
        errore(13, i);
      }
    }
  }
};

}  // namespace

void passata_finale(modello& m) {
  if (!m.griglia_presente()) return;
  passata p{m, static_cast<int32_t>(m.celle.size()) - 1};
  const int32_t ultima_visitata = p.ultima - 2;
  for (int32_t k = 1; k <= ultima_visitata; ++k) {
    const uint8_t tipo = p.at(k).tipo;
    if (tipo == avviso_rallentamento) {
      p.segnali_prima_dell_avviso(k);
    } else if (tipo == inizio_rallentamento) {
      p.rallentamento(k);
    }
  }
}
