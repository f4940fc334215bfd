#include "line/piazzamento_linea.h"

#include <algorithm>

#include "model/conversioni.h"

void memo_montagna(modello& m, int32_t& inizio, int32_t& fine, int32_t& tipo) {
  // The tables hold stretches 1 to 80.
  if (m.numero_montagne >= 80) {
    m.numero_errore = 28;
    return;
  }
  bool illuminata = false;
  if (tipo > 10) {
    tipo = tipo - 10;
    illuminata = true;
  }
  m.numero_montagne += 1;
  const int32_t k = m.numero_montagne;
  m.montagne_inizio[k] = inizio;
  m.montagne_fine[k] = fine;
  // A stretch that follows the one before it within 150 m is of kind 3.
  if (k > 1 && differenza(m.montagne_inizio[k], m.montagne_fine[k - 1]) <= 150) tipo = 3;

  const int32_t ultima = CLng(fine / 50.0 - 1);
  const int32_t prima = CLng(inizio / 50.0);
  // Clipped to the grid; the count of the lit cells still starts at the
  // stretch's own first cell.
  const int64_t da = std::max<int64_t>(prima, 0);
  const int64_t a = std::min<int64_t>(ultima, m.numero_celle);
  for (int64_t i = da; i <= a; ++i) {
    cella& c = cella_di(m, i);
    c.montagna = bassi_8(tipo);
    const int64_t n = i - prima + 1;
    if (illuminata && n % 4 == 0 && c.tipo == vuota) {
      c.tipo = riempimento_montagna;
      annota_origine(m.traccia, i);
    }
  }
}

void memo_indicatori_v_max(modello& m, int32_t posizione, int32_t& vas, int32_t& vbs,
                           int32_t& vcs, int32_t& strisces, int32_t& vad, int32_t& vbd,
                           int32_t& vcd, int32_t& strisced) {
  const int32_t k = cella_della_posizione(posizione);
  cella& c = cella_di(m, k);
  if (m.traccia) m.traccia->cella_rifiutata = k;
  if (!libera(c)) {
    m.numero_errore = 21;
    return;
  }
  // tipo first: a packed value that does not fit leaves the board's kind.
  c.tipo = indicatore_v_max;
  annota_origine(m.traccia, k);
  // Each value packs the side-s figure (times 20) and the side-d figure (a fifth).
  c.valore = CInt(prodotto(vas, 20) + vad / 5.0);
  c.valore_2 = CInt(prodotto(vbs, 20) + vbd / 5.0);
  c.valore_3 = CInt(prodotto(vcs, 20) + vcd / 5.0);
  c.valore_4 = bassi_16(bassi_16(strisces) * 10 + bassi_16(strisced));
}
