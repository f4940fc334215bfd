// Tokenises line texts and train texts with the editor's own TextMate engine
// and checks, field by field, that every keyword, number, hyphen comment,
// section header, sign text and station name gets its scope.
//
// What each field should be comes from a reading of the texts made here,
// after the compile's rules (containment, letter case, comment fields,
// "[generale]", the end of the line text's general section), not from the
// grammars' patterns. Like the grammars it reads a line at a time: the first
// field of a line, after its comment fields, is in keyword position.
//
//   node grammatiche.test.js [--golden DIR] [--scenario PROGRAM]
//
// --golden DIR reads the built-in texts from DIR; --scenario PROGRAM has the
// tool write them (and every other starter it offers) into a temporary folder.
'use strict';

const assert = require('assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const vsctm = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');

const estensione = path.join(__dirname, '..');

// ---------------------------------------------------------------------------
// The grammars, as the editor loads them from the extension's package.json.

async function grammatiche() {
  const wasm = fs.readFileSync(path.join(path.dirname(require.resolve('vscode-oniguruma')), 'onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const pacchetto = JSON.parse(fs.readFileSync(path.join(estensione, 'package.json'), 'utf8'));
  const file = {};
  for (const g of pacchetto.contributes.grammars) file[g.scopeName] = path.join(estensione, g.path);
  const registro = new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (p) => new oniguruma.OnigScanner(p),
      createOnigString: (s) => new oniguruma.OnigString(s),
    }),
    loadGrammar: async (scopeName) =>
      file[scopeName] ? vsctm.parseRawGrammar(fs.readFileSync(file[scopeName], 'utf8'), file[scopeName]) : null,
  });
  // The languages and the file names they are recognised by.
  const lingue = Object.fromEntries(pacchetto.contributes.languages.map((l) => [l.id, l.filenamePatterns]));
  assert.deepStrictEqual(lingue, { 'scenario-linea': ['*_linea.txt'], 'scenario-treno': ['*-.txt'] });
  const ambito = Object.fromEntries(pacchetto.contributes.grammars.map((g) => [g.language, g.scopeName]));
  return {
    linea: await registro.loadGrammar(ambito['scenario-linea']),
    treno: await registro.loadGrammar(ambito['scenario-treno']),
  };
}

// ---------------------------------------------------------------------------
// The reading of the texts.

const contiene = (campo, parola) => campo.toLowerCase().includes(parola);
const contiene_esatto = (campo, parola) => campo.includes(parola);

// Records: the test on the keyword field, then how many numbers follow and
// whether a text field ends the record. The first that matches names it.
const chiavi_generali = [
  ['lunghezza-percorso', (c) => contiene(c, 'lunghezza') && contiene(c, 'percorso'), 1],
  ['progressiva', (c) => contiene_esatto(c, 'progressiva') && /uno|due|tre/.test(c), 3],
  ['sfondo', (c) => contiene_esatto(c, 'sfondo') && /uno|due|tre/.test(c), 1],
  ['ripetizione-segnali', (c) => contiene_esatto(c, 'ripetizione') && contiene_esatto(c, 'segnali'), 2],
];
const chiavi_corpo = [
  ['pendenza', (c) => contiene(c, 'pendenza'), 2],
  ['curva', (c) => contiene(c, 'curva') && /[1-6]/.test(c), 2],
  ['curva-senza-classe', (c) => contiene(c, 'curva'), 2],
  ['montagna', (c) => contiene(c, 'montagna'), 3],
  ['indicatori-v', (c) => contiene(c, 'indicatori_v'), 9],
  ['cartello', (c) => contiene(c, 'indicat') && contiene(c, 'cartello'), 1, 'cartello'],
];
const chiavi_treno = [
  ['massa-frenata', (c) => contiene(c, 'frenata') && contiene(c, 'massa'), 1],
  ['vetture', (c) => contiene(c, 'vetture'), 1],
  ['velocita', (c) => contiene(c, 'velocit'), 2],
  ['aderenza', (c) => contiene(c, 'aderenza'), 2],
  ['orologio', (c) => contiene(c, 'orologio'), 3],
  ['sabbia', (c) => contiene(c, 'sabbia'), 1],
  ['segnale', (c) => contiene(c, 'segnale'), 11],
  ['rallentamento', (c) => contiene(c, 'rallentamento'), 6],
  ['abbattimento', (c) => contiene(c, 'abbattimento'), 2],
  ['stazione', (c) => contiene(c, 'stazione'), 16, 'stazione'],
];

