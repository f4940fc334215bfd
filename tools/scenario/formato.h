#ifndef SCENARIO_TOOLS_FORMATO_H
#define SCENARIO_TOOLS_FORMATO_H

#include <string>

// printf into a std::string.
#if defined(__MINGW32__)
// MinGW's C++ library formats as the GNU C library does (%zu included).
std::string formato(const char* f, ...) __attribute__((format(gnu_printf, 1, 2)));
#elif defined(__GNUC__)
std::string formato(const char* f, ...) __attribute__((format(printf, 1, 2)));
#else
std::string formato(const char* f, ...);
#endif

#endif
