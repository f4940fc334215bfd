#include "scenario/json.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/controllo_json.h"

namespace {

TEST(StringaJson, EscapesAndReadsBack) {
  struct caso {
    std::string testo;
    std::string atteso;       // the literal written
    std::string riletto;      // what a JSON reader gets back
  };
  const caso casi[] = {
      {"", "\"\"", ""},
      {"plain", "\"plain\"", "plain"},
      {"a\"b\\c", "\"a\\\"b\\\\c\"", "a\"b\\c"},
      {"\n\r\t\b\f", "\"\\n\\r\\t\\b\\f\"", "\n\r\t\b\f"},
      {std::string("\x01\x1f", 2) + std::string(1, '\0'), "\"\\u0001\\u001f\\u0000\"",
       std::string("\x01\x1f", 2) + std::string(1, '\0')},
      {"\x7f/", "\"\x7f/\"", "\x7f/"},
      // Valid UTF-8 passes as it is: è, €, U+1F600.
      {"\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80", "\"\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80\"",
       "\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80"},
      // A lone Windows-1252 byte, a truncated sequence, an overlong form and a
      // surrogate each become U+FFFD.
      {"a\xE8z", "\"a\\ufffdz\"", "a\xEF\xBF\xBDz"},
      {"\xE2\x82", "\"\\ufffd\\ufffd\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xC0\xAF", "\"\\ufffd\\ufffd\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\"", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.atteso);
    const std::string j = stringa_json(c.testo);
    EXPECT_EQ(j, c.atteso);
    const auto v = prova::leggi_json(j);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->tipo, prova::valore_json::stringa);
    EXPECT_EQ(v->testo, c.riletto);
  }
}

// The checker the other tests rely on refuses what is not JSON.
TEST(ControlloJson, RefusesWhatIsNotJson) {
  const std::string cattivi[] = {
      "",
      "{",
      "{\"a\":1,}",
      "[1,]",
      "{\"a\":1,\"a\":2}",
      std::string("\"a\x01\""),
      "\"\\x41\"",
      "\"\xE8\"",
      "\"\\ud800\"",
      "01",
      "1.",
      "{} {}",
      "nul",
      "{'a':1}",
  };
  for (const std::string& s : cattivi) EXPECT_FALSE(prova::leggi_json(s).has_value()) << s;
  const auto v = prova::leggi_json(" {\"a\":[1,-2.5e3,true,false,null,\"\\u00e8\\ud83d\\ude00\"],\"b\":{}} ");
  ASSERT_TRUE(v.has_value());
  const prova::valore_json* a = v->membro("a");
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->elementi.size(), 6u);
  EXPECT_EQ(a->elementi[1].numero_valore, -2500);
  EXPECT_EQ(a->elementi[5].testo, "\xC3\xA8\xF0\x9F\x98\x80");
}

}  // namespace
