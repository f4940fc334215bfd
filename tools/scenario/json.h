#ifndef SCENARIO_TOOLS_JSON_H
#define SCENARIO_TOOLS_JSON_H

#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Every JSON value the tool prints is an nlohmann-json value that keeps its
// keys in the order they were set.
using json = nlohmann::ordered_json;

// The text of a value on one line. A byte sequence that is not valid UTF-8
// becomes U+FFFD, so the output is always valid UTF-8.
std::string testo_json(const json& v);

// A UTF-8 text as a JSON string, quotes included.
inline std::string stringa_json(std::string_view utf8) { return testo_json(json(std::string(utf8))); }

// Builds one JSON value in order, for output made piece by piece: the caller
// opens and closes the containers in order, and the value is printed to the
// stream when its outermost container is closed.
class scrittore_json {
 public:
  explicit scrittore_json(std::ostream& out) : out_(out) {}

  scrittore_json& oggetto();
  scrittore_json& lista();
  scrittore_json& chiudi();
  scrittore_json& chiave(std::string_view nome);

  scrittore_json& intero(int64_t v);
  // An infinity or a NaN, which JSON cannot hold, is written as null.
  scrittore_json& reale(double v);
  scrittore_json& testo(std::string_view utf8);
  scrittore_json& logico(bool v);

 private:
  // Puts a value where the next one goes; returns it.
  json& metti(json v);

  std::ostream& out_;
  json radice_;
  std::vector<json*> aperti_;
  std::string chiave_;
};

#endif
