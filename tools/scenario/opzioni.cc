#include "scenario/opzioni.h"

namespace {

const opzione_nota* trova(const std::vector<opzione_nota>& note, const std::string& nome, bool breve) {
  for (const opzione_nota& o : note) {
    if (breve ? (o.breve && nome == o.breve) : nome == o.nome) return &o;
  }
  return nullptr;
}

}  // namespace

std::string leggi_argomenti(const std::vector<std::string>& argomenti,
                            const std::vector<opzione_nota>& note, argomenti_comando& esito) {
  // Asking for help is never a usage error, whatever else the line holds.
  for (const std::string& a : argomenti) {
    if (a == "--") break;
    if (a == "--help" || a == "-h") {
      esito.aiuto = true;
      return {};
    }
  }
  bool solo_posizionali = false;
  for (size_t i = 0; i < argomenti.size(); ++i) {
    const std::string& a = argomenti[i];
    if (solo_posizionali || a.size() < 2 || a[0] != '-') {
      esito.posizionali.push_back(a);
      continue;
    }
    if (a == "--") {
      solo_posizionali = true;
      continue;
    }
    const bool lunga = a.compare(0, 2, "--") == 0;
    std::string nome = a.substr(lunga ? 2 : 1);
    std::string valore;
    bool valore_unito = false;
    if (lunga) {
      const size_t uguale = nome.find('=');
      if (uguale != std::string::npos) {
        valore = nome.substr(uguale + 1);
        nome.resize(uguale);
        valore_unito = true;
      }
    }
    const opzione_nota* o = trova(note, nome, !lunga);
    if (!o) return "unknown option '" + a + "'";
    const std::string chiave = o->nome;
    if (esito.valori.count(chiave) || esito.segnali.count(chiave)) {
      return "option '--" + chiave + "' given twice";
    }
    if (!o->con_valore) {
      if (valore_unito) return "option '--" + chiave + "' takes no value";
      esito.segnali.insert(chiave);
      continue;
    }
    if (!valore_unito) {
      if (i + 1 >= argomenti.size()) return "option '" + a + "' needs a value";
      valore = argomenti[++i];
    }
    esito.valori[chiave] = valore;
  }
  return {};
}
