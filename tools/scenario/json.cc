#include "scenario/json.h"

#include <cmath>

std::string testo_json(const json& v) { return v.dump(-1, ' ', false, json::error_handler_t::replace); }

json& scrittore_json::metti(json v) {
  if (aperti_.empty()) {
    radice_ = std::move(v);
    return radice_;
  }
  json& c = *aperti_.back();
  if (c.is_array()) {
    c.push_back(std::move(v));
    return c.back();
  }
  json& posto = c[chiave_];
  posto = std::move(v);
  return posto;
}

scrittore_json& scrittore_json::oggetto() {
  // Nothing else is added to a container while one it holds is open, so the
  // pointers to the open ones stay valid.
  aperti_.push_back(&metti(json::object()));
  return *this;
}

scrittore_json& scrittore_json::lista() {
  aperti_.push_back(&metti(json::array()));
  return *this;
}

scrittore_json& scrittore_json::chiudi() {
  if (aperti_.empty()) return *this;
  aperti_.pop_back();
  if (aperti_.empty()) out_ << testo_json(radice_);
  return *this;
}

scrittore_json& scrittore_json::chiave(std::string_view nome) {
  chiave_ = std::string(nome);
  return *this;
}

scrittore_json& scrittore_json::intero(int64_t v) {
  metti(v);
  return *this;
}

scrittore_json& scrittore_json::reale(double v) {
  metti(std::isfinite(v) ? json(v) : json(nullptr));
  return *this;
}

scrittore_json& scrittore_json::testo(std::string_view utf8) {
  metti(std::string(utf8));
  return *this;
}

scrittore_json& scrittore_json::logico(bool v) {
  metti(v);
  return *this;
}