// The fields of a line: where each starts and ends, blanks around it left out.
function campi(riga) {
  const risultato = [];
  let da = 0;
  for (;;) {
    let a = riga.indexOf(',', da);
    if (a < 0) a = riga.length;
    let i = da;
    let j = a;
    while (i < j && /[ \t]/.test(riga[i])) ++i;
    while (j > i && /[ \t]/.test(riga[j - 1])) --j;
    risultato.push({ da: i, a: j, testo: riga.slice(i, j) });
    if (a === riga.length) return risultato;
    da = a + 1;
  }
}

// What each stretch of each line should be: [line, from, to, scope prefix].
function attese(righe, tipo_testo) {
  const risultato = [];
  let stato = 'prologo';
  const attendi = (n, da, a, ambito, cosa) => risultato.push({ riga: n, da, a, ambito, cosa });
  righe.forEach((riga, n) => {
    const f = campi(riga);
    let k = 0;
    if (stato === 'prologo') {
      while (k < f.length && !contiene(f[k].testo, '[generale]')) {
        if (f[k].testo) attendi(n, f[k].da, f[k].a, 'comment.block.prologue', 'prologue');
        ++k;
      }
      if (k === f.length) return;
      attendi(n, f[k].da, f[k].a, 'entity.name.section', 'header');
      stato = tipo_testo === 'linea' ? 'generale' : 'treno';
      return;
    }
    while (k < f.length && f[k].testo.includes('-')) {
      attendi(n, f[k].da, f[k].a, 'comment.line.hyphen', 'comment');
      ++k;
    }
    if (k === f.length || !f[k].testo) return;
    const chiave = f[k];
    const tabella = { generale: chiavi_generali, corpo: chiavi_corpo, treno: chiavi_treno }[stato];
    const record = tabella.find(([, prova]) => prova(chiave.testo));
    if (!record) {
      if (chiave.testo.includes('[') && chiave.testo.includes(']')) {
        attendi(n, chiave.da, chiave.a, 'entity.name.section', 'header');
        if (stato === 'generale') stato = 'corpo';
      } else {
        attendi(n, chiave.da, chiave.a, 'invalid.deprecated.unrecognised', 'unrecognised');
      }
      return;
    }
    const [nome, , numeri, testo] = record;
    const illegale = nome === 'curva-senza-classe';
    attendi(n, chiave.da, chiave.a, illegale ? 'invalid.illegal.curva' : `keyword.other.${nome}`, 'keyword');
    if (nome === 'curva') {
      for (let i = chiave.da; i < chiave.a; ++i) {
        if (/[1-6]/.test(riga[i])) attendi(n, i, i + 1, 'constant.numeric.classe', 'curve class');
        if (/[sS]/.test(riga[i])) attendi(n, i, i + 1, 'storage.modifier.lato', 'curve side');
      }
    }
    if (nome === 'ripetizione-segnali') {
      for (let i = chiave.da; i < chiave.a; ++i) {
        if (/[49]/.test(riga[i])) attendi(n, i, i + 1, 'constant.numeric.codici', 'codes');
      }
    }
    // The numbers, several to a field where blanks part them, then the text.
    let letti = 0;
    for (++k; k < f.length && letti < numeri; ++k) {
      const re = /[^ \t]+/g;
      let m;
      while ((m = re.exec(f[k].testo)) && letti < numeri) {
        const da = f[k].da + m.index;
        const numero = /^-?[0-9]+$/.test(m[0]);
        attendi(n, da, da + m[0].length, numero ? 'constant.numeric.integer' : 'invalid.illegal.not-a-number',
                numero ? 'number' : 'not a number');
        ++letti;
      }
    }
    if (testo && letti === numeri && k < f.length && f[k].testo) {
      attendi(n, f[k].da, f[k].a, `string.unquoted.${testo}`, testo === 'cartello' ? 'sign text' : 'station name');
    }
  });
  return risultato;
}

// ---------------------------------------------------------------------------
// The check.

function tokenizza(grammatica, righe) {
  let pila = vsctm.INITIAL;
  return righe.map((riga) => {
    const r = grammatica.tokenizeLine(riga, pila);
    pila = r.ruleStack;
    return r.tokens;
  });
}

