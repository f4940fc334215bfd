#include "scenario/lsp.h"

#include <iostream>

#include "scenario/lsp_messaggi.h"
#include "scenario/lsp_servizio.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

int esegui_server_lsp(std::istream& in, std::ostream& out, std::ostream& err) {
  servizio_lsp s;
  s.invia = [&out](const std::string& corpo) { scrivi_messaggio(out, corpo); };
  while (!s.finito) {
    lettura_messaggio m = leggi_messaggio(in);
    if (m.esito == esito_messaggio::fine) {
      if (!m.perche.empty()) err << "scenario lsp: " << m.perche << "\n";
      break;
    }
    if (m.esito == esito_messaggio::scartato) {
      err << "scenario lsp: " << m.perche << "\n";
      continue;
    }
    gestisci_messaggio(s, m.corpo);
  }
  return stato_di_uscita(s);
}

esecuzione_comando definisci_lsp(CLI::App& sub, flussi io) {
  sub.description(
      "A language server for editors, on standard input and output: the messages\n"
      "of 'check' on the line text and the train text as they are typed, hovers\n"
      "on keywords and values, the texts' outline, completion of keywords and\n"
      "quick fixes. A line text NAME_linea.txt and a train text NAME_CODE-.txt in\n"
      "one folder are compiled together. It never writes a file.");
  sub.footer(
      "exit status:\n"
      "  0  exit after a shutdown request\n"
      "  1  exit, or the end of input, without a shutdown request\n"
      "  2  usage error\n");
  return [io] {
#ifdef _WIN32
    // The framing counts bytes: no CR may be added or taken away.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return esegui_server_lsp(std::cin, io.out, io.err);
  };
}
