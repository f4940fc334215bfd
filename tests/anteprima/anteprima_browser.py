#!/usr/bin/env python3
"""The live preview of `scenario serve` in headless Chromium, through Selenium.

On the built-in scenario: the page shows its stations and signals, a hover
names a record, a save redraws the profile without a reload, a broken record
shows the error while the last good map stays, and a click on a message
centres the map on it. Then it measures how long a save takes to reach the
page, on the built-in and on a generated line of 1000 km (figures, not a
pass/fail). A screenshot of each step is kept in the artefacts' folder.
"""

import argparse
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

LINEA = "Morsalo_Torvia_linea.txt"
TRENO = "Morsalo_Torvia_R20417-.txt"


class Server:
    """`scenario serve` on a free port, until stopped with Ctrl-C."""

    def __init__(self, scenario, linea, treno, uscita):
        # Its output goes to a file: a pipe nobody reads would fill and hold the loop up.
        self.registro = tempfile.TemporaryFile(mode="w+")
        self.p = subprocess.Popen([scenario, "serve", linea, treno, "-o", uscita, "--port", "0"],
                                  stdout=self.registro, stderr=subprocess.STDOUT, text=True)
        fine = time.monotonic() + 30
        while True:
            self.registro.seek(0)
            m = re.search(r"serving the preview at (http://127\.0\.0\.1:\d+/)", self.registro.read())
            if m or self.p.poll() is not None or time.monotonic() > fine:
                break
            time.sleep(0.02)
        if not m:
            self.p.kill()
            self.registro.seek(0)
            raise SystemExit("serve did not print its address: " + self.registro.read())
        self.indirizzo = m.group(1)

    def ferma(self):
        self.p.send_signal(signal.SIGINT)
        try:
            return self.p.wait(20)
        finally:
            if self.p.poll() is None:
                self.p.kill()


def browser():
    o = Options()
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
              "--window-size=1500,1000", "--hide-scrollbars"):
        o.add_argument(a)
    if os.path.exists("/usr/bin/chromium"):
        o.binary_location = "/usr/bin/chromium"
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)


def leggi(p):
    with open(p, "rb") as f:
        return f.read()


def scrivi(p, b):
    # As an editor saves in place.
    with open(p, "r+b") as f:
        f.truncate(0)
        f.write(b)


def sostituisci(b, da, a):
    assert da in b, da
    return b.replace(da, a, 1)


def generazione(d):
    return d.execute_script("return window.__anteprima.generation")


def attendi(d, condizione, secondi=20, perche=""):
    return WebDriverWait(d, secondi, poll_frequency=0.02).until(lambda d: condizione(d), perche)


def attendi_generazione(d, oltre, secondi=30):
    """Waits, inside the page, until it shows a map newer than `oltre`."""
    return d.execute_async_script("""
        const oltre = arguments[0], fatto = arguments[arguments.length - 1];
        (function guarda() {
          if (window.__anteprima.generation > oltre) fatto(window.__anteprima.generation);
          else setTimeout(guarda, 2);
        })();""", oltre)


def attendi_evento(d, oltre):
    return attendi(d, lambda d: (d.execute_script(
        "return window.__anteprima.event && window.__anteprima.event.generation") or 0) > oltre)


def evento(d):
    return d.execute_script("return window.__anteprima.event")


def misura(d, testo, originale, da, verso, volte=10):
    """The times from a save to the page showing its map, in ms."""
    tempi = []
    d.set_script_timeout(60)
    for i in range(volte):
        g = generazione(d)
        b = sostituisci(originale, da, verso[i % len(verso)])
        t0 = time.monotonic()
        scrivi(testo, b)
        attendi_generazione(d, g)
        tempi.append((time.monotonic() - t0) * 1000)
        time.sleep(0.15)
    return tempi


def foto(d, cartella, nome):
    p = os.path.join(cartella, nome)
    d.save_screenshot(p)
    print("screenshot", p)


