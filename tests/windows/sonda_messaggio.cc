// For the Windows check: waits for a message box to appear on the desktop
// and prints what it shows, one item a line, in UTF-8:
//
//   testo=<the message>
//   titolo=<the caption>
//   pulsanti=<how many buttons it shows>
//   proprietario=<caption of its owner window>
//   modale=<1 when the owner is disabled while the box is up, else 0>
//   ok=<x> <y>   (the middle of the OK button, in screen pixels)
//
// It does not press anything: the check clicks OK like a user would.
// Usage: sonda_messaggio [SECONDS]; status 1 when no box appears in time.
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

// Every message box is a dialog of the system class "#32770"; its text is
// the control with id 0xFFFF.
constexpr int id_testo = 0xFFFF;

BOOL CALLBACK cerca_finestra_messaggio(HWND h, LPARAM trovata) {
  wchar_t classe[16];
  if (IsWindowVisible(h) && GetClassNameW(h, classe, 16) > 0 && std::wcscmp(classe, L"#32770") == 0) {
    *reinterpret_cast<HWND*>(trovata) = h;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK conta_pulsanti(HWND h, LPARAM quanti) {
  wchar_t classe[16];
  if (IsWindowVisible(h) && GetClassNameW(h, classe, 16) > 0 && _wcsicmp(classe, L"Button") == 0) {
    ++*reinterpret_cast<int*>(quanti);
  }
  return TRUE;
}

std::wstring testo_di(HWND h) {
  if (!h) return L"";
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
  return s;
}

std::string utf8(const std::wstring& w) {
  if (w.empty()) return "";
  const int lunghezza = static_cast<int>(w.size());
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), lunghezza, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), lunghezza, s.data(), n, nullptr, nullptr);
  return s;
}

void stampa(const std::string& riga) {
  const std::string s = riga + "\n";
  DWORD scritti = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &scritti,
            nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const int secondi = argc > 1 ? std::atoi(argv[1]) : 30;
  HWND scatola = nullptr;
  for (int i = 0; i < secondi * 10; ++i) {
    EnumWindows(cerca_finestra_messaggio, reinterpret_cast<LPARAM>(&scatola));
    if (scatola) break;
    Sleep(100);
  }
  if (!scatola) {
    stampa("no message box within " + std::to_string(secondi) + " s");
    return 1;
  }

  int pulsanti = 0;
  EnumChildWindows(scatola, conta_pulsanti, reinterpret_cast<LPARAM>(&pulsanti));
  HWND proprietario = GetWindow(scatola, GW_OWNER);
  RECT ok{};
  HWND pulsante_ok = GetDlgItem(scatola, IDOK);
  if (pulsante_ok) GetWindowRect(pulsante_ok, &ok);

  stampa("testo=" + utf8(testo_di(GetDlgItem(scatola, id_testo))));
  stampa("titolo=" + utf8(testo_di(scatola)));
  stampa("pulsanti=" + std::to_string(pulsanti));
  stampa("proprietario=" + utf8(testo_di(proprietario)));
  stampa(std::string("modale=") + (proprietario && !IsWindowEnabled(proprietario) ? "1" : "0"));
  if (pulsante_ok) {
    stampa("ok=" + std::to_string((ok.left + ok.right) / 2) + " " +
           std::to_string((ok.top + ok.bottom) / 2));
  }
  return 0;
}
