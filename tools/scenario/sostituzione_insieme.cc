#include "scenario/sostituzione_insieme.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "scenario/percorsi.h"
#include "scenario/sistema_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// Why an operation on a file failed.
enum class causa { nessuna, in_uso, sola_lettura, altra };

struct guasto {
  causa tipo = causa::nessuna;
  std::string parole;  // the system's own words, for causa::altra
  explicit operator bool() const { return tipo != causa::nessuna; }
};

guasto altro(std::string parole) { return {causa::altra, std::move(parole)}; }

#ifdef _WIN32

std::wstring largo(const fs::path& p) { return percorso_per_sistema(p).wstring(); }

std::string parole_di(DWORD codice) {
  wchar_t* testo = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, codice, 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
  std::string s = testo ? testo_percorso(fs::path(testo)) : "error " + std::to_string(codice);
  if (testo) LocalFree(testo);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s;
}

// The last error of the system for an operation on `p`.
guasto ultimo_guasto(const fs::path& p) {
  const DWORD codice = GetLastError();
  if (codice == ERROR_SHARING_VIOLATION || codice == ERROR_LOCK_VIOLATION) return {causa::in_uso, {}};
  if (codice == ERROR_ACCESS_DENIED) {
    const DWORD attributi = GetFileAttributesW(largo(p).c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY)) {
      return {causa::sola_lettura, {}};
    }
  }
  return altro(parole_di(codice));
}

guasto scrivi_file(const fs::path& p, const produttore& produci) {
  HANDLE h = CreateFileW(largo(p).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ultimo_guasto(p);
  guasto g;
  try {
    produci([&](std::string_view byte) {
      while (!byte.empty() && !g) {
        const DWORD pezzo = static_cast<DWORD>(std::min<size_t>(byte.size(), 1u << 24));
        DWORD scritti = 0;
        if (!WriteFile(h, byte.data(), pezzo, &scritti, nullptr) || scritti == 0) {
          g = ultimo_guasto(p);
        } else {
          byte.remove_prefix(scritti);
        }
      }
    });
  } catch (...) {
    CloseHandle(h);
    throw;
  }
  if (!CloseHandle(h) && !g) g = ultimo_guasto(p);
  return g;
}

bool esiste(const fs::path& p) { return GetFileAttributesW(largo(p).c_str()) != INVALID_FILE_ATTRIBUTES; }

guasto copia(const fs::path& da, const fs::path& a) {
  if (!CopyFileW(largo(da).c_str(), largo(a).c_str(), FALSE)) return ultimo_guasto(da);
  // A copy of a read-only file is read-only too: this one is only ours.
  SetFileAttributesW(largo(a).c_str(), FILE_ATTRIBUTE_NORMAL);
  return {};
}

guasto rinomina(const fs::path& da, const fs::path& a) {
  if (!MoveFileExW(largo(da).c_str(), largo(a).c_str(), MOVEFILE_REPLACE_EXISTING)) return ultimo_guasto(a);
  return {};
}

void togli(const fs::path& p) { DeleteFileW(largo(p).c_str()); }

// Windows refuses to replace a read-only file: told before anything changes.
guasto protetto(const fs::path& p) {
  const DWORD attributi = GetFileAttributesW(largo(p).c_str());
  if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY)) return {causa::sola_lettura, {}};
  return {};
}

#else

guasto da_errno(int numero) { return altro(std::strerror(numero)); }

guasto scrivi_file(const fs::path& p, const produttore& produci) {
  errno = 0;
  FILE* f = std::fopen(p.c_str(), "wb");
  if (!f) return da_errno(errno);
  guasto g;
  try {
    produci([&](std::string_view byte) {
      if (!g && std::fwrite(byte.data(), 1, byte.size(), f) != byte.size()) g = da_errno(errno);
    });
  } catch (...) {
    std::fclose(f);
    throw;
  }
  if (std::fclose(f) != 0 && !g) g = da_errno(errno);
  return g;
}