def main():
    a = argparse.ArgumentParser()
    a.add_argument("--scenario", required=True)
    a.add_argument("--genera", required=True)
    a.add_argument("--artefatti", required=True)
    o = a.parse_args()
    os.makedirs(o.artefatti, exist_ok=True)
    figure = {}
    with tempfile.TemporaryDirectory(prefix="anteprima_") as dir:
        subprocess.run([o.scenario, "init", dir], check=True, stdout=subprocess.DEVNULL)
        linea, treno, uscita = os.path.join(dir, LINEA), os.path.join(dir, TRENO), os.path.join(dir, "out")
        buono = leggi(linea)
        s = Server(o.scenario, linea, treno, uscita)
        d = browser()
        try:
            d.get(s.indirizzo)
            attendi(d, lambda d: generazione(d) >= 1, perche="the first map")
            stazioni = d.find_elements(By.CSS_SELECTOR, "#map [data-kind=stazione]")
            segnali = d.find_elements(By.CSS_SELECTOR, "#map [data-kind=segnale]")
            assert len(stazioni) == 12, len(stazioni)
            assert len(segnali) == 22, len(segnali)
            assert "0 errors, 0 warnings" in d.find_element(By.ID, "status").text
            foto(d, o.artefatti, "1_loaded.png")

            # Hover on Pradella.
            pradella = d.find_element(By.CSS_SELECTOR, "#plan [data-kind=stazione][data-position='7800']")
            ActionChains(d).move_to_element(pradella).perform()
            tip = d.find_element(By.ID, "tooltip")
            attendi(d, lambda d: tip.is_displayed(), perche="the tooltip")
            assert "stazione,    7800," in tip.text and "Pradella" in tip.text, tip.text
            assert "7800 m" in tip.text and "km 7.800" in tip.text and TRENO + ":22" in tip.text, tip.text
            foto(d, o.artefatti, "2_hover.png")
            ActionChains(d).move_by_offset(0, 400).perform()

            # A gradient changed on disk: the profile is redrawn, the page is the same page.
            d.execute_script("window.__segno = 'kept'")
            profilo = lambda d: d.execute_script(
                "return document.querySelectorAll('#map g.chart')[1].querySelector('path.profile').getAttribute('d')")
            prima = profilo(d)
            g = generazione(d)
            scrivi(linea, sostituisci(buono, b"pendenza,  46300,   -3", b"pendenza,  46300,   12"))
            attendi_generazione(d, g)
            assert profilo(d) != prima
            assert d.execute_script("return window.__segno") == "kept"
            foto(d, o.artefatti, "3_gradient.png")

            # A broken curve: the banner, the message at its line, the last good map.
            g = generazione(d)
            e = evento(d)["generation"]
            rotto = sostituisci(buono, b"curvad4,  28300,  700", b"curvad4,  28300x,  700")
            riga = rotto.split(b"\r\n").index(b"curvad4,  28300x,  700") + 1
            scrivi(linea, rotto)
            attendi_evento(d, e)
            banner = d.find_element(By.ID, "banner")
            attendi(d, lambda d: banner.is_displayed(), perche="the error banner")
            assert "error 25" in banner.text and "last good" in banner.text, banner.text
            voce = attendi(d, lambda d: d.find_elements(
                By.CSS_SELECTOR, "#messages li.error[data-line='%d']" % riga), perche="the message")[0]
            assert "%s:%d:" % (LINEA, riga) in voce.text, voce.text
            assert generazione(d) == g
            assert len(d.find_elements(By.CSS_SELECTOR, "#map [data-kind=stazione]")) == 12
            foto(d, o.artefatti, "4_error.png")

            # A click on the message centres the map on its record.
            caricate = d.execute_script("return window.__anteprima.loads")
            voce.click()
            attendi(d, lambda d: d.execute_script("return window.__anteprima.loads") > caricate)
            vista = d.execute_script("return window.__anteprima.view")
            assert vista and abs((vista["from"] + vista["to"]) / 2 - 28300) < 100, vista
            assert d.find_elements(By.CSS_SELECTOR, "#map .highlight[data-line='%d']" % riga)
            foto(d, o.artefatti, "5_centred.png")

            # The wheel zooms about the pointer, a drag moves along the line;
            # each redraws the part in view.
            from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
            piano = d.find_element(By.CSS_SELECTOR, "#map svg")
            caricate = d.execute_script("return window.__anteprima.loads")
            ActionChains(d).scroll_from_origin(ScrollOrigin.from_element(piano), 0, -120).perform()
            attendi(d, lambda d: d.execute_script("return window.__anteprima.loads") > caricate)
            zoom = d.execute_script("return window.__anteprima.view")
            assert zoom["to"] - zoom["from"] < vista["to"] - vista["from"], (zoom, vista)
            caricate = d.execute_script("return window.__anteprima.loads")
            piano = d.find_element(By.CSS_SELECTOR, "#map svg")
            ActionChains(d).click_and_hold(piano).move_by_offset(-150, 0).move_by_offset(-150, 0).release().perform()
            attendi(d, lambda d: d.execute_script("return window.__anteprima.loads") > caricate)
            mosso = d.execute_script("return window.__anteprima.view")
            assert mosso["from"] > zoom["from"] and abs((mosso["to"] - mosso["from"]) - (zoom["to"] - zoom["from"])) < 2, \
                (mosso, zoom)
            assert "drawn from %.3f km" % (mosso["from"] / 1000) in d.find_element(By.CSS_SELECTOR, "#map svg").text

            # Back to good, then the timing.
            e = evento(d)["generation"]
            scrivi(linea, buono)
            attendi_evento(d, e)
            d.find_element(By.ID, "whole").click()
            time.sleep(0.3)
            figure["built-in"] = misura(d, linea, buono, b"pendenza,  46300,   -3",
                                        [b"pendenza,  46300,   %d" % v for v in (4, -5)])
            elenco = sorted(os.listdir(uscita))
        finally:
            d.quit()
            stato = s.ferma()
        assert stato == 0, "serve ended with status %s" % stato
        # Ctrl-C leaves the files as they were, and no temporary file.
        assert sorted(os.listdir(uscita)) == elenco, (elenco, os.listdir(uscita))

        # 1000 km.
        lungo = os.path.join(dir, "lungo")
        subprocess.run([o.genera, lungo, "1000"], check=True)
        nomi = sorted(os.listdir(lungo))
        linea_l = os.path.join(lungo, [n for n in nomi if n.endswith("_linea.txt")][0])
        treno_l = os.path.join(lungo, [n for n in nomi if not n.endswith("_linea.txt")][0])
        testo_l = leggi(linea_l)
        m = re.search(rb"pendenza, +(\d+), +(-?\d+)", testo_l)
        s = Server(o.scenario, linea_l, treno_l, os.path.join(lungo, "out"))
        d = browser()
        try:
            d.get(s.indirizzo)
            attendi(d, lambda d: generazione(d) >= 1, 60, "the first map of 1000 km")
            foto(d, o.artefatti, "6_1000km.png")
            figure["1000 km"] = misura(d, linea_l, testo_l, m.group(0),
                                       [m.group(0).replace(m.group(2), v) for v in (b"7", b"-7")])
        finally:
            d.quit()
            stato = s.ferma()
        assert stato == 0, "serve ended with status %s" % stato

    for nome, t in figure.items():
        print("save to page showing the new map, %s: median %.0f ms over %d saves (min %.0f, max %.0f)"
              % (nome, statistics.median(t), len(t), min(t), max(t)))
    print("all steps passed")


if __name__ == "__main__":
    sys.exit(main())
