#include "scenario/anteprima_http.h"

// Boost 1.74 under C++20 needs <utility> before Beast.
#include <utility>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <algorithm>
#include <cctype>
#include <deque>
#include <mutex>
#include <optional>
#include <atomic>
#include <set>
#include <thread>

#include "scenario/risorse_anteprima.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

constexpr uint32_t limite_intestazioni = 8 * 1024;

const char* const politica_contenuti =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; connect-src 'self'; "
    "base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

bool uguali_senza_maiuscole(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

risposta_anteprima errore(int stato, std::string testo) {
  return {stato, "text/plain; charset=utf-8", std::move(testo) + "\n", {}};
}

}  // namespace

bool host_ammesso(std::string_view host, const std::string& indirizzo, uint16_t porta) {
  const std::string suffisso = ":" + std::to_string(porta);
  if (host.size() <= suffisso.size() || host.substr(host.size() - suffisso.size()) != suffisso) return false;
  const std::string_view nome = host.substr(0, host.size() - suffisso.size());
  for (std::string_view n : {std::string_view("127.0.0.1"), std::string_view("localhost"), std::string_view("[::1]")}) {
    if (uguali_senza_maiuscole(nome, n)) return true;
  }
  // An address the author chose to serve on names the server as well
  // (not a wildcard: no request names 0.0.0.0).
  if (indirizzo == "0.0.0.0" || indirizzo == "::" || indirizzo.empty()) return false;
  const std::string scritto = indirizzo.find(':') != std::string::npos ? "[" + indirizzo + "]" : indirizzo;
  return uguali_senza_maiuscole(nome, scritto);
}

risposta_anteprima rispondi_anteprima(std::string_view metodo, std::string_view bersaglio, std::string_view host,
                                      const opzioni_server_anteprima& o, uint16_t porta,
                                      const sorgenti_anteprima& s) {
  if (!host_ammesso(host, o.indirizzo, porta)) {
    return errore(421, "this server answers to 127.0.0.1:" + std::to_string(porta) + " and localhost:" +
                           std::to_string(porta) + " only");
  }
  if (metodo != "GET" && metodo != "HEAD") {
    risposta_anteprima r = errore(405, "only GET and HEAD");
    r.intestazioni.push_back({"Allow", "GET, HEAD"});
    return r;
  }
  const size_t q = bersaglio.find('?');
  const std::string_view percorso = bersaglio.substr(0, q);
  const std::string_view query = q == std::string_view::npos ? std::string_view{} : bersaglio.substr(q + 1);
  // Each resource by its exact name: nothing else exists, and no name is
  // ever looked up on the disk.
  struct fisso {
    const char* percorso;
    const char* file;
    const char* tipo;
  };
  static const fisso fissi[] = {{"/", "index.html", "text/html; charset=utf-8"},
                                {"/app.js", "app.js", "text/javascript; charset=utf-8"},
                                {"/app.css", "app.css", "text/css; charset=utf-8"}};
  for (const fisso& f : fissi) {
    if (percorso == f.percorso && q == std::string_view::npos) {
      return {200, f.tipo, std::string(risorsa_anteprima(f.file)), {}};
    }
  }
  if (percorso == "/map.svg" && s.mappa) return {200, "image/svg+xml; charset=utf-8", s.mappa(query), {}};
  if (percorso == "/diagnostics.json" && q == std::string_view::npos && s.diagnostiche) {
    return {200, "application/json; charset=utf-8", s.diagnostiche(), {}};
  }
  if (percorso == "/events" && q == std::string_view::npos) return {0, "text/event-stream", {}, {}};
  return errore(404, "not found");
}

// ---- The server ------------------------------------------------------------------

namespace {

class flusso_eventi;

}  // namespace

struct server_anteprima::stato {
  opzioni_server_anteprima o;
  sorgenti_anteprima s;
  asio::io_context io{1};
  tcp::acceptor accettore{io};
  uint16_t porta = 0;
  std::thread filo;
  // Only on the server's thread:
  std::set<std::shared_ptr<flusso_eventi>> flussi;
  std::string ultimo;  // the last event, for the streams opened after it
  std::atomic<size_t> quanti_flussi{0};
  std::atomic<bool> fermato{false};

  void accetta();
};

