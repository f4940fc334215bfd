#include "scenario/compila.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/memorizza_percorso.h"
#include "model/modello.h"
#include "text/archivio.h"
#include "tools/aiuti_prova.h"
#include "tools/json_prova.h"

namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::leggi_file;
using prova::modifiche;

const char* const nome_linea = "Morsalo_Torvia_linea.txt";
const char* const nome_treno = "Morsalo_Torvia_R20417-.txt";
const std::vector<std::string> nomi_binari = {"Morsalo_Torvia_linea.dat", "Morsalo_Torvia_R20417.sim",
                                              "Morsalo_Torvia_R20417.dat"};

// Two texts in a folder of their own, and a folder for the output.
struct testi_su_disco {
  cartella_temporanea t;
  std::string linea, treno, uscita;
  std::string byte_linea, byte_treno;

  testi_su_disco(std::string l, std::string tr)
      : byte_linea(std::move(l)), byte_treno(std::move(tr)) {
    fs::create_directory(t.percorso() / "testi");
    linea = t / (std::string("testi/") + nome_linea);
    treno = t / (std::string("testi/") + nome_treno);
    uscita = t / "out";
    prova::scrivi_file(linea, byte_linea);
    prova::scrivi_file(treno, byte_treno);
  }

  prova::uscita compila(std::vector<std::string> opzioni = {}) const {
    std::vector<std::string> a = {linea, treno, "-o", uscita};
    a.insert(a.end(), opzioni.begin(), opzioni.end());
    return prova::esegui(comando_compile, a);
  }

  // The texts are as they were written.
  bool intatti() const { return leggi_file(linea) == byte_linea && leggi_file(treno) == byte_treno; }

  // Every file of the output folder, by name.
  std::map<std::string, std::string> prodotti() const {
    std::map<std::string, std::string> f;
    if (!fs::exists(uscita)) return f;
    for (const auto& e : fs::directory_iterator(uscita)) f[e.path().filename().string()] = leggi_file(e.path());
    return f;
  }

  // {L} and {T} in `s` stand for the texts' paths.
  std::string con_percorsi(const std::string& s) const {
    return prova::sostituisci(prova::sostituisci(s, "{L}", linea), "{T}", treno);
  }
};

// The files the builder's own driver writes for these texts.
std::map<std::string, std::string> file_del_driver(const std::string& linea, const std::string& treno, int32_t j,
                                                   const std::string& nome = "Morsalo_Torvia",
                                                   const std::string& codice = "R20417") {
  modello m;
  m.nome_scenario = nome;
  m.codice_treno = codice;
  archivio_memoria a;
  a.file[nome + "_linea.txt"] = linea;
  a.file[nome + "_" + codice + "-.txt"] = treno;
  const esito_compilazione e = memorizza_percorso(m, a, j);
  std::map<std::string, std::string> f;
  for (const std::string& n : e.file_scritti) f[n] = a.file[n];
  return f;
}

TEST(Compila, BuiltInTextsGiveTheBuildersFiles) {
  testi_su_disco d(prova::testo_linea_incorporato(), prova::testo_treno_incorporato());
  const prova::uscita u = d.compila();
  EXPECT_EQ(u.stato, 0);
  EXPECT_EQ(u.err, "");
  EXPECT_EQ(u.out, "wrote " + prova::unisci(d.uscita, "Morsalo_Torvia_linea.dat") + "\nwrote " +
                       prova::unisci(d.uscita, "Morsalo_Torvia_R20417.sim") + "\nwrote " +
                       prova::unisci(d.uscita, "Morsalo_Torvia_R20417.dat") + "\n");
  const auto f = d.prodotti();
  ASSERT_EQ(f.size(), 3u);
  const fs::path golden(SCENARIO_GOLDEN_DIR);
  EXPECT_TRUE(prova::come_il_golden(f.at("Morsalo_Torvia_R20417.sim"), golden / "Morsalo_Torvia_R20417.sim"));
  EXPECT_TRUE(prova::come_il_golden(f.at("Morsalo_Torvia_R20417.dat"), golden / "Morsalo_Torvia_R20417.dat"));
  const std::string& profilo = f.at("Morsalo_Torvia_linea.dat");
  EXPECT_EQ(profilo.size(), 1379964u);
  EXPECT_TRUE(prova::come_il_golden(profilo, fs::path(SCENARIO_GOLDEN_DIR) / "Morsalo_Torvia_linea.dat"));
  EXPECT_TRUE(d.intatti());
}

