#include "scenario/testo_json.h"

#include <cstdint>
#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at s[i], or 0.
size_t sequenza_utf8(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  size_t n;
  uint32_t cp;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    cp = b & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return n;
}

}  // namespace

std::string stringa_json(std::string_view utf8) {
  std::string out = "\"";
  size_t i = 0;
  while (i < utf8.size()) {
    const size_t n = sequenza_utf8(utf8, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(utf8.substr(i, n));
      i += n;
      continue;
    }
    const char c = utf8[i++];
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char u[8];
          std::snprintf(u, sizeof u, "\\u%04x", static_cast<unsigned>(c));
          out += u;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}
