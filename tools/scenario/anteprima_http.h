#ifndef SCENARIO_TOOLS_ANTEPRIMA_HTTP_H
#define SCENARIO_TOOLS_ANTEPRIMA_HTTP_H

// The preview's HTTP server: a handful of fixed resources, on one thread of
// its own, for a browser on the same machine.
//
// - Only /, /app.js, /app.css, /map.svg, /diagnostics.json and /events
//   exist; no path of a request ever reaches the file system.
// - A request whose Host is not 127.0.0.1:PORT, localhost:PORT, [::1]:PORT
//   (or the address it was told to bind, with its port) gets 421: a page
//   elsewhere cannot read the preview by rebinding its own name to this
//   machine.
// - GET and HEAD only (405). No CORS headers; a Content-Security-Policy
//   allows the page its own resources only.
// - A request line with its headers over 8 KiB gets 431.
// - /events is a stream of Server-Sent Events, at most 32 at a time (503
//   past that). Each stream has a short queue of its own: a client that
//   stops reading is dropped when its queue is full, so publishing never
//   waits for a client.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct risposta_anteprima {
  int stato = 200;
  std::string tipo;  // Content-Type
  std::string corpo;
  std::vector<std::pair<std::string, std::string>> intestazioni;  // more headers
};

// What the server serves beside its fixed files. Called on the server's
// thread.
struct sorgenti_anteprima {
  std::function<std::string(std::string_view query)> mappa;  // /map.svg
  std::function<std::string()> diagnostiche;                  // /diagnostics.json
};

struct opzioni_server_anteprima {
  std::string indirizzo = "127.0.0.1";
  uint16_t porta = 8417;  // 0: any free port
  size_t flussi_massimi = 32;
  size_t coda_massima = 8;                       // events waiting for one slow client
  std::chrono::milliseconds inattivita{30000};   // an idle connection is closed
  std::chrono::milliseconds scrittura{10000};    // a write that takes longer ends its client
};

// The answer to one request, but for /events (stato 0: open a stream).
// `porta` is the port the server listens on, for the Host check.
risposta_anteprima rispondi_anteprima(std::string_view metodo, std::string_view bersaglio, std::string_view host,
                                      const opzioni_server_anteprima& o, uint16_t porta,
                                      const sorgenti_anteprima& s);

// The Host header names this server.
bool host_ammesso(std::string_view host, const std::string& indirizzo, uint16_t porta);

class server_anteprima {
 public:
  server_anteprima(opzioni_server_anteprima o, sorgenti_anteprima s);
  ~server_anteprima();
  server_anteprima(const server_anteprima&) = delete;
  server_anteprima& operator=(const server_anteprima&) = delete;

  // Binds and starts serving on a thread of its own; false with the reason
  // when the address cannot be had.
  bool avvia(std::string& perche);
  // The port it listens on (the one taken, for port 0).
  uint16_t porta() const;
  // Sends `dati` (one line of JSON) as an event to every open stream, and to
  // every stream opened later as its first event. Any thread; never waits.
  void pubblica(std::string dati);
  // Open event streams (for the tests).
  size_t flussi_aperti() const;
  // Stops serving and closes every connection.
  void ferma();

  struct stato;  // its insides, in anteprima_http.cc

 private:
  std::shared_ptr<stato> s_;
};

#endif
