#include <utility>  // before Beast, for Boost 1.74 under C++20

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/write.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "scenario/anteprima_http.h"
#include "scenario/comando.h"
#include "scenario/osserva.h"
#include "scenario/compilazione_autore.h"
#include "scenario/disegno_mappa.h"
#include "scenario/provenienza_mappa.h"
#include "scenario/stato_anteprima.h"
#include "tools/aiuti_prova.h"

namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;
using namespace std::chrono_literals;

// A server on a free port of 127.0.0.1 whose map is the query it was asked with.
struct banco_server {
  std::string ultima_query;
  server_anteprima server;

  explicit banco_server(opzioni_server_anteprima o = porta_libera())
      : server(o, {[this](std::string_view q) { return "<svg>" + std::string(q) + "</svg>"; },
                   [] { return std::string("{\"warnings\":[]}\n"); }}) {
    std::string perche;
    EXPECT_TRUE(server.avvia(perche)) << perche;
  }
  static opzioni_server_anteprima porta_libera() {
    opzioni_server_anteprima o;
    o.porta = 0;
    return o;
  }
  std::string host() const { return "127.0.0.1:" + std::to_string(server.porta()); }
};

// A connection that sends raw bytes.
struct cliente {
  asio::io_context io;
  tcp::socket s{io};

  explicit cliente(uint16_t porta) { s.connect({asio::ip::make_address("127.0.0.1"), porta}); }

  void manda(const std::string& b) { asio::write(s, asio::buffer(b)); }

  // The response's head (status line and headers).
  std::string testa(asio::streambuf& b) {
    asio::read_until(s, b, "\r\n\r\n");
    std::string t(asio::buffers_begin(b.data()), asio::buffers_end(b.data()));
    t = t.substr(0, t.find("\r\n\r\n") + 4);
    b.consume(t.size());
    return t;
  }

  // Reads until `segno` came, or the peer closed; what came.
  std::string fino_a(asio::streambuf& b, const std::string& segno) {
    boost::system::error_code ec;
    asio::read_until(s, b, segno, ec);
    return std::string(asio::buffers_begin(b.data()), asio::buffers_end(b.data()));
  }
};

int stato_di(const std::string& testa) {
  std::smatch m;
  if (!std::regex_search(testa, m, std::regex("^HTTP/1\\.1 (\\d{3})"))) return -1;
  return std::stoi(m[1]);
}

std::string richiesta(uint16_t porta, const std::string& grezza, std::string* corpo = nullptr) {
  cliente c(porta);
  c.manda(grezza);
  asio::streambuf b;
  const std::string t = c.testa(b);
  if (corpo) *corpo = c.fino_a(b, "\x01");  // up to the end of the connection
  return t;
}

std::string get(const std::string& bersaglio, const std::string& host, const std::string& metodo = "GET",
                const std::string& altro = "") {
  return metodo + " " + bersaglio + " HTTP/1.1\r\nHost: " + host + "\r\n" + altro + "Connection: close\r\n\r\n";
}

TEST(Preview, RequestsOutsideTheRulesAreRefused) {
  banco_server b;
  const uint16_t p = b.server.porta();
  const std::string h = b.host();
  const std::string porta = std::to_string(p);
  const struct {
    std::string richiesta;
    int stato;
  } casi[] = {
      {get("/", h), 200},
      {get("/", "localhost:" + porta), 200},
      {get("/", "[::1]:" + porta), 200},
      {get("/", "evil.example:" + porta), 421},             // a name rebound to this machine
      {get("/", "127.0.0.1"), 421},                         // no port
      {get("/", "127.0.0.1:" + std::to_string(p + 1)), 421},
      {"GET / HTTP/1.1\r\nConnection: close\r\n\r\n", 421},  // no Host at all
      {get("/", h, "POST", "Content-Length: 0\r\n"), 405},
      {get("/", h, "PUT", "Content-Length: 0\r\n"), 405},
      {get("/", h, "OPTIONS"), 405},
      {get("/../../etc/passwd", h), 404},
      {get("/%2e%2e/%2e%2e/etc/passwd", h), 404},
      {get("/index.html", h), 404},
      {get("/app.js/../app.css", h), 404},
      {get("/map.svg", h), 200},
      {get("/diagnostics.json", h), 200},
      {get("/", h, "GET", "X-Long: " + std::string(9 * 1024, 'a') + "\r\n"), 431},
      {get("/" + std::string(9 * 1024, 'a'), h), 431},  // the request line counts too
  };
  for (const auto& c : casi) {
    EXPECT_EQ(stato_di(richiesta(p, c.richiesta)), c.stato) << c.richiesta.substr(0, 80);
  }
}

