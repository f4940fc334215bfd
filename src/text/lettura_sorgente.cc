#include "text/lettura_sorgente.h"

#include "text/codifica.h"

std::string lettura_sorgente::leggi_chiave() {
  std::string campo = l_.leggi_testo();
  m_.riga = campo;
  if (diagnostica* d = m_.traccia) {
    d->record.push_back(record_letto{{qui(), campo}, {}, {}});
    campi_tenuti_ = l_.campi_iniziati();
  }
  return campo;
}

void lettura_sorgente::tieni_valore() {
  diagnostica* d = m_.traccia;
  if (!d) return;
  // A value before any keyword field starts a record of its own.
  if (d->record.empty()) d->record.push_back(record_letto{{{testo_, 0, 0}, {}}, {}, {}});
  d->record.back().valori.push_back({qui(), std::string(l_.testo_campo())});
  campi_tenuti_ = l_.campi_iniziati();
}

std::string lettura_sorgente::leggi_testo() {
  std::string v = l_.leggi_testo();
  tieni_valore();
  return v;
}

int32_t lettura_sorgente::leggi_long() {
  const int32_t v = l_.leggi_long();
  tieni_valore();
  return v;
}

int16_t lettura_sorgente::leggi_intero() {
  const int16_t v = l_.leggi_intero();
  tieni_valore();
  return v;
}

uint8_t lettura_sorgente::leggi_byte() {
  const uint8_t v = l_.leggi_byte();
  tieni_valore();
  return v;
}

bool lettura_sorgente::prossima_chiave(std::string& chiave) {
  if (fine()) return false;
  chiave = leggi_chiave();
  if (fine()) return false;
  for (int i = 0; i < 2 && contiene(chiave, "-"); ++i) {
    chiave = leggi_chiave();
    if (fine()) return false;
  }
  return true;
}

void lettura_sorgente::letto_come(const char* genere) {
  diagnostica* d = m_.traccia;
  if (d && !d->record.empty()) d->record.back().generi.push_back(genere);
}

void lettura_sorgente::avvisa(const std::string& campo) {
  diagnostica* d = m_.traccia;
  if (!d || campo.empty() || d->record.empty()) return;
  if (campo_di_sezione(campo)) return;
  d->avvisi.push_back(record_corrente(*d));
}

int32_t lettura_sorgente::record() const { return m_.traccia ? record_corrente(*m_.traccia) : nessuno; }

void lettura_sorgente::segna_fallimento(const std::exception& e) {
  diagnostica* d = m_.traccia;
  // A failure whose cause was recorded where it happened keeps it.
  if (!d || !d->errore.messaggio.empty()) return;
  if (l_.campi_iniziati() > campi_tenuti_) {
    // The read itself failed: the field it was reading is kept as a value of
    // the record, so that the error can point at it.
    tieni_valore();
    annota_fallimento(d, campo_corrente(*d), l_.motivo(), e, l_.minimo(), l_.massimo());
    return;
  }
  // Arithmetic on the record's values, or an index they give: the record as
  // a whole is the cause.
  annota_fallimento(d, {record_corrente(*d), nessuno}, motivo_fallimento::calcolo_fuori_campo, e);
}

void annota_fallimento(diagnostica* d, riferimento_campo c, motivo_fallimento motivo, const std::exception& e,
                       int64_t minimo, int64_t massimo) {
  if (!d) return;
  annota_errore(d, c);
  d->errore.motivo = motivo;
  d->errore.minimo = minimo;
  d->errore.massimo = massimo;
  d->errore.messaggio = e.what();
}
