// Warnings for texts that compile without an error into something other than
// what the author wrote: one small edit of the built-in texts per kind, with
// the exact text `check` prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scenario/avvisi_danni.h"
#include "scenario/verifica.h"
#include "tools/aiuti_prova.h"
#include "tools/json_prova.h"

namespace {

using prova::modifiche;

struct testi_controllati {
  prova::cartella_temporanea t;
  std::string linea, treno;

  testi_controllati(const modifiche& l, const modifiche& tr) {
    linea = t.scrivi("Morsalo_Torvia_linea.txt", prova::modificato(prova::testo_linea_incorporato(), l));
    treno = t.scrivi("Morsalo_Torvia_R20417-.txt", prova::modificato(prova::testo_treno_incorporato(), tr));
  }
  prova::uscita controlla(std::vector<std::string> opzioni = {}) const {
    std::vector<std::string> a = {linea, treno};
    a.insert(a.end(), opzioni.begin(), opzioni.end());
    return prova::esegui(comando_check, a);
  }
  std::string con_percorsi(const std::string& s) const {
    return prova::sostituisci(prova::sostituisci(s, "{L}", linea), "{T}", treno);
  }
};

TEST(AvvisiDanni, TheBuiltInTextsGiveNoWarning) {
  testi_controllati d({}, {});
  const prova::uscita u = d.controlla({"--strict"});
  EXPECT_EQ(u.stato, 0);
  EXPECT_EQ(u.err, "");
  const prova::uscita j = d.controlla({"--json"});
  const auto v = prova::leggi_json(j.out);
  ASSERT_TRUE(v.has_value()) << j.out;
  EXPECT_TRUE((*v)["warnings"].empty());
}

struct caso_avviso {
  const char* codice;  // the kind's code, as JSON gives it
  modifiche linea;
  modifiche treno;
  int stato;
  std::string messaggi;  // standard error of check, {L} and {T} the texts' paths
};

TEST(AvvisiDanni, OneEditPerKind) {
  const std::vector<caso_avviso> casi = {
      {"gradient_out_of_range", {{"pendenza,  16600,   -4", "pendenza,  16600,   200"}}, {},
       0,
       "{L}:32:21: warning: \"200\": a gradient is kept in one byte, from -100 to 155, so this one is stored "
       "as -56; write a gradient in that range\n"},
      {"adhesion_out_of_range", {}, {{"aderenza,   16500,    70", "aderenza,   16500,    300"}},
       0,
       "{T}:8:23: warning: \"300\": an adhesion is kept in one byte, from 0 to 255, so this one is stored as "
       "44; write a value in that range\n"},
      {"signal_time_out_of_range", {}, {{"2,  2,1,0, 250", "2,  2,1,0, 300"}},
       0,
       "{T}:39:51: warning: \"300\": a signal's hold time is kept in one byte, so this one is stored as 44; "
       "write a time from 0 to 255\n"},
      {"signal_digit_out_of_range", {}, {{"segnale,    5500,   1, 5, 0,", "segnale,    5500,   1, 12, 0,"}},
       0,
       "{T}:37:24: warning: \"12\": the signal digit s1 is packed as s1 x 10 + d1, one decimal digit each, "
       "and the compiled signal holds 123; write a digit from 0 to 9\n"},
      {"indicator_not_readable", {{"indicatori_vmax,  700,  95,", "indicatori_vmax,  700,  97,"}}, {},
       0,
       "{L}:40:25: warning: \"97\": the speed figures 97 (side s) and 95 (side d) are packed into 1959, "
       "which reads back as 95 and 295; write multiples of 5 below 500\n"},
      {"indicator_not_readable",
       {{"indicatori_vmax,  51150,  70,  75,  75,  2,  70,  75,  75,  2",
         "indicatori_vmax,  51150,  70,  75,  75,  2,  70,  75,  75,  12"}},
       {},
       0,
       "{L}:47:61: warning: \"12\": the stripe counts 2 (side s) and 12 (side d) are packed into 32, which "
       "reads back as 3 and 2; write counts from 0 to 9\n"},
      {"abbattimento_out_of_range", {}, {{"[codici]", "abbattimento, 17700, 40000\r\n[codici]"}},
       0,
       "{T}:58:22: warning: \"40000\": an \"abbattimento\" value is kept in 16 bits, so this one is stored "
       "as -25536; write a value from 1 to 32767\n"},
      {"speed_rounded", {}, {{"velocita,   16550,   120", "velocita,   16550,   122"}},
       0,
       "{T}:13:22: warning: \"122\": a speed limit is stored in steps of 5 km/h, so this one is stored as "
       "120 km/h; write a multiple of 5\n"},
      {"line_length_with_text", {{"lunghezza percorso,    62000", "lunghezza percorso,    62000 m"}}, {},
       0,
       "{L}:2:30: warning: \"m\" after the line length is a field of its own, and the line is 62000 m long; "
       "write the length in metres, as a number alone\n"},
      {"curve_side_by_letter", {{"curvad4,  550,", "curva destra 4,  550,"}}, {},
       0,
       "{L}:12:1: warning: \"curva destra 4\" turns the curve to side s, because it holds an \"s\" elsewhere "
       "than right after \"curva\"; write \"curvas4\" for side s or \"curvad4\" for side d\n"},
      {"curve_several_classes", {{"curvad4,  550,", "curvad45,  550,"}}, {},
       0,
       "{L}:12:1: warning: \"curvad45\" holds the class digits 4 and 5, and the curve takes class 4, the "
       "smallest; write one class digit\n"},
      {"several_record_kinds", {{"[montagne]", "[montagne]\r\npendenza montagna, 60000, 0, 100, 200, 1"}}, {},
       0,
       "{L}:39:1: warning: \"pendenza montagna\" is read as a \"pendenza\" record and then as a \"montagna\" "
       "record, each reading its own values; write one keyword per record\n"},
      {"stop_cell_over_object", {{"cartello_indicatore,  10250,", "cartello_indicatore,  11250,"}}, {},
       0,
       "{T}:23:1: warning: \"stazione\": the stop cell of this station (cell 226) is written over a sign "
       "placed by {L}:55, which the compiled files no longer hold; move the station or the other record\n"
       "{L}:55:1: note: the record whose object is lost\n"},
      {"warning_codes_overwritten", {}, {{"segnale,    5500,", "segnale,    7000,"}},
       0,
       "{T}:38:1: warning: \"segnale\": this signal's warning codes are written over the warning codes of "
       "the signal at {T}:37 (cells 139, 137, 135), which the compiled files no longer hold; move one of the "
       "two so that their codes do not meet\n"
       "{T}:37:1: note: the record whose codes are lost\n"},
      {"time_earlier_than_before", {}, {{"12,52, 0, Sorvino", "12,47, 0, Sorvino"}},
       0,
       "{T}:23:63: warning: \"12\": the scheduled time 12:47 is earlier than 12:49 at the station before it "
       "along the line ({T}:22); write times that grow along the line\n"},
      {"time_out_of_range", {}, {{"orologio,    12 ", "orologio,    25 "}},
       0,
       "{T}:5:14: warning: \"25\": hours 25 are not an hour of a day, and the clock is stored as 92540 s, "
       "which is outside a day; write hours from 0 to 23, minutes and seconds from 0 to 59\n"},
      {"time_out_of_range", {}, {{"13,16, 0, Roccafonda", "13,16, 60, Roccafonda"}},
       0,
       "{T}:28:70: warning: \"60\": seconds 60 are not a second of a minute, and the scheduled time is "
       "stored as 47820 s, which reads as 13:17; write hours from 0 to 23, minutes and seconds from 0 to "
       "59\n"},
      {"stop_without_time", {}, {{"4,1,1,    0,   0, 0, 0, Crespa", "4,1,1,    30,   0, 0, 0, Crespa"}},
       0,
       "{T}:29:59: warning: \"30\": a stop time is given at a station without a scheduled time (0 0 0); give "
       "the station its time, or write the stop time 0\n"},
      {"beyond_line_end", {}, {{"segnale,   52950,", "segnale,   63000,"}},
       0,
       "{T}:57:12: warning: \"63000\": this signal lies beyond the end of the line (62000 m), in the 7000 m "
       "the cell grid runs on past it; place it within the line\n"},
      {"timetable_too_fast", {}, {{"12,52, 0, Sorvino", "12,50, 0, Sorvino"}},
       0,
       "{T}:23:63: warning: \"12\": 12:49 to 12:50 gives 1 min 00 s for 3.2 km; the speed limits alone need "
       "1 min 47 s with the stop of 30 s (a lower bound: starting and braking are left out); give the train "
       "more time\n"},
      {"last_field_not_read", {}, {{"[fine]", "fine"}},
       0,
       "{T}:59:1: warning: \"fine\" is the last field of the text, and the last field is never read; end the "
       "text with \"[fine]\"\n"},
      {"comment_not_a_comment", {{"[montagne]", "[montagne]\r\n# no mountains here"}}, {},
       0,
       "{L}:39:1: warning: \"# no mountains here\" is read as a field, not as a comment: only a field that "
       "holds \"-\" is a comment; start the line with \"--\"\n"},
      {"third_hyphen_field", {}, {{"[codici]", "-- one\r\n-- two\r\n-- three\r\n[codici]"}},
       0,
       "{T}:60:1: warning: \"-- three\" holds \"-\", but only 2 such fields in a row are passed over as "
       "comments, so it is read as a keyword field; put the comment on fewer lines\n"},
  };
  std::vector<std::string> provati;
  for (const caso_avviso& c : casi) {
    SCOPED_TRACE(c.codice);
    testi_controllati d(c.linea, c.treno);
    const prova::uscita u = d.controlla();
    EXPECT_EQ(u.stato, c.stato);
    EXPECT_EQ(u.err, d.con_percorsi(c.messaggi));
    // JSON names the kind by its code.
    const prova::uscita j = d.controlla({"--json"});
    const auto v = prova::leggi_json(j.out);
    ASSERT_TRUE(v.has_value()) << j.out;
    bool trovato = false;
    for (const auto& w : (*v)["warnings"]) trovato = trovato || w.value("code", "") == c.codice;
    EXPECT_TRUE(trovato);
    provati.push_back(c.codice);
  }
  // Every kind has its edit here.
  for (const genere_avviso* g : generi_avviso()) {
    if (g == &avviso_record_sconosciuto) continue;
    EXPECT_NE(std::find(provati.begin(), provati.end(), g->codice), provati.end()) << g->codice;
  }
}

}  // namespace
