#include "scenario/svg.h"

#include "scenario/formato.h"
#include "text/codifica.h"

std::string testo_xml(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    size_t lunghezza = sequenza_utf8(utf8.substr(i));
    std::string_view seq = utf8.substr(i, std::max<size_t>(lunghezza, 1));
    i += seq.size();
    // U+FFFE and U+FFFF are not characters of XML either.
    if (lunghezza == 0 || seq == "\xEF\xBF\xBE" || seq == "\xEF\xBF\xBF") {
      out += "\xEF\xBF\xBD";
      continue;
    }
    if (lunghezza > 1) {
      out.append(seq);
      continue;
    }
    char c = seq[0];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += "\xEF\xBF\xBD";
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string numero_svg(double v) { return formato("%.1f", v); }

void scrittore_svg::inizio(std::string_view nome, attributi_svg a, const std::vector<attributo_svg>* dati) {
  out_ += '<';
  out_ += nome;
  auto metti = [this](const attributo_svg& x) {
    out_ += ' ';
    out_ += x.first;
    out_ += "=\"";
    out_ += testo_xml(x.second);
    out_ += '"';
  };
  for (const attributo_svg& x : a) metti(x);
  if (dati) {
    for (const attributo_svg& x : *dati) metti(x);
  }
}

void scrittore_svg::apri(std::string_view nome, attributi_svg a) {
  inizio(nome, a);
  out_ += ">\n";
  aperti_.emplace_back(nome);
}

void scrittore_svg::chiudi() {
  if (aperti_.empty()) return;
  out_ += "</";
  out_ += aperti_.back();
  out_ += ">\n";
  aperti_.pop_back();
}

void scrittore_svg::vuoto(std::string_view nome, attributi_svg a, std::string_view titolo) {
  vuoto(nome, a, titolo, {});
}

void scrittore_svg::vuoto(std::string_view nome, attributi_svg a, std::string_view titolo,
                          const std::vector<attributo_svg>& dati) {
  inizio(nome, a, &dati);
  if (titolo.empty()) {
    out_ += "/>\n";
    return;
  }
  out_ += "><title>";
  out_ += testo_xml(titolo);
  out_ += "</title></";
  out_ += nome;
  out_ += ">\n";
}

void scrittore_svg::testo(std::string_view nome, attributi_svg a, std::string_view testo_utf8) {
  inizio(nome, a);
  out_ += '>';
  out_ += testo_xml(testo_utf8);
  out_ += "</";
  out_ += nome;
  out_ += ">\n";
}
