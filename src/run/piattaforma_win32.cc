// The Windows form of the build run: the window Form1 with its label, the
// message box, the program's folder from the executable's own path.
#include <windows.h>

#include <filesystem>
#include <string>

#include "run/avvio.h"
#include "run/piattaforma.h"

namespace fs = std::filesystem;

namespace {

HWND finestra = nullptr;

// Sizes of the form are given in twips (1440 to the inch).
int da_twip(int twip, int dpi) { return MulDiv(twip, dpi, 1440); }

std::wstring larga(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

LRESULT CALLBACK procedura_finestra(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_CTLCOLORSTATIC) {
    // The label takes the form's background, as a form label does.
    SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace

fs::path cartella_programma() {
  std::wstring percorso(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, percorso.data(), static_cast<DWORD>(percorso.size()));
  percorso.resize(n);
  return fs::path(percorso).parent_path();
}

void mostra_finestra() {
  HINSTANCE istanza = GetModuleHandleW(nullptr);
  WNDCLASSW classe{};
  classe.lpfnWndProc = procedura_finestra;
  classe.hInstance = istanza;
  classe.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  classe.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  classe.lpszClassName = L"Form1";
  RegisterClassW(&classe);

  HDC schermo = GetDC(nullptr);
  int dpi_x = GetDeviceCaps(schermo, LOGPIXELSX);
  int dpi_y = GetDeviceCaps(schermo, LOGPIXELSY);
  ReleaseDC(nullptr, schermo);

  DWORD stile = WS_OVERLAPPEDWINDOW;
  RECT area{0, 0, da_twip(4200, dpi_x), da_twip(2688, dpi_y)};
  AdjustWindowRect(&area, stile, FALSE);
  finestra = CreateWindowExW(0, L"Form1", L"Form1", stile, CW_USEDEFAULT, CW_USEDEFAULT,
                             area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                             istanza, nullptr);
  HWND etichetta = CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT,
                                   da_twip(960, dpi_x), da_twip(960, dpi_y),
                                   da_twip(2652, dpi_x), da_twip(792, dpi_y), finestra,
                                   nullptr, istanza, nullptr);
  HFONT carattere = CreateFontW(-MulDiv(24, dpi_y, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
  SendMessageW(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(carattere), TRUE);
  ShowWindow(finestra, SW_SHOWNORMAL);
  UpdateWindow(finestra);
}

void mostra_messaggio(const std::string& testo) {
  MessageBoxW(finestra, larga(testo).c_str(), nullptr, MB_OK);
}

void termina(int stato) {
  if (finestra) DestroyWindow(finestra);
  ExitProcess(static_cast<UINT>(stato));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { costruzione_scenario(); }