namespace {

// An open event stream: the events waiting for it, one write at a time.
class flusso_eventi : public std::enable_shared_from_this<flusso_eventi> {
 public:
  flusso_eventi(beast::tcp_stream&& c, server_anteprima::stato& s) : c_(std::move(c)), s_(s) {}

  void inizia() {
    c_.expires_never();
    s_.flussi.insert(shared_from_this());
    s_.quanti_flussi = s_.flussi.size();
    // The client never sends anything more: a read ends only when it goes.
    auto io = shared_from_this();
    c_.socket().async_read_some(asio::buffer(scarto_), [io](beast::error_code, size_t) { io->chiudi(); });
    std::string testa =
        "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-store\r\n"
        "X-Content-Type-Options: nosniff\r\nConnection: keep-alive\r\n\r\nretry: 1000\n\n";
    coda_.push_back(std::move(testa));
    if (!s_.ultimo.empty()) coda_.push_back(evento(s_.ultimo));
    scrivi();
  }

  static std::string evento(const std::string& dati) { return "event: compile\ndata: " + dati + "\n\n"; }

  // Queues an event; a client whose queue is full is dropped.
  void metti(const std::string& dati) {
    if (chiuso_) return;
    if (coda_.size() >= s_.o.coda_massima) {
      chiudi();
      return;
    }
    coda_.push_back(evento(dati));
    if (coda_.size() == 1) scrivi();
  }

  void chiudi() {
    if (chiuso_) return;
    chiuso_ = true;
    beast::error_code ec;
    c_.socket().shutdown(tcp::socket::shutdown_both, ec);
    c_.socket().close(ec);
    s_.flussi.erase(shared_from_this());
    s_.quanti_flussi = s_.flussi.size();
  }

 private:
  void scrivi() {
    if (chiuso_ || coda_.empty()) return;
    c_.expires_after(s_.o.scrittura);
    auto io = shared_from_this();
    asio::async_write(c_, asio::buffer(coda_.front()), [io](beast::error_code ec, size_t) {
      if (ec) {
        io->chiudi();
        return;
      }
      io->coda_.pop_front();
      io->c_.expires_never();
      io->scrivi();
    });
  }

  beast::tcp_stream c_;
  server_anteprima::stato& s_;
  std::deque<std::string> coda_;
  char scarto_[64];
  bool chiuso_ = false;
};

// A connection for plain requests, one after the other.
class sessione : public std::enable_shared_from_this<sessione> {
 public:
  sessione(tcp::socket&& s, server_anteprima::stato& st) : c_(std::move(s)), s_(st) {}

  void leggi() {
    p_.emplace();
    p_->header_limit(limite_intestazioni);
    p_->body_limit(limite_intestazioni);
    c_.expires_after(s_.o.inattivita);
    auto io = shared_from_this();
    http::async_read(c_, buffer_, *p_, [io](beast::error_code ec, size_t) { io->letta(ec); });
  }

 private:
  void letta(beast::error_code ec) {
    if (s_.fermato) return;
    if (ec == http::error::header_limit) return rispondi_e_chiudi(errore(431, "request header fields too large"));
    if (ec == http::error::body_limit) return rispondi_e_chiudi(errore(413, "request body too large"));
    if (ec) {
      chiudi();
      return;
    }
    const http::request<http::string_body>& r = p_->get();
    const auto host = r.find(http::field::host);
    risposta_anteprima a =
        rispondi_anteprima(std::string_view(r.method_string().data(), r.method_string().size()),
                           std::string_view(r.target().data(), r.target().size()),
                           host == r.end() ? std::string_view{} : std::string_view(host->value().data(), host->value().size()),
                           s_.o, s_.porta, s_.s);
    const bool testa = r.method() == http::verb::head;
    if (a.stato == 0) {
      if (testa) {
        a = {200, "text/event-stream", {}, {}};
      } else if (s_.flussi.size() >= s_.o.flussi_massimi) {
        a = errore(503, "too many event streams are open");
        a.intestazioni.push_back({"Retry-After", "5"});
      } else {
        std::make_shared<flusso_eventi>(std::move(c_), s_)->inizia();
        return;
      }
    }
    manda(std::move(a), testa, r.keep_alive());
  }

