#include "scenario/riferimento.h"

#include "scenario/riferimento_tabelle.h"
#include "text/codifica.h"

const char* nome_testo(testo_di t) { return t == testo_di::linea ? "line text" : "train text"; }

const std::vector<record_testo>& record_dei_testi() {
  static const std::vector<record_testo> tutti = [] {
    std::vector<record_testo> r = record_linea();
    for (record_testo& t : record_treno()) r.push_back(std::move(t));
    return r;
  }();
  return tutti;
}

const std::vector<intestazione_sezione>& intestazioni_sezioni() {
  const testo_di l = testo_di::linea;
  const testo_di t = testo_di::treno;
  static const std::vector<intestazione_sezione> tutte = {
      {"generale", l},      {"curve", l},     {"pendenze", l},        {"montagne", l}, {"cartelli", l},
      {"indicazioni", l},   {"fine", l},      {"generale", t},        {"aderenze", t}, {"vel_limite", t},
      {"stazioni", t},      {"rallentamenti", t}, {"segnali", t},     {"codici", t},   {"fine", t},
  };
  return tutte;
}

const std::vector<regola_lettura>& regole_di_lettura() {
  static const std::vector<regola_lettura> tutte = regole();
  return tutte;
}

const std::vector<rimedio_errore>& rimedi_errori() {
  static const std::vector<rimedio_errore> tutti = rimedi();
  return tutti;
}

const rimedio_errore* cerca_rimedio(int32_t codice) {
  for (const rimedio_errore& r : rimedi_errori()) {
    if (r.codice == codice) return &r;
  }
  return nullptr;
}

std::vector<const record_testo*> record_per_campo(const std::string& campo) {
  std::vector<const record_testo*> trovati;
  for (const record_testo& r : record_dei_testi()) {
    bool tutte = !r.parole.empty();
    for (const char* parola : r.parole) {
      if (!(r.maiuscole_contano ? contiene(campo, parola) : contiene_senza_maiuscole(campo, parola))) tutte = false;
    }
    if (tutte) trovati.push_back(&r);
  }
  return trovati;
}

const record_testo* record_per_nome(const std::string& nome) {
  for (const record_testo& r : record_dei_testi()) {
    if (minuscolo_cp1252(nome) == r.nome) return &r;
  }
  return nullptr;
}
