#include "scenario/pagina_riferimento.h"

#include <string>

#include "model/errori.h"
#include "scenario/formato.h"

namespace {

const char* const avvertenza =
    "<!-- Made by `scenario explain --page %s` from the tables of tools/scenario/riferimento_*.cc; a test "
    "compares the two. Change the tables, then run the command again. -->\n\n";

std::string sostituisci(std::string s, const std::string& da, const std::string& a) {
  for (size_t p = s.find(da); p != std::string::npos; p = s.find(da, p + a.size())) s.replace(p, da.size(), a);
  return s;
}

// A table cell: a bar would end it.
std::string cella_tabella(const char* s) { return *s ? sostituisci(s, "|", "\\|") : "–"; }

std::string collegamenti_errori(const std::vector<int32_t>& codici) {
  std::string s;
  for (int32_t c : codici) {
    s += (s.empty() ? "" : ", ") + std::string("[") + std::to_string(c) + "](" + nome_pagina_errori() + "#" +
         std::to_string(c) + ")";
  }
  return s;
}

std::string sezione_record(const record_testo& r) {
  std::string s = std::string("### `") + r.nome + "`\n\n";
  s += std::string("Where: ") + r.dove + ".\n\n";
  s += "Keyword: the field contains " + citate(r.parole) + "; letter case " +
       (r.maiuscole_contano ? "counts" : "is ignored") + ".";
  if (*r.regola) s += std::string(" ") + r.regola;
  s += "\n\n";
  s += "| # | value | unit | width | stored unchanged | goes to | meaning |\n";
  s += "|---|---|---|---|---|---|---|\n";
  for (size_t i = 0; i < r.valori.size(); ++i) {
    const valore_record& v = r.valori[i];
    s += "| " + std::to_string(i + 1) + " | " + cella_tabella(v.nome) + " | " + cella_tabella(v.unita) + " | " +
         cella_tabella(v.larghezza) + " | " + cella_tabella(v.intervallo) + " | " + cella_tabella(v.memorizzato) +
         " | " + cella_tabella(v.significato) + " |\n";
  }
  s += "\n";
  s += std::string("Becomes: ") + r.diventa + "\n\n";
  s += "Errors: " + collegamenti_errori(r.errori) + ".\n\n";
  s += std::string("Example:\n\n    ") + r.esempio + "\n\n";
  if (*r.note) s += std::string(r.note) + "\n\n";
  return s;
}

std::string sezione_lettura() {
  std::string s = "## How the text is read\n\n";
  s += "The rules are the same for both texts, except where they say otherwise. `scenario explain TOPIC` prints "
       "each of them.\n\n";
  for (const regola_lettura& r : regole_di_lettura()) {
    s += std::string("### ") + r.titolo + " (`" + r.argomento + "`)\n\n";
    s += sostituisci(r.testo, "\n\n", "\n\n") + "\n\n";
  }
  return s;
}

const char* const esempio_segnale =
    "## A worked example: the held signal at 9450 m\n\n"
    "The built-in train text holds\n\n"
    "    segnale,    9450,   2, 5, 1,  0, 0,    2,  2,1,0, 250\n\n"
    "that is posizione 9450, sx 2, s1 5, s2 1, s3 0, rapp 0, dx 2, d1 2, d2 1, d3 0 and tempo 250. The compile "
    "does this with it:\n\n"
    "1. The cell: k = CLng(9450 / 50 + 1) = 190. Cell 190 takes the objects written anywhere from 9425 m to "
    "9475 m; the reports of the files place it at 190 × 50 = 9500 m. The cell was free, so the signal goes "
    "there (on a taken cell the compile would stop with error 16 at 9450 m).\n"
    "2. The values of cell 190: kind 1 (segnale); valore = s1 × 10 + d1 = 52; valore_2 = s2 × 10 + d2 = 11; "
    "valore_3 = s3 × 10 + d3 = 0; valore_4 = rapp × 10 + sx × 3 + dx = 8. Each pair keeps the left side in the "
    "tens and the right side in the units.\n"
    "3. The hold: sx is 2, so the cell's tempo is 250 s (a tempo from 1 to 100 would be stored as 101; with "
    "another sx the cell's tempo is 0).\n"
    "4. The warning codes: (sx × 3 + dx) × 10 + 1 to + 4, that is 81 to 84, go into the preavviso byte of the "
    "cells 100, 200, 300 and 400 m before the signal: 81 in cell 188, 82 in cell 186, 83 in cell 184 and 84 in "
    "cell 182, whatever those cells hold.\n\n"
    "`scenario inspect Morsalo_Torvia_R20417.dat` lists cell 190 as a signal with left 5 1 0, right 2 1 0, sx "
    "2, dx 2, rapp 0 and tempo 250, and the four warning codes among the approach marks.\n\n";

}  // namespace