// Checks every stretch of a text; returns how many of each kind it checked.
function controlla(grammatica, nome, righe, tipo_testo) {
  const lingua = tipo_testo === 'linea' ? 'scenario-linea' : 'scenario-treno';
  const token = tokenizza(grammatica, righe);
  const conteggi = {};
  const errori = [];
  for (const a of attese(righe, tipo_testo)) {
    conteggi[a.cosa] = (conteggi[a.cosa] || 0) + 1;
    const prefisso = `${a.ambito}.${lingua}`;
    for (const t of token[a.riga]) {
      if (t.endIndex <= a.da || t.startIndex >= a.a) continue;
      if (!t.scopes.some((s) => s === prefisso || s.startsWith(prefisso + '.'))) {
        errori.push(`${nome}:${a.riga + 1}:${t.startIndex + 1}: "${righe[a.riga].slice(t.startIndex, t.endIndex)}" ` +
                    `should be ${a.cosa} (${prefisso}) but is ${t.scopes.slice(1).join(' ') || 'unscoped'}`);
        break;
      }
    }
  }
  return { conteggi, errori };
}

function leggi_righe(file) {
  // Windows-1252 text: one character per byte is all the grammars need.
  return fs.readFileSync(file, 'latin1').split(/\r\n|\n|\r/).filter((r, i, tutte) => i < tutte.length - 1 || r);
}

// Hand-written texts for the rules the built-in texts never use.
const prova_linea = [
  'a text before the general section is never read',
  '[note]',
  '  [generale]',
  'LUNGHEZZA PERCORSO,    12000',
  'percorso e lunghezza, 12000',
  'Progressiva chilometrica uno,    0,    150300,    1',
  'progressiva chilometrica uno, 0, 150300, 1',
  'SFONDO uno,    0',
  '-[nota]-',
  '-- a comment, sfondo due,    0',
  'ripetizione segnali 9 codici,    0,    6000',
  'pendenza, 0, 0',
  '[curve]',
  '-- tratto in curva --',
  '- a -, - b -, pendenza,  100,  -4',
  'curvaS2,  100,  50',
  'curva12,  300,  50',
  'curva,  400,  50',
  'CURVAD6,  500,  50',
  'pendenza, 700, 1x',
  'montagna,  1000,  2000,  1',
  'indicatori_vmax,  700,  95,  100,  105,  0,  95,  100,  105,  0',
  'CARTELLO INDICATORE,  900,   (PONTE - SUL  )(FIUME)',
  'cartelo_indicatore,  900,   (X)',
  '[fine]',
];
const prova_treno = [
  'written before the general section, passed over',
  '[generale]',
  'PERCENTUALE DI MASSA FRENATA,    105',
  'frenata,    105',
  'orologio,    12              42            20 ',
  '[vel_limite]',
  'velocità,    0,    30',
  'VELOCITA MASSIMA,  700,  100',
  '--- fermate ---',
  '[stazioni]',
  'stazione,  25900, 24, 500,  0, 0, 0,  0,0,0,  4,1,1,    30,  13,6, 0, Calè/ Kaltig',
  'stazione 2,  30000, 12, 700,  0, 0, 0,  1 1 0  4 1 1    30  13 10 0 Pianoldo - Planold',
  '- x -, segnale,    9450,   2, 5, 1,  0, 0,    2,  2,1,0, 250',
  'abbattimento,  100,  2',
  'rallentamento,    4500,    40,  100, 0,  1,  0',
  'sabbia,    300',
  'numero vetture,    4',
  'aderenza,   16500,    70',
  '[segnali]',
  '[fine]',
];

function argomento(nome) {
  const i = process.argv.indexOf(nome);
  return i > 0 ? process.argv[i + 1] : undefined;
}

