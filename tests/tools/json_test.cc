#include "scenario/json.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tools/json_prova.h"

namespace {

// Every JSON text the tool prints is valid UTF-8 that reads back: quotes,
// backslashes and control characters escaped, valid UTF-8 kept, and any byte
// sequence that is not UTF-8 replaced by U+FFFD.
TEST(TestoJson, EscapesAndReadsBack) {
  const std::string fffd = "\xEF\xBF\xBD";
  struct caso {
    std::string testo;
    std::string atteso;   // the literal written
    std::string riletto;  // what a JSON reader gets back
  };
  const caso casi[] = {
      {"", "\"\"", ""},
      {"plain", "\"plain\"", "plain"},
      {"a\"b\\c/d", "\"a\\\"b\\\\c/d\"", "a\"b\\c/d"},
      {"\n\r\t\b\f", "\"\\n\\r\\t\\b\\f\"", "\n\r\t\b\f"},
      {std::string("\x00\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\x7f\"", std::string("\x00\x01\x1f\x7f", 4)},
      // Valid UTF-8 passes as it is: è, €, U+1F600.
      {"\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80", "\"\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80\"",
       "\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80"},
      // A lone Windows-1252 byte, a truncated sequence, an overlong form and a surrogate.
      {"Cal\xE8z", "\"Cal" + fffd + "z\"", "Cal" + fffd + "z"},
      {"\xE2\x82", "\"" + fffd + "\"", fffd},
      {"\xC0\xAF", "\"" + fffd + fffd + "\"", fffd + fffd},
      {"\xED\xA0\x80", "\"" + fffd + fffd + fffd + "\"", fffd + fffd + fffd},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.atteso);
    const std::string j = stringa_json(c.testo);
    EXPECT_EQ(j, c.atteso);
    const auto v = prova::leggi_json(j);
    ASSERT_TRUE(v.has_value());
    ASSERT_TRUE(v->is_string());
    EXPECT_EQ(v->get<std::string>(), c.riletto);
  }
}

// The piecewise writer keeps the keys in the order given and prints the
// value once its outermost container is closed.
TEST(ScrittoreJson, BuildsInOrder) {
  std::ostringstream out;
  scrittore_json j(out);
  j.oggetto().chiave("z").intero(1).chiave("a").lista().reale(1.5).reale(1.0 / 0.0).logico(true).chiudi();
  j.chiave("m").oggetto().chiave("t").testo("\xE8").chiudi();
  EXPECT_EQ(out.str(), "");
  j.chiudi();
  EXPECT_EQ(out.str(), "{\"z\":1,\"a\":[1.5,null,true],\"m\":{\"t\":\"\xEF\xBF\xBD\"}}");
}

}  // namespace
