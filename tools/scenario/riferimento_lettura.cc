// How the two source texts are read.
#include "scenario/riferimento_tabelle.h"

std::vector<regola_lettura> regole() {
  return {
      {"encoding", "Bytes and lines",
       "A source text is Windows-1252 bytes (the crew documents the builder writes are too). A line ends at CR "
       "LF, at a lone LF or at a lone CR; a last line without a line end is read the same. `scenario compile` "
       "reads texts of up to 64 MiB."},
      {"fields", "Fields, commas and blanks",
       "A text is read as a stream of fields, not line by line. A field runs to the next comma or the end of "
       "the line; the comma or the line end is consumed. Blanks (the space and the tab) around a field are not "
       "part of it. A line without a comma is one field; a blank line is an empty field, which matches no "
       "keyword. A double quote is an ordinary character: there are no quoted fields.\n\n"
       "A field read where a record may begin is in keyword position; the fields its record then reads are in "
       "value position. A record's values follow its keyword in the stream: they need not stand on the "
       "keyword's line, but one record to a line is what the built-in texts write. A text value (a sign text, a "
       "station name) runs to the next comma or the line end, so it cannot hold a comma: what follows the comma "
       "is read as the next field."},
      {"numbers", "Numbers and their widths",
       "A number is an optional minus sign and decimal digits, and nothing else: \"+5\", \"1.5\", \"12abc\", \"-\" "
       "and an empty field are not numbers. A number ends at a blank, a comma or the line end; the blanks after it "
       "and then one comma or one line end are consumed, so numbers may also be separated by blanks alone "
       "(\"orologio, 12 42 20\").\n\n"
       "Each value is read into a width: byte (0 to 255), integer (-32768 to 32767) or long (-2147483648 to "
       "2147483647). A field that is not a number where a number is read, a number outside its width, and a "
       "read when the text has no field left stop the compile with error 25 at that field. A value that fits its "
       "width may still be cut when it is stored into a narrower field of the files: each value of the record "
       "tables says which values are stored unchanged."},
      {"keywords", "How a keyword is recognised",
       "A keyword field names a record kind when it contains the kind's words anywhere and in any order: "
       "\"PERCENTUALE DI MASSA FRENATA\" is the braked-mass record. For every record of the body of the line "
       "text and of the train text letter case is ignored; of the line text's general keys only \"lunghezza "
       "percorso\" ignores it, the others must match letter for letter.\n\n"
       "The kinds are tested one after the other on the same field, and every kind that matches reads its own "
       "values, in the order of the tables: a field that holds the words of two kinds reads both records' "
       "values. A field that matches no kind is passed over (the compile warns about it, unless it is empty or "
       "a section header)."},
      {"comments", "Comments: fields with a hyphen",
       "A field in keyword position that contains a hyphen \"-\" anywhere is a comment: it is dropped and the next "
       "field is read in its place. The run of comments is limited: up to ten in a row in the general section "
       "of the line text, up to two in a row in the body of the line text and in the train text. The field "
       "after that run is taken as a keyword field whatever it holds, so a third comment line in a row in the "
       "body is read as a keyword (and a record, if it happens to name one).\n\n"
       "Only keyword fields are comments: \"-4\" in value position is the number -4. A comment ends at a comma "
       "like any field, so write comments without commas: in \"- curves, gradients\" the field \"gradients\" "
       "is a keyword field of its own. A keyword with a hyphen in it is a comment too: never write one. In the "
       "general section a run of comments must not be the end of the text."},
      {"[generale]", "Where reading starts: \"[generale]\"",
       "Everything before the first field that contains \"[generale]\" (letter case ignored) is passed over: a "
       "prologue may hold anything. The line text must have it, or the compile stops with error 102; a line "
       "text whose only \"[generale]\" is its very last field fails the same way. A train text without it "
       "yields no train data and no error of its own."},
      {"sections", "Section headers",
       "In the line text the general section runs from \"[generale]\" to the first keyword field that contains "
       "both \"[\" and \"]\" and does not begin with \"-\" (\"[curve]\" in the built-in text); that field ends it. "
       "The general keys are recognised only there, the body records only after it.\n\n"
       "Every other header only groups records for a reader and selects nothing: none of \"[curve]\", "
       "\"[pendenze]\", \"[montagne]\", \"[cartelli]\", \"[indicazioni]\", \"[aderenze]\", \"[vel_limite]\", "
       "\"[stazioni]\", \"[rallentamenti]\", \"[segnali]\" or \"[codici]\" contains a keyword (\"[segnali]\" does "
       "not contain \"segnale\"). A record may stand under any header."},
      {"last-field", "The last field is never read",
       "A keyword field that is the last field of its text is never interpreted: the built-in texts end with "
       "\"[fine]\" for that reason. A record on the last line is still read, because its keyword is not the last "
       "field; a lone keyword there is not. End every text with \"[fine]\"."},
      {"cells", "Cells: where an object lands",
       "The compile lays the line out as a grid of cells, one per 50 m, cells 0 to CLng((line length + 7000) / "
       "50). An object of the texts lands in the cell CLng(p / 50 + 1) of its position p, rounded to the nearest "
       "whole number with halves to the even one: cell 190 takes the objects written at 9425 to 9475 m, and "
       "cell 1 those at -24 to 24 m. (The \"abbattimento\" item uses CLng(p / 50); the profiles of speed, "
       "adhesion and gradient start at CLng(p / 50) too.) The cell's own place along the line, in the files' "
       "reports, is k x 50.\n\n"
       "A cell holds one object. It is free when it is empty or holds only mountain fill (kind 11); a record "
       "whose object would land on a cell that is not free stops the compile with that record's error code. A "
       "record whose position lies beyond the grid's end, (p + 100) / 50 above the number of cells, ends the "
       "reading of its text there with error 15."},
  };
}