// The texts to check: [name, lines, kind, expected counts or null].
function testi() {
  const elenco = [
    ['line text of the tests', prova_linea, 'linea', null],
    ['train text of the tests', prova_treno, 'treno', null],
  ];
  const golden = argomento('--golden');
  if (golden) {
    elenco.push([path.join(golden, 'Morsalo_Torvia_linea.txt'), leggi_righe(path.join(golden, 'Morsalo_Torvia_linea.txt')),
                 'linea', { keyword: 8 + 19 + 7 + 10 + 20, header: 7, 'sign text': 20 }]);
    elenco.push([path.join(golden, 'Morsalo_Torvia_R20417-.txt'), leggi_righe(path.join(golden, 'Morsalo_Torvia_R20417-.txt')),
                 'treno', { keyword: 4 + 2 + 9 + 12 + 2 + 22, header: 8, 'station name': 12 }]);
  }
  const programma = argomento('--scenario');
  if (programma) {
    // Every starter the tool writes: the built-in one, and the others that
    // `init --example` offers when it does.
    const cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-grammatiche-'));
    const aiuto = execFileSync(programma, ['help', 'init'], { encoding: 'utf8' });
    const esempi = aiuto.includes('--example') ? ['minimal'] : [];
    for (const esempio of [null, ...esempi]) {
      const qui = path.join(cartella, esempio || 'predefinito');
      execFileSync(programma, ['init', qui, ...(esempio ? ['--example', esempio] : [])], { stdio: 'ignore' });
      for (const f of fs.readdirSync(qui).sort()) {
        const tipo = f.endsWith('_linea.txt') ? 'linea' : f.endsWith('-.txt') ? 'treno' : null;
        if (tipo) elenco.push([`${esempio || 'built-in'} ${f}`, leggi_righe(path.join(qui, f)), tipo, null]);
      }
    }
    fs.rmSync(cartella, { recursive: true, force: true });
  }
  return elenco;
}

// A few stretches named outright, so that the reading above cannot agree
// with the grammars by sharing a mistake.
function casi_nominati(g) {
  const ambiti = (grammatica, righe, n, testo) => {
    const t = tokenizza(grammatica, righe)[n];
    const da = righe[n].indexOf(testo);
    assert.ok(da >= 0, `"${testo}" not on line ${n + 1}`);
    return t.filter((x) => x.endIndex > da && x.startIndex < da + testo.length).map((x) => x.scopes.slice(1).join(' '));
  };
  const casi = [
    [g.linea, prova_linea, 1, '[note]', 'comment.block.prologue.scenario-linea'],
    [g.linea, prova_linea, 3, 'LUNGHEZZA PERCORSO', 'keyword.other.lunghezza-percorso.scenario-linea'],
    [g.linea, prova_linea, 5, 'Progressiva chilometrica uno', 'invalid.deprecated.unrecognised.scenario-linea'],
    [g.linea, prova_linea, 7, 'SFONDO uno', 'invalid.deprecated.unrecognised.scenario-linea'],
    [g.linea, prova_linea, 8, '-[nota]-', 'comment.line.hyphen.scenario-linea'],
    [g.linea, prova_linea, 10, '9', 'constant.numeric.codici.scenario-linea'],
    [g.linea, prova_linea, 11, 'pendenza', 'invalid.deprecated.unrecognised.scenario-linea'],
    [g.linea, prova_linea, 12, '[curve]', 'entity.name.section.scenario-linea'],
    [g.linea, prova_linea, 13, '-- tratto in curva --', 'comment.line.hyphen.scenario-linea'],
    [g.linea, prova_linea, 14, '-4', 'constant.numeric.integer.scenario-linea'],
    [g.linea, prova_linea, 15, 'S', 'storage.modifier.lato.scenario-linea'],
    [g.linea, prova_linea, 17, 'curva', 'invalid.illegal.curva.scenario-linea'],
    [g.linea, prova_linea, 19, '1x', 'invalid.illegal.not-a-number.scenario-linea'],
    [g.linea, prova_linea, 22, '(PONTE - SUL  )(FIUME)', 'string.unquoted.cartello.scenario-linea'],
    [g.linea, prova_linea, 24, '[fine]', 'entity.name.section.scenario-linea'],
    [g.treno, prova_treno, 0, 'written', 'comment.block.prologue.scenario-treno'],
    [g.treno, prova_treno, 3, 'frenata', 'invalid.deprecated.unrecognised.scenario-treno'],
    [g.treno, prova_treno, 6, 'velocità', 'keyword.other.velocita.scenario-treno'],
    [g.treno, prova_treno, 9, '[stazioni]', 'entity.name.section.scenario-treno'],
    [g.treno, prova_treno, 10, 'Calè/ Kaltig', 'string.unquoted.stazione.scenario-treno'],
    [g.treno, prova_treno, 11, 'Pianoldo - Planold', 'string.unquoted.stazione.scenario-treno'],
    [g.treno, prova_treno, 12, '- x -', 'comment.line.hyphen.scenario-treno'],
    [g.treno, prova_treno, 12, 'segnale', 'keyword.other.segnale.scenario-treno'],
  ];
  let falliti = 0;
  for (const [grammatica, righe, n, testo, atteso] of casi) {
    const trovati = ambiti(grammatica, righe, n, testo);
    if (!trovati.every((s) => s.split(' ').includes(atteso))) {
      console.log(`  FAILED  line ${n + 1} "${testo}": expected ${atteso}, got [${trovati.join(' | ')}]`);
      ++falliti;
    }
  }
  console.log(`  ${casi.length - falliti} of ${casi.length} named stretches as expected`);
  return falliti;
}