TEST(Compila, WithoutLineProfile) {
  testi_su_disco d(prova::testo_linea_incorporato(), prova::testo_treno_incorporato());
  const prova::uscita u = d.compila({"--no-line-profile"});
  EXPECT_EQ(u.stato, 0);
  // Curve records are not read without a plan, and are not warned about.
  EXPECT_EQ(u.err, "");
  const auto f = d.prodotti();
  EXPECT_EQ(f.count("Morsalo_Torvia_linea.dat"), 0u);
  EXPECT_TRUE(f == file_del_driver(d.byte_linea, d.byte_treno, 0));
  EXPECT_EQ(f.size(), 2u);
}

// Names given as options, one the code page holds but ASCII does not: the
// files are named in UTF-8 on disk and hold Windows-1252 bytes.
TEST(Compila, NamesFromOptions) {
  cartella_temporanea t;
  prova::scrivi_file(t / "line.txt", prova::testo_linea_incorporato());
  prova::scrivi_file(t / "train.txt", prova::testo_treno_incorporato());
  const prova::uscita u = prova::esegui(
      comando_compile, {t / "line.txt", t / "train.txt", "--output=" + (t / "out"), "--scenario", "Citt\xC3\xA0",
                        "--train-code", "R1"});
  EXPECT_EQ(u.stato, 0);
  EXPECT_EQ(u.err, "");
  const auto atteso = file_del_driver(prova::testo_linea_incorporato(), prova::testo_treno_incorporato(), 1,
                                      "Citt\xE0", "R1");
  ASSERT_EQ(atteso.size(), 3u);
  for (const char* n : {"Citt\xC3\xA0_linea.dat", "Citt\xC3\xA0_R1.sim", "Citt\xC3\xA0_R1.dat"}) {
    EXPECT_TRUE(fs::exists(percorso_utf8(prova::unisci(t / "out", n)))) << n;
  }
  EXPECT_TRUE(leggi_file(percorso_utf8(prova::unisci(t / "out", "Citt\xC3\xA0_R1.sim"))) == atteso.at("Citt\xE0_R1.sim"));
  EXPECT_NE(atteso.at("Citt\xE0_R1.sim").find("Citt\xE0"), std::string::npos);
}

