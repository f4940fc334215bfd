// The preview page: follows the compiles the server announces on /events,
// draws the map it serves for the part of the line in view, and lists the
// diagnostics. Everything it needs comes from its own server.
'use strict';

(function () {
  const SINISTRA = 70, LARGHEZZA = 1380, LARGHEZZA_SVG = 1600;  // as the map is drawn
  const $ = (id) => document.getElementById(id);
  const mappa = $('map'), tooltip = $('tooltip');

  // What the page shows; the tests read it too.
  const stato = {
    generation: 0,      // of the map shown
    event: null,        // the last event
    view: null,         // {from, to} in metres; null: the whole line
    length: 0,          // of the line, in metres
    centre: null,       // the metre the last click on a message centred
    loads: 0,
  };
  window.__anteprima = stato;

  function km(m) { return (m / 1000).toFixed(3); }
  function parte() {
    return stato.view || { from: 0, to: Math.max(stato.length, 1) };
  }

  // ---- The map ------------------------------------------------------------------

  let richiesta = 0;
  async function caricaMappa() {
    const mia = ++richiesta;
    // The map served is that of the last event's compile, or a later one.
    const generazione = stato.event ? stato.event.map_generation : 0;
    let url = '/map.svg';
    if (stato.view) url += '?from=' + km(stato.view.from) + '&to=' + km(stato.view.to);
    const r = await fetch(url, { cache: 'no-store' });
    const testo = await r.text();
    if (mia !== richiesta) return;  // a later request is on its way
    const doc = new DOMParser().parseFromString(testo, 'image/svg+xml');
    const svg = doc.documentElement;
    if (!svg || svg.nodeName !== 'svg') return;
    svg.removeAttribute('width');
    svg.removeAttribute('height');
    // The page's own tooltip names an object's record: the drawing's native
    // one would show beside it.
    for (const t of svg.querySelectorAll('[data-kind] > title')) t.remove();
    const alto = window.scrollY;
    const vecchio = mappa.querySelector('svg');
    const nuovo = document.importNode(svg, true);
    if (vecchio) mappa.replaceChild(nuovo, vecchio); else mappa.appendChild(nuovo);
    window.scrollTo(0, alto);
    stato.generation = generazione;
    mappa.dataset.generation = String(stato.generation);
    stato.loads++;
    evidenzia();
    aggiornaCampi();
  }

  let attesa = null;
  function ridisegnaPresto() {
    clearTimeout(attesa);
    attesa = setTimeout(() => caricaMappa(), 120);
  }

  function imposta(from, to) {
    const L = Math.max(stato.length, 1);
    let span = Math.min(Math.max(to - from, 200), L);
    from = Math.max(0, Math.min(from, L - span));
    stato.view = span >= L ? null : { from: Math.round(from), to: Math.round(from + span) };
  }

  function aggiornaCampi() {
    const p = parte();
    $('from').value = km(p.from);
    $('to').value = km(p.to);
  }

  // The metre under a point of the screen, on the drawing's distance axis.
  function metroA(clientX) {
    const svg = mappa.querySelector('svg');
    const r = svg.getBoundingClientRect();
    const x = (clientX - r.left) / r.width * LARGHEZZA_SVG;
    const p = parte();
    return { m: p.from + (x - SINISTRA) / LARGHEZZA * (p.to - p.from), x: x, r: r };
  }

  // The drawing moved and scaled at once, until the new one comes.
  function anteprima(scala, spostamento) {
    const svg = mappa.querySelector('svg');
    if (svg) svg.style.transform = 'translateX(' + spostamento + 'px) scaleX(' + scala + ')';
  }

  mappa.addEventListener('wheel', (e) => {
    if (!mappa.querySelector('svg') || !stato.length) return;
    e.preventDefault();
    const q = metroA(e.clientX);
    const p = parte();
    const fattore = e.deltaY > 0 ? 1.25 : 0.8;
    const span = (p.to - p.from) * fattore;
    const quota = (q.x - SINISTRA) / LARGHEZZA;
    imposta(q.m - quota * span, q.m - quota * span + span);
    const n = parte();
    const scala = (p.to - p.from) / (n.to - n.from);
    const px = q.r.width / LARGHEZZA_SVG * LARGHEZZA / (p.to - p.from);  // pixels per metre
    anteprima(scala, (SINISTRA * q.r.width / LARGHEZZA_SVG) * (1 - scala) - (n.from - p.from) * px * scala);
    aggiornaCampi();
    ridisegnaPresto();
  }, { passive: false });

  let trascina = null;
  mappa.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || !mappa.querySelector('svg')) return;
    trascina = { x: e.clientX, mosso: false, p: parte() };
  });
  window.addEventListener('pointermove', (e) => {
    if (!trascina) return;
    const dx = e.clientX - trascina.x;
    if (Math.abs(dx) > 3) { trascina.mosso = true; mappa.classList.add('dragging'); }
    if (trascina.mosso) anteprima(1, dx);
  });
  window.addEventListener('pointerup', (e) => {
    if (!trascina) return;
    const t = trascina;
    trascina = null;
    mappa.classList.remove('dragging');
    if (!t.mosso) return;
    const r = mappa.querySelector('svg').getBoundingClientRect();
    const mpp = (t.p.to - t.p.from) / (r.width / LARGHEZZA_SVG * LARGHEZZA);
    const dm = -(e.clientX - t.x) * mpp;
    imposta(t.p.from + dm, t.p.to + dm);
    aggiornaCampi();
    ridisegnaPresto();
  });

  $('range').addEventListener('submit', (e) => {
    e.preventDefault();
    const a = parseFloat($('from').value), b = parseFloat($('to').value);
    if (!(b > a)) return;
    imposta(a * 1000, b * 1000);
    caricaMappa();
  });
  $('whole').addEventListener('click', () => { stato.view = null; caricaMappa(); });

  // ---- The tooltip ------------------------------------------------------------------

  function oggetto(el) {
    return el && el.closest ? el.closest('#map [data-kind]') : null;
  }
  mappa.addEventListener('mouseover', (e) => {
    const o = oggetto(e.target);
    if (!o) return;
    const d = o.dataset;
    const pos = Number(d.position);
    tooltip.replaceChildren();
    const riga = document.createElement('div');
    riga.className = 'record';
    riga.textContent = d.record;
    const dove = document.createElement('div');
    dove.textContent = d.file + ':' + d.line + ' \u00b7 ' + d.kind;
    const metri = document.createElement('div');
    metri.textContent = pos + ' m \u00b7 km ' + km(pos) + ' \u00b7 cell ' + d.cell;
    tooltip.append(riga, dove, metri);
    tooltip.hidden = false;
    sposta(e);
  });
  mappa.addEventListener('mousemove', (e) => { if (!tooltip.hidden) sposta(e); });
  mappa.addEventListener('mouseout', (e) => {
    if (oggetto(e.target) && !oggetto(e.relatedTarget)) tooltip.hidden = true;
  });
  function sposta(e) {
    const x = Math.min(e.clientX + 14, window.innerWidth - tooltip.offsetWidth - 8);
    tooltip.style.left = Math.max(0, x) + 'px';
    tooltip.style.top = (e.clientY + 16) + 'px';
  }

  // ---- The diagnostics ---------------------------------------------------------------

  let scelto = null;  // {file, line}: the message clicked, whose object is highlighted
  function evidenzia() {
    for (const el of mappa.querySelectorAll('.highlight')) el.classList.remove('highlight');
    if (!scelto) return;
    for (const el of oggettiDi(scelto)) el.classList.add('highlight');
  }
  function oggettiDi(l) {
    return Array.from(mappa.querySelectorAll('[data-kind]'))
      .filter((el) => el.dataset.file === l.file && Number(el.dataset.line) === l.line);
  }

  function link(modello, percorso, l) {
    return modello.replace('{path}', encodeURI(percorso)).replace('{line}', String(l.line))
      .replace('{column}', String(l.column || 1));
  }

  function mostraDiagnostiche(j) {
    const voci = [];
    const ordine = {};
    (j.encodings || []).forEach((e, i) => { ordine[e.file] = i; });
    if (j.message) voci.push({ genere: 'error', file: j.file, line: j.line, column: j.column, message: j.message,
      notes: j.notes || [], posizione: j.numero_errore ? j.posizione_errore : null, codice: j.numero_errore });
    for (const w of j.warnings || []) voci.push({ genere: 'warning', file: w.file, line: w.line, column: w.column,
      message: w.message, notes: w.notes || [], posizione: null });
    const chiave = (v) => [v.file in ordine ? ordine[v.file] : 9, v.line || 0, v.column || 0];
    voci.sort((a, b) => {
      const x = chiave(a), y = chiave(b);
      return x[0] - y[0] || x[1] - y[1] || x[2] - y[2];
    });
    const lista = $('messages');
    lista.replaceChildren();
    const errori = voci.filter((v) => v.genere === 'error').length;
    $('count').textContent = '(' + errori + (errori === 1 ? ' error, ' : ' errors, ') + (voci.length - errori) +
      (voci.length - errori === 1 ? ' warning)' : ' warnings)');
    if (!voci.length) {
      const li = document.createElement('li');
      li.className = 'none';
      li.textContent = 'No error, no warning.';
      lista.append(li);
    }
    const ev = stato.event || {};
    for (const v of voci) {
      const li = document.createElement('li');
      li.className = v.genere;
      li.dataset.file = v.file || '';
      li.dataset.line = v.line || '';
      const luogo = document.createElement('div');
      luogo.className = 'place';
      luogo.textContent = v.file ? v.file + ':' + v.line + ':' + v.column : '(no place)';
      const percorso = ev.paths && v.file ? ev.paths[v.file] : null;
      if (percorso && v.line && ev.editor) {
        const a = document.createElement('a');
        a.className = 'editor';
        a.href = link(ev.editor, percorso, v);
        a.textContent = 'open in editor';
        a.addEventListener('click', (e) => e.stopPropagation());
        luogo.append(a);
      }
      const cosa = document.createElement('div');
      cosa.className = 'what';
      cosa.textContent = (v.genere === 'error' ? 'error ' + v.codice +
        (v.posizione ? ' at ' + v.posizione + ' m' : '') + ': ' : 'warning: ') + v.message;
      li.append(luogo, cosa);
      for (const n of v.notes) {
        const d = document.createElement('div');
        d.className = 'note';
        d.textContent = (n.file ? n.file + ':' + n.line + ': ' : '') + n.message;
        li.append(d);
      }
      li.addEventListener('click', () => centra(v));
      lista.append(li);
    }
  }

  // Centres the map on a message's record: the metre its object on the map
  // has, or the error's position.
  function centra(v) {
    scelto = v.file && v.line ? { file: v.file, line: v.line } : null;
    const o = scelto ? oggettiDi(scelto)[0] : null;
    const m = o ? Number(o.dataset.position) : v.posizione;
    if (m === null || m === undefined || isNaN(m)) { evidenzia(); return; }
    const p = parte();
    const span = stato.view ? p.to - p.from : Math.min(stato.length, 10000);
    imposta(m - span / 2, m + span / 2);
    stato.centre = m;
    caricaMappa();
  }

  async function caricaDiagnostiche() {
    const r = await fetch('/diagnostics.json', { cache: 'no-store' });
    mostraDiagnostiche(await r.json());
  }

  // ---- The compiles --------------------------------------------------------------------

  function mostraStato(ev) {
    const s = $('status');
    s.textContent = (ev.compiled ? 'Compiled at ' + ev.time + ': ' + ev.verdict : 'Not compiled at ' + ev.time +
      ': ' + ev.verdict) + ', in ' + ev.duration_ms + ' ms';
    s.classList.toggle('failed', !!ev.failed);
    const b = $('banner');
    if (ev.failed && ev.error) {
      b.textContent = 'The last compile failed: ' + ev.error +
        (ev.map_generation !== ev.generation ? '\nThe map is of the last good compile.' : '');
      b.hidden = false;
    } else {
      b.hidden = true;
    }
  }

  async function suCompilazione(ev) {
    stato.event = ev;
    if (ev.length) stato.length = ev.length;
    mostraStato(ev);
    const lavori = [caricaDiagnostiche()];
    if (ev.map_generation !== stato.generation) lavori.push(caricaMappa());
    await Promise.all(lavori);
  }

  const eventi = new EventSource('/events');
  eventi.addEventListener('compile', (e) => { suCompilazione(JSON.parse(e.data)); });
})();
