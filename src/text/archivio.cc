#include "text/archivio.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "model/errore_esecuzione.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

std::string motivo(int numero) { return std::strerror(numero); }

std::string mostra(const fs::path& p) {
  std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

[[noreturn]] void fallisce(const char* azione, const fs::path& p, const std::string& perche) {
  throw errore_esecuzione(std::string("cannot ") + azione + " " + mostra(p) + ": " + perche);
}

FILE* apri(const fs::path& p, const char* modo) {
#ifdef _WIN32
  std::wstring m(modo, modo + std::strlen(modo));
  return _wfopen(p.c_str(), m.c_str());
#else
  return std::fopen(p.c_str(), modo);
#endif
}

}  // namespace

archivio_disco::archivio_disco(fs::path cartella) : cartella_(std::move(cartella)) {}

fs::path archivio_disco::percorso(const std::string& nome) const {
#ifdef _WIN32
  std::u16string u = cp1252_a_utf16(nome);
  return cartella_ / fs::path(std::wstring(u.begin(), u.end()));
#else
  return cartella_ / fs::path(cp1252_a_utf8(nome));
#endif
}

bool archivio_disco::esiste(const std::string& nome) const {
  std::error_code ec;
  return fs::exists(percorso(nome), ec);
}

esito_lettura leggi_file_intero(const fs::path& p, size_t massimo, std::string& dati, int& numero) {
  dati.clear();
  errno = 0;
  FILE* f = apri(p, "rb");
  if (!f) {
    numero = errno;
    return esito_lettura::non_aperto;
  }
  char blocco[65536];
  size_t n;
  while ((n = std::fread(blocco, 1, sizeof blocco, f)) > 0) {
    if (n > massimo - dati.size()) {
      std::fclose(f);
      dati.clear();
      return esito_lettura::troppo_grande;
    }
    dati.append(blocco, n);
  }
  const bool errore = std::ferror(f) != 0;
  numero = errno;
  std::fclose(f);
  if (errore) {
    dati.clear();
    return esito_lettura::errore_lettura;
  }
  return esito_lettura::letto;
}

std::string archivio_disco::leggi(const std::string& nome) const {
  fs::path p = percorso(nome);
  std::error_code ec;
  if (fs::is_directory(p, ec)) fallisce("read", p, "it is a folder");
  std::string dati;
  int numero = 0;
  if (leggi_file_intero(p, dati.max_size(), dati, numero) != esito_lettura::letto) fallisce("read", p, motivo(numero));
  return dati;
}

void archivio::scrivi_a_pezzi(const std::string& nome, size_t dimensione, const produttore& produci) {
  std::string byte;
  byte.reserve(dimensione);
  produci([&byte](std::string_view pezzo) { byte.append(pezzo); });
  scrivi(nome, byte);
}

void archivio_disco::scrivi(const std::string& nome, std::string_view byte) {
  scrivi_a_pezzi(nome, byte.size(), [byte](const emettitore& emetti) { emetti(byte); });
}

void archivio_disco::scrivi_a_pezzi(const std::string& nome, size_t, const produttore& produci) {
  fs::path p = percorso(nome);
  fs::path provvisorio = p;
  provvisorio += ".part";
  errno = 0;
  FILE* f = apri(provvisorio, "wb");
  if (!f) fallisce("write", p, motivo(errno));
  bool ok = true;
  int numero = 0;
  try {
    produci([&](std::string_view pezzo) {
      if (ok && std::fwrite(pezzo.data(), 1, pezzo.size(), f) != pezzo.size()) {
        ok = false;
        numero = errno;
      }
    });
  } catch (...) {
    std::fclose(f);
    std::error_code ignora;
    fs::remove(provvisorio, ignora);
    throw;
  }
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    numero = errno;
  }
  std::error_code ec;
  if (!ok) {
    fs::remove(provvisorio, ec);
    fallisce("write", p, motivo(numero));
  }
  // Renamed over the old file in one step: the name always holds a complete
  // file, the old one or the new one.
  fs::rename(provvisorio, p, ec);
  if (ec) {
    std::error_code ignora;
    fs::remove(provvisorio, ignora);
    fallisce("write", p, ec.message());
  }
}

void archivio_disco::cancella(const std::string& nome) {
  fs::path p = percorso(nome);
  std::error_code ec;
  fs::remove(p, ec);
  if (ec) fallisce("delete", p, ec.message());
}

bool archivio_memoria::esiste(const std::string& nome) const { return file.count(nome) != 0; }

std::string archivio_memoria::leggi(const std::string& nome) const {
  auto it = file.find(nome);
  if (it == file.end()) throw errore_esecuzione("cannot read " + nome + ": no such file");
  return it->second;
}

void archivio_memoria::scrivi(const std::string& nome, std::string_view byte) {
  file[nome] = std::string(byte);
}

void archivio_memoria::scrivi_a_pezzi(const std::string& nome, size_t dimensione, const produttore& produci) {
  std::string byte;
  byte.reserve(dimensione);
  produci([&byte](std::string_view pezzo) { byte.append(pezzo); });
  file[nome] = std::move(byte);
}

void archivio_memoria::cancella(const std::string& nome) { file.erase(nome); }