TEST(Preview, AnswersCarryTheSecurityPolicyAndNoCors) {
  banco_server b;
  std::string corpo;
  const std::string t = richiesta(b.server.porta(), get("/", b.host()), &corpo);
  EXPECT_NE(t.find("Content-Security-Policy: default-src 'none'; script-src 'self'"), std::string::npos) << t;
  EXPECT_NE(t.find("Content-Type: text/html"), std::string::npos);
  EXPECT_EQ(t.find("Access-Control"), std::string::npos);
  EXPECT_NE(corpo.find("<script src=\"/app.js\">"), std::string::npos);
  // The query of the map reaches the map, and HEAD sends the length alone.
  richiesta(b.server.porta(), get("/map.svg?from=1.5&to=3", b.host()), &corpo);
  EXPECT_EQ(corpo, "<svg>from=1.5&to=3</svg>");
  const std::string testa = richiesta(b.server.porta(), get("/app.css", b.host(), "HEAD"), &corpo);
  EXPECT_EQ(stato_di(testa), 200);
  EXPECT_NE(testa.find("Content-Length: "), std::string::npos);
  EXPECT_EQ(testa.find("Content-Length: 0\r\n"), std::string::npos);
  EXPECT_EQ(corpo, "");
}

TEST(Preview, ThirtyThirdEventStreamIsRefusedWhileTheOthersGetEvents) {
  banco_server b;
  std::vector<std::unique_ptr<cliente>> clienti;
  std::vector<std::unique_ptr<asio::streambuf>> buffer;
  for (int i = 0; i < 32; ++i) {
    clienti.push_back(std::make_unique<cliente>(b.server.porta()));
    buffer.push_back(std::make_unique<asio::streambuf>());
    clienti.back()->manda(get("/events", b.host()));
    ASSERT_EQ(stato_di(clienti.back()->testa(*buffer.back())), 200) << i;
  }
  EXPECT_EQ(b.server.flussi_aperti(), 32u);
  EXPECT_EQ(stato_di(richiesta(b.server.porta(), get("/events", b.host()))), 503);
  // The rest is still served.
  EXPECT_EQ(stato_di(richiesta(b.server.porta(), get("/app.js", b.host()))), 200);
  b.server.pubblica("{\"generation\":7}");
  for (size_t i = 0; i < clienti.size(); ++i) {
    EXPECT_NE(clienti[i]->fino_a(*buffer[i], "}\n\n").find("event: compile\ndata: {\"generation\":7}\n\n"),
              std::string::npos)
        << i;
  }
  // A stream that ends makes room for another, which gets the last event first.
  clienti.pop_back();
  for (int i = 0; i < 200 && b.server.flussi_aperti() == 32; ++i) std::this_thread::sleep_for(10ms);
  cliente nuovo(b.server.porta());
  asio::streambuf bn;
  nuovo.manda(get("/events", b.host()));
  EXPECT_EQ(stato_di(nuovo.testa(bn)), 200);
  EXPECT_NE(nuovo.fino_a(bn, "}\n\n").find("{\"generation\":7}"), std::string::npos);
}

