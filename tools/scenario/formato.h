#ifndef SCENARIO_TOOLS_FORMATO_H
#define SCENARIO_TOOLS_FORMATO_H

#include <cstddef>
#include <string>
#include <vector>

// printf into a std::string.
#if defined(__MINGW32__)
// MinGW's C++ library formats as the GNU C library does (%zu included).
std::string formato(const char* f, ...) __attribute__((format(gnu_printf, 1, 2)));
#elif defined(__GNUC__)
std::string formato(const char* f, ...) __attribute__((format(printf, 1, 2)));
#else
std::string formato(const char* f, ...);
#endif

// The local time of day, "12:03:41", as each compile's line starts.
std::string ora_locale();

// "1 error", "2 errors".
std::string quanti(size_t n, const char* uno, const char* molti);

// The words quoted and listed: "a", "b" and "c".
std::string citate(const std::vector<const char*>& parole);

#endif