bool esiste(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

// The old file kept aside by a second name for it: its bytes are never
// touched, since the new file comes in under the first name by a rename, and
// a second name costs nothing where copying 20 MB costs as much as writing
// them. A file system without hard links gets a copy.
guasto copia(const fs::path& da, const fs::path& a) {
  std::error_code ec;
  fs::remove(a, ec);
  fs::create_hard_link(da, a, ec);
  if (!ec) return {};
  fs::copy_file(da, a, fs::copy_options::overwrite_existing, ec);
  if (ec) return altro(ec.message());
  return {};
}

guasto rinomina(const fs::path& da, const fs::path& a) {
  std::error_code ec;
  fs::rename(da, a, ec);
  if (ec) return altro(ec.message());
  return {};
}

void togli(const fs::path& p) {
  std::error_code ec;
  fs::remove(p, ec);
}

// A file's own permissions do not keep it from being replaced here.
guasto protetto(const fs::path&) { return {}; }

#endif

const char* const nessuno = " No file was replaced.";

// What the author reads when `p` cannot be written or replaced.
std::string spiega(const fs::path& p, const guasto& g) {
  const std::string nome = testo_percorso(p);
  switch (g.tipo) {
    case causa::in_uso:
      return nome + " is in use by another program; close it and compile again.";
    case causa::sola_lettura:
      return nome + " is read-only; make it writable and compile again.";
    default:
      return "cannot write " + nome + ": " + g.parole + ".";
  }
}

// One file of the set on its way in.
struct posto {
  fs::path finale, provvisorio, copia;
  bool c_era = false;     // an old file was there
  bool copiato = false;   // the old file has its copy
  bool sostituito = false;
};

}  // namespace

std::string sostituisci_insieme(const archivio_disco& disco, const std::vector<file_insieme>& file,
                                int fallisci_sostituzione) {
  std::vector<posto> posti;
  for (const file_insieme& f : file) {
    posto p;
    p.finale = disco.percorso(f.nome);
    p.provvisorio = p.finale;
    p.provvisorio += ".part";
    p.copia = p.finale;
    p.copia += ".old";
    posti.push_back(std::move(p));
  }
  auto sgombra = [&posti] {
    for (const posto& p : posti) {
      togli(p.provvisorio);
      if (p.copiato) togli(p.copia);
    }
  };

  // Every new file written in full, and every old one kept aside, before
  // any name changes.
  for (size_t i = 0; i < posti.size(); ++i) {
    guasto g;
    try {
      g = scrivi_file(posti[i].provvisorio, file[i].produci);
    } catch (...) {
      sgombra();
      throw;
    }
    if (g) {
      sgombra();
      return spiega(posti[i].finale, g) + nessuno;
    }
  }
  for (posto& p : posti) {
    p.c_era = esiste(p.finale);
    if (!p.c_era) continue;
    guasto g = protetto(p.finale);
    if (!g) g = copia(p.finale, p.copia);
    if (g) {
      sgombra();
      return spiega(p.finale, g) + nessuno;
    }
    p.copiato = true;
  }

  for (size_t i = 0; i < posti.size(); ++i) {
    guasto g = static_cast<int>(i) == fallisci_sostituzione ? altro("the replacement was made to fail")
                                                            : rinomina(posti[i].provvisorio, posti[i].finale);
    if (!g) {
      posti[i].sostituito = true;
      continue;
    }
    // Back to the earlier set: each file replaced gets its old content back.
    std::string non_ripristinati;
    for (size_t k = 0; k < i; ++k) {
      posto& p = posti[k];
      const bool ripristinato = p.c_era ? !rinomina(p.copia, p.finale) : (togli(p.finale), !esiste(p.finale));
      if (ripristinato) {
        p.copiato = false;
      } else {
        non_ripristinati += (non_ripristinati.empty() ? "" : ", ") + testo_percorso(p.finale) +
                            (p.c_era ? " (its earlier content is in " + testo_percorso(p.copia) + ")" : "");
      }
    }
    // Copies of files that could not be put back stay, so nothing is lost.
    for (posto& p : posti) {
      togli(p.provvisorio);
      if (p.copiato && (!p.sostituito || non_ripristinati.empty())) togli(p.copia);
    }
    if (!non_ripristinati.empty()) {
      return spiega(posti[i].finale, g) + " The files already replaced could not all be put back: " +
             non_ripristinati + ".";
    }
    return spiega(posti[i].finale, g) + nessuno;
  }
  sgombra();
  return {};
}
