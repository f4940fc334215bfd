#include "scenario/formato.h"

#include <cstdarg>
#include <cstdio>

std::string formato(const char* f, ...) {
  va_list a;
  va_start(a, f);
  va_list b;
  va_copy(b, a);
  int n = std::vsnprintf(nullptr, 0, f, a);
  va_end(a);
  std::string s(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(s.data(), s.size() + 1, f, b);
  va_end(b);
  return s;
}
