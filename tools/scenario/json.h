#ifndef SCENARIO_TOOLS_JSON_H
#define SCENARIO_TOOLS_JSON_H

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Length of the valid UTF-8 sequence that starts `s` (1 to 4), or 0 when `s`
// is empty or does not start with one.
size_t sequenza_utf8(std::string_view s);

// A UTF-8 text as a JSON string, quotes included: the quote, the backslash and
// every control character below U+0020 are escaped; a byte sequence that is
// not valid UTF-8 becomes U+FFFD.
std::string stringa_json(std::string_view utf8);

// Writes one JSON value to a stream, putting the commas and colons where they
// belong. The caller opens and closes the containers in order.
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
  void prima_del_valore();

  std::ostream& out_;
  std::vector<char> aperti_;  // the closing bracket of each open container
  bool primo_ = true;         // nothing written yet in the innermost container
  bool dopo_chiave_ = false;
};

#endif
