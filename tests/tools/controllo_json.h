#ifndef SCENARIO_TESTS_TOOLS_CONTROLLO_JSON_H
#define SCENARIO_TESTS_TOOLS_CONTROLLO_JSON_H

// A strict reader of one JSON text (RFC 8259), enough to check what the tool
// prints: raw control characters in strings, bad escapes, invalid UTF-8,
// trailing commas, duplicate keys and trailing bytes are all refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace prova {

struct valore_json {
  enum tipo_valore { nullo, booleano, numero, stringa, array, oggetto } tipo = nullo;
  bool vero = false;
  double numero_valore = 0;
  std::string testo;  // UTF-8
  std::vector<valore_json> elementi;
  std::vector<std::pair<std::string, valore_json>> membri;

  const valore_json* membro(std::string_view chiave) const {
    for (const auto& [k, v] : membri) {
      if (k == chiave) return &v;
    }
    return nullptr;
  }

  // A member or an element that must be there: a null value when it is not,
  // after `assente` has said so (tests pass a function that fails the test).
  const valore_json& operator[](std::string_view chiave) const {
    if (const valore_json* v = membro(chiave)) return *v;
    assente("no key " + std::string(chiave));
    return nessuno();
  }
  const valore_json& operator[](size_t i) const {
    if (i < elementi.size()) return elementi[i];
    assente("no element " + std::to_string(i));
    return nessuno();
  }

  static inline void (*assente)(const std::string& perche) = [](const std::string&) {};

 private:
  static const valore_json& nessuno() {
    static const valore_json v;
    return v;
  }
};

class lettore_json {
 public:
  explicit lettore_json(std::string_view s) : s_(s) {}

  std::optional<valore_json> documento() {
    valore_json v;
    spazi();
    if (!valore(v, 0)) return std::nullopt;
    spazi();
    if (i_ != s_.size()) return std::nullopt;
    return v;
  }

 private:
  bool fine() const { return i_ >= s_.size(); }
  char c() const { return s_[i_]; }
  void spazi() {
    while (!fine() && (c() == ' ' || c() == '\t' || c() == '\n' || c() == '\r')) ++i_;
  }
  bool parola(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }

  bool valore(valore_json& v, int profondita) {
    if (fine() || profondita > 64) return false;
    switch (c()) {
      case '{': return oggetto(v, profondita);
      case '[': return array(v, profondita);
      case '"': v.tipo = valore_json::stringa; return stringa(v.testo);
      case 't': v.tipo = valore_json::booleano; v.vero = true; return parola("true");
      case 'f': v.tipo = valore_json::booleano; return parola("false");
      case 'n': v.tipo = valore_json::nullo; return parola("null");
      default: v.tipo = valore_json::numero; return numero(v.numero_valore);
    }
  }

  bool oggetto(valore_json& v, int profondita) {
    v.tipo = valore_json::oggetto;
    ++i_;
    spazi();
    if (!fine() && c() == '}') return ++i_, true;
    for (;;) {
      spazi();
      std::string chiave;
      if (fine() || c() != '"' || !stringa(chiave)) return false;
      if (v.membro(chiave)) return false;
      spazi();
      if (fine() || c() != ':') return false;
      ++i_;
      spazi();
      valore_json m;
      if (!valore(m, profondita + 1)) return false;
      v.membri.emplace_back(std::move(chiave), std::move(m));
      spazi();
      if (fine()) return false;
      if (c() == '}') return ++i_, true;
      if (c() != ',') return false;
      ++i_;
    }
  }

  bool array(valore_json& v, int profondita) {
    v.tipo = valore_json::array;
    ++i_;
    spazi();
    if (!fine() && c() == ']') return ++i_, true;
    for (;;) {
      spazi();
      valore_json e;
      if (!valore(e, profondita + 1)) return false;
      v.elementi.push_back(std::move(e));
      spazi();
      if (fine()) return false;
      if (c() == ']') return ++i_, true;
      if (c() != ',') return false;
      ++i_;
    }
  }

  bool numero(double& n) {
    const size_t da = i_;
    if (!fine() && c() == '-') ++i_;
    if (fine()) return false;
    if (c() == '0') {
      ++i_;
    } else if (c() >= '1' && c() <= '9') {
      while (!fine() && c() >= '0' && c() <= '9') ++i_;
    } else {
      return false;
    }
    if (!fine() && c() == '.') {
      ++i_;
      if (fine() || c() < '0' || c() > '9') return false;
      while (!fine() && c() >= '0' && c() <= '9') ++i_;
    }
    if (!fine() && (c() == 'e' || c() == 'E')) {
      ++i_;
      if (!fine() && (c() == '+' || c() == '-')) ++i_;
      if (fine() || c() < '0' || c() > '9') return false;
      while (!fine() && c() >= '0' && c() <= '9') ++i_;
    }
    n = std::stod(std::string(s_.substr(da, i_ - da)));
    return true;
  }

  static void utf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  bool esadecimale(uint32_t& u) {
    if (i_ + 4 > s_.size()) return false;
    u = 0;
    for (int k = 0; k < 4; ++k) {
      const char h = s_[i_++];
      u <<= 4;
      if (h >= '0' && h <= '9') u |= static_cast<uint32_t>(h - '0');
      else if (h >= 'a' && h <= 'f') u |= static_cast<uint32_t>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F') u |= static_cast<uint32_t>(h - 'A' + 10);
      else return false;
    }
    return true;
  }

  // One valid UTF-8 sequence copied as it is.
  bool sequenza(std::string& out) {
    const auto b = static_cast<unsigned char>(c());
    size_t n;
    uint32_t cp;
    if (b >= 0xC2 && b <= 0xDF) n = 2, cp = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF) n = 3, cp = b & 0x0F;
    else if (b >= 0xF0 && b <= 0xF4) n = 4, cp = b & 0x07;
    else return false;
    if (i_ + n > s_.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      const auto x = static_cast<unsigned char>(s_[i_ + k]);
      if ((x & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (x & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    out.append(s_.substr(i_, n));
    i_ += n;
    return true;
  }

  bool stringa(std::string& out) {
    ++i_;
    for (;;) {
      if (fine()) return false;
      const auto b = static_cast<unsigned char>(c());
      if (b == '"') return ++i_, true;
      if (b < 0x20) return false;
      if (b >= 0x80) {
        if (!sequenza(out)) return false;
        continue;
      }
      ++i_;
      if (b != '\\') {
        out += static_cast<char>(b);
        continue;
      }
      if (fine()) return false;
      const char e = s_[i_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          uint32_t u;
          if (!esadecimale(u)) return false;
          if (u >= 0xD800 && u <= 0xDBFF) {
            uint32_t basso;
            if (!parola("\\u") || !esadecimale(basso) || basso < 0xDC00 || basso > 0xDFFF) return false;
            u = 0x10000 + ((u - 0xD800) << 10) + (basso - 0xDC00);
          } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
          }
          utf8(out, u);
          break;
        }
        default: return false;
      }
    }
  }

  std::string_view s_;
  size_t i_ = 0;
};

inline std::optional<valore_json> leggi_json(std::string_view testo) { return lettore_json(testo).documento(); }

}  // namespace prova

#endif
