#ifndef SCENARIO_TOOLS_TESTO_JSON_H
#define SCENARIO_TOOLS_TESTO_JSON_H

#include <string>
#include <string_view>

// A JSON string literal, quotes included, of a UTF-8 text: the quote, the
// backslash and every control character escaped; a byte that is not part of
// valid UTF-8 becomes U+FFFD, so the output is always valid JSON in UTF-8.
std::string stringa_json(std::string_view utf8);

#endif
