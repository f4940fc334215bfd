// The record kinds of the line text.
#include "scenario/riferimento_tabelle.h"

namespace {

const char* const posizione_linea =
    "0 to the grid's end: (p + 100) / 50 at most the number of cells, that is p at most the line length + 6900";

}  // namespace

std::vector<record_testo> record_linea() {
  const testo_di l = testo_di::linea;
  const char* const generale = "general section (after \"[generale]\", before the first section header)";
  const char* const corpo = "body (after the general section)";
  auto progressiva = [&](const char* parola, const char* nome, const char* esempio) {
    return record_testo{
        nome,
        l,
        generale,
        {"progressiva", parola},
        true,
        "The three progressive keys are tested in the order tre, due, uno; a field that holds two of the "
        "words reads both sets of values.",
        {
            {"position", "m", "long", "multiples of 50", "inizio of the slot it is sorted into",
             "the line position from which the kilometre figure applies"},
            {"figure", "m", "long", "multiples of 50", "fine of the slot it is sorted into",
             "the kilometre figure at that position"},
            {"direction", "", "long", "any; 1 adds 100 to the figure", "posizione of the slot it is sorted into",
             "the direction flag: 1 adds 100 m to the stored figure"},
        },
        "One of the three kilometre-progressive slots of the .sim point table (records 81 progressiva_tre, "
        "82 progressiva_due, 83 progressiva_uno). The three are stored reordered: by position, largest first, "
        "into progressiva_tre, progressiva_due, progressiva_uno. When the positions add up to 0 the order is uno, "
        "due, tre if uno's figure is above 0, else due, tre, uno if due's is, else tre, due, uno if tre's is. "
        "A tie for the largest nonzero position, or no figure above 0, leaves all three zero. So a lone `progressiva ... "
        "uno, 0, 150300, 1` is stored in progressiva_tre as 0, 150400, 1.",
        {2, 25},
        esempio,
        "Letter case counts: written with a capital P, the key is not recognised and is passed over with a "
        "warning."};
  };
  auto sfondo = [&](const char* parola, const char* nome, const char* campo, const char* esempio) {
    return record_testo{nome,
                        l,
                        generale,
                        {"sfondo", parola},
                        true,
                        "",
                        {{"background", "", "long", "-2147483648 to 2147483647", campo,
                          "the number of a landscape background the simulator shows"}},
                        campo,
                        {25},
                        esempio,
                        ""};
  };
  return {
      {"lunghezza percorso",
       l,
       generale,
       {"lunghezza", "percorso"},
       false,
       "",
       {{"length", "m", "long", "0 to 1000000", "lunghezza_percorso (.sim record 84, fine)",
         "the length of the line"}},
       "lunghezza_percorso in the .sim point table. It sizes everything else: the cell grid has cells 0 to "
       "CLng((length + 7000) / 50), one per 50 m of the line extended by 7000 m, and the line profile file "
       "has one point per metre of that extended line. A second length key makes the grid anew.",
       {1, 26, 25},
       "lunghezza percorso,    62000",
       "Without this key the compile stops with error 26 and writes no file."},
      progressiva("tre", "progressiva chilometrica tre", "progressiva chilometrica tre,    0,    0,    0"),
      progressiva("due", "progressiva chilometrica due", "progressiva chilometrica due,    0,    0,    0"),
      progressiva("uno", "progressiva chilometrica uno", "progressiva chilometrica uno,    0,    150300,    1"),
      sfondo("uno", "sfondo uno", "sfondo_uno (.sim record 85, inizio)", "sfondo uno,    0"),
      sfondo("due", "sfondo due", "sfondo_due (.sim record 85, posizione)", "sfondo due,    0"),
      sfondo("tre", "sfondo tre", "sfondo_tre (.sim record 85, fine)", "sfondo tre,    1"),
      {"ripetizione segnali",
       l,
       generale,
       {"ripetizione", "segnali"},
       true,
       "The keyword field also says how many codes the repetition has: it must hold the digit \"4\" "
       "or \"9\" (\"ripetizione segnali 4 codici\").",
       {
           {"start", "m", "long", "multiples of 50", "ripetizione_inizio (.sim record 86, inizio)",
            "where the stretch with signal repetition begins"},
           {"end", "m", "long", "multiples of 50", "ripetizione_fine (.sim record 86, fine)",
            "where it ends; 0 means no repetition"},
       },
       "ripetizione_inizio, ripetizione_fine and numero_codici (4 or 9; 0 when the end is 0) in .sim record "
       "86.",
       {3, 4, 5, 25},
       "ripetizione segnali 4 codici,    0,    60000",
       ""},
      {"pendenza",
       l,
       corpo,
       {"pendenza"},
       false,
       "",
       {
           {"position", "m", "long", posizione_linea, "not stored", "where the gradient begins"},
           {"gradient", "per mille", "long", "-100 to 155", "pendenza of the cells (gradient + 100, 8 bits)",
            "the gradient from this position on; negative falls"},
       },
       "The pendenza byte of the cell file: every cell from CLng(position / 50) up to the next gradient record "
       "holds the gradient in force + 100 (a stored 100 is level). The last gradient reaches every cell but "
       "the last three. A record at 0 m writes no cell; it only sets the gradient in force.",
       {15, 25},
       "pendenza,  16600,   -4",
       "Write the gradients in increasing order of position: a record behind the one before it still fills "
       "one cell, and the cells it skips keep the older gradient."},
      {"curva",
       l,
       corpo,
       {"curva"},
       false,
       "The keyword carries the curve's class and side: the class is the smallest of the digits 1 to 6 that "
       "occurs in the field (\"1\" is tested first), the side is s when the field holds the letter s in either "
       "case, d otherwise. \"curvas6\" is class 6, side s; \"curvad4\" class 4, side d.",
       {
           {"start", "m", "long", posizione_linea, "the line profile file (the plan)",
            "where the curve begins; the plan runs straight up to here"},
           {"length", "m", "long", "0 or more; start + length within the plan", "the line profile file",
            "how far the curve runs"},
       },
       "The plan of the line in the line profile file (NAME_linea.dat): one point per metre, straight steps up "
       "to the start, then the curve's steps up to start + length, turning by 0.0001, 0.0002, 0.0004, 0.001, "
       "0.002 or 0.003 per metre for classes 1 to 6 (a radius of about 10000, 5000, 2500, 1000, 500 or "
       "333 m). Side s turns one way, side d the other. A curve that starts before the end of the one before "
       "it continues from there. A curve past the plan's end is laid up to its end. Nothing goes into the "
       "cells.",
       {15, 103, 25},
       "curvas6,  350,  100",
       "Only when the line profile is made: with `scenario compile --no-line-profile` the keyword and its two "
       "numbers are passed over as fields that match nothing."},
      {"montagna",
       l,
       corpo,
       {"montagna"},
       false,
       "",
       {
           {"inizio", "m", "long", posizione_linea, "not stored in the files", "where the stretch begins"},
           {"fine", "m", "long", "any; clipped to the grid", "not stored in the files", "where it ends"},
           {"tipo", "", "long", "1 to 10, or 11 to 20 for a lit stretch", "montagna of the cells (8 bits)",
            "the kind of mountain scenery; above 10, the kind is tipo - 10 and the stretch is lit"},
       },
       "The montagna byte of the cell file, for the cells CLng(inizio / 50) to CLng(fine / 50 - 1) (clipped "
       "to the grid): the stretch's kind. A stretch that begins at most 150 m after the end of the stretch "
       "before it in the text gets kind 3 whatever it says. A lit stretch also puts an object of kind 11 "
       "(riempimento_montagna) on its 4th, 8th, 12th ... cell where that cell is empty; such a cell still "
       "counts as free for every later object.",
       {15, 28, 25},
       "montagna,  2500,  3500,  12",
       "At most 80 stretches."},
      {"indicatori_vmax",
       l,
       corpo,
       {"indicatori_v"},
       false,
       "",
       {
           {"posizione", "m", "long", posizione_linea, "the cell CLng(posizione / 50 + 1)", "where the boards stand"},
           {"vas", "km/h", "long", "multiples of 5 from 0 to 495", "valore (vas x 20 + vad / 5)",
            "first speed figure, side s"},
           {"vbs", "km/h", "long", "multiples of 5 from 0 to 495", "valore_2 (vbs x 20 + vbd / 5)",
            "second speed figure, side s"},
           {"vcs", "km/h", "long", "multiples of 5 from 0 to 495", "valore_3 (vcs x 20 + vcd / 5)",
            "third speed figure, side s"},
           {"strisces", "", "long", "0 to 9", "valore_4 (strisces x 10 + strisced)", "stripes on side s"},
           {"vad", "km/h", "long", "multiples of 5 from 0 to 495", "valore", "first speed figure, side d"},
           {"vbd", "km/h", "long", "multiples of 5 from 0 to 495", "valore_2", "second speed figure, side d"},
           {"vcd", "km/h", "long", "multiples of 5 from 0 to 495", "valore_3", "third speed figure, side d"},
           {"strisced", "", "long", "0 to 9", "valore_4", "stripes on side d"},
       },
       "One cell of kind 6 (indicatore_v_max) at CLng(posizione / 50 + 1). Each speed value packs both sides: "
       "100 x (side-s figure / 5) + side-d figure / 5, rounded to an integer; the board at 700 m with 95, 100, "
       "105 on both sides gives 1919, 2020, 2121.",
       {15, 21, 25},
       "indicatori_vmax,  700,  95,  100,  105,  0,  95,  100,  105,  0",
       "A packed value beyond -32768 to 32767 stops the compile with error 25."},
      {"cartello_indicatore",
       l,
       corpo,
       {"indicat", "cartello"},
       false,
       "",
       {
           {"posizione", "m", "long", posizione_linea, "the cell CLng(posizione / 50 + 1)", "where the sign stands"},
           {"text", "", "text", "up to 32767 bytes, no comma", "the testo of a .sim point record",
            "what the sign reads: the rest of the line up to a comma or the line end"},
       },
       "One cell of kind 14 (cartello) at CLng(posizione / 50 + 1), whose valore is the .sim record that holds "
       "the text: the first sign takes record 80, the next 79, and so on downward. The built-in signs write "
       "their text as two or three parenthesised groups of equal width: \"(P.L.       )(Km. 140.791)\".",
       {15, 6, 27, 25},
       "cartello_indicatore,  9550,   (P.L.       )(Km. 140.791)",
       "At most 80 signs. The sign texts and the stations share the point table: stations and signs together "
       "may number at most 78."},
  };
}
