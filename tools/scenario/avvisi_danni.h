#ifndef SCENARIO_TOOLS_AVVISI_DANNI_H
#define SCENARIO_TOOLS_AVVISI_DANNI_H

#include <vector>

#include "model/diagnostica.h"
#include "model/modello.h"
#include "scenario/rapporto.h"

// Warnings for what compiles without an error and yet is not what the author
// wrote: values that change when stored, keywords decided by stray letters,
// objects written over, timetable slips, and fields the format reads in a
// way an author does not expect. They come from the records the compile kept
// and from the model it built; they never change a byte.

extern const genere_avviso avviso_pendenza_fuori_campo;
extern const genere_avviso avviso_aderenza_fuori_campo;
extern const genere_avviso avviso_tempo_segnale_fuori_campo;
extern const genere_avviso avviso_cifra_segnale_fuori_campo;
extern const genere_avviso avviso_indicatore_illeggibile;
extern const genere_avviso avviso_abbattimento_fuori_campo;
extern const genere_avviso avviso_velocita_arrotondata;
extern const genere_avviso avviso_lunghezza_con_testo;
extern const genere_avviso avviso_lato_curva;
extern const genere_avviso avviso_classi_curva;
extern const genere_avviso avviso_piu_record;
extern const genere_avviso avviso_fermata_sopra_oggetto;
extern const genere_avviso avviso_codici_sovrascritti;
extern const genere_avviso avviso_orario_indietro;
extern const genere_avviso avviso_ora_fuori_campo;
extern const genere_avviso avviso_sosta_senza_orario;
extern const genere_avviso avviso_oltre_la_linea;
extern const genere_avviso avviso_orario_troppo_stretto;
extern const genere_avviso avviso_ultimo_campo;
extern const genere_avviso avviso_commento_non_letto;
extern const genere_avviso avviso_terzo_trattino;

// The kinds above are listed with every other in generi_avviso().

// Every such warning of a compile, in the order of the texts.
std::vector<messaggio_avviso> avvisi_dei_danni(const modello& m, const diagnostica& d, const testo_autore& linea,
                                               const testo_autore& treno);

#endif
