// The Windows form of the build run: the window Form1 with its label, the
// message box, the program's folder from the executable's own path.
#include <windows.h>

#include <exception>
#include <filesystem>
#include <string>

#include "model/errore_esecuzione.h"
#include "run/avvio.h"
#include "run/piattaforma.h"

namespace fs = std::filesystem;

namespace {

HWND finestra = nullptr;
int modo_di_apertura = SW_SHOWDEFAULT;  // how the starter asked the window to open

// The form's sizes are given in twips, 1440 to the inch.
int da_twip(int twip, int dpi) { return MulDiv(twip, dpi, 1440); }

// Texts of the core are UTF-8; an invalid sequence becomes U+FFFD.
std::wstring larga(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int lunghezza = static_cast<int>(utf8.size());
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), lunghezza, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), lunghezza, w.data(), n);
  return w;
}

LRESULT CALLBACK procedura_finestra(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_CTLCOLORSTATIC) {
    // The label takes the form's background and the button text colour.
    HDC dc = reinterpret_cast<HDC>(w);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace

fs::path cartella_programma() {
  // The path may be longer than MAX_PATH: grow the buffer until it fits.
  std::wstring percorso(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, percorso.data(), static_cast<DWORD>(percorso.size()));
    if (n == 0) {
      throw errore_esecuzione("cannot find the program's folder: error " +
                              std::to_string(GetLastError()));
    }
    if (n < percorso.size()) {
      percorso.resize(n);
      return fs::path(percorso).parent_path();
    }
    percorso.resize(percorso.size() * 2);
  }
}

void mostra_finestra() {
  // Sizes follow the screen's real resolution, not the 96 dpi that Windows
  // pretends to programs that do not ask.
  SetProcessDPIAware();
  HINSTANCE istanza = GetModuleHandleW(nullptr);
  WNDCLASSW classe{};
  classe.lpfnWndProc = procedura_finestra;
  classe.hInstance = istanza;
  classe.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  classe.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  classe.lpszClassName = L"Form1";
  RegisterClassW(&classe);

  HDC schermo = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(schermo, LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(schermo, LOGPIXELSY);
  ReleaseDC(nullptr, schermo);

  // 4200 x 2688 twips is the client area; the frame comes on top of it.
  const DWORD stile = WS_OVERLAPPEDWINDOW;
  RECT area{0, 0, da_twip(4200, dpi_x), da_twip(2688, dpi_y)};
  AdjustWindowRect(&area, stile, FALSE);
  finestra = CreateWindowExW(0, L"Form1", L"Form1", stile, CW_USEDEFAULT, CW_USEDEFAULT,
                             area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                             istanza, nullptr);
  if (!finestra) return;  // the run goes on without a window

  HWND etichetta = CreateWindowExW(0, L"STATIC", L"Attendere",
                                   WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                   da_twip(960, dpi_x), da_twip(960, dpi_y),
                                   da_twip(2652, dpi_x), da_twip(792, dpi_y), finestra,
                                   nullptr, istanza, nullptr);
  HFONT carattere = CreateFontW(-MulDiv(24, dpi_y, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
  SendMessageW(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(carattere), FALSE);
  ShowWindow(finestra, modo_di_apertura);
  // Painted now, once: the run does not come back to the message loop.
  UpdateWindow(finestra);
}

void mostra_messaggio(const std::string& testo) {
  // Modal, OK only, no icon; no caption of its own, so Windows gives its default.
  MessageBoxW(finestra, larga(testo).c_str(), nullptr, MB_OK);
}

void mostra_esito(const fs::path&, const std::vector<std::string>&) {}

void termina(int stato) {
  if (finestra) DestroyWindow(finestra);
  ExitProcess(static_cast<UINT>(stato));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int mostra) {
  modo_di_apertura = mostra;
  try {
    costruzione_scenario();
  } catch (const std::exception& e) {
    // Whatever the run's own steps do not report ends it here, with its reason.
    mostra_messaggio(e.what());
    termina(1);
  }
}
