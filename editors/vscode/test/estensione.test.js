// Loads the extension's entry as the editor does, against a stand-in for the
// editor's API and with the real vscode-languageclient (as npm installs it
// from the extension's package-lock.json), and checks what it starts: the
// program of "scenario.path" with the argument "lsp", for the two languages,
// again after the setting changes, and a clear message when it cannot. Also
// checks the manifest the editor reads: entry, activation, setting, the
// Windows-1252 default of both languages and the pinned client.
//
//   NODE_PATH=.../node_modules node estensione.test.js
//   node estensione.test.js --estensione DIR
//
// --estensione DIR checks the extension unpacked in DIR (the "extension"
// folder of a .vsix), with the packages it carries itself, in place of the
// source folder.
'use strict';

const assert = require('assert');
const fs = require('fs');
const Module = require('module');
const path = require('path');

const argomento = process.argv.indexOf('--estensione');
const estensione = argomento > 0 ? path.resolve(process.argv[argomento + 1]) : path.join(__dirname, '..');
const pacchetto = JSON.parse(fs.readFileSync(path.join(estensione, 'package.json'), 'utf8'));
// The library as the extension's entry finds it.
const libreria_client = require.resolve('vscode-languageclient/node', { paths: [estensione] });

// ---------------------------------------------------------------------------
// The manifest.

function controlla_manifesto() {
  assert.ok(fs.existsSync(path.join(estensione, pacchetto.main)), `the entry ${pacchetto.main} is missing`);
  assert.deepStrictEqual(pacchetto.activationEvents.slice().sort(),
                         ['onLanguage:scenario-linea', 'onLanguage:scenario-treno']);
  const impostazione = pacchetto.contributes.configuration.properties['scenario.path'];
  assert.strictEqual(impostazione.type, 'string');
  assert.strictEqual(impostazione.default, 'scenario');
  // A workspace that is not trusted cannot name the program that runs.
  assert.deepStrictEqual(pacchetto.capabilities.untrustedWorkspaces.restrictedConfigurations, ['scenario.path']);
  for (const lingua of ['[scenario-linea]', '[scenario-treno]']) {
    assert.strictEqual(pacchetto.contributes.configurationDefaults[lingua]['files.encoding'], 'windows1252');
  }
  // Every package the extension needs is pinned to one version, and the lock
  // (the source folder has one, a .vsix not) holds the same one.
  assert.ok(pacchetto.dependencies['vscode-languageclient']);
  const file_blocco = path.join(estensione, 'package-lock.json');
  if (fs.existsSync(file_blocco)) {
    const blocco = JSON.parse(fs.readFileSync(file_blocco, 'utf8'));
    for (const gruppo of ['dependencies', 'devDependencies']) {
      for (const [nome, versione] of Object.entries(pacchetto[gruppo])) {
        assert.match(versione, /^\d+\.\d+\.\d+$/, `${nome} is not pinned: ${versione}`);
        assert.strictEqual(blocco.packages[`node_modules/${nome}`].version, versione, `${nome} in the lock`);
      }
    }
    assert.deepStrictEqual(blocco.packages[''].dependencies, pacchetto.dependencies);
  }
  const caricato = require(path.join(path.dirname(libreria_client), 'package.json')).version;
  assert.strictEqual(caricato, pacchetto.dependencies['vscode-languageclient'], 'the installed client');
}

// ---------------------------------------------------------------------------
// The stand-in for the editor's API: the settings, the workspace folders, the
// messages shown and the handlers registered. The library derives classes of
// its own from the editor's (CompletionItem, Diagnostic, ...) when it loads:
// every other name is an empty class.

function editore() {
  const stato = { impostazioni: {}, cartelle: undefined, errori: [], avvisi: [], al_cambio: [] };
  const classi = new Map();
  const api = {
    workspace: {
      getConfiguration: (sezione) => ({ get: (chiave) => stato.impostazioni[`${sezione}.${chiave}`] }),
      get workspaceFolders() { return stato.cartelle; },
      onDidChangeConfiguration: (f) => { stato.al_cambio.push(f); return { dispose() {} }; },
    },
    window: {
      showErrorMessage: (m) => { stato.errori.push(m); },
      showWarningMessage: (m) => { stato.avvisi.push(m); },
    },
  };
  const modulo = new Proxy(api, {
    get(bersaglio, nome) {
      if (nome in bersaglio || typeof nome === 'symbol') return bersaglio[nome];
      if (!classi.has(nome)) classi.set(nome, class {});
      return classi.get(nome);
    },
  });
  const cambia = async (chiave, valore) => {
    stato.impostazioni[chiave] = valore;
    for (const f of stato.al_cambio) await f({ affectsConfiguration: (s) => chiave === s || chiave.startsWith(`${s}.`) });
  };
  return { stato, modulo, cambia };
}