TEST(Preview, AClientThatStopsReadingIsDroppedAndNeverHoldsUpPublishing) {
  opzioni_server_anteprima o = banco_server::porta_libera();
  o.coda_massima = 4;
  banco_server b(o);
  cliente lento(b.server.porta());
  asio::streambuf bl;
  lento.manda(get("/events", b.host()));
  ASSERT_EQ(stato_di(lento.testa(bl)), 200);
  // Far more than the socket's buffers hold; the client reads none of it.
  const std::string grande(256 * 1024, 'x');
  const auto inizio = std::chrono::steady_clock::now();
  for (int i = 0; i < 200; ++i) b.server.pubblica("\"" + grande + "\"");
  EXPECT_LT(std::chrono::steady_clock::now() - inizio, 2s);
  for (int i = 0; i < 500 && b.server.flussi_aperti() > 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(b.server.flussi_aperti(), 0u);
  EXPECT_EQ(stato_di(richiesta(b.server.porta(), get("/", b.host()))), 200);
}

TEST(Preview, HostsAndQueries) {
  EXPECT_TRUE(host_ammesso("LOCALHOST:8417", "127.0.0.1", 8417));
  EXPECT_FALSE(host_ammesso("localhost:84170", "127.0.0.1", 8417));
  EXPECT_FALSE(host_ammesso("localhost.evil:8417", "127.0.0.1", 8417));
  // The address asked for with --host names the server too, a wildcard does not.
  EXPECT_TRUE(host_ammesso("192.168.1.20:8417", "192.168.1.20", 8417));
  EXPECT_FALSE(host_ammesso("0.0.0.0:8417", "0.0.0.0", 8417));
  EXPECT_FALSE(host_ammesso("192.168.1.20:8417", "0.0.0.0", 8417));

  const parte_richiesta p = parte_della_query("from=1.5&to=12");
  EXPECT_EQ(p.da, 1500);
  EXPECT_EQ(p.a, 12000);
  for (const char* q : {"from=5&to=2", "from=x", "to=-1", "from=1e9", "from=nan&to=inf"}) {
    const parte_richiesta n = parte_della_query(q);
    EXPECT_FALSE(n.da || n.a) << q;
  }
}

// The built-in compiled, as the preview draws it.
struct compilato {
  prova::cartella_temporanea dir;
  compilazione_autore c;
  compilato() {
    richiesta_compilazione r;
    r.percorso_linea = dir.scrivi("Morsalo_Torvia_linea.txt", prova::testo_linea_incorporato());
    r.percorso_treno = dir.scrivi("Morsalo_Torvia_R20417-.txt", prova::testo_treno_incorporato());
    EXPECT_FALSE(prepara_compilazione(r, c));
    std::string perche;
    EXPECT_TRUE(esegui_compilazione(c, 1, perche)) << perche;
  }
};

size_t conta(const std::string& s, const std::string& cosa) {
  size_t n = 0;
  for (size_t p = s.find(cosa); p != std::string::npos; p = s.find(cosa, p + 1)) ++n;
  return n;
}

TEST(Preview, EveryObjectOfTheMapNamesItsRecord) {
  compilato k;
  const provenienza_mappa pv{k.c.traccia, k.c.linea, k.c.treno};
  const vista_scenario senza{k.c.m.punti, k.c.m.celle, &k.c.m.profilo};
  const vista_scenario con{k.c.m.punti, k.c.m.celle, &k.c.m.profilo, &pv};
  const std::string svg = disegna_mappa(con).svg;
  EXPECT_EQ(conta(svg, "data-kind=\"stazione\""), 12u);
  EXPECT_EQ(conta(svg, "data-kind=\"segnale\""), 22u);
  for (const char* g : {"curva", "pendenza", "velocita", "rallentamento", "cartello_indicatore", "indicatori_vmax"}) {
    EXPECT_GT(conta(svg, std::string("data-kind=\"") + g + "\""), 0u) << g;
  }
  // Pradella: the 22nd line of the train text, at 7800 m.
  std::smatch m;
  ASSERT_TRUE(std::regex_search(svg, m, std::regex("<circle[^>]*data-position=\"7800\"[^>]*data-kind=\"stazione\"[^>]*>")));
  const std::string e = m[0];
  EXPECT_NE(e.find("data-file=\"" + k.c.treno.percorso + "\""), std::string::npos) << e;
  EXPECT_NE(e.find("data-line=\"22\""), std::string::npos) << e;
  EXPECT_NE(e.find("data-column=\"1\""), std::string::npos) << e;
  EXPECT_NE(e.find("data-record=\"stazione,    7800,"), std::string::npos) << e;
  // Every element with a place has all of it.
  const size_t con_luogo = conta(svg, "data-file=");
  for (const char* a : {"data-line=", "data-column=", "data-position=", "data-kind=", "data-cell="}) {
    EXPECT_EQ(conta(svg, a), con_luogo) << a;
  }
  // A map drawn from files has no provenance: its drawing is as before.
  EXPECT_EQ(disegna_mappa(senza).svg.find("data-"), std::string::npos);
}

}  // namespace

