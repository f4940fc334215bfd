#include "scenario/console_windows.h"

#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <iostream>
#include <string>

namespace {

bool e_console(HANDLE h) {
  DWORD modo = 0;
  return h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &modo);
}

// Gathers the tool's UTF-8 text and writes it to the console as UTF-16, a
// line or a flush at a time; a character cut between two writes waits for
// its other bytes.
class flusso_console : public std::streambuf {
 public:
  explicit flusso_console(HANDLE h) : h_(h) {}
  ~flusso_console() override { scrivi(true); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    attesa_.push_back(traits_type::to_char_type(c));
    if (c == '\n') scrivi(false);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    attesa_.append(s, static_cast<size_t>(n));
    if (attesa_.find('\n') != std::string::npos) scrivi(false);
    return n;
  }
  int sync() override {
    scrivi(false);
    return 0;
  }

 private:
  // The length of `attesa_` that ends on a whole UTF-8 character.
  size_t intero() const {
    size_t n = attesa_.size();
    for (size_t indietro = 1; indietro <= 3 && indietro <= n; ++indietro) {
      const auto b = static_cast<unsigned char>(attesa_[n - indietro]);
      if ((b & 0xC0) == 0x80) continue;  // a continuation byte
      const size_t lunghezza = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
      return lunghezza > indietro ? n - indietro : n;
    }
    return n;
  }
  void scrivi(bool tutto) {
    const size_t n = tutto ? attesa_.size() : intero();
    if (n == 0) return;
    const int larghi = MultiByteToWideChar(CP_UTF8, 0, attesa_.data(), static_cast<int>(n), nullptr, 0);
    std::wstring w(static_cast<size_t>(larghi), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, attesa_.data(), static_cast<int>(n), w.data(), larghi);
    for (size_t fatti = 0; fatti < w.size();) {
      DWORD scritti = 0;
      const DWORD pezzo = static_cast<DWORD>(std::min<size_t>(w.size() - fatti, 8192));
      if (!WriteConsoleW(h_, w.data() + fatti, pezzo, &scritti, nullptr) || scritti == 0) break;
      fatti += scritti;
    }
    attesa_.erase(0, n);
  }

  HANDLE h_;
  std::string attesa_;
};

}  // namespace

console_autore::console_autore() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (e_console(out)) {
    out_ = std::make_unique<flusso_console>(out);
    vecchio_out_ = std::cout.rdbuf(out_.get());
  }
  if (e_console(err)) {
    err_ = std::make_unique<flusso_console>(err);
    vecchio_err_ = std::cerr.rdbuf(err_.get());
  }
}

console_autore::~console_autore() {
  if (out_) {
    std::cout.flush();
    std::cout.rdbuf(vecchio_out_);
  }
  if (err_) {
    std::cerr.flush();
    std::cerr.rdbuf(vecchio_err_);
  }
}

bool console_propria() {
  DWORD processi[2];
  return GetConsoleProcessList(processi, 2) == 1;
}

void attendi_tasto() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  if (!e_console(in)) return;
  FlushConsoleInputBuffer(in);
  for (;;) {
    INPUT_RECORD r;
    DWORD letti = 0;
    if (!ReadConsoleInputW(in, &r, 1, &letti) || letti == 0) return;
    if (r.EventType == KEY_EVENT && r.Event.KeyEvent.bKeyDown) return;
  }
}

#endif
