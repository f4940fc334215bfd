#ifndef SCENARIO_TOOLS_SVG_H
#define SCENARIO_TOOLS_SVG_H

// A small writer of SVG elements into a string: attributes and character data
// are escaped on the way in, and numbers are written with one decimal, so the
// drawing code says what it draws and never how XML is spelled.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A text as SVG/XML character data or attribute value: the five markup
// characters become references; characters that XML does not allow (control
// characters other than tab and line ends, invalid UTF-8) become U+FFFD.
std::string testo_xml(std::string_view utf8);

// A coordinate or length as the drawing writes it: one decimal.
std::string numero_svg(double v);

// One attribute: its name and its value (unescaped; the writer escapes it).
using attributo_svg = std::pair<std::string_view, std::string>;
using attributi_svg = std::initializer_list<attributo_svg>;

class scrittore_svg {
 public:
  explicit scrittore_svg(std::string& out) : out_(out) {}

  // <nome attributi...>, to be closed by chiudi().
  void apri(std::string_view nome, attributi_svg a = {});
  void chiudi();
  // <nome attributi.../>, or with a <title> (a tooltip) inside when `titolo`
  // is not empty.
  void vuoto(std::string_view nome, attributi_svg a, std::string_view titolo = {});
  // The same, with `dati` after the attributes (the data-* of what it draws).
  void vuoto(std::string_view nome, attributi_svg a, std::string_view titolo, const std::vector<attributo_svg>& dati);
  // <nome attributi...>testo</nome>
  void testo(std::string_view nome, attributi_svg a, std::string_view testo_utf8);
  // A <text> element.
  void testo(attributi_svg a, std::string_view testo_utf8) { testo("text", a, testo_utf8); }

 private:
  void inizio(std::string_view nome, attributi_svg a, const std::vector<attributo_svg>* dati = nullptr);
  std::string& out_;
  std::vector<std::string> aperti_;
};

#endif
