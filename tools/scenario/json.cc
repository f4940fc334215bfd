#include "scenario/json.h"

#include <charconv>
#include <cmath>

size_t sequenza_utf8(std::string_view s) {
  if (s.empty()) return 0;
  auto b = [&s](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = b(0);
  size_t n;
  uint32_t cp;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF.
  if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    return 0;
  }
  return n;
}

std::string stringa_json(std::string_view utf8) {
  static const char cifre[] = "0123456789abcdef";
  std::string out = "\"";
  size_t i = 0;
  while (i < utf8.size()) {
    size_t n = sequenza_utf8(utf8.substr(i));
    if (n == 0) {
      out += "\\ufffd";
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(utf8.substr(i, n));
      i += n;
      continue;
    }
    auto c = static_cast<unsigned char>(utf8[i++]);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += cifre[c >> 4];
          out += cifre[c & 0xF];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

void scrittore_json::prima_del_valore() {
  if (dopo_chiave_) {
    dopo_chiave_ = false;
    return;
  }
  if (!aperti_.empty() && !primo_) out_ << ',';
  primo_ = false;
}

scrittore_json& scrittore_json::oggetto() {
  prima_del_valore();
  out_ << '{';
  aperti_.push_back('}');
  primo_ = true;
  return *this;
}

scrittore_json& scrittore_json::lista() {
  prima_del_valore();
  out_ << '[';
  aperti_.push_back(']');
  primo_ = true;
  return *this;
}

scrittore_json& scrittore_json::chiudi() {
  if (aperti_.empty()) return *this;
  out_ << aperti_.back();
  aperti_.pop_back();
  primo_ = false;
  return *this;
}

scrittore_json& scrittore_json::chiave(std::string_view nome) {
  prima_del_valore();
  out_ << stringa_json(nome) << ':';
  dopo_chiave_ = true;
  return *this;
}

scrittore_json& scrittore_json::intero(int64_t v) {
  prima_del_valore();
  out_ << v;
  return *this;
}

scrittore_json& scrittore_json::reale(double v) {
  prima_del_valore();
  if (!std::isfinite(v)) {
    out_ << "null";
    return *this;
  }
  char b[32];
  auto r = std::to_chars(b, b + sizeof b, v);
  out_.write(b, r.ptr - b);
  return *this;
}

scrittore_json& scrittore_json::testo(std::string_view utf8) {
  prima_del_valore();
  out_ << stringa_json(utf8);
  return *this;
}

scrittore_json& scrittore_json::logico(bool v) {
  prima_del_valore();
  out_ << (v ? "true" : "false");
  return *this;
}
