#ifndef SCENARIO_MODEL_DIAGNOSTICA_H
#define SCENARIO_MODEL_DIAGNOSTICA_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// What a compile can tell an author beyond the error code and position: every
// record it read with the places of its fields, which record placed each
// cell's object, and what caused the error it recorded. Filled only when the
// compile is given one (m.traccia); it changes nothing of the result, and a
// compile without one pays nothing for it.

enum testo_sorgente : uint8_t { nessun_testo = 0, testo_linea = 1, testo_treno = 2 };

struct luogo_sorgente {
  testo_sorgente testo = nessun_testo;
  int32_t riga = 0;  // from 1; 0 = unknown
  int32_t colonna = 0;
};

// A field as read: where it begins and its text (Windows-1252, without the
// blanks around it; for a number, the characters the number was read from).
struct campo_letto {
  luogo_sorgente luogo;
  std::string testo;
};

// A record of a source text: a field read in keyword position and every value
// read after it, in order, up to the next keyword field. Section headers,
// comments and fields that match nothing are records too.
struct record_letto {
  campo_letto chiave;
  std::vector<campo_letto> valori;
  // The record kinds the keyword field was read as ("pendenza", "stazione",
  // ...), in the order the compile tried them; empty when it matched none.
  std::vector<const char*> generi;
};

// The record was read as the kind `genere` (one of those tried).
inline bool letto_come(const record_letto& r, const char* genere) {
  for (const char* g : r.generi) {
    if (std::strcmp(g, genere) == 0) return true;
  }
  return false;
}

// No record, no value: the indices below use -1 for "none".
constexpr int32_t nessuno = -1;

// A field of a record: its keyword field (valore = nessuno) or its n-th value
// read (valore = n, from 0).
struct riferimento_campo {
  int32_t record = nessuno;
  int32_t valore = nessuno;

  bool presente() const { return record != nessuno; }
};

// Which record put the object of a cell there. A marker of the finishing pass
// has the signal or slowdown record whose rule placed it.
struct origine_cella {
  int32_t record = nessuno;
  bool dalla_passata = false;
};

// Why a run-time failure (error 25) happened, in terms of what was read.
enum class motivo_fallimento : uint8_t {
  sconosciuto = 0,
  oltre_la_fine,       // a read when the text had no character left
  non_numero,          // a number field that is not a number
  numero_troppo_largo, // a number outside the width it is read into (minimo..massimo)
  testo_troppo_lungo,  // a text longer than a record can hold (massimo bytes)
  valore_fuori_campo,  // a value read whose stored form does not fit its field (minimo..massimo)
  calcolo_fuori_campo, // arithmetic on values read that leaves 32 bits, or an index outside a table
};

// What a note attached to an error says; the report words it.
enum class genere_nota : uint8_t {
  fermato_qui,           // the error surfaced at this record, not at its cause
  valore_in_vigore,      // the value in force, set by this record, failed when it was stored
  progressiva_riordinata,// the progressive's figure is raised by 100 after reading
  cella_occupata,        // the cell holds an object that this record placed (cella)
  cella_della_passata,   // the cell of the finishing pass's rule, which this record placed (cella)
  letto_come_record,     // a longer field was read as a record of this kind (genere)
};

struct nota_errore {
  genere_nota genere = genere_nota::fermato_qui;
  riferimento_campo campo;
  int32_t cella = nessuno;
  uint8_t tipo_cella = 0;    // the object in that cell
  const char* genere_record = nullptr;
};

// The cause of the error the compile recorded: the field of the record that
// caused it, and notes where it surfaced elsewhere or what it met.
struct causa_errore {
  riferimento_campo campo;
  std::vector<nota_errore> note;
  // For error 25.
  motivo_fallimento motivo = motivo_fallimento::sconosciuto;
  int64_t minimo = 0;
  int64_t massimo = 0;
  std::string messaggio;  // the failure's own words, for what no motivo names
};

// A write over what another record had put in a cell, made without a test:
// a station's stop cell over an object, or a warning code or approach mark
// over a different one.
struct scrittura_sopra {
  int32_t cella = nessuno;
  int32_t record = nessuno;             // the record that wrote
  int32_t record_precedente = nessuno;  // the record whose object or code was there
  uint8_t tipo_precedente = 0;          // the object, for a stop cell
  bool dalla_passata = false;           // that object was a marker of the finishing pass
  bool preavviso = false;               // a warning code or approach mark
};

