#include "text/lettura_sorgente.h"

#include "text/codifica.h"

std::string lettura_sorgente::leggi_chiave() {
  std::string campo = l_.leggi_testo();
  m_.riga = campo;
  if (diagnostica* d = m_.traccia) d->record = d->campo = qui();
  return campo;
}

void lettura_sorgente::segna_campo() {
  if (diagnostica* d = m_.traccia) d->campo = qui();
}

std::string lettura_sorgente::leggi_testo() {
  std::string v = l_.leggi_testo();
  segna_campo();
  return v;
}

int32_t lettura_sorgente::leggi_long() {
  const int32_t v = l_.leggi_long();
  segna_campo();
  return v;
}

int16_t lettura_sorgente::leggi_intero() {
  const int16_t v = l_.leggi_intero();
  segna_campo();
  return v;
}

uint8_t lettura_sorgente::leggi_byte() {
  const uint8_t v = l_.leggi_byte();
  segna_campo();
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

void lettura_sorgente::avvisa(const std::string& campo) {
  diagnostica* d = m_.traccia;
  if (!d || campo.empty()) return;
  if (contiene(campo, "[") && contiene(campo, "]")) return;
  d->avvisi.push_back({d->record, campo});
}
