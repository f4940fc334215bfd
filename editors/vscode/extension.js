// Starts the scenario tool's language server (`scenario lsp`) for the line
// texts and the train texts, and restarts it when the program it runs is
// changed in the settings. The colours come from the grammars alone, so they
// work even when the server cannot start.
'use strict';

const path = require('path');
const vscode = require('vscode');

const lingue = ['scenario-linea', 'scenario-treno'];

let cliente;

// The program of the setting "scenario.path": a bare name is looked up on the
// PATH by the system; a relative path is taken from the first workspace
// folder, as a path written in a workspace's settings means.
function programma_server() {
  const scritto = (vscode.workspace.getConfiguration('scenario').get('path') || '').trim();
  if (scritto === '') return 'scenario';
  const ha_cartella = scritto.includes('/') || scritto.includes('\\');
  const cartelle = vscode.workspace.workspaceFolders;
  if (ha_cartella && !path.isAbsolute(scritto) && cartelle && cartelle.length > 0) {
    return path.join(cartelle[0].uri.fsPath, scritto);
  }
  return scritto;
}

function crea_cliente(libreria) {
  const programma = programma_server();
  // No transport is named: with one, the library would add "--stdio" to the
  // arguments, and the server speaks on its standard streams anyway.
  const server = { command: programma, args: ['lsp'] };
  const opzioni = {
    documentSelector: lingue.map((language) => ({ scheme: 'file', language })),
    outputChannelName: 'Scenario',
  };
  return { programma, cliente: new libreria.LanguageClient('scenario', 'Scenario', server, opzioni) };
}

async function avvia(libreria) {
  const nuovo = crea_cliente(libreria);
  cliente = nuovo.cliente;
  try {
    await cliente.start();
  } catch (errore) {
    cliente = undefined;
    vscode.window.showErrorMessage(
      `The scenario language server did not start ("${nuovo.programma} lsp": ${errore && errore.message}). ` +
        'Set "scenario.path" to the scenario program.');
  }
}

async function ferma() {
  const vecchio = cliente;
  cliente = undefined;
  if (vecchio) {
    try {
      await vecchio.stop();
    } catch (errore) {
      // A server that already ended has nothing left to stop.
    }
  }
}

async function activate(context) {
  let libreria;
  try {
    libreria = require('vscode-languageclient/node');
  } catch (errore) {
    // An extension folder copied by hand has no node_modules: the colours
    // still work, the server needs the packaged extension (.vsix).
    vscode.window.showWarningMessage(
      'The scenario language server needs the packaged extension (scenario-testi-*.vsix), which carries ' +
        'vscode-languageclient: this copy of the extension gives the colours alone.');
    return;
  }
  context.subscriptions.push(
    vscode.workspace.onDidChangeConfiguration(async (evento) => {
      if (evento.affectsConfiguration('scenario.path')) {
        await ferma();
        await avvia(libreria);
      }
    }),
    { dispose: () => ferma() });
  await avvia(libreria);
}

function deactivate() {
  return ferma();
}

module.exports = { activate, deactivate };
