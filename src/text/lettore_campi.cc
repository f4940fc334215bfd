#include "text/lettore_campi.h"

#include "model/errore_esecuzione.h"

namespace {

bool spazio(char c) { return c == ' ' || c == '\t'; }
bool fine_riga(char c) { return c == '\r' || c == '\n'; }

}  // namespace

lettore_campi::lettore_campi(std::string_view testo) : testo_(testo) {}

void lettore_campi::salta_spazi() {
  while (pos_ < testo_.size() && spazio(testo_[pos_])) ++pos_;
}

void lettore_campi::consuma_fine_riga() {
  if (pos_ >= testo_.size()) return;
  if (testo_[pos_] == '\r') {
    ++pos_;
    if (pos_ < testo_.size() && testo_[pos_] == '\n') ++pos_;
  } else if (testo_[pos_] == '\n') {
    ++pos_;
  } else {
    return;
  }
  ++riga_;
  inizio_riga_ = pos_;
}

void lettore_campi::segna_inizio() {
  luogo_.riga = riga_;
  luogo_.colonna = static_cast<int32_t>(pos_ - inizio_riga_ + 1);
}

void lettore_campi::fallisce(const std::string& perche) const {
  throw errore_esecuzione("line " + std::to_string(luogo_.riga) + ", column " +
                          std::to_string(luogo_.colonna) + ": " + perche);
}

std::string lettore_campi::leggi_testo() {
  if (fine()) {
    segna_inizio();
    fallisce("read past the end of the text");
  }
  salta_spazi();
  segna_inizio();
  size_t inizio = pos_;
  while (pos_ < testo_.size() && testo_[pos_] != ',' && !fine_riga(testo_[pos_])) ++pos_;
  size_t fine_campo = pos_;
  while (fine_campo > inizio && spazio(testo_[fine_campo - 1])) --fine_campo;
  std::string campo(testo_.substr(inizio, fine_campo - inizio));
  if (pos_ < testo_.size()) {
    if (testo_[pos_] == ',') {
      ++pos_;
    } else {
      consuma_fine_riga();
    }
  }
  return campo;
}

int64_t lettore_campi::leggi_numero() {
  if (fine()) {
    segna_inizio();
    fallisce("read past the end of the text");
  }
  salta_spazi();
  segna_inizio();
  size_t inizio = pos_;
  while (pos_ < testo_.size() && !spazio(testo_[pos_]) && testo_[pos_] != ',' &&
         !fine_riga(testo_[pos_])) {
    ++pos_;
  }
  std::string_view campo = testo_.substr(inizio, pos_ - inizio);
  bool negativo = !campo.empty() && campo[0] == '-';
  std::string_view cifre = negativo ? campo.substr(1) : campo;
  if (cifre.empty()) fallisce("a number is needed here");
  int64_t valore = 0;
  for (char c : cifre) {
    if (c < '0' || c > '9') fallisce("a number is needed here, not \"" + std::string(campo) + "\"");
    // Far beyond every width a number is read into; keeps the sum in range.
    if (valore > 100000000000LL) fallisce("number too large");
    valore = valore * 10 + (c - '0');
  }
  salta_spazi();
  if (pos_ < testo_.size()) {
    if (testo_[pos_] == ',') {
      ++pos_;
    } else {
      consuma_fine_riga();
    }
  }
  return negativo ? -valore : valore;
}

int32_t lettore_campi::leggi_long() {
  int64_t v = leggi_numero();
  if (v < INT32_MIN || v > INT32_MAX) fallisce("number does not fit a 32-bit integer");
  return static_cast<int32_t>(v);
}

int16_t lettore_campi::leggi_intero() {
  int64_t v = leggi_numero();
  if (v < -32768 || v > 32767) fallisce("number does not fit a 16-bit integer");
  return static_cast<int16_t>(v);
}

uint8_t lettore_campi::leggi_byte() {
  int64_t v = leggi_numero();
  if (v < 0 || v > 255) fallisce("number does not fit a byte (0 to 255)");
  return static_cast<uint8_t>(v);
}

std::string_view lettore_campi::riga_del_testo(int32_t riga) const {
  size_t p = 0;
  for (int32_t r = 1; r < riga && p < testo_.size(); ++r) {
    while (p < testo_.size() && !fine_riga(testo_[p])) ++p;
    if (p < testo_.size() && testo_[p] == '\r' && p + 1 < testo_.size() && testo_[p + 1] == '\n') ++p;
    if (p < testo_.size()) ++p;
  }
  size_t q = p;
  while (q < testo_.size() && !fine_riga(testo_[q])) ++q;
  return testo_.substr(p, q - p);
}
