#include "scenario/sistema_file.h"

#include <algorithm>
#include <system_error>

#include "scenario/percorsi.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

#ifdef _WIN32

fs::path percorso_per_sistema(const fs::path& p) {
  std::error_code ec;
  fs::path a = fs::absolute(p, ec);
  if (ec) return p;
  std::wstring w = a.make_preferred().wstring();
  if (w.size() < MAX_PATH - 12 || w.rfind(L"\\\\", 0) == 0) return p;
  return fs::path(L"\\\\?\\" + w);
}

std::string nome_come_su_disco(const std::string& percorso) {
  const fs::path p = percorso_utf8(percorso);
  const std::wstring w = p.wstring();
  if (w.find_first_of(L"*?") == std::wstring::npos) {
    WIN32_FIND_DATAW dati;
    HANDLE h = FindFirstFileW(percorso_per_sistema(p).c_str(), &dati);
    if (h != INVALID_HANDLE_VALUE) {
      FindClose(h);
      return testo_percorso(fs::path(dati.cFileName));
    }
  }
  return testo_percorso(p.filename());
}

bool stessi_nomi_file(const std::string& a, const std::string& b) {
  const std::wstring wa = percorso_utf8(a).wstring(), wb = percorso_utf8(b).wstring();
  return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()),
                              TRUE) == CSTR_EQUAL;
}

std::vector<fs::path> file_ordinari(const fs::path& cartella) {
  // FindFirstFileW, not the library's iterator: that one cannot tell a file
  // from a folder past 260 characters.
  std::vector<fs::path> nomi;
  WIN32_FIND_DATAW dati;
  HANDLE h = FindFirstFileExW(percorso_per_sistema(cartella / L"*").c_str(), FindExInfoBasic, &dati,
                              FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD codice = GetLastError();
    if (codice == ERROR_FILE_NOT_FOUND) return nomi;
    throw fs::filesystem_error("cannot read the folder", cartella,
                               std::error_code(static_cast<int>(codice), std::system_category()));
  }
  do {
    if (!(dati.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) nomi.emplace_back(dati.cFileName);
  } while (FindNextFileW(h, &dati));
  FindClose(h);
  return nomi;
}

std::vector<std::string> espandi_modello(const std::string& modello) {
  const fs::path p = percorso_utf8(modello);
  // The folder part as typed, with its separator, so that the names found
  // read as the author wrote the pattern.
  const std::wstring w = p.wstring();
  const size_t fine_cartella = w.find_last_of(L"\\/:");
  const std::wstring cartella = fine_cartella == std::wstring::npos ? L"" : w.substr(0, fine_cartella + 1);
  std::vector<std::string> trovati;
  WIN32_FIND_DATAW dati;
  HANDLE h = FindFirstFileExW(percorso_per_sistema(p).c_str(), FindExInfoBasic, &dati, FindExSearchNameMatch,
                              nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return trovati;
  do {
    const std::wstring nome = dati.cFileName;
    if (nome == L"." || nome == L"..") continue;
    trovati.push_back(testo_percorso(fs::path(cartella + nome)));
  } while (FindNextFileW(h, &dati));
  FindClose(h);
  std::sort(trovati.begin(), trovati.end());
  return trovati;
}

#else

fs::path percorso_per_sistema(const fs::path& p) { return p; }

std::string nome_come_su_disco(const std::string& percorso) { return testo_percorso(percorso_utf8(percorso).filename()); }

bool stessi_nomi_file(const std::string& a, const std::string& b) { return a == b; }

std::vector<fs::path> file_ordinari(const fs::path& cartella) {
  std::vector<fs::path> nomi;
  for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
    std::error_code ec;
    if (voce.is_regular_file(ec)) nomi.push_back(voce.path().filename());
  }
  return nomi;
}

std::vector<std::string> espandi_modello(const std::string& modello) { return {modello}; }

#endif
