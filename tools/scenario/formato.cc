#include "scenario/formato.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

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

std::string ora_locale() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return formato("%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
}

std::string quanti(size_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

std::string citate(const std::vector<const char*>& parole) {
  std::string s;
  for (size_t i = 0; i < parole.size(); ++i) {
    if (i > 0) s += i + 1 == parole.size() ? " and " : ", ";
    s += std::string("\"") + parole[i] + "\"";
  }
  return s;
}
