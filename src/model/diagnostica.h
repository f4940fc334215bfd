#ifndef SCENARIO_MODEL_DIAGNOSTICA_H
#define SCENARIO_MODEL_DIAGNOSTICA_H

#include <cstdint>
#include <string>
#include <vector>

// What a compile can tell an author beyond the error code and position: where
// in which text the failing record stands, which records were passed over,
// and which record placed each cell's object. Filled only when the compile is
// given one; it changes nothing of the result.

enum testo_sorgente : uint8_t { nessun_testo = 0, testo_linea = 1, testo_treno = 2 };

struct luogo_sorgente {
  testo_sorgente testo = nessun_testo;
  int32_t riga = 0;  // from 1; 0 = unknown
  int32_t colonna = 0;
};

struct avviso_campo {
  luogo_sorgente luogo;
  std::string campo;  // the keyword field that matched nothing
};

struct diagnostica {
  luogo_sorgente record;  // keyword field of the record being compiled
  luogo_sorgente campo;   // the field being read when the compile stopped
  // Where the record and field stood when the last error code was recorded.
  luogo_sorgente record_errore;
  luogo_sorgente campo_errore;
  std::string messaggio_errore;  // the run-time failure's own words, for 25
  std::vector<avviso_campo> avvisi;
  std::vector<luogo_sorgente> origine_celle;  // by cell index
};

// Records that the current record placed an object in cell k.
inline void annota_origine(diagnostica* d, int64_t k) {
  if (!d || k < 0) return;
  if (d->origine_celle.size() <= static_cast<size_t>(k)) d->origine_celle.resize(static_cast<size_t>(k) + 1);
  d->origine_celle[static_cast<size_t>(k)] = d->record;
}

// Remembers where the compile stood when it recorded an error.
inline void annota_errore(diagnostica* d) {
  if (!d) return;
  d->record_errore = d->record;
  d->campo_errore = d->campo;
}

#endif