// What the author reads for representative failures, and the files written
// when asked for with an error: always those of the builder's driver, never a
// change to the texts.
TEST(Compila, MessagesStatusAndFiles) {
  struct caso {
    const char* nome;
    modifiche linea;
    modifiche treno;
    int stato;
    std::string messaggi;  // standard error, {L} and {T} the texts' paths
  };
  const std::string abbattimenti = "abbattimento, 17700, 0\r\nabbattimento, 17750, 0\r\nabbattimento, 17800, 0\r\n";
  const caso casi[] = {
      {"an error in the line text, under a tab",
       {{"ripetizione segnali 4 codici,    0,", "ripetizione segnali 4 codici,\t25,"}},
       {},
       1,
       "{L}:9:31: error 3: the start of the signal repetition is not a multiple of 50\n"
       "ripetizione segnali 4 codici,\t25,    60000\n"
       "                             \t^\n"},
      {"a signal on a cell that a sign of the line text holds",
       {},
       {{"segnale,    9450,", "segnale,    9550,"}},
       1,
       "{T}:39:13: error 16 at 9550 m: a signal falls on an occupied cell\n"
       "segnale,    9550,   2, 5, 1,  0, 0,    2,  2,1,0, 250\n"
       "            ^\n"
       "{L}:54:1: note: cell 192 already holds a sign, placed by this cartello_indicatore record\n"},
      {"a sign on an indicator board",
       {{"cartello_indicatore,  450,", "cartello_indicatore,  700,"}},
       {},
       1,
       "{L}:51:23: error 6 at 700 m: a sign falls on an occupied cell\n"
       "cartello_indicatore,  700,   (PONTE SUL   )(FIUME VERSAL)\n"
       "                      ^\n"
       "{L}:40:1: note: cell 15 already holds a maximum-speed indicator, placed by this indicatori_vmax record\n"},
      {"a slowdown whose end cell, l metres on, is taken",
       {{"cartello_indicatore,  450,", "cartello_indicatore,  4600,"}},
       {},
       1,
       "{T}:33:19: error 19 at 4500 m: the end cell of a slowdown is occupied\n"
       "rallentamento,    4500,    40,  100, 0,  1,  0\n"
       "                  ^\n"
       "{L}:51:1: note: cell 93 already holds a sign, placed by this cartello_indicatore record\n"},
      {"a train record beyond the grid",
       {},
       {{"segnale,    1350,", "segnale,    69000,"}},
       1,
       "{T}:36:13: error 15 at 69000 m: an item lies beyond the end of the cell grid\n"
       "segnale,    69000,   2, 4, 1,  0, 0,    0,  0,0,0, 0\n"
       "            ^\n"},
      {"a line record beyond the grid stops the train text at its first slowdown",
       {{"pendenza,  55500,", "pendenza,  69000,"}},
       {},
       1,
       "{L}:37:12: error 15 at 4500 m: an item lies beyond the end of the cell grid\n"
       "pendenza,  69000,   0\n"
       "           ^\n"
       "{T}:33:19: note: the train text stopped at this rallentamento record, its first signal or slowdown "
       "after that error, which took its position\n"},
      {"a number that is not one",
       {},
       {{"sabbia,    300", "sabbia,    3x0"}},
       1,
       "{T}:4:12: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "sabbia,    3x0\n"
       "           ^\n"
       "note: a number is needed here, not \"3x0\"\n"},
      {"a control character in a field",
       {},
       {{"sabbia,    300", "sabbia,    3\x01"}},
       1,
       "{T}:4:12: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "sabbia,    3?\n"
       "           ^\n"
       "note: a number is needed here, not \"3\\x01\"\n"},
      {"no line length: no grid, no file",
       {{"lunghezza percorso,    62000\r\n", ""}},
       {},
       3,
       "{L}:9:1: error 26: the line text gives no line length\n"
       "[curve]\n"
       "^\n"
       "note: the general section ends here without one\n"},
      {"no general section",
       {{"[generale]", "[general]"}},
       {},
       3,
       "{L}: error 102: the line text ends before a field holding \"[generale]\"\n"},
      {"a kilometre progressive off the 50 m step",
       {{"150300", "150310"}},
       {},
       1,
       "{L}:3:40: error 2: a kilometre progressive's position or figure is not a multiple of 50\n"
       "progressiva chilometrica uno,    0,    150310,    1\n"
       "                                       ^\n"
       "note: kilometre progressives are checked once both texts are read\n"},
      {"the finishing pass finds no room before a slowdown",
       {},
       {{"[codici]", abbattimenti + "[codici]"}},
       1,
       "{T}:34:1: error 12 at 18050 m: no free cell for a speed marker in front of a slowdown start\n"
       "rallentamento,   18000,    30,  150, 1,  1,  0\n"
       "^\n"
       "note: at cell 361, which holds the start of a slowdown\n"},
      {"a sign in cell 1 takes the cell file's mark",
       {{"cartello_indicatore,  450,", "cartello_indicatore,  0,"}},
       {},
       3,
       "{L}:51:1: error 1250: a file mark slot was already taken before the marks were stamped\n"
       "cartello_indicatore,  0,   (PONTE SUL   )(FIUME VERSAL)\n"
       "^\n"
       "note: cell 1 holds a sign, and the cell file keeps its mark in that cell\n"},
      {"fields that match no record warn, and change nothing",
       {{"sfondo uno,    0", "sfondo un0,    0"}},
       {{"[generale]\r\n", "[generale]\r\ncos\xE8 \"strano\"\x01\\\r\n"}},
       0,
       "{L}:6:1: warning: \"sfondo un0\" matches no record and is passed over, with the field after it on this "
       "line; did you mean \"sfondo uno\"?\n"
       "{T}:2:1: warning: \"cos\xC3\xA8 \\\"strano\\\"\\x01\\\\\" matches no record and is passed over\n"},
      {"a curve beyond the grid stops the train text at its first slowdown: the curve is the cause",
       {{"curvad5,  55000,", "curvad5,  70000,"}},
       {},
       1,
       "{L}:29:11: error 15 at 4500 m: an item lies beyond the end of the cell grid\n"
       "curvad5,  70000,  350\n"
       "          ^\n"
       "{T}:33:19: note: the train text stopped at this rallentamento record, its first signal or slowdown "
       "after that error, which took its position\n"},
      {"a speed whose fifth does not fit a byte fails at the next speed record",
       {},
       {{"velocita,    1400,   150", "velocita,    1400,   -10"}},
       1,
       "{T}:12:22: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "velocita,    1400,   -10\n"
       "                     ^\n"
       "note: the speed -10 km/h does not fit the cells: a speed is kept as its fifth in a byte, so it must lie "
       "between -2 and 1277 km/h\n"
       "{T}:13:1: note: it failed here, when this velocita record carried the speed in force on to its cells\n"},
      {"the last speed fails in the tail",
       {},
       {{"velocita,   52950,    75", "velocita,   52950,    1400"}},
       1,
       "{T}:18:23: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "velocita,   52950,    1400\n"
       "                      ^\n"
       "note: the speed 1400 km/h does not fit the cells: a speed is kept as its fifth in a byte, so it must "
       "lie between -2 and 1277 km/h\n"
       "note: it failed when the speed in force filled the cells after the last record\n"},
      {"a gradient too large to take the 100 it is stored with fails at the next gradient record",
       {{"pendenza,  31700,   -1", "pendenza,  31700,   2147483600"}},
       {},
       1,
       "{L}:34:21: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "pendenza,  31700,   2147483600\n"
       "                    ^\n"
       "note: the gradient 2147483600 is too large: 100 is added to it before it is stored, so it must be at "
       "most 2147483547\n"
       "{L}:35:1: note: it failed here, when this pendenza record carried the gradient in force on to its "
       "cells\n"},
      {"an indicator figure that does not fit its packed value",
       {{"indicatori_vmax,  700,  95,  100,", "indicatori_vmax,  700,  95,  2000,"}},
       {},
       1,
       "{L}:40:1: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "indicatori_vmax,  700,  95,  2000,  105,  0,  95,  100,  105,  0\n"
       "^\n"
       "note: a figure of this indicator does not fit: each pair of figures is kept as the side-s figure times "
       "20 plus the side-d figure divided by 5, which must lie between -32768 and 32767\n"},
      {"an adhesion is kept as its low 8 bits and never fails, with a warning",
       {},
       {{"aderenza,   16500,    70", "aderenza,   16500,    700"}},
       0,
       "{T}:8:23: warning: \"700\": an adhesion is kept in one byte, from 0 to 255, so this one is stored as 188; "
       "write a value in that range\n"},
      {"a progressive whose figure cannot take the 100 it is raised by",
       {{"150300", "2147483600"}},
       {},
       1,
       "{L}:3:40: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "progressiva chilometrica uno,    0,    2147483600,    1\n"
       "                                       ^\n"
       "note: the kilometre figure 2147483600 does not fit once 100 is added to it, as it is for a progressive "
       "of kind 1: it must be at most 2147483547\n"
       "{L}:10:1: note: the kilometre progressives are put in order here, where the general section ends\n"},
      {"a section header holding a keyword is read as that record",
       {},
       {{"[stazioni]", "[stazione]"}},
       1,
       "{T}:19:1: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "[stazione]\n"
       "^\n"
       "note: \"[stazione]\" holds the keyword \"stazione\", so it was read as a stazione record, taking its "
       "values from the fields after it\n"
       "{T}:20:1: note: a number is needed here, not \"stazione\"\n"},
      {"a header read as a record that then fails with a code of its own",
       {},
       {{"[stazioni]", "[stazione], 1025"}},
       1,
       "{T}:19:1: error 8 at 1025 m: a station position is not a multiple of 50\n"
       "[stazione], 1025\n"
       "^\n"
       "note: \"[stazione]\" holds the keyword \"stazione\", so it was read as a stazione record, taking its "
       "values from the fields after it\n"
       "{T}:19:13: note: the position of stazione was read here\n"},
      {"a misspelled signal gives one warning with its values folded in",
       {},
       {{"segnale,    1350,", "segnal,    1350,"}},
       0,
       "{T}:36:1: warning: \"segnal\" matches no record and is passed over, with the 11 fields after it on this "
       "line; did you mean \"segnale\"?\n"},
      {"a misspelled gradient",
       {{"pendenza,  16600,", "pendenzza,  16600,"}},
       {},
       0,
       "{L}:32:1: warning: \"pendenzza\" matches no record and is passed over, with the field after it on this "
       "line; did you mean \"pendenza\"?\n"},
      {"a number that is not a whole number",
       {},
       {{"sabbia,    300", "sabbia,    4.5"}},
       1,
       "{T}:4:12: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "sabbia,    4.5\n"
       "           ^\n"
       "note: a whole number is needed here, not 4.5\n"},
      {"a number too large for its field",
       {},
       {{"sabbia,    300", "sabbia,    40000"}},
       1,
       "{T}:4:12: error 25: run-time failure while reading the texts (missing text, bad or too large number, "
       "text ended inside a record, index outside a table)\n"
       "sabbia,    40000\n"
       "           ^\n"
       "note: 40000 does not fit the sand of sabbia: it must be a whole number from -32768 to 32767\n"},
      {"an indicator on an indicator",
       {{"indicatori_vmax,  1400,", "indicatori_vmax,  700,"}},
       {},
       1,
       "{L}:41:19: error 21 at 700 m: a maximum-speed indicator falls on an occupied cell\n"
       "indicatori_vmax,  700,  140,  150,  150,  0,  140,  150,  150,  0\n"
       "                  ^\n"
       "{L}:40:1: note: cell 15 already holds a maximum-speed indicator, placed by this indicatori_vmax record\n"},
      {"an abbattimento item on a signal",
       {},
       {{"[codici]", "abbattimento, 1400, 0\r\n[codici]"}},
       1,
       "{T}:58:15: error 7 at 1400 m: an \"abbattimento\" item falls on an occupied cell\n"
       "abbattimento, 1400, 0\n"
       "              ^\n"
       "{T}:36:1: note: cell 28 already holds a signal, placed by this segnale record\n"},
      {"a slowdown's advance warning on an indicator",
       {},
       {{"rallentamento,    4500,", "rallentamento,    1900,"}},
       1,
       "{T}:33:19: error 17 at 1900 m: the advance-warning cell of a slowdown is occupied\n"
       "rallentamento,    1900,    40,  100, 0,  1,  0\n"
       "                  ^\n"
       "{L}:40:1: note: cell 15 already holds a maximum-speed indicator, placed by this indicatori_vmax record\n"},
      {"a slowdown's start on an indicator",
       {},
       {{"rallentamento,    4500,", "rallentamento,    700,"}},
       1,
       "{T}:33:19: error 18 at 700 m: the start cell of a slowdown is occupied\n"
       "rallentamento,    700,    40,  100, 0,  1,  0\n"
       "                  ^\n"
       "{L}:40:1: note: cell 15 already holds a maximum-speed indicator, placed by this indicatori_vmax record\n"},
      {"a slowdown's board on a sign",
       {},
       {{"rallentamento,    4500,", "rallentamento,    2400,"}},
       1,
       "{T}:33:19: error 20 at 2400 m: one of the four board cells before a slowdown warning is occupied\n"
       "rallentamento,    2400,    40,  100, 0,  1,  0\n"
       "                  ^\n"
       "{L}:53:1: note: cell 24 already holds a sign, placed by this cartello_indicatore record\n"},
      {"the finishing pass finds no room before a signal",
       {},
       {{"[codici]", "abbattimento, 2950, 0\r\nabbattimento, 2900, 0\r\n[codici]"},
        {"[segnali]\r\n", "[segnali]\r\nsegnale, 2950, 1,0,0,0,0,0,0,0,0,0\r\n"}},
       1,
       "{T}:36:1: error 11 at 3000 m: no free cell for the speed marker in front of a signal before a slowdown "
       "warning\n"
       "segnale, 2950, 1,0,0,0,0,0,0,0,0,0\n"
       "^\n"
       "note: at cell 60, which holds a signal\n"},
      {"the finishing pass finds no room inside a slowdown",
       {},
       {{"rallentamento,    4500,    40,  100,", "rallentamento,    4500,    40,  600,"},
        {"[codici]", "abbattimento, 4900, 0\r\nabbattimento, 4950, 0\r\nabbattimento, 5000, 0\r\n[codici]"}},
       1,
       "{T}:33:1: error 13 at 4950 m: no free cell for a speed marker inside or after a slowdown\n"
       "rallentamento,    4500,    40,  600, 0,  1,  0\n"
       "^\n"
       "note: at cell 99, which holds an abbattimento item\n"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    testi_su_disco d(prova::modificato(prova::testo_linea_incorporato(), c.linea),
                     prova::modificato(prova::testo_treno_incorporato(), c.treno));
    const prova::uscita u = d.compila({"--write-on-error"});
    EXPECT_EQ(u.stato, c.stato);
    EXPECT_EQ(u.err, d.con_percorsi(c.messaggi));
    const auto f = d.prodotti();
    EXPECT_TRUE(f == file_del_driver(d.byte_linea, d.byte_treno, 1));
    EXPECT_EQ(f.size(), c.stato == 3 ? 0u : 3u);
    std::string scritti;
    if (c.stato != 3) {
      for (const std::string& nome : nomi_binari) scritti += "wrote " + prova::unisci(d.uscita, nome) + "\n";
    }
    EXPECT_EQ(u.out, scritti);
    EXPECT_TRUE(d.intatti());
  }
}

using json = nlohmann::json;

const json& membro(const json& o, const char* chiave) {
  static const json assente;
  const bool c = o.is_object() && o.contains(chiave);
  EXPECT_TRUE(c) << chiave;
  return c ? o.at(chiave) : assente;
}

json risultato_json(const prova::uscita& u) {
  EXPECT_EQ(u.err, "");
  const auto v = prova::leggi_json(u.out);
  EXPECT_TRUE(v.has_value()) << u.out;
  EXPECT_TRUE(v && v->is_object());
  return v.value_or(json{});
}

bool nullo(const json& v) { return v.is_null(); }

std::vector<std::string> testi(const json& a) {
  std::vector<std::string> s;
  for (const auto& e : a) s.push_back(e.get<std::string>());
  return s;
}

TEST(CompilaJson, CleanCompile) {
  testi_su_disco d(prova::testo_linea_incorporato(), prova::testo_treno_incorporato());
  const prova::uscita u = d.compila({"--json"});
  EXPECT_EQ(u.stato, 0);
  const json j = risultato_json(u);
  EXPECT_EQ(membro(j, "numero_errore").get<double>(), 0);
  EXPECT_EQ(membro(j, "posizione_errore").is_number(), true);
  for (const char* k : {"errore", "file", "line", "column", "message"}) EXPECT_TRUE(nullo(membro(j, k))) << k;
  EXPECT_EQ(testi(membro(j, "files")), nomi_binari);
  EXPECT_EQ(membro(j, "warnings").is_array(), true);
  EXPECT_TRUE(membro(j, "warnings").empty());
  EXPECT_EQ(membro(j, "notes").is_array(), true);
  EXPECT_TRUE(membro(j, "notes").empty());
}

TEST(CompilaJson, ErrorWithItsPlace) {
  testi_su_disco d(prova::testo_linea_incorporato(),
                   prova::modificato(prova::testo_treno_incorporato(), {{"segnale,    9450,", "segnale,    9550,"}}));
  const prova::uscita u = d.compila({"--json", "--write-on-error"});
  EXPECT_EQ(u.stato, 1);
  const json j = risultato_json(u);
  EXPECT_EQ(membro(j, "numero_errore").get<double>(), 16);
  EXPECT_EQ(membro(j, "posizione_errore").get<double>(), 9550);
  EXPECT_TRUE(nullo(membro(j, "errore")));
  EXPECT_EQ(membro(j, "file").get<std::string>(), d.treno);
  EXPECT_EQ(membro(j, "line").get<double>(), 39);
  EXPECT_EQ(membro(j, "column").get<double>(), 13);
  EXPECT_EQ(membro(j, "message").get<std::string>(),
            "a signal falls on an occupied cell; cell 192 already holds a sign, placed by this cartello_indicatore "
            "record");
  EXPECT_EQ(testi(membro(j, "files")), nomi_binari);
  // The note has the place of the record that holds the cell.
  const json& note = membro(j, "notes");
  ASSERT_EQ(note.size(), 1u);
  EXPECT_EQ(membro(note[0], "file").get<std::string>(), d.linea);
  EXPECT_EQ(membro(note[0], "line").get<double>(), 54);
  EXPECT_EQ(membro(note[0], "column").get<double>(), 1);
  EXPECT_EQ(membro(note[0], "message").get<std::string>(),
            "cell 192 already holds a sign, placed by this cartello_indicatore record");
}

// A note without a place of its own has null place keys; every warning has
// its code and its notes.
TEST(CompilaJson, NotesAndWarningCodes) {
  testi_su_disco d(prova::testo_linea_incorporato(),
                   prova::modificato(prova::testo_treno_incorporato(),
                                     {{"velocita,   52950,    75", "velocita,   52950,    1400"},
                                      {"segnale,    1350,", "segnal,    1350,"}}));
  const prova::uscita u = d.compila({"--json"});
  EXPECT_EQ(u.stato, 1);
  const json j = risultato_json(u);
  EXPECT_EQ(membro(j, "numero_errore").get<double>(), 25);
  EXPECT_EQ(membro(j, "line").get<double>(), 18);
  const json& note = membro(j, "notes");
  ASSERT_EQ(note.size(), 2u);
  for (const json& n : note) {
    for (const char* k : {"file", "line", "column"}) EXPECT_TRUE(nullo(membro(n, k))) << k;
  }
  EXPECT_EQ(membro(note[1], "message").get<std::string>(),
            "it failed when the speed in force filled the cells after the last record");
  const json& avvisi = membro(j, "warnings");
  ASSERT_EQ(avvisi.size(), 1u);
  EXPECT_EQ(membro(avvisi[0], "code").get<std::string>(), "record_sconosciuto");
  EXPECT_EQ(membro(avvisi[0], "line").get<double>(), 36);
  EXPECT_EQ(membro(avvisi[0], "notes").is_array(), true);
}

TEST(CompilaJson, NoGridNoFiles) {
  testi_su_disco d(prova::modificato(prova::testo_linea_incorporato(), {{"lunghezza percorso,    62000\r\n", ""}}),
                   prova::testo_treno_incorporato());
  const prova::uscita u = d.compila({"--json"});
  EXPECT_EQ(u.stato, 3);
  const json j = risultato_json(u);
  EXPECT_EQ(membro(j, "numero_errore").get<double>(), 26);
  EXPECT_EQ(membro(j, "errore").get<std::string>(), "26");
  EXPECT_EQ(membro(j, "file").get<std::string>(), d.linea);
  EXPECT_EQ(membro(j, "line").get<double>(), 9);
  EXPECT_EQ(membro(j, "message").get<std::string>(),
            "the line text gives no line length; the general section ends here without one");
  EXPECT_EQ(membro(j, "files").is_array(), true);
  EXPECT_TRUE(membro(j, "files").empty());
  EXPECT_TRUE(d.prodotti().empty());
}

// Windows-1252 fields come out as UTF-8, quotes and control characters escaped.
TEST(CompilaJson, WarningsWithAwkwardCharacters) {
  testi_su_disco d(prova::testo_linea_incorporato(),
                   prova::modificato(prova::testo_treno_incorporato(),
                                     {{"[generale]\r\n", "[generale]\r\n  cos\xE8 \"strano\"\x01\\\r\n"}}));
  const prova::uscita u = d.compila({"--json"});
  EXPECT_EQ(u.stato, 0);
  const json j = risultato_json(u);
  const json& avvisi = membro(j, "warnings");
  ASSERT_EQ(avvisi.size(), 1u);
  const json& a = avvisi[0];
  EXPECT_EQ(membro(a, "file").get<std::string>(), d.treno);
  EXPECT_EQ(membro(a, "line").get<double>(), 2);
  EXPECT_EQ(membro(a, "column").get<double>(), 3);
  EXPECT_EQ(membro(a, "message").get<std::string>(),
            "\"cos\xC3\xA8 \"strano\"\x01\\\" matches no record and is passed over");
}

// Nothing is compiled, written or created when the command line or the
// files are wrong; the texts stay as they are.
TEST(Compila, Refusals) {
  testi_su_disco d(prova::testo_linea_incorporato(), prova::testo_treno_incorporato());
  const std::string t = d.t.percorso().string();
  prova::scrivi_file(t + "/file", "x");
  fs::create_directories(t + "/taken/Morsalo_Torvia_R20417.sim");
  fs::create_directories(t + "/shared");
  prova::scrivi_file(t + "/big_linea.txt", "");
  fs::resize_file(t + "/big_linea.txt", (64u << 20) + 1);
  prova::scrivi_file(t + "/shared/X_linea.dat", d.byte_linea);
  const std::string uso =
      "usage: scenario compile LINE_TEXT TRAIN_TEXT -o OUTDIR [options]  (see 'scenario compile --help')\n";
  struct caso {
    std::vector<std::string> argomenti;
    std::string errore;
  };
  const caso casi[] = {
      {{d.linea, t + "/testi/Morsalo_Torvia_R99-.txt", "-o", d.uscita},
       "scenario compile: cannot read " + t + "/testi/Morsalo_Torvia_R99-.txt: No such file or directory\n"},
      {{t + "/testi", d.treno, "-o", d.uscita}, "scenario compile: cannot read " + t + "/testi: it is a folder\n"},
      {{t + "/big_linea.txt", d.treno, "-o", d.uscita, "--scenario", "Morsalo_Torvia"},
       "scenario compile: cannot read " + t + "/big_linea.txt: larger than 64 MiB, too large for a source text\n"},
      {{d.linea, d.treno, "-o", t + "/file"}, "scenario compile: cannot write into " + t + "/file: it is not a folder\n"},
      {{d.linea, d.treno, "-o", t + "/taken"},
       "scenario compile: cannot write " + prova::unisci(t + "/taken", "Morsalo_Torvia_R20417.sim") + ": it is a folder\n"},
      {{t + "/shared/X_linea.dat", d.treno, "-o", t + "/shared", "--scenario", "X", "--train-code", "Y"},
       "scenario compile: cannot write " + prova::unisci(t + "/shared", "X_linea.dat") + ": it is the text " + t +
           "/shared/X_linea.dat being compiled\n"},
      {{d.linea, d.treno}, "scenario compile: no output folder given (-o OUTDIR)\n" + uso},
      {{d.linea, "-o", d.uscita}, "scenario compile: a line text and a train text are needed\n" + uso},
      {{d.linea, d.treno, d.treno, "-o", d.uscita},
       "scenario compile: only a line text and a train text are compiled\n" + uso},
      {{d.linea, d.treno, "-o", d.uscita, "--jsn"}, "scenario compile: The following argument was not expected: --jsn\n" + uso},
      {{d.linea, d.treno, "-o", d.uscita, "-o", d.uscita}, "scenario compile: --output: At Most 1 required but received 2\n" + uso},
      {{d.linea, d.treno, "-o"}, "scenario compile: --output: 1 required OUTDIR missing\n" + uso},
      {{d.linea, t + "/Other_R1-.txt", "-o", d.uscita},
       "scenario compile: the line text \"" + d.linea + "\" names the scenario \"Morsalo_Torvia\" but the train text \"" +
           t + "/Other_R1-.txt\" names it \"Other\"; rename one of them or give --scenario NAME\n" + uso},
      {{d.linea, d.treno, "-o", d.uscita, "--train-code", "R/1"},
       "scenario compile: the train code \"R/1\" cannot be used: it holds a path separator\n" + uso},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.errore);
    const prova::uscita u = prova::esegui(comando_compile, c.argomenti);
    EXPECT_EQ(u.stato, 2);
    EXPECT_EQ(u.out, "");
    EXPECT_EQ(u.err, c.errore);
  }
  EXPECT_FALSE(fs::exists(d.uscita));
  EXPECT_EQ(std::distance(fs::directory_iterator(t + "/taken"), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(t + "/shared"), fs::directory_iterator()), 1);
  EXPECT_TRUE(leggi_file(t + "/shared/X_linea.dat") == d.byte_linea);
  EXPECT_TRUE(d.intatti());
}