// The Notepad++ file colours the same keywords: every fragment the compile
// looks for is a keyword of its language there (a prefix where the keyword
// is written with more letters after it), and headers, sign texts and
// hyphen comments have their own styles.
function notepad() {
  const xml = fs.readFileSync(path.join(estensione, '..', 'notepad++', 'scenario.xml'), 'utf8');
  const lingue = {
    'Scenario line text': {
      esatte: ['lunghezza', 'percorso', 'progressiva', 'uno', 'due', 'tre', 'sfondo', 'ripetizione', 'segnali'],
      prefissi: ['pendenza', 'curva', 'montagna', 'indicatori_v', 'cartello'],
    },
    'Scenario train text': {
      prefissi: ['vetture', 'massa', 'frenata', 'sabbia', 'orologio', 'aderenza', 'velocit', 'stazione',
                 'rallentamento', 'segnale', 'abbattimento'],
    },
  };
  let falliti = 0;
  for (const [nome, attese] of Object.entries(lingue)) {
    const m = xml.match(new RegExp(`<UserLang name="${nome}"[\\s\\S]*?</UserLang>`));
    assert.ok(m, `no user language "${nome}" in scenario.xml`);
    const lingua = m[0];
    const parole = (n) => (lingua.match(new RegExp(`<Keywords name="Keywords${n}">([^<]*)<`)) || [, ''])[1].split(/\s+/);
    const prefisso = (n) => new RegExp(`Keywords${n}="yes"`).test(lingua);
    const trovata = (parola, come_prefisso) =>
      [1, 2].some((n) => parole(n).includes(parola) && (!come_prefisso || prefisso(n)));
    const mancanti = [
      ...(attese.esatte || []).filter((p) => !trovata(p, false)),
      ...attese.prefissi.filter((p) => !trovata(p, true)),
    ];
    const delimitatori = (lingua.match(/<Keywords name="Delimiters">([^<]*)</) || [, ''])[1];
    if (!/00\[ 01 02\]/.test(delimitatori)) mancanti.push('headers [ ]');
    if (!/03\( 04 05\)/.test(delimitatori)) mancanti.push('sign texts ( )');
    if (!/<Keywords name="Comments">00- 01 02,/.test(lingua)) mancanti.push('hyphen comments');
    console.log(`  ${mancanti.length ? 'FAILED' : 'ok    '}  Notepad++ "${nome}"${mancanti.length ? ' lacks ' + mancanti.join(', ') : ''}`);
    falliti += mancanti.length;
  }
  return falliti;
}

async function main() {
  const g = await grammatiche();
  let falliti = casi_nominati(g) + notepad();
  for (const [nome, righe, tipo, minimi] of testi()) {
    const { conteggi, errori } = controlla(tipo === 'linea' ? g.linea : g.treno, nome, righe, tipo);
    const sintesi = Object.entries(conteggi).map(([k, v]) => `${v} ${k}`).join(', ');
    console.log(`  ${errori.length ? 'FAILED' : 'ok    '}  ${nome}: ${sintesi}`);
    for (const e of errori) console.log(`          ${e}`);
    falliti += errori.length;
    // The built-in texts hold this many of each: a reading that skipped
    // some would check less than it claims.
    for (const [cosa, quanti] of Object.entries(minimi || {})) {
      if (conteggi[cosa] !== quanti) {
        console.log(`  FAILED  ${nome}: ${conteggi[cosa] || 0} ${cosa}, expected ${quanti}`);
        ++falliti;
      }
    }
  }
  console.log(falliti ? `grammars: ${falliti} failed` : 'grammars: all scopes as expected');
  process.exitCode = falliti ? 1 : 0;
}

main().catch((e) => {
  console.error(e);
  process.exitCode = 1;
});