const char* nome_pagina(testo_di testo) { return testo == testo_di::linea ? "testo_linea.md" : "testo_treno.md"; }

std::string pagina_riferimento(testo_di testo) {
  const bool linea = testo == testo_di::linea;
  std::string s = linea ? "# The line text\n\n" : "# The train text\n\n";
  s += sostituisci(avvertenza, "%s", linea ? "line" : "train");
  if (linea) {
    s += "The line text, NAME_linea.txt, describes the railway line: its length, kilometre progressives and "
         "backgrounds (the general section), then its curves, gradients, mountain stretches, maximum-speed "
         "boards and signs (the body). `scenario init` writes the built-in one; `scenario compile` turns it, "
         "with a train text, into the binary files. Its companion is [the train text](testo_treno.md); the "
         "error codes are listed in [the error codes](codici_errore.md).\n\n";
  } else {
    s += "The train text, NAME_CODE-.txt (the hyphen belongs to the name), describes the train and its run "
         "over the line: its composition and braking, the clock, the adhesion and speed-limit profiles, the "
         "stations with their timetable, the slowdowns and the signals. Positions are metres from the start of "
         "the line (the line's own metres, not the kilometre figures). Its companion is [the line "
         "text](testo_linea.md); the error codes are listed in [the error codes](codici_errore.md).\n\n";
  }
  s += sezione_lettura();
  if (linea) {
    s += "## The general section\n\n";
    s += "The keys between \"[generale]\" and the first section header. They are tested in the order below "
         "(the progressives tre, due, uno), and every key a field matches reads its values.\n\n";
    for (const record_testo& r : record_dei_testi()) {
      if (r.testo == testo && std::string(r.dove).rfind("general", 0) == 0) s += sezione_record(r);
    }
    s += "## The body\n\n";
    s += "The records after the general section, in any order and under any header, tested in the order "
         "below. A sign record ends the tests of its field.\n\n";
    for (const record_testo& r : record_dei_testi()) {
      if (r.testo == testo && std::string(r.dove).rfind("general", 0) != 0) s += sezione_record(r);
    }
  } else {
    s += "## The records\n\n";
    s += "Every record after \"[generale]\", in any order and under any header, tested in the order below; "
         "every kind a field matches reads its values. The station record's seventeen values have their own "
         "table under [`stazione`](#stazione).\n\n";
    for (const record_testo& r : record_dei_testi()) {
      if (r.testo == testo) s += sezione_record(r);
    }
    s += esempio_segnale;
  }
  return s;
}

std::string pagina_errori() {
  std::string s = "# The error codes\n\n";
  s += sostituisci(avvertenza, "%s", "errors");
  s += "Every code a compile records or the builder reports, with what to change in the texts. `scenario "
       "explain CODE` prints the same. The records of the [line text](testo_linea.md) and the [train "
       "text](testo_treno.md) list the codes each can raise.\n\n";
  s += "| code | raised by | position | description | what to change |\n";
  s += "|---|---|---|---|---|\n";
  int quante = 0;
  const voce_errore* e = tabella_errori(&quante);
  for (int i = 0; i < quante; ++i) {
    const rimedio_errore* r = cerca_rimedio(e[i].codice);
    s += "| <a id=\"" + std::to_string(e[i].codice) + "\"></a>" + std::to_string(e[i].codice) + " | " +
         cella_tabella(r ? r->dove : "") + " | " + (e[i].ha_posizione ? "yes" : "no") + " | " +
         cella_tabella(e[i].descrizione) + " | " + cella_tabella(r ? r->rimedio : "") + " |\n";
  }
  return s;
}
