#ifndef SCENARIO_TOOLS_LSP_SERVIZIO_H
#define SCENARIO_TOOLS_LSP_SERVIZIO_H

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "scenario/json.h"
#include "scenario/lsp_diagnostiche.h"
#include "scenario/lsp_documenti.h"
#include "scenario/lsp_posizioni.h"

// The language server's state and its answers: one message in, the messages
// out through `invia`. Nothing here reads or writes the framing.

struct servizio_lsp {
  std::function<void(const std::string&)> invia;  // one body to send

  bool inizializzato = false;
  bool spento = false;   // shutdown received
  bool finito = false;   // exit received
  unita_colonna unita = unita_colonna::utf_16;
  documenti_aperti documenti;
  // The last compile of each open document's pair, by the document's URI.
  std::map<std::string, std::shared_ptr<compilazione_lsp>> compilazioni;
  // The texts not open that were sent diagnostics as an open text's partner.
  std::set<std::string> partner_chiusi;
};

// Handles one message body (not yet parsed).
void gestisci_messaggio(servizio_lsp& s, const std::string& corpo);

// The exit status once the input ends or exit arrives: 0 after shutdown.
int stato_di_uscita(const servizio_lsp& s);

#endif
