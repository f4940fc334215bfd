#include "scenario/lsp_documenti.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "scenario/percorsi.h"
#include "scenario/sistema_file.h"

namespace fs = std::filesystem;

namespace {

char minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool finisce_con(const std::string& s, const std::string& coda) {
  if (s.size() < coda.size()) return false;
  for (size_t i = 0; i < coda.size(); ++i) {
    if (minuscola(s[s.size() - coda.size() + i]) != minuscola(coda[i])) return false;
  }
  return true;
}

int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = minuscola(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Where the folder of a path ends: at its last separator, which on Windows
// may be either slash.
size_t fine_cartella(const std::string& percorso) {
#ifdef _WIN32
  return percorso.find_last_of("/\\");
#else
  return percorso.rfind('/');
#endif
}

}  // namespace

std::string cartella_del_percorso(const std::string& percorso) {
  const size_t b = fine_cartella(percorso);
  return b == std::string::npos ? std::string() : percorso.substr(0, b + 1);
}

std::string nome_del_percorso(const std::string& percorso) {
  const size_t b = fine_cartella(percorso);
  return b == std::string::npos ? percorso : percorso.substr(b + 1);
}

namespace {

const char* const coda_linea = "_linea.txt";
const char* const coda_treno = "-.txt";

}  // namespace

std::optional<std::string> percorso_dell_uri(const std::string& uri) {
  const std::string schema = "file://";
  if (uri.size() < schema.size() || uri.compare(0, schema.size(), schema) != 0) return std::nullopt;
  std::string resto = uri.substr(schema.size());
  // A host part ("file://localhost/...") is the local machine.
  const size_t barra = resto.find('/');
  if (barra == std::string::npos) return std::nullopt;
  resto = resto.substr(barra);
  std::string p;
  for (size_t i = 0; i < resto.size(); ++i) {
    if (resto[i] == '%' && i + 2 < resto.size() && cifra_esadecimale(resto[i + 1]) >= 0 &&
        cifra_esadecimale(resto[i + 2]) >= 0) {
      p += static_cast<char>(cifra_esadecimale(resto[i + 1]) * 16 + cifra_esadecimale(resto[i + 2]));
      i += 2;
    } else {
      p += resto[i];
    }
  }
  // "/c:/dir" is the drive path "c:/dir".
  if (p.size() >= 3 && p[0] == '/' && p[2] == ':' && std::isalpha(static_cast<unsigned char>(p[1]))) {
    p.erase(0, 1);
  }
  return p;
}

std::string uri_del_percorso(const std::string& percorso) {
  std::string u = "file://";
  if (percorso.empty() || percorso[0] != '/') u += '/';
  const char* cifre = "0123456789ABCDEF";
  for (char c : percorso) {
    const auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) || std::string_view("/-._~").find(c) != std::string_view::npos) {
      u += c;
    } else {
      u += '%';
      u += cifre[b >> 4];
      u += cifre[b & 15];
    }
  }
  return u;
}

genere_testo genere_del_file(const std::string& percorso) {
  const std::string n = nome_del_percorso(percorso);
  if (finisce_con(n, coda_linea) && n.size() > std::string(coda_linea).size()) return genere_testo::linea;
  if (finisce_con(n, coda_treno)) return genere_testo::treno;
  return genere_testo::nessuno;
}

const documento_aperto* aperto_al_percorso(const documenti_aperti& aperti, const std::string& percorso) {
  for (const auto& [uri, d] : aperti) {
    if (d.percorso == percorso) return &d;
  }
  for (const auto& [uri, d] : aperti) {
    if (cartella_del_percorso(d.percorso) == cartella_del_percorso(percorso) &&
        stessi_nomi_file(nome_del_percorso(d.percorso), nome_del_percorso(percorso))) {
      return &d;
    }
  }
  return nullptr;
}

coppia_testi coppia_del_file(const std::string& percorso, const documenti_aperti& aperti) {
  coppia_testi c;
  const std::string dir = cartella_del_percorso(percorso);
  const std::string n = nome_del_percorso(percorso);
  switch (genere_del_file(percorso)) {
    case genere_testo::nessuno:
      return c;
    case genere_testo::treno: {
      c.treno = percorso;
      const std::string radice = n.substr(0, n.size() - std::string(coda_treno).size());
      const size_t u = radice.rfind('_');
      if (u == std::string::npos || u == 0) return c;
      const std::string linea = dir + radice.substr(0, u) + coda_linea;
      std::error_code ec;
      if (const documento_aperto* d = aperto_al_percorso(aperti, linea)) {
        c.linea = d->percorso;
      } else if (fs::is_regular_file(percorso_utf8(linea), ec)) {
        c.linea = linea;
      }
      return c;
    }
    case genere_testo::linea: {
      c.linea = percorso;
      const std::string prefisso = n.substr(0, n.size() - std::string(coda_linea).size()) + "_";
      std::vector<std::string> candidati;
      auto candidato = [&](const std::string& nome_file) {
        if (nome_file.size() > prefisso.size() + std::string(coda_treno).size() &&
            stessi_nomi_file(nome_file.substr(0, prefisso.size()), prefisso) && finisce_con(nome_file, coda_treno) &&
            genere_del_file(nome_file) == genere_testo::treno &&
            // NAME_CODE-.txt splits at its last underscore: CODE has none.
            nome_file.substr(prefisso.size()).find('_') == std::string::npos) {
          candidati.push_back(nome_file);
        }
      };
      for (const auto& [uri, d] : aperti) {
        if (cartella_del_percorso(d.percorso) == dir) candidato(nome_del_percorso(d.percorso));
      }
      try {
        for (const fs::path& f : file_ordinari(percorso_utf8(dir.empty() ? "." : dir))) {
          const std::u8string u8 = f.filename().u8string();
          candidato(std::string(u8.begin(), u8.end()));
        }
      } catch (const fs::filesystem_error&) {
        // A folder that cannot be read holds no partner.
      }
      if (!candidati.empty()) c.treno = dir + *std::min_element(candidati.begin(), candidati.end());
      return c;
    }
  }
  return c;
}
