// For every error code, what to change in the texts.
#include "scenario/riferimento_tabelle.h"

std::vector<rimedio_errore> rimedi() {
  const char* const linea = "line text";
  const char* const treno = "train text";
  const char* const passata = "finishing pass, after both texts";
  const char* const marche = "writing the files";
  return {
      {1, linea, "Give \"lunghezza percorso\" a length from 0 to 1000000 m."},
      {2, "both texts, checked after the train text",
       "Make the position and the figure of every \"progressiva\" key multiples of 50 (a direction flag of 1 adds "
       "100, which keeps them so)."},
      {3, linea, "Make the first value of \"ripetizione segnali\" (its start) a multiple of 50."},
      {4, linea, "Make the second value of \"ripetizione segnali\" (its end) a multiple of 50."},
      {5, linea,
       "Write the number of codes into the keyword: \"ripetizione segnali 4 codici\" or \"ripetizione segnali 9 "
       "codici\"."},
      {6, linea,
       "Move the sign: its cell, CLng(position / 50 + 1), already holds a sign or an indicator board. Objects of "
       "the line need positions in different 50 m cells."},
      {7, treno,
       "Move the \"abbattimento\" item: its cell, CLng(position / 50), already holds an object (a sign, a "
       "board, a station's stop cell, a signal or a slowdown)."},
      {8, treno, "Make the station's position a multiple of 50."},
      {9, treno, "Make the station's length a multiple of 100."},
      {10, treno,
       "Use fewer stations or fewer signs: stations and sign texts share the point table, and together they may "
       "number at most 78."},
      {11, passata,
       "Move the signal, or the slowdown: a signal up to 20 cells (1000 m) before a slowdown's advance-warning "
       "point needs the cell 50 m or 100 m in front of it free for a speed marker."},
      {12, passata,
       "Free the cells in front of the slowdown's start: one cell in each of the groups 5 to 7, 11 to 13 and 18 "
       "to 20 cells before it (250 to 350 m, 550 to 650 m, 900 to 1000 m) must be free for a speed marker. Move "
       "the objects there, or the slowdown."},
      {13, passata,
       "Free cells for the speed markers of a slowdown slower than 110 km/h: one every 8 cells (400 m) inside "
       "it, and one in front of the first signal in its end cell or the 12 cells (600 m) after it. Move the "
       "objects there, or the signal."},
      {15, "line text or train text",
       "Move the record back, or lengthen the line: a position p must keep (p + 100) / 50 within the grid (p at "
       "most the line length + 6900 m; for a station p + 800, and its stop cell, within it; for a slowdown its "
       "end too). The records after it in that text were not read."},
      {16, treno,
       "Move the signal: its cell, CLng(position / 50 + 1), already holds an object (a sign, a board, a station's "
       "stop cell, a slowdown or another signal)."},
      {17, treno,
       "Move the slowdown, or the object 1200 m before its start: the advance-warning cell, CLng((x - 1200) / 50 "
       "+ 1), is taken."},
      {18, treno, "Move the slowdown: its start cell, CLng(x / 50 + 1), already holds an object."},
      {19, treno,
       "Change the slowdown's start or length: its end cell, CLng((x + l) / 50 + 1), already holds an object."},
      {20, treno,
       "Set f_ta to 0, or move the slowdown or the object: one of the four cells just before the advance-warning "
       "cell (1250 m to 1400 m before the start) is taken."},
      {21, linea,
       "Move the indicator boards: their cell, CLng(position / 50 + 1), already holds a sign or another pair of "
       "boards."},
      {22, treno,
       "List the stations in order of position and leave at least 350 m between the end of one station's extent "
       "and the start of the next (the extent depends on the kind, the length and the third option byte)."},
      {24, treno,
       "Move the station on or lengthen it, so that its extent ends beyond 100 m (its stop cell, CLng(fine / 50 "
       "- 1), must be above 1)."},
      {25, "line text or train text",
       "Look at the field the message points to: a value that is not a whole number, a number too wide for its "
       "value (a byte holds 0 to 255, an integer -32768 to 32767), a record cut short by the end of the text, a "
       "text longer than 32767 bytes, a sum that overflows, or a train text that cannot be read."},
      {26, linea, "Add \"lunghezza percorso, LENGTH\" to the general section, before the first section header."},
      {27, linea, "Use at most 80 signs (\"cartello_indicatore\")."},
      {28, linea, "Use at most 80 mountain stretches (\"montagna\")."},
      {101, linea, "Give the path of an existing line text."},
      {102, linea,
       "Put a line \"[generale]\" before the general keys. It must not be the last line of the text: a text that "
       "ends right after it is refused too."},
      {103, linea,
       "Give the curve keyword a class digit 1 to 6 (\"curvad4\"), or, when the plan would pass 1000000 points, "
       "shorten the line or its curves."},
      {1250, marche,
       "Keep objects out of cell 1, whose values hold the file mark: no sign, board, signal or slowdown cell at "
       "-24 to 24 m, no \"abbattimento\" item at 26 to 74 m."},
      {1251, marche,
       "Keep objects out of cell 1, whose values hold the integrity code: no sign, board, signal or slowdown "
       "cell at -24 to 24 m, no \"abbattimento\" item at 26 to 74 m."},
  };
}
