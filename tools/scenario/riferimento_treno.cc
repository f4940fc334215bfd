// The record kinds of the train text.
#include "scenario/riferimento_tabelle.h"

namespace {

const char* const posizione_treno =
    "0 to the grid's end: (p + 100) / 50 at most the number of cells, that is p at most the line length + 6900";
const char* const ovunque = "after \"[generale]\", under any section header";
const char* const intero = "-32768 to 32767";
const char* const byte = "0 to 255";

}  // namespace

std::vector<record_testo> record_treno() {
  const testo_di t = testo_di::treno;
  return {
      {"percentuale massa frenata",
       t,
       ovunque,
       {"frenata", "massa"},
       false,
       "",
       {{"percentage", "%", "long", "-2147483648 to 2147483647", "massa_frenata (.sim record 84, inizio)",
         "the train's braked-mass percentage"}},
       "massa_frenata in the .sim point table.",
       {25},
       "percentuale massa frenata,    105",
       ""},
      {"numero vetture",
       t,
       ovunque,
       {"vetture"},
       false,
       "",
       {{"coaches", "", "long", "-2147483648 to 2147483647", "numero_vetture (.sim record 84, posizione)",
         "the number of coaches"}},
       "numero_vetture in the .sim point table.",
       {25},
       "numero vetture,    4",
       ""},
      {"velocita",
       t,
       ovunque,
       {"velocit"},
       false,
       "Any spelling that holds \"velocit\" is this record: \"velocita\", or the same with an accented "
       "last letter.",
       {
           {"position", "m", "long", posizione_treno, "not stored", "where the speed limit begins"},
           {"speed", "km/h", "long", "multiples of 5 from 0 to 1275", "velocita of the cells (speed / 5, rounded)",
            "the speed limit from this position on"},
       },
       "The velocita byte of the cell file: every cell from CLng(position / 50) up to the next speed record "
       "holds the speed in force divided by 5. Before the first record the speed in force is 0; the last one "
       "reaches every cell but the last three.",
       {15, 25},
       "velocita,     700,   100",
       "Write the records in increasing order of position. A speed whose fifth rounds outside 0 to 255 stops "
       "the compile with error 25."},
      {"aderenza",
       t,
       ovunque,
       {"aderenza"},
       false,
       "",
       {
           {"position", "m", "long", posizione_treno, "not stored", "where the adhesion value begins"},
           {"adhesion", "", "long", byte, "aderenza of the cells (8 bits)", "the adhesion from this position on"},
       },
       "The aderenza byte of the cell file, filled as the speed limits are: from CLng(position / 50) to the next "
       "record, the last one to every cell but the last three. Before the first record it is 0.",
       {15, 25},
       "aderenza,   16500,    70",
       "Write the records in increasing order of position."},
      {"orologio",
       t,
       ovunque,
       {"orologio"},
       false,
       "",
       {
           {"hours", "h", "integer", intero, "orologio (.sim record 86, intero_3)", "the clock at the start of the run"},
           {"minutes", "min", "integer", intero, "orologio (.sim record 86, intero_4)", ""},
           {"seconds", "s", "integer", intero, "orologio (.sim record 86, intero_5)", ""},
       },
       "The clock of the run in the .sim point table.",
       {25},
       "orologio,    12              42            20 ",
       "Numbers may be separated by blanks alone, as here."},
      {"sabbia",
       t,
       ovunque,
       {"sabbia"},
       false,
       "",
       {{"sand", "", "integer", intero, "sabbia (.sim record 86, intero_1)", "the sand supply"}},
       "sabbia in the .sim point table.",
       {25},
       "sabbia,    300",
       ""},
      {"segnale",
       t,
       ovunque,
       {"segnale"},
       false,
       "",
       {
           {"posizione", "m", "long", posizione_treno, "the cell k = CLng(posizione / 50 + 1), kind 1 (segnale)",
            "where the signal stands"},
           {"sx", "", "long", "0 to 3, with sx x 3 + dx at most 9", "valore_4 (rapp x 10 + sx x 3 + dx), and the warning codes",
            "the kind of the left side; 2 holds the signal for `tempo`"},
           {"s1", "", "long", "0 to 9", "valore (s1 x 10 + d1)", "first aspect, left side"},
           {"s2", "", "long", "0 to 9", "valore_2 (s2 x 10 + d2)", "second aspect, left side"},
           {"s3", "", "long", "0 to 9", "valore_3 (s3 x 10 + d3)", "third aspect, left side"},
           {"rapp", "", "long", "0 to 3275", "valore_4", "a further code (0 in the built-in signals)"},
           {"dx", "", "long", "0 to 2", "valore_4, and the warning codes", "the kind of the right side"},
           {"d1", "", "long", "0 to 9", "valore", "first aspect, right side"},
           {"d2", "", "long", "0 to 9", "valore_2", "second aspect, right side"},
           {"d3", "", "long", "0 to 9", "valore_3", "third aspect, right side"},
           {"tempo", "s", "long", "0, or 101 to 255", "tempo of the signal cell (8 bits), only when sx is 2",
            "how long the signal is held at danger; 1 to 100 become 101"},
       },
       "The signal cell k gets kind 1 with valore = s1 x 10 + d1, valore_2 = s2 x 10 + d2, valore_3 = s3 x 10 + "
       "d3, valore_4 = rapp x 10 + sx x 3 + dx and, when sx is 2, tempo (otherwise 0). The cells 100, 200, 300 "
       "and 400 m before it (k - 2, k - 4, k - 6, k - 8) get the warning codes (sx x 3 + dx) x 10 + 1 to + 4 in "
       "their preavviso byte, whatever they hold; codes that would fall before cell 0 are dropped.",
       {15, 16, 11, 13, 25},
       "segnale,    9450,   2, 5, 1,  0, 0,    2,  2,1,0, 250",
       "The warning codes of a signal with sx 2 and dx 2 (81 to 84) are the same values as the approach marks "
       "before a station's stop cell; a later signal's codes overwrite an earlier one's where they meet."},
      {"rallentamento",
       t,
       ovunque,
       {"rallentamento"},
       false,
       "",
       {
           {"x", "m", "long", posizione_treno, "the start cell a = CLng(x / 50 + 1), kind 3 (inizio_rallentamento)",
            "where the slowdown begins"},
           {"v", "km/h", "long", intero, "valore of the start, end and advance-warning cells",
            "the speed limit of the slowdown"},
           {"l", "m", "long", "0 or more; x + l on the grid", "the end cell e = CLng((x + l) / 50 + 1), kind 2",
            "the length of the slowdown"},
           {"f_tt", "", "long", intero, "valore_3 of the start and end cells",
            "nonzero: to be respected with the whole train"},
           {"f_ta", "", "long", "0 or nonzero", "not stored",
            "nonzero: four board cells before the advance-warning point"},
           {"d_v", "", "long", intero, "valore_2 of the cells, when nonzero", "a further value, copied when nonzero"},
       },
       "When x is above 1500 m, the advance-warning cell w = CLng((x - 1200) / 50 + 1) gets kind 4 "
       "(avviso_rallentamento) with valore v; the start cell a kind 3 and the end cell e kind 2 "
       "(fine_rallentamento), both with valore v and valore_3 f_tt. With f_ta nonzero (and x above 1500), the "
       "four cells w - 1 to w - 4 get kind 5 (tabella_rallentamento) with valore 1 to 4. The finishing pass "
       "then adds speed markers (kind 12, valore 180) on free cells in front of the start and, below 110 km/h, "
       "inside the slowdown. A nonzero d_v goes into valore_2 of the start, end and advance-warning cells, "
       "and the boards then carry their number there too.",
       {15, 17, 18, 19, 20, 11, 12, 13, 25},
       "rallentamento,    4500,    40,  100, 0,  1,  0",
       "Within the first 1500 m a slowdown has no advance-warning point and no boards, whatever f_ta says."},
      {"abbattimento",
       t,
       ovunque,
       {"abbattimento"},
       false,
       "",
       {
           {"position", "m", "long", posizione_treno, "the cell CLng(position / 50), without the + 1 of signals",
            "where the item stands"},
           {"value", "", "long", "1 to 32767, or 0 and below", "valore of the cell when above 0", "the item's value"},
       },
       "The cell CLng(position / 50) gets kind 12 (abbattimento) with valore = value when the value is above "
       "0, or kind 13 (abbattimento_zero) otherwise.",
       {15, 7, 25},
       "abbattimento,    8000,    60",
       "The built-in train has none."},
      {"stazione",
       t,
       ovunque,
       {"stazione"},
       false,
       "",
       {
           {"position", "m", "long", "multiples of 50; (p + 800) / 50 at most the number of cells", "posizione",
            "where the station stands"},
           {"kind", "", "byte", byte, "tipo",
            "how the extent is formed and whether cells are marked (below)"},
           {"length", "m", "long", "multiples of 100", "not stored", "the length of the station"},
           {"first option byte", "", "byte", byte, "opzione_1", "stored as read"},
           {"fourth option byte", "", "byte", byte, "opzione_4",
            "cleared when the length is below 600 m, and for the first station"},
           {"third option byte", "", "byte", byte, "opzione_3",
            "nonzero lengthens the extent by 50 m at its end; cleared for kinds 5 to 8 and for the first station"},
           {"first integer", "", "integer", intero, "intero_1", "stored as read"},
           {"second integer", "", "integer", intero, "intero_2", "stored as read"},
           {"second option byte", "", "byte", byte, "opzione_2", "stored as read"},
           {"third integer", "", "integer", intero, "intero_3", "stored as read"},
           {"fourth integer", "", "integer", intero, "intero_4", "stored as read"},
           {"fifth integer", "", "integer", intero, "intero_5", "stored as read"},
           {"stop", "s", "byte", byte, "sosta", "the stop time; 0 where the train does not stop"},
           {"hours", "h", "long", "0 to 23 for a time of day", "orario = (hours x 60 + minutes) x 60 + seconds",
            "the scheduled time; 0, 0, 0 for a station without one"},
           {"minutes", "min", "long", "0 to 59 for a time of day", "orario", ""},
           {"seconds", "s", "long", "0 to 59 for a time of day", "orario", ""},
           {"name", "", "text", "up to 32767 bytes, no comma", "testo",
            "the station's name: the rest of the line up to a comma or the line end"},
       },
       "The next .sim point record from 1 upward (the first station takes record 1). Its extent, from inizio "
       "to fine: kinds 5 and 6 from position - length to position + 150; kinds 7 and 8 from position - length "
       "to position + length; any other kind from position - length / 2 to position + length / 2, plus 50 m "
       "at the end when the third option byte is nonzero. A kind below 25 also marks the cell file: the stop "
       "cell CLng(fine / 50 - 1) gets kind 10 (fermata) with valore = the record, and, except for kinds 5 and "
       "6, the four cells before it get the approach marks 81 (next to it) to 84 in their preavviso byte. "
       "Kinds 25 and above (a junction, 27 in the built-in train) get an extent and no cell marks.",
       {15, 8, 9, 24, 22, 10, 25},
       "stazione,       0, 12, 1000,  1, 0, 0,  4,1,0,  2,1,1,    1,  12,43, 0, MORSALO / MORSK",
       "Note the order: value 5 goes to opzione_4 and value 6 to opzione_3; value 9, a byte, stands between "
       "the second and the third integer. List the stations in order of position, with at least 350 m between "
       "the end of one extent and the start of the next."},
  };
}
