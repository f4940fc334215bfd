#include "documents/dati_note.h"

#include "model/nomi_file.h"
#include "text/scrittura.h"

// Running text broken by hand at up to 96 characters. The accented letters
// are Windows-1252 bytes: \xE0 is "a" grave, \xE8 "e" grave, \xF2 "o" grave.
std::vector<std::string> elenco_note() {
  return {
      "AUTORE: Gruppo Scenari Valicoro",
      "INDIRIZZO EMAIL: scenari.valicoro@example.com",
      "NUMERO PROGRESSIVO SCENARIO: 3",
      "DATA REALIZZAZIONE SCENARIO: 29.03.2001",
      "",
      "",
      // How faithful the line is.
      "Le curve, i tratti in pendenza e i segnali di questa linea sono stati ricostruiti a memoria,",
      "grazie a parecchi anni di viaggi da pendolare sulla tratta: non corrispondono quindi in modo",
      "esatto alla realt\xE0, ma ci si pu\xF2 fidare di loro. Le posizioni delle stazioni e dei dieci",
      "passaggi a livello ancora in servizio sono invece esatte, nei limiti consentiti dal",
      "simulatore. Chi conosce bene la linea noter\xE0 che lungo il percorso mancano alcuni passaggi a",
      "livello: non si tratta di una dimenticanza. Negli anni scorsi parecchi passaggi a livello di",
      "questo tratto sono stati soppressi e sostituiti da sottopassi e cavalcavia, e lo scenario",
      "riproduce la linea com'\xE8 oggi e non com'era un tempo.",
      // The train.
      "Il treno \xE8 un regionale che in realt\xE0 parte da Morsalo e prosegue fino a Selvia; lo scenario",
      "ne riproduce soltanto il tratto da Morsalo a Torvia. Il treno ferma in tutte le stazioni",
      "tranne Crespa. Lungo il percorso si incontra il segnale di protezione di un passaggio a",
      "livello disposto temporaneamente a via impedita, e sono in vigore due prescrizioni di",
      "rallentamento. L'aderenza all'inizio del viaggio \xE8 molto scarsa, con la rotaia umida e sporca",
      "di foglie, e migliora soltanto nella seconda parte della corsa.",
      // What makes the run difficult.
      "Il viaggio \xE8 movimentato e arrivare in orario a Torvia \xE8 molto difficile, anche a causa della",
      "deviazione inattesa che il treno subisce all'ingresso della stazione di Ulsa e della sua",
      "percentuale di massa frenata, piuttosto bassa: occorre quindi anticipare le frenate e non",
      "perdere tempo nelle fermate.",
      "L'unico vantaggio che il macchinista pu\xF2 sfruttare \xE8 il peso complessivo ridotto del treno.",
      "Anche in questo scenario i nomi delle localit\xE0 sono riportati in forma bilingue.",
      "",
      "",
      "",
      "SCENARI PRECEDENTEMENTE REALIZZATI:",
      "",
      "Valicoro_Morsalo_R20405",
      "Selvia_Roccafonda_R5362",
      fine_elenco,
  };
}

void dati_note(const modello& m, archivio& a) { scrivi_elenco(a, nome_note(m), elenco_note()); }