namespace {

prova::uscita esegui_serve(const std::vector<std::string>& argomenti) {
  return prova::esegui([](const std::vector<std::string>& a, std::ostream& out,
                          std::ostream& err) { return esegui_comando("serve", a, out, err); },
                       argomenti);
}

TEST(Preview, AFailedCompileKeepsTheLastGoodMapAndSaysWhy) {
  compilato buono;
  stato_anteprima s({});
  esito_giro e;
  e.compilato = true;
  const std::string primo = s.registra(buono.c, {e, "compiled", 5ms});
  EXPECT_NE(primo.find("\"failed\":false"), std::string::npos) << primo;
  EXPECT_NE(primo.find("\"map_generation\":1"), std::string::npos) << primo;
  const std::string mappa_buona = s.mappa("");

  // The same texts with a curve's start spoiled: error 25 at its line.
  compilato rotto;
  rotto.c = compilazione_autore{};
  richiesta_compilazione r;
  r.percorso_linea = rotto.dir.scrivi("Morsalo_Torvia_linea.txt",
                                      prova::modificato(prova::testo_linea_incorporato(), {{"28300", "28300x"}}));
  r.percorso_treno = rotto.dir.scrivi("Morsalo_Torvia_R20417-.txt", prova::testo_treno_incorporato());
  ASSERT_FALSE(prepara_compilazione(r, rotto.c));
  std::string perche;
  ASSERT_TRUE(esegui_compilazione(rotto.c, 1, perche));
  e.fallito = true;
  const std::string secondo = s.registra(rotto.c, {e, "compiled, 1 error", 5ms});
  EXPECT_NE(secondo.find("\"failed\":true"), std::string::npos) << secondo;
  EXPECT_NE(secondo.find("\"map_generation\":1"), std::string::npos) << secondo;
  EXPECT_NE(secondo.find("Morsalo_Torvia_linea.txt:20:11: error 25"), std::string::npos) << secondo;
  EXPECT_EQ(s.mappa(""), mappa_buona);
  EXPECT_NE(s.diagnostiche().find("\"numero_errore\":25"), std::string::npos);
  // A part of the map is drawn from the same good compile.
  EXPECT_NE(s.mappa("from=20&to=30").find("drawn from 20.000 km to 30.000 km"), std::string::npos);
}

TEST(Preview, UsageErrorsEndServeAtOnce) {
  prova::cartella_temporanea dir;
  const std::string l = dir.scrivi("Morsalo_Torvia_linea.txt", prova::testo_linea_incorporato());
  const std::string t = dir.scrivi("Morsalo_Torvia_R20417-.txt", prova::testo_treno_incorporato());
  banco_server occupato;  // a port in use
  const struct {
    std::vector<std::string> argomenti;
    std::string detto;
  } casi[] = {
      {{l}, "a line text and a train text are needed"},
      {{l, t, "--port", "70000"}, "--port takes 0 to 65535"},
      {{l, t, "--editor-url", "myeditor://{line}"}, "--editor-url must hold {path}"},
      {{l, t, "--host", "not-an-address", "--port", "0"}, "is not an IP address"},
      {{l, t, "--port", std::to_string(occupato.server.porta())}, "cannot listen on 127.0.0.1:"},
  };
  for (const auto& c : casi) {
    const prova::uscita u = esegui_serve(c.argomenti);
    EXPECT_EQ(u.stato, 2) << c.detto;
    EXPECT_NE(u.err.find(c.detto), std::string::npos) << u.err;
  }
}

}  // namespace
