#!/usr/bin/env python3
"""A scripted editor for `scenario lsp`: starts the server over pipes, opens
the built-in pair, edits three mistakes in one by one, hovers, asks for the
outline, a completion and a quick fix, sends malformed messages, and shuts
the server down. Prints one ok or FAILED line a check; exits 1 when any
check fails.

usage: lsp_cliente.py WORKDIR [--windows] -- COMMAND...
  WORKDIR    an empty folder to write the texts into
  --windows  the server is a Windows program (under Wine): URIs name the
             files on drive Z:, as an editor on Windows does
  COMMAND    how to run the tool, e.g. build/default/bin/scenario or
             wine scenario.exe
"""
import json
import os
import queue
import subprocess
import sys
import threading
import urllib.parse

falliti = 0


def verifica(descrizione, condizione, dettaglio=""):
    global falliti
    if condizione:
        print("  ok      " + descrizione)
    else:
        falliti += 1
        print("  FAILED  " + descrizione + (": " + str(dettaglio) if dettaglio else ""))


class Server:
    def __init__(self, comando):
        self.p = subprocess.Popen(comando + ["lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE)
        self.coda = queue.Queue()
        self.err = b""
        threading.Thread(target=self._leggi, daemon=True).start()
        self.lettore_err = threading.Thread(target=self._leggi_err, daemon=True)
        self.lettore_err.start()
        self.id = 0

    def _leggi(self):
        out = self.p.stdout
        while True:
            intestazione = b""
            while not intestazione.endswith(b"\r\n\r\n"):
                c = out.read(1)
                if not c:
                    self.coda.put(None)
                    return
                intestazione += c
            n = 0
            for riga in intestazione.split(b"\r\n"):
                if riga.lower().startswith(b"content-length:"):
                    n = int(riga.split(b":")[1])
            self.coda.put(json.loads(out.read(n).decode("utf-8")))

    def _leggi_err(self):
        for riga in self.p.stderr:
            self.err += riga

    def grezzo(self, byte):
        self.p.stdin.write(byte)
        self.p.stdin.flush()

    def invia(self, oggetto):
        b = json.dumps(oggetto).encode("utf-8")
        self.grezzo(b"Content-Length: %d\r\n\r\n" % len(b) + b)

    def notifica(self, metodo, parametri):
        self.invia({"jsonrpc": "2.0", "method": metodo, "params": parametri})

    def richiesta(self, metodo, parametri=None):
        self.id += 1
        m = {"jsonrpc": "2.0", "id": self.id, "method": metodo}
        if parametri is not None:
            m["params"] = parametri
        self.invia(m)
        return self.attendi(lambda x: x.get("id") == self.id and "method" not in x)

    def attendi(self, condizione, secondi=60):
        """The first message that meets the condition; the others before it are dropped."""
        while True:
            try:
                m = self.coda.get(timeout=secondi)
            except queue.Empty:
                return None
            if m is None:
                return None
            if condizione(m):
                return m

    def diagnostiche(self, uri, versione):
        """The diagnostics of that version of a text (a change of its partner sends them again)."""
        m = self.attendi(lambda x: x.get("method") == "textDocument/publishDiagnostics" and
                         x["params"]["uri"] == uri and x["params"].get("version") == versione)
        return m["params"] if m else None

    def fine(self, secondi=60):
        try:
            stato = self.p.wait(timeout=secondi)
        except subprocess.TimeoutExpired:
            self.p.kill()
            return None
        # Everything the server wrote to standard error, read to its end.
        self.lettore_err.join(timeout=secondi)
        return stato


def uri_di(percorso, windows):
    if windows:
        return "file:///z%3A" + urllib.parse.quote(percorso.replace("\\", "/"))
    return "file://" + urllib.parse.quote(percorso)


def intervallo(r1, c1, r2, c2):
    return {"start": {"line": r1, "character": c1}, "end": {"line": r2, "character": c2}}


def modifica(server, uri, versione, r1, c1, r2, c2, testo):
    server.notifica("textDocument/didChange", {"textDocument": {"uri": uri, "version": versione},
                                               "contentChanges": [{"range": intervallo(r1, c1, r2, c2), "text": testo}]})


def principale():
    argomenti = sys.argv[1:]
    if "--" not in argomenti or not argomenti:
        print(__doc__, file=sys.stderr)
        return 2
    comando = argomenti[argomenti.index("--") + 1:]
    windows = "--windows" in argomenti[:argomenti.index("--")]
    lavoro = os.path.abspath(argomenti[0])
    os.makedirs(lavoro, exist_ok=True)
    testi = os.path.join(lavoro, "testi")
    if subprocess.run(comando + ["init", "--force", "testi"], cwd=lavoro, stdout=subprocess.DEVNULL).returncode != 0:
        print("cannot write the built-in texts", file=sys.stderr)
        return 2
    percorso_linea = os.path.join(testi, "Morsalo_Torvia_linea.txt")
    percorso_treno = os.path.join(testi, "Morsalo_Torvia_R20417-.txt")
    linea = open(percorso_linea, encoding="cp1252", newline="").read()
    treno = open(percorso_treno, encoding="cp1252", newline="").read()
    uri_linea, uri_treno = uri_di(percorso_linea, windows), uri_di(percorso_treno, windows)

    print("== the language server over pipes")
    s = Server(comando)
    r = s.richiesta("textDocument/hover", {"textDocument": {"uri": uri_treno}, "position": {"line": 0, "character": 0}})
    verifica("a request before initialize is refused (-32002)", r and r.get("error", {}).get("code") == -32002, r)
    r = s.richiesta("initialize", {"processId": None, "rootUri": None, "capabilities": {}})
    c = (r or {}).get("result", {}).get("capabilities", {})
    verifica("initialize gives the capabilities", c.get("hoverProvider") and c.get("documentSymbolProvider") and
             c.get("codeActionProvider") and c.get("textDocumentSync", {}).get("change") == 2 and
             c.get("positionEncoding") == "utf-16", r)
    s.notifica("initialized", {})

    # The built-in pair: no message on either text.
    s.notifica("textDocument/didOpen", {"textDocument": {"uri": uri_linea, "languageId": "scenario-linea",
                                                          "version": 1, "text": linea}})
    d = s.diagnostiche(uri_linea, 1)
    verifica("the built-in line text has no message", d and d["diagnostics"] == [] and d.get("version") == 1, d)
    s.notifica("textDocument/didOpen", {"textDocument": {"uri": uri_treno, "languageId": "scenario-treno",
                                                          "version": 1, "text": treno}})
    d = s.diagnostiche(uri_treno, 1)
    verifica("the built-in train text has no message", d and d["diagnostics"] == [], d)

    # Mistake 1: a misspelt keyword (train text, line 37).
    modifica(s, uri_treno, 2, 36, 0, 36, 7, "segnal")
    d = s.diagnostiche(uri_treno, 2)
    g = d["diagnostics"] if d else []
    verifica("a misspelt keyword: one warning, with the document's version", len(g) == 1 and d.get("version") == 2, d)
    w = g[0] if g else {}
    verifica("  at the keyword", w.get("range") == intervallo(36, 0, 36, 6), w.get("range"))
    verifica("  with the message of check and its code",
             w.get("message", "").startswith('warning: "segnal" matches no record and is passed over') and
             'did you mean "segnale"?' in w.get("message", "") and w.get("code") == "record_sconosciuto" and
             w.get("severity") == 2 and w.get("source") == "scenario", w)
    verifica("  and no note", "relatedInformation" not in w, w)

    # Mistake 2: a signal on another's cell (train text, line 38 onto line 36).
    modifica(s, uri_treno, 3, 37, 12, 37, 16, "1350")
    d = s.diagnostiche(uri_treno, 3)
    g = d["diagnostics"] if d else []
    e = [x for x in g if x.get("severity") == 1]
    e = e[0] if e else {}
    verifica("a signal on an occupied cell: error 16 at its position", e.get("code") == 16 and
             e.get("range") == intervallo(37, 12, 37, 16) and
             e.get("message") == "error 16 at 1350 m: a signal falls on an occupied cell", e)
    n = e.get("relatedInformation", [])
    verifica("  its note stands on the signal already there", len(n) == 1 and n[0]["location"]["uri"] == uri_treno and
             n[0]["location"]["range"]["start"] == {"line": 35, "character": 0} and
             n[0]["message"] == "cell 28 already holds a signal, placed by this segnale record", n)
    modifica(s, uri_treno, 4, 37, 12, 37, 16, "7100")
    d = s.diagnostiche(uri_treno, 4)
    verifica("  gone once the position is put back", d and len(d["diagnostics"]) == 1, d)

    # Mistake 3: a character with no Windows-1252 byte (line text, a sign's
    # text), after one that has two UTF-16 units.
    riga = linea.splitlines()[50]
    colonna = riga.index("(PONTE") + 1
    modifica(s, uri_linea, 2, 50, colonna, 50, colonna, "\U0001F682")
    d = s.diagnostiche(uri_linea, 2)
    g = d["diagnostics"] if d else []
    e = g[0] if g else {}
    verifica("a character outside Windows-1252: an error at it, in UTF-16 units",
             len(g) == 1 and e.get("range") == intervallo(50, colonna, 50, colonna + 2) and
             "(U+1F682) has no Windows-1252 byte" in e.get("message", "") and e.get("severity") == 1, d)
    modifica(s, uri_linea, 3, 50, colonna, 50, colonna + 2, "")
    d = s.diagnostiche(uri_linea, 3)
    verifica("  a text fixed gets an empty list", d and d["diagnostics"] == [] and d.get("version") == 3, d)

    # Hovers on a keyword, a value and a placing record (the station at 25900).
    def hover(riga, carattere):
        r = s.richiesta("textDocument/hover", {"textDocument": {"uri": uri_treno},
                                               "position": {"line": riga, "character": carattere}})
        return ((r or {}).get("result") or {}).get("contents", {}).get("value", "")
    h = hover(25, 3)
    verifica("hover on a keyword: the record and its values in order",
             h.startswith("**stazione**") and "1. position (m)" in h and "17. name" in h, h[:200])
    h = hover(25, 14)
    verifica("hover on a value: its name, unit, range and the value read",
             h.startswith("**position (m)** of **stazione**") and "Faithful range:" in h and "Read: `25900`" in h, h)
    verifica("hover on a placing record: its cell in metres and the kilometre",
             "Placed in cell 522, which holds 26025 to 26075 m of the line; km 124.275" in h, h)

    r = s.richiesta("textDocument/documentSymbol", {"textDocument": {"uri": uri_treno}})
    sezioni = (r or {}).get("result") or []
    stazioni = [x for x in sezioni if x["name"] == "[stazioni]"]
    figli = stazioni[0]["children"] if stazioni else []
    verifica("the outline: sections, and the stations by name under theirs",
             len(figli) == 12 and figli[0]["name"] == "MORSALO / MORSK" and figli[-1]["name"] == "TORVIA" and
             figli[6]["name"] == "Calè/ Kaltig" and figli[0]["range"]["start"] == {"line": 19, "character": 0}, figli[:2])
    segnali = [x for x in sezioni if x["name"] == "[segnali]"]
    verifica("  and the signals under theirs", segnali and len(segnali[0]["children"]) == 21 and
             segnali[0]["children"][0]["detail"] == "segnale at 1350 m", segnali)

    r = s.richiesta("textDocument/completion", {"textDocument": {"uri": uri_treno},
                                                "position": {"line": 35, "character": 0}})
    voci = (r or {}).get("result") or []
    seg = [v for v in voci if v["label"] == "segnale"]
    verifica("a completion at a record's start: the train text's keywords with snippets",
             seg and seg[0]["insertTextFormat"] == 2 and seg[0]["textEdit"]["newText"].startswith("segnale, ${1:posizione}, ${2:sx}") and
             not any(v["label"] == "pendenza" for v in voci), seg)

    r = s.richiesta("textDocument/completion", {"textDocument": {"uri": uri_treno},
                                                "position": {"line": 35, "character": 9}})
    verifica("  none after the keyword's comma", r and r.get("result") == [], r)

    # The quick fix of mistake 1, applied as the editor applies it.
    r = s.richiesta("textDocument/codeAction", {"textDocument": {"uri": uri_treno}, "range": intervallo(36, 2, 36, 2),
                                                "context": {"diagnostics": []}})
    azioni = (r or {}).get("result") or []
    verifica("a quick fix for the misspelt keyword", len(azioni) == 1 and azioni[0]["title"] == 'Write "segnale"' and
             azioni[0]["kind"] == "quickfix", azioni)
    if azioni:
        m = azioni[0]["edit"]["changes"][uri_treno][0]
        rr = m["range"]
        modifica(s, uri_treno, 5, rr["start"]["line"], rr["start"]["character"], rr["end"]["line"],
                 rr["end"]["character"], m["newText"])
        d = s.diagnostiche(uri_treno, 5)
        verifica("  applied, the warning is gone", d and d["diagnostics"] == [], d)

    print("== malformed messages")
    s.grezzo(b"Content-Length: 9\r\n\r\n{not json")
    r = s.attendi(lambda x: "error" in x)
    verifica("not JSON: -32700", r and r["error"]["code"] == -32700 and r["id"] is None, r)
    s.invia([1, 2])
    r = s.attendi(lambda x: "error" in x)
    verifica("not a request: -32600", r and r["error"]["code"] == -32600, r)
    s.notifica("$/frob", {})
    r = s.richiesta("frob/nicate", {})
    verifica("an unknown notification is ignored, an unknown request gets -32601",
             r and r["error"]["code"] == -32601, r)
    s.notifica("textDocument/didChange", {"textDocument": {"uri": uri_linea + "x", "version": 1},
                                          "contentChanges": [{"text": ""}]})
    r = s.attendi(lambda x: x.get("method") == "window/logMessage")
    verifica("a change for a text not open is logged", r and "not open" in r["params"]["message"], r)
    s.grezzo(b"Content-Type: x\r\n\r\n")
    r = s.richiesta("shutdown")
    verifica("a header without Content-Length is passed over; shutdown answers", r and "result" in r and
             r["result"] is None, r)
    s.notifica("exit", None)
    verifica("exit after shutdown: status 0", s.fine() == 0)
    verifica("  with a clear message on standard error for the header", b"without Content-Length" in s.err, s.err)

    s = Server(comando)
    s.grezzo(b"Content-Length: 99999999999\r\n\r\n{}")
    s.p.stdin.close()
    verifica("a length above 64 MiB, then the end of input: status 1, no crash", s.fine() == 1)
    verifica("  and a message on standard error", b"above the limit of 64 MiB" in s.err, s.err)
    s = Server(comando)
    s.grezzo(b"Content-Length: 40\r\n\r\n{\"jsonrpc\"")
    s.p.stdin.close()
    verifica("a body cut short: status 1 and a message", s.fine() == 1 and b"the input ended after" in s.err, s.err)
    return 1 if falliti else 0


if __name__ == "__main__":
    sys.exit(principale())
