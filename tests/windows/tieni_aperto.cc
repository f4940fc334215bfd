// For the check of the authors' tool: holds a file open with no sharing, as
// a viewer may, so that no other program can read, replace or delete it.
// Usage: tieni_aperto FILE SIGNAL SECONDS. Once the file is held it creates
// SIGNAL; it lets go when SIGNAL is removed or after SECONDS. Status 1 when
// the file cannot be opened.
#include <windows.h>

#include <cwchar>
#include <cwctype>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  HANDLE f = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  HANDLE s = CreateFileW(argv[2], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (s != INVALID_HANDLE_VALUE) CloseHandle(s);
  const long decimi = std::wcstol(argv[3], nullptr, 10) * 10;
  for (long i = 0; i < decimi && GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  CloseHandle(f);
  return 0;
}
