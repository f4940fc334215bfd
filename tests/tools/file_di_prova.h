#ifndef SCENARIO_TESTS_TOOLS_FILE_DI_PROVA_H
#define SCENARIO_TESTS_TOOLS_FILE_DI_PROVA_H

// Binary scenario files built by hand for the tool's tests, byte by byte from
// the layouts, and a scratch folder to put them in.

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/file_binari.h"
#include "core/memorizza_percorso.h"
#include "tools/aiuti_prova.h"
#include "line/dati_linea.h"
#include "model/modello.h"
#include "text/archivio.h"
#include "train/dati_treno.h"

namespace prova {

// Little-endian bytes, appended field by field.
struct byte {
  std::string b;

  byte& u8(unsigned v) {
    b += static_cast<char>(v & 0xFF);
    return *this;
  }
  byte& i16(int v) {
    auto u = static_cast<uint16_t>(v);
    return u8(u).u8(u >> 8);
  }
  byte& i32(int64_t v) {
    auto u = static_cast<uint32_t>(v);
    return i16(static_cast<int>(u & 0xFFFF)).i16(static_cast<int>(u >> 16));
  }
  byte& f64(double v) {
    auto u = std::bit_cast<uint64_t>(v);
    return i32(static_cast<int64_t>(u & 0xFFFFFFFF)).i32(static_cast<int64_t>(u >> 32));
  }
  byte& testo(const std::string& t) {
    i16(static_cast<int>(t.size()));
    b += t;
    return *this;
  }
};

// The files of a model, as the compile driver's writers make them.
inline std::string file_sim(const std::array<punto, numero_punti>& punti) {
  modello m;
  m.punti = punti;
  return byte_file_sim(m);
}

inline std::string file_dat(const std::vector<cella>& celle) {
  modello m;
  m.celle = celle;
  return byte_file_dat(m);
}

inline std::string file_linea(const profilo_linea& p) { return byte_file_linea(p); }

// A point table with two stations, one sign text and the header slots. The
// train code and scenario name are those whose integrity code is 31525.
inline std::array<punto, numero_punti> punti_di_prova() {
  std::array<punto, numero_punti> p{};
  punto& s = p[1];
  s.tipo = 12;
  s.inizio = -500;
  s.fine = 500;
  s.posizione = 0;
  s.opzione_1 = 1;
  s.testo = "MORSALO / MORSK";
  s.intero_1 = 4;
  s.intero_2 = 1;
  s.intero_3 = 2;
  s.intero_4 = 1;
  s.intero_5 = 1;
  s.sosta = 1;
  s.orario = (12 * 60 + 43) * 60;
  punto& t = p[2];
  t.tipo = 24;
  t.inizio = 7700;
  t.fine = 7900;
  t.posizione = 7800;
  t.testo = "Cal\xE8/ Kaltig";
  p[80].testo = "(P.L.       )(Km. 140.791)";
  p[progressiva_tre].fine = 150400;
  p[progressiva_tre].posizione = 1;
  p[punto_treno].inizio = 105;
  p[punto_treno].fine = 62000;
  p[punto_treno].posizione = 4;
  p[punto_scenario].inizio = 3;     // sfondo_uno
  p[punto_scenario].fine = 1;       // sfondo_tre
  p[punto_scenario].posizione = 2;  // sfondo_due
  p[punto_scenario].testo = std::string(20, 'a');
  p[punto_scenario].intero_1 = 610;
  p[punto_scenario].orario = 31525;
  p[punto_codici].fine = 60000;
  p[punto_codici].posizione = 4;
  p[punto_codici].testo = "aaaaa";
  p[punto_codici].intero_1 = 300;
  p[punto_codici].intero_3 = 12;
  p[punto_codici].intero_4 = 42;
  p[punto_codici].intero_5 = 20;
  return p;
}

// Cells 0 to 12: the file mark, a signal written out byte by byte, a
// slowdown, two indicator boards, a sign, a stop, a kind that is never stored
// and an approach mark; 30 km/h and level for 100 m, then 100 km/h at -4.
inline std::string celle_di_prova() {
  byte o;
  auto profilo = [&o](int velocita, int pendenza) { o.u8(velocita).u8(pendenza).u8(55); };
  auto oggetto = [&](int tipo, int v1, int v2, int v3, int v4) {
    o.u8(tipo).i16(v1).i16(v2).i16(v3).i16(v4).u8(0).u8(0).u8(0);
    profilo(20, 96);
  };
  o.b += std::string(12, '\0');
  profilo(6, 100);
  o.b += std::string("\x00\x01\x14\xA9\x09", 5) + std::string(7, '\0');  // marca_dat 5121, codice_og 2473
  profilo(6, 100);
  o.b += std::string("\x01\x34\x00\x0B\x00\x00\x00\x08\x00\xFA\x00\x00\x14\x60\x37", 15);
  oggetto(4, 40, 0, 0, 0);
  oggetto(3, 40, 5, 1, 0);
  oggetto(2, 40, 0, 1, 0);
  oggetto(5, 2, 0, 0, 0);
  oggetto(6, 1919, 2020, 2121, 0);
  oggetto(6, 1414, 1515, 1515, 22);
  oggetto(14, 80, 0, 0, 0);
  oggetto(10, 1, 0, 0, 0);
  oggetto(9, 7, 0, 0, 0);
  o.u8(0).i16(0).i16(0).i16(0).i16(0).u8(0).u8(81).u8(0);
  profilo(20, 96);
  return o.b;
}

// Six points: (0, 0) and (0, 1) as 16-bit integers, (0, 2) and (3, 6) as
// doubles, then two empty points.
inline std::string linea_di_prova() {
  byte o;
  o.i16(2).i16(0).i16(2).i16(0).i16(5).f64(0.0).i16(5).f64(3.0).i16(0).i16(0);
  o.i16(2).i16(0).i16(2).i16(1).i16(5).f64(2.0).i16(5).f64(6.0).i16(0).i16(0);
  return o.b;
}

// The built-in scenario compiled in memory, with the file marks and codes
// stamped.
inline modello scenario_incorporato() {
  modello m;
  m.nome_scenario = "Morsalo_Torvia";
  m.codice_treno = "R20417";
  archivio_memoria a;
  dati_linea(m, a);
  dati_treno(m, a);
  memorizza_percorso(m, a, 1);
  return m;
}

// What a command printed and returned.
using esecuzione = uscita;

}  // namespace prova

#endif