// The clients the extension makes, in place of the library's LanguageClient
// (which would spawn the server through the editor).
function registro_clienti(fallisce) {
  const clienti = [];
  class cliente_finto {
    constructor(id, nome, server, opzioni) {
      Object.assign(this, { id, nome, server, opzioni, avviato: false, fermato: false });
      clienti.push(this);
    }
    async start() {
      if (fallisce()) throw new Error('spawn nowhere/scenario ENOENT');
      this.avviato = true;
    }
    async stop() { this.fermato = true; }
  }
  return { clienti, cliente_finto };
}

// Loads extension.js afresh with the stand-ins; `senza_libreria` hides
// vscode-languageclient, as in a folder copied without node_modules. The
// extension asks for the library when it is activated: the stand-ins stay
// until `ripristina` is called.
function carica(vscode, cliente_finto, senza_libreria) {
  const carica_originale = Module._load;
  Module._load = function (richiesta, ...resto) {
    if (richiesta === 'vscode') return vscode;
    if (senza_libreria && richiesta.startsWith('vscode-languageclient')) {
      throw Object.assign(new Error(`Cannot find module '${richiesta}'`), { code: 'MODULE_NOT_FOUND' });
    }
    return carica_originale.call(this, richiesta, ...resto);
  };
  const ripristina = () => { Module._load = carica_originale; };
  try {
    for (const nome of Object.keys(require.cache)) {
      if (nome.includes(`${path.sep}vscode-languageclient${path.sep}`) || nome.endsWith('extension.js')) {
        delete require.cache[nome];
      }
    }
    if (!senza_libreria) {
      // The real library, loaded against the stand-in, then its client class
      // replaced by the recording one.
      const libreria = require(libreria_client);
      assert.strictEqual(typeof libreria.LanguageClient, 'function');
      libreria.LanguageClient = cliente_finto;
    }
    return { ext: require(path.join(estensione, pacchetto.main)), ripristina };
  } catch (errore) {
    ripristina();
    throw errore;
  }
}

async function controlla_avvio() {
  const { stato, modulo, cambia } = editore();
  let fallisce = false;
  const { clienti, cliente_finto } = registro_clienti(() => fallisce);
  const { ext, ripristina } = carica(modulo, cliente_finto, false);
  const contesto = { subscriptions: [] };

  // Without a setting: "scenario" on the PATH, with "lsp", over the standard
  // streams (no transport, which would add "--stdio").
  await ext.activate(contesto);
  assert.strictEqual(clienti.length, 1);
  const [primo] = clienti;
  assert.deepStrictEqual(primo.server, { command: 'scenario', args: ['lsp'] });
  assert.deepStrictEqual(primo.opzioni.documentSelector, [
    { scheme: 'file', language: 'scenario-linea' },
    { scheme: 'file', language: 'scenario-treno' },
  ]);
  assert.ok(primo.avviato);
  assert.deepStrictEqual(stato.errori, []);

  // A relative path is taken from the first workspace folder; the old server
  // stops before the new one starts. Another setting restarts nothing.
  stato.cartelle = [{ uri: { fsPath: path.join(path.sep, 'lavoro') } }];
  await cambia('scenario.path', path.join('bin', 'scenario'));
  assert.strictEqual(clienti.length, 2);
  assert.ok(primo.fermato);
  assert.strictEqual(clienti[1].server.command, path.join(path.sep, 'lavoro', 'bin', 'scenario'));
  await cambia('scenario.trace.server', 'verbose');
  assert.strictEqual(clienti.length, 2);

  // An absolute path and a bare name are used as written.
  const assoluto = path.join(path.sep, 'opt', 'scenario', 'bin', 'scenario');
  await cambia('scenario.path', assoluto);
  assert.strictEqual(clienti[2].server.command, assoluto);
  await cambia('scenario.path', 'scenario-0.9');
  assert.strictEqual(clienti[3].server.command, 'scenario-0.9');

  // A program that does not start: one message naming it and the setting,
  // and activation does not fail.
  fallisce = true;
  await cambia('scenario.path', 'nowhere/scenario');
  assert.strictEqual(stato.errori.length, 1);
  assert.match(stato.errori[0], /nowhere.scenario lsp/);
  assert.match(stato.errori[0], /scenario\.path/);

  // Deactivation stops the running client.
  fallisce = false;
  await cambia('scenario.path', 'scenario');
  const ultimo = clienti[clienti.length - 1];
  assert.ok(ultimo.avviato);
  await ext.deactivate();
  assert.ok(ultimo.fermato);
  ripristina();
}

async function controlla_senza_libreria() {
  const { stato, modulo } = editore();
  const { clienti, cliente_finto } = registro_clienti(() => false);
  const { ext, ripristina } = carica(modulo, cliente_finto, true);
  await ext.activate({ subscriptions: [] });
  ripristina();
  assert.strictEqual(clienti.length, 0);
  assert.strictEqual(stato.avvisi.length, 1);
  assert.match(stato.avvisi[0], /\.vsix/);
  await ext.deactivate();
}

(async () => {
  controlla_manifesto();
  await controlla_avvio();
  await controlla_senza_libreria();
  console.log('extension: manifest, start, restart, failure and deactivation checked');
})().catch((errore) => {
  console.error(errore);
  process.exit(1);
});