  void manda(risposta_anteprima a, bool testa, bool resta) {
    auto m = std::make_shared<http::response<http::string_body>>(static_cast<http::status>(a.stato), 11);
    m->set(http::field::server, "scenario");
    m->set(http::field::content_type, a.tipo);
    m->set(http::field::cache_control, "no-store");
    m->set("X-Content-Type-Options", "nosniff");
    m->set("Content-Security-Policy", politica_contenuti);
    m->set("Referrer-Policy", "no-referrer");
    for (const auto& [nome, valore] : a.intestazioni) m->set(nome, valore);
    m->keep_alive(resta);
    const size_t lunghezza = a.corpo.size();
    if (!testa) m->body() = std::move(a.corpo);
    m->content_length(lunghezza);
    c_.expires_after(s_.o.scrittura);
    auto io = shared_from_this();
    auto scrittore = std::make_shared<http::response_serializer<http::string_body>>(*m);
    if (testa) scrittore->split(true);
    auto fatto = [io, m, scrittore, resta](beast::error_code ec, size_t) {
      if (ec || !resta) {
        io->chiudi();
        return;
      }
      io->leggi();
    };
    if (testa) {
      http::async_write_header(c_, *scrittore, fatto);
    } else {
      http::async_write(c_, *scrittore, fatto);
    }
  }

  void rispondi_e_chiudi(risposta_anteprima a) { manda(std::move(a), false, false); }

  void chiudi() {
    beast::error_code ec;
    c_.socket().shutdown(tcp::socket::shutdown_both, ec);
    c_.socket().close(ec);
  }

  beast::tcp_stream c_;
  server_anteprima::stato& s_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> p_;
};

}  // namespace

void server_anteprima::stato::accetta() {
  accettore.async_accept(asio::make_strand(io), [this](beast::error_code ec, tcp::socket s) {
    if (fermato || !accettore.is_open()) return;
    if (!ec) std::make_shared<sessione>(std::move(s), *this)->leggi();
    accetta();
  });
}

server_anteprima::server_anteprima(opzioni_server_anteprima o, sorgenti_anteprima s) : s_(std::make_shared<stato>()) {
  s_->o = std::move(o);
  s_->s = std::move(s);
}

server_anteprima::~server_anteprima() { ferma(); }

bool server_anteprima::avvia(std::string& perche) {
  beast::error_code ec;
  const asio::ip::address a = asio::ip::make_address(s_->o.indirizzo, ec);
  if (ec) {
    perche = "'" + s_->o.indirizzo + "' is not an IP address";
    return false;
  }
  const tcp::endpoint e(a, s_->o.porta);
  s_->accettore.open(e.protocol(), ec);
#ifndef _WIN32
  // A restart right after a stop finds the port free. (On Windows the same
  // option would let another program take a port in use.)
  if (!ec) s_->accettore.set_option(asio::socket_base::reuse_address(true), ec);
#endif
  if (!ec) s_->accettore.bind(e, ec);
  if (!ec) s_->accettore.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) {
    perche = "cannot listen on " + s_->o.indirizzo + ":" + std::to_string(s_->o.porta) + ": " + ec.message();
    return false;
  }
  s_->porta = s_->accettore.local_endpoint().port();
  s_->accetta();
  s_->filo = std::thread([st = s_] { st->io.run(); });
  return true;
}

uint16_t server_anteprima::porta() const { return s_->porta; }

void server_anteprima::pubblica(std::string dati) {
  asio::post(s_->io, [st = s_, d = std::move(dati)] {
    st->ultimo = d;
    // A copy: a full queue closes its stream, which leaves the set.
    const std::vector<std::shared_ptr<flusso_eventi>> tutti(st->flussi.begin(), st->flussi.end());
    for (const auto& f : tutti) f->metti(st->ultimo);
  });
}

size_t server_anteprima::flussi_aperti() const { return s_->quanti_flussi.load(); }

void server_anteprima::ferma() {
  if (!s_->filo.joinable()) return;
  asio::post(s_->io, [st = s_] {
    st->fermato = true;
    beast::error_code ec;
    st->accettore.close(ec);
    const std::vector<std::shared_ptr<flusso_eventi>> tutti(st->flussi.begin(), st->flussi.end());
    for (const auto& f : tutti) f->chiudi();
    st->io.stop();
  });
  s_->filo.join();
}
