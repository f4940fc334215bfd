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
  ++iniziati_;
  campo_ = {};
  luogo_.riga = riga_;
  luogo_.colonna = static_cast<int32_t>(pos_ - inizio_riga_ + 1);
}

void lettore_campi::fallisce(motivo_fallimento motivo, const std::string& perche) {
  motivo_ = motivo;
  throw errore_esecuzione("line " + std::to_string(luogo_.riga) + ", column " +
                          std::to_string(luogo_.colonna) + ": " + perche);
}

std::string lettore_campi::leggi_testo() {
  if (fine()) {
    segna_inizio();
    fallisce(motivo_fallimento::oltre_la_fine, "read past the end of the text");
  }
  salta_spazi();
  segna_inizio();
  size_t inizio = pos_;
  while (pos_ < testo_.size() && testo_[pos_] != ',' && !fine_riga(testo_[pos_])) ++pos_;
  size_t fine_campo = pos_;
  while (fine_campo > inizio && spazio(testo_[fine_campo - 1])) --fine_campo;
  campo_ = testo_.substr(inizio, fine_campo - inizio);
  std::string campo(campo_);
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
    fallisce(motivo_fallimento::oltre_la_fine, "read past the end of the text");
  }
  salta_spazi();
  segna_inizio();
  size_t inizio = pos_;
  while (pos_ < testo_.size() && !spazio(testo_[pos_]) && testo_[pos_] != ',' &&
         !fine_riga(testo_[pos_])) {
    ++pos_;
  }
  std::string_view campo = testo_.substr(inizio, pos_ - inizio);
  campo_ = campo;
  bool negativo = !campo.empty() && campo[0] == '-';
  std::string_view cifre = negativo ? campo.substr(1) : campo;
  if (cifre.empty()) fallisce(motivo_fallimento::non_numero, "a number is needed here");
  int64_t valore = 0;
  for (char c : cifre) {
    if (c < '0' || c > '9') {
      fallisce(motivo_fallimento::non_numero, "a number is needed here, not \"" + std::string(campo) + "\"");
    }
    // Far beyond every width a number is read into; keeps the sum in range.
    if (valore > 100000000000LL) {
      fallisce(motivo_fallimento::numero_troppo_largo, "number too large");
    }
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

int64_t lettore_campi::leggi_in(int64_t minimo, int64_t massimo, const char* perche) {
  minimo_ = minimo;
  massimo_ = massimo;
  const int64_t v = leggi_numero();
  if (v < minimo || v > massimo) fallisce(motivo_fallimento::numero_troppo_largo, perche);
  return v;
}

int32_t lettore_campi::leggi_long() {
  return static_cast<int32_t>(leggi_in(INT32_MIN, INT32_MAX, "number does not fit a 32-bit integer"));
}

int16_t lettore_campi::leggi_intero() {
  return static_cast<int16_t>(leggi_in(-32768, 32767, "number does not fit a 16-bit integer"));
}

uint8_t lettore_campi::leggi_byte() {
  return static_cast<uint8_t>(leggi_in(0, 255, "number does not fit a byte (0 to 255)"));
}

std::vector<std::string> righe_del_testo(std::string_view testo) {
  std::vector<std::string> righe;
  size_t p = 0;
  while (p < testo.size()) {
    size_t q = p;
    while (q < testo.size() && !fine_riga(testo[q])) ++q;
    righe.emplace_back(testo.substr(p, q - p));
    if (q < testo.size() && testo[q] == '\r' && q + 1 < testo.size() && testo[q + 1] == '\n') ++q;
    p = q + 1;
  }
  return righe;
}
