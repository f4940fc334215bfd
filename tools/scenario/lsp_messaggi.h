#ifndef SCENARIO_TOOLS_LSP_MESSAGGI_H
#define SCENARIO_TOOLS_LSP_MESSAGGI_H

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

// The framing of the language server's messages: a header of "Name: value"
// lines ended by an empty line, of which Content-Length counts the bytes of
// the body after it. Nothing here reads the body's JSON.

// A body larger than this is refused: no editor sends one, and reading it
// would hold it all in memory.
constexpr size_t corpo_massimo = size_t{64} << 20;

enum class esito_messaggio {
  letto,     // `corpo` holds one body
  scartato,  // a malformed message was passed over; reading can go on
  fine,      // the input ended (cleanly, or in the middle of a message)
};

struct lettura_messaggio {
  esito_messaggio esito = esito_messaggio::fine;
  std::string corpo;
  std::string perche;  // what was wrong, for `scartato` and for an input cut short
};

// Reads the next message from `in`. A header line longer than a few KiB, a
// header without Content-Length or with a length that is not a number, and
// a body above corpo_massimo are passed over (the oversized body is read and
// dropped in small pieces, so that the next message is found); memory never
// grows with what the input claims.
lettura_messaggio leggi_messaggio(std::istream& in);

// Writes one message with its header and flushes it.
void scrivi_messaggio(std::ostream& out, const std::string& corpo);

#endif
