#ifndef SCENARIO_TOOLS_PERCORSI_H
#define SCENARIO_TOOLS_PERCORSI_H

#include <filesystem>
#include <string>
#include <string_view>

// The tool holds paths as UTF-8 text on every system. A std::string given to
// std::filesystem::path is read in the system's code page on Windows, so
// every conversion goes through these two.
inline std::filesystem::path percorso_utf8(std::string_view testo) {
  return std::filesystem::path(std::u8string(testo.begin(), testo.end()));
}

// With the system's separator throughout, as the author's shell shows paths.
inline std::string testo_percorso(const std::filesystem::path& p) {
  const std::u8string u = std::filesystem::path(p).make_preferred().u8string();
  return std::string(u.begin(), u.end());
}

#endif