struct diagnostica {
  // Every record of both texts, in the order read: the line text's first.
  std::vector<record_letto> record;
  // Records whose keyword field matched no record kind (indices into record).
  std::vector<int32_t> avvisi;
  // By cell index: the record that placed the cell's object.
  std::vector<origine_cella> origine_celle;
  // Filled when the compile records an error.
  causa_errore errore;
  // The first kilometre progressive of the line text whose position or figure
  // is off the 50 m step, which the train half finds as error 2.
  riferimento_campo progressiva_fuori_passo;
  // The lines of the two texts as read (the first is line 1), without their
  // line ends, for showing a place.
  std::vector<std::string> righe_linea;
  std::vector<std::string> righe_treno;
  // The occupied cell a placement was refused on; set by the placement, read
  // when its error is recorded.
  int32_t cella_rifiutata = nessuno;
  // Writes over another record's object or code, in the order made.
  std::vector<scrittura_sopra> scritture_sopra;
  // By cell index: the record that wrote the cell's warning code or approach mark.
  std::vector<int32_t> origine_preavviso;
};

// The place of a field; an empty place for none.
inline luogo_sorgente luogo_di(const diagnostica& d, riferimento_campo c) {
  if (c.record < 0 || static_cast<size_t>(c.record) >= d.record.size()) return {};
  const record_letto& r = d.record[static_cast<size_t>(c.record)];
  if (c.valore < 0) return r.chiave.luogo;
  if (static_cast<size_t>(c.valore) >= r.valori.size()) return r.chiave.luogo;
  return r.valori[static_cast<size_t>(c.valore)].luogo;
}

// The record being read: the last one begun.
inline int32_t record_corrente(const diagnostica& d) {
  return d.record.empty() ? nessuno : static_cast<int32_t>(d.record.size()) - 1;
}

// The last value read of the record being read (or its keyword field).
inline riferimento_campo campo_corrente(const diagnostica& d) {
  const int32_t r = record_corrente(d);
  if (r == nessuno) return {};
  const auto n = static_cast<int32_t>(d.record[static_cast<size_t>(r)].valori.size());
  return {r, n > 0 ? n - 1 : nessuno};
}

// The n-th value (from 0) of the record being read.
inline riferimento_campo valore_corrente(const diagnostica& d, int32_t n) { return {record_corrente(d), n}; }

// Records that record r placed an object in cell k.
inline void annota_origine(diagnostica* d, int64_t k, int32_t r, bool dalla_passata = false) {
  if (!d || k < 0) return;
  if (d->origine_celle.size() <= static_cast<size_t>(k)) d->origine_celle.resize(static_cast<size_t>(k) + 1);
  d->origine_celle[static_cast<size_t>(k)] = {r, dalla_passata};
}

// Records that the record being read placed an object in cell k.
inline void annota_origine(diagnostica* d, int64_t k) {
  if (d) annota_origine(d, k, record_corrente(*d));
}

// The record that placed the object of cell k, or nessuno.
inline int32_t origine_di(const diagnostica& d, int64_t k) {
  if (k < 0 || static_cast<size_t>(k) >= d.origine_celle.size()) return nessuno;
  return d.origine_celle[static_cast<size_t>(k)].record;
}

// Records the cause of an error: a fresh cause at field c, no notes.
inline void annota_errore(diagnostica* d, riferimento_campo c) {
  if (!d) return;
  d->errore = causa_errore{};
  d->errore.campo = c;
}

// Records the cause of an error at the record being read, at its n-th value
// (or at its keyword field).
inline void annota_errore(diagnostica* d, int32_t valore = nessuno) {
  if (d) annota_errore(d, {record_corrente(*d), valore});
}

inline void aggiungi_nota(diagnostica* d, const nota_errore& n) {
  if (d) d->errore.note.push_back(n);
}

// The record being read writes `nuovo` as the warning code of cell k, which
// holds `precedente`: a different code of another record is lost.
inline void annota_preavviso(diagnostica* d, int64_t k, uint8_t precedente, uint8_t nuovo) {
  if (!d || k < 0) return;
  std::vector<int32_t>& o = d->origine_preavviso;
  if (o.size() <= static_cast<size_t>(k)) o.resize(static_cast<size_t>(k) + 1, nessuno);
  const int32_t r = record_corrente(*d);
  const int32_t prima = o[static_cast<size_t>(k)];
  if (precedente != 0 && precedente != nuovo && prima != nessuno && prima != r) {
    d->scritture_sopra.push_back({static_cast<int32_t>(k), r, prima, 0, false, true});
  }
  o[static_cast<size_t>(k)] = r;
}

// The record being read writes its stop cell k, which holds an object of kind
// `tipo` (0 for none).
inline void annota_fermata(diagnostica* d, int64_t k, uint8_t tipo) {
  if (!d || k < 0 || tipo == 0) return;
  const int32_t prima = origine_di(*d, k);
  const bool passata = static_cast<size_t>(k) < d->origine_celle.size() &&
                       d->origine_celle[static_cast<size_t>(k)].dalla_passata;
  d->scritture_sopra.push_back({static_cast<int32_t>(k), record_corrente(*d), prima, tipo, passata, false});
}

#endif