// Whatever the texts hold, the compile ends with a numbered error or a
// result: its status and code, never a crash, and the texts stay as they were.
TEST(Compila, BadInputEndsWithItsCodeAndStatus) {
  std::string binario;
  uint32_t x = 12345;
  for (int i = 0; i < 4096; ++i) {
    x = x * 1103515245u + 12345u;
    binario += static_cast<char>(x >> 24);
  }
  const std::string linea = prova::testo_linea_incorporato();
  const std::string treno = prova::testo_treno_incorporato();
  std::string senza_a_capo = "[generale],lunghezza percorso,1000,[corpo],pendenza,100,1,[fine]";
  const std::string corta = "[generale]\r\nlunghezza percorso, 1000\r\n[corpo]\r\n";
  struct caso {
    const char* nome;
    std::string linea, treno;
    int stato;
    int32_t numero_errore;
  };
  const caso casi[] = {
      {"empty line text", "", treno, 3, 102},
      {"empty train text", linea, "", 0, 0},
      {"binary line text", binario, treno, 3, 102},
      {"binary train text", linea, binario, 0, 0},
      {"binary after [generale]: passed over, with warnings", linea, "[generale]\r\n" + binario, 0, 0},
      {"no line ends at all", senza_a_capo, "", 0, 0},
      {"a line of a million bytes", corta + std::string(1000000, 'x') + "\r\n[fine]\r\n", "", 0, 0},
      {"a sign text past 32767 bytes", corta + "cartello_indicatore, 450, " + std::string(40000, 'S') + "\r\n", "",
       1, 25},
      {"a line length past 32 bits", "[generale]\r\nlunghezza percorso, 99999999999\r\n[x]\r\n", treno, 3, 25},
      {"a station byte past 255", corta,
       "[generale]\r\nstazione, 1000, 300, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n", 1, 25},
      {"a sabbia past 16 bits", corta, "[generale]\r\nsabbia, 40000\r\n", 1, 25},
      // A NUL byte is an ordinary character: the key still holds both words.
      {"NUL bytes inside a field", std::string("[generale]\r\nlunghezza\0percorso, 1000\r\n[x]\r\n", 39), "", 0, 0},
      {"NUL bytes in place of the key", std::string("[generale]\r\n\0\0\0, 1000\r\n[x]\r\n", 27), "", 3, 26},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    testi_su_disco d(c.linea, c.treno);
    const prova::uscita u = d.compila({"--json", "--write-on-error"});
    EXPECT_EQ(u.stato, c.stato) << u.err;
    const auto v = prova::leggi_json(u.out);
    ASSERT_TRUE(v.has_value()) << u.out;
    EXPECT_NE(u.out.find("\"numero_errore\":" + std::to_string(c.numero_errore) + ","), std::string::npos) << u.out;
    EXPECT_TRUE(d.intatti());
    EXPECT_EQ(d.prodotti().size(), c.stato == 3 ? 0u : 3u);
  }
}

}  // namespace
