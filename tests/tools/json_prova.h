#ifndef SCENARIO_TESTS_TOOLS_JSON_PROVA_H
#define SCENARIO_TESTS_TOOLS_JSON_PROVA_H

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace prova {

// The value of a JSON text, or nothing when the text is not one valid JSON
// value (invalid UTF-8 in a string included).
inline std::optional<nlohmann::json> leggi_json(const std::string& testo) {
  nlohmann::json v = nlohmann::json::parse(testo, nullptr, false);
  if (v.is_discarded()) return std::nullopt;
  return v;
}

}  // namespace prova

#endif
