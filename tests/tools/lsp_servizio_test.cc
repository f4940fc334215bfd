// The language server's answers, in process: its diagnostics against what
// `check` prints for the same texts, its quick fixes, its pairs of texts and
// its encodings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/comando.h"
#include "scenario/json.h"
#include "scenario/lsp_documenti.h"
#include "scenario/lsp_servizio.h"
#include "text/codifica.h"
#include "tools/aiuti_prova.h"

namespace {

namespace fs = std::filesystem;

// A server and the messages it sent.
struct banco_lsp {
  prova::cartella_temporanea t;
  servizio_lsp s;
  std::vector<json> inviati;
  int id = 0;
  std::string linea, treno;  // the paths of the pair
  int64_t versione = 1;

  explicit banco_lsp(json capacita = json::object()) {
    s.invia = [this](const std::string& corpo) { inviati.push_back(json::parse(corpo)); };
    richiesta("initialize", json{{"capabilities", capacita}});
    linea = t / "Morsalo_Torvia_linea.txt";
    treno = t / "Morsalo_Torvia_R20417-.txt";
  }

  json richiesta(const std::string& metodo, const json& p) {
    gestisci_messaggio(s, testo_json(json{{"jsonrpc", "2.0"}, {"id", ++id}, {"method", metodo}, {"params", p}}));
    for (auto i = inviati.rbegin(); i != inviati.rend(); ++i) {
      if (i->contains("id") && (*i)["id"] == id) return *i;
    }
    return nullptr;
  }
  void notifica(const std::string& metodo, const json& p) {
    gestisci_messaggio(s, testo_json(json{{"jsonrpc", "2.0"}, {"method", metodo}, {"params", p}}));
  }
  // Opens a text given in Windows-1252.
  void apri(const std::string& percorso, const std::string& cp1252) {
    notifica("textDocument/didOpen", json{{"textDocument", {{"uri", uri_del_percorso(percorso)}, {"languageId", "x"},
                                                            {"version", 1}, {"text", cp1252_a_utf8(cp1252)}}}});
  }
  void cambia(const std::string& percorso, const json& cambio) {
    notifica("textDocument/didChange", json{{"textDocument", {{"uri", uri_del_percorso(percorso)}, {"version", ++versione}}},
                                            {"contentChanges", json::array({cambio})}});
  }
  // The last diagnostics sent for a text.
  json diagnostiche(const std::string& percorso) const {
    for (auto i = inviati.rbegin(); i != inviati.rend(); ++i) {
      if (i->value("method", "") == "textDocument/publishDiagnostics" &&
          (*i)["params"]["uri"] == uri_del_percorso(percorso)) {
        return (*i)["params"]["diagnostics"];
      }
    }
    return nullptr;
  }
  json azioni(const std::string& percorso, const json& intervallo) {
    json p{{"textDocument", {{"uri", uri_del_percorso(percorso)}}},
           {"range", intervallo},
           {"context", {{"diagnostics", json::array()}}}};
    return richiesta("textDocument/codeAction", p)["result"];
  }
};

// Every message of `check --json` on the texts as the server gives it: the
// same place, code and words, and its notes as related information.
void come_check(banco_lsp& b) {
  const prova::uscita u = prova::esegui(
      [](const std::vector<std::string>& a, std::ostream& o, std::ostream& e) { return esegui_comando("check", a, o, e); },
      {b.linea, b.treno, "--json"});
  const json c = json::parse(u.out);
  std::vector<std::pair<json, std::string>> attesi;  // (check's entry, "error"/"warning")
  for (const json& w : c["warnings"]) attesi.push_back({w, "warning"});
  if (!c["message"].is_null()) attesi.push_back({c, "error"});
  ASSERT_FALSE(attesi.empty()) << u.out;
  size_t trovati = 0;
  for (const std::string& f : {b.linea, b.treno}) {
    for (const json& d : b.diagnostiche(f)) {
      ++trovati;
      const auto a = std::find_if(attesi.begin(), attesi.end(), [&](const auto& x) {
        return x.first["file"] == f && x.first["line"].template get<int>() - 1 == d["range"]["start"]["line"] &&
               x.first["column"].template get<int>() - 1 == d["range"]["start"]["character"];
      });
      ASSERT_NE(a, attesi.end()) << testo_json(d) << "\n" << u.out;
      const json& x = a->first;
      EXPECT_EQ(d["source"], "scenario");
      std::string parole = d["message"];
      if (a->second == "warning") {
        EXPECT_EQ(d["severity"], 2);
        EXPECT_EQ(d["code"], x["code"]);
        EXPECT_EQ(parole, "warning: " + x["message"].get<std::string>());
      } else {
        EXPECT_EQ(d["severity"], 1);
        EXPECT_EQ(d["code"], std::stoi(x["errore"].is_null() ? std::to_string(x["numero_errore"].get<int>())
                                                             : x["errore"].get<std::string>()));
        // "error N at P m: description", then the notes after "; ".
        parole = parole.substr(parole.find(": ") + 2);
        for (const json& n : d.value("relatedInformation", json::array())) parole += "; " + n["message"].get<std::string>();
        EXPECT_EQ(parole, x["message"]);
      }
      const json note = d.value("relatedInformation", json::array());
      ASSERT_EQ(note.size(), x["notes"].size()) << testo_json(d);
      for (size_t i = 0; i < note.size(); ++i) {
        EXPECT_EQ(note[i]["message"], x["notes"][i]["message"]);
        if (x["notes"][i]["line"].is_null()) continue;
        EXPECT_EQ(note[i]["location"]["uri"], uri_del_percorso(x["notes"][i]["file"]));
        EXPECT_EQ(note[i]["location"]["range"]["start"]["line"], x["notes"][i]["line"].get<int>() - 1);
        EXPECT_EQ(note[i]["location"]["range"]["start"]["character"], x["notes"][i]["column"].get<int>() - 1);
      }
    }
  }
  EXPECT_EQ(trovati, attesi.size()) << u.out;
}

TEST(LspServizio, DiagnosticsAreTheMessagesOfCheck) {
  const struct {
    const char* nome;
    prova::modifiche linea, treno;
  } casi[] = {
      {"a misspelt keyword", {{"pendenza,  16600", "pendenz,  16600"}}, {}},
      {"a curve side by letter, a rounded speed", {{"curvas4,  750", "curvad4s,  750"}}, {{"velocita,     700,   100", "velocita,     700,   102"}}},
      {"a signal on another's cell", {}, {{"segnale,    5500", "segnale,    1350"}}},
      {"a last field never read", {{"[fine]", "pendenza"}}, {}},
      {"a text that gives no line length", {{"lunghezza percorso,    62000", "lunghezzza,    62000"}}, {}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    banco_lsp b;
    const std::string linea = prova::modificato(prova::testo_linea_incorporato(), c.linea);
    const std::string treno = prova::modificato(prova::testo_treno_incorporato(), c.treno);
    prova::scrivi_file(b.linea, linea);
    prova::scrivi_file(b.treno, treno);
    b.apri(b.linea, linea);
    b.apri(b.treno, treno);
    come_check(b);
  }
}

// The edit of the first quick fix at the diagnostic of `codice`, applied.
void applica_correzione(banco_lsp& b, const std::string& percorso, const std::string& codice,
                        const std::string& atteso) {
  const json d = b.diagnostiche(percorso);
  const auto x = std::find_if(d.begin(), d.end(), [&](const json& v) { return v["code"] == codice; });
  ASSERT_NE(x, d.end()) << testo_json(d);
  const json a = b.azioni(percorso, (*x)["range"]);
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a[0]["title"], atteso);
  EXPECT_EQ(a[0]["isPreferred"], true);
  const json& e = a[0]["edit"]["changes"][uri_del_percorso(percorso)][0];
  b.cambia(percorso, json{{"range", e["range"]}, {"text", e["newText"]}});
  for (const json& v : b.diagnostiche(percorso)) EXPECT_NE(v["code"], codice) << testo_json(v);
}

TEST(LspServizio, QuickFixesMendTheirWarnings) {
  banco_lsp b;
  const std::string linea = prova::modificato(prova::testo_linea_incorporato(),
                                              {{"curvas4,  750", "curvad4s,  750"}, {"pendenza,  16600", "pendenz,  16600"},
                                               {"[fine]", "[fin"}});
  const std::string treno =
      prova::modificato(prova::testo_treno_incorporato(), {{"velocita,     700,   100", "velocita,     700,   102"}});
  prova::scrivi_file(b.treno, treno);
  b.apri(b.linea, linea);
  b.apri(b.treno, treno);
  applica_correzione(b, b.linea, "record_sconosciuto", "Write \"pendenza\"");
  // Both curve keywords are offered; the first keeps the side the compile took.
  {
    const json d = b.diagnostiche(b.linea);
    const auto x = std::find_if(d.begin(), d.end(), [](const json& v) { return v["code"] == "curve_side_by_letter"; });
    ASSERT_NE(x, d.end()) << testo_json(d);
    const json a = b.azioni(b.linea, (*x)["range"]);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[1]["title"], "Write \"curvad4\"");
  }
  applica_correzione(b, b.linea, "curve_side_by_letter", "Write \"curvas4\"");
  applica_correzione(b, b.linea, "last_field_not_read", "Write \"[fine]\"");
  applica_correzione(b, b.treno, "speed_rounded", "Write \"100\"");
  EXPECT_EQ(b.diagnostiche(b.linea), json::array());
  EXPECT_EQ(b.diagnostiche(b.treno), json::array());
  // Away from any diagnostic, no action.
  EXPECT_EQ(b.azioni(b.linea, json{{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 0}, {"character", 1}}}}),
            json::array());
}

// A last field that is no misspelt "[fine]" gets one after it, on a line of
// its own; a record left without its values is then an error of its own.
TEST(LspServizio, TheEndOfATextAddedAfterItsLastField) {
  banco_lsp b;
  b.apri(b.linea, prova::sostituisci(prova::testo_linea_incorporato(), "[fine]\r\n", "[montagne]\r\nxyz"));
  const json d = b.diagnostiche(b.linea);
  ASSERT_EQ(d.size(), 1u) << testo_json(d);
  const json a = b.azioni(b.linea, d[0]["range"]);
  ASSERT_EQ(a.size(), 1u);
  const json& e = a[0]["edit"]["changes"][uri_del_percorso(b.linea)][0];
  EXPECT_EQ(e["newText"], "\r\n[fine]\r\n");
  EXPECT_EQ(e["range"]["start"], e["range"]["end"]);
  b.cambia(b.linea, json{{"range", e["range"]}, {"text", e["newText"]}});
  const json dopo = b.diagnostiche(b.linea);
  ASSERT_EQ(dopo.size(), 1u);
  EXPECT_EQ(dopo[0]["code"], "record_sconosciuto");
}

TEST(LspServizio, PairsAndPartners) {
  banco_lsp b;
  // A train text alone: one information message naming its line text.
  b.apri(b.treno, prova::testo_treno_incorporato());
  json d = b.diagnostiche(b.treno);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0]["severity"], 3);
  EXPECT_EQ(d[0]["range"]["start"], (json{{"line", 0}, {"character", 0}}));
  EXPECT_NE(d[0]["message"].get<std::string>().find("Morsalo_Torvia_linea.txt"), std::string::npos);

  // Its line text on disk, not open: read from there. A line too short for
  // the train's stations gives the train text an error.
  prova::scrivi_file(b.linea, prova::modificato(prova::testo_linea_incorporato(),
                                                {{"lunghezza percorso,    62000", "lunghezza percorso,    20000"}}));
  b.notifica("textDocument/didSave", json{{"textDocument", {{"uri", uri_del_percorso(b.treno)}}}});
  d = b.diagnostiche(b.treno);
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d.back()["severity"], 1) << testo_json(d);

  // Opened, the line text's buffer counts, not the file.
  b.apri(b.linea, prova::testo_linea_incorporato());
  EXPECT_EQ(b.diagnostiche(b.treno), json::array());
  EXPECT_EQ(b.diagnostiche(b.linea), json::array());

  // Closed: the file on disk counts again, and its messages are those of
  // the file, without a version.
  prova::scrivi_file(b.linea, prova::modificato(prova::testo_linea_incorporato(),
                                                {{"pendenza,  16600", "pendenz,  16600"}}));
  b.notifica("textDocument/didClose", json{{"textDocument", {{"uri", uri_del_percorso(b.linea)}}}});
  d = b.diagnostiche(b.linea);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0]["code"], "record_sconosciuto");
  EXPECT_FALSE(b.inviati.back()["params"].contains("version"));
  EXPECT_EQ(b.diagnostiche(b.treno), json::array());

  // The last open text of the pair closed: nothing stays.
  b.notifica("textDocument/didClose", json{{"textDocument", {{"uri", uri_del_percorso(b.treno)}}}});
  EXPECT_EQ(b.diagnostiche(b.linea), json::array());
  EXPECT_EQ(b.diagnostiche(b.treno), json::array());
}

TEST(LspServizio, ALineTextAloneIsCheckedAlone) {
  banco_lsp b;
  b.apri(b.linea, prova::testo_linea_incorporato());
  EXPECT_EQ(b.diagnostiche(b.linea), json::array());
  b.cambia(b.linea, json{{"range", {{"start", {{"line", 30}, {"character", 0}}}, {"end", {{"line", 30}, {"character", 8}}}}},
                         {"text", "pendenz"}});
  const json d = b.diagnostiche(b.linea);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0]["code"], "record_sconosciuto");
  EXPECT_EQ(d[0]["range"]["start"], (json{{"line", 30}, {"character", 0}}));
}

TEST(LspServizio, TheFirstTrainTextByNamePairs) {
  prova::cartella_temporanea t;
  const std::string l = t.scrivi("X_linea.txt", "");
  t.scrivi("X_C-.txt", "");
  t.scrivi("X_B-.txt", "");
  t.scrivi("X_A_B-.txt", "");  // the train text of a scenario X_A
  t.scrivi("Y_A-.txt", "");
  documenti_aperti aperti;
  EXPECT_EQ(coppia_del_file(l, aperti).treno, t / "X_B-.txt");
  // An open text counts as one beside it, on disk or not.
  const std::string a = t / "X_0-.txt";
  aperti[uri_del_percorso(a)] = documento_aperto{uri_del_percorso(a), a, "", 1};
  EXPECT_EQ(coppia_del_file(l, aperti).treno, a);
  EXPECT_EQ(coppia_del_file(t / "X_C-.txt", aperti).linea, l);
  EXPECT_EQ(coppia_del_file(t / "Y_A-.txt", aperti).linea, "");
  EXPECT_EQ(coppia_del_file(t / "X_A_B-.txt", aperti).linea, "");
}

TEST(LspServizio, Utf8ColumnsWhenTheClientOffersThem) {
  banco_lsp b(json{{"general", {{"positionEncodings", json::array({"utf-8", "utf-16"})}}}});
  EXPECT_EQ(b.inviati.front()["result"]["capabilities"]["positionEncoding"], "utf-8");
  b.apri(b.linea, prova::testo_linea_incorporato());
  // "(PONTÈ" and then a character Windows-1252 lacks: its column counts the
  // two bytes of "È".
  const std::string riga = "cartello_indicatore,  450,   (PONT\xC3\x88\xE2\x86\x92)";
  b.cambia(b.linea, json{{"range", {{"start", {{"line", 50}, {"character", 0}}}, {"end", {{"line", 50}, {"character", 56}}}}},
                         {"text", riga}});
  const json d = b.diagnostiche(b.linea);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0]["range"]["start"], (json{{"line", 50}, {"character", 36}}));
  EXPECT_EQ(d[0]["range"]["end"], (json{{"line", 50}, {"character", 39}}));
  EXPECT_NE(d[0]["message"].get<std::string>().find("(U+2192) has no Windows-1252 byte"), std::string::npos);
}

TEST(LspServizio, LifecycleAndBadRequests) {
  servizio_lsp s;
  std::vector<json> inviati;
  s.invia = [&](const std::string& corpo) { inviati.push_back(json::parse(corpo)); };
  gestisci_messaggio(s, R"({"jsonrpc":"2.0","id":1,"method":"shutdown"})");
  EXPECT_EQ(inviati.back()["error"]["code"], -32002);
  gestisci_messaggio(s, R"({"jsonrpc":"2.0","id":2,"method":"initialize","params":{}})");
  EXPECT_TRUE(inviati.back()["result"]["capabilities"]["hoverProvider"]);
  const struct {
    const char* messaggio;
    int codice;
  } casi[] = {
      {"{", -32700},
      {"[]", -32600},
      {R"({"jsonrpc":"1.0","id":3,"method":"x"})", -32600},
      {R"({"jsonrpc":"2.0","id":[3],"method":"x"})", -32600},
      {R"({"jsonrpc":5,"id":3,"method":"x"})", -32600},
      {R"({"jsonrpc":"2.0","id":3,"method":5})", -32600},
      {R"({"id":3,"method":"x"})", -32600},
      {R"({"jsonrpc":"2.0","id":3,"method":"textDocument/completion","params":"x"})", -32602},
      {R"({"jsonrpc":"2.0","id":3,"method":"textDocument/codeAction","params":{"textDocument":{"uri":5}}})", -32602},
      {R"({"jsonrpc":"2.0","id":4,"result":null})", -32600},
      {R"({"jsonrpc":"2.0","id":5,"method":"workspace/frob"})", -32601},
      {R"({"jsonrpc":"2.0","id":6,"method":"textDocument/hover","params":{"textDocument":7}})", -32602},
      {R"({"jsonrpc":"2.0","id":7,"method":"initialize","params":{}})", -32600},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.messaggio);
    inviati.clear();
    gestisci_messaggio(s, c.messaggio);
    ASSERT_EQ(inviati.size(), 1u);
    EXPECT_EQ(inviati[0]["error"]["code"], c.codice);
  }
  inviati.clear();
  gestisci_messaggio(s, R"({"jsonrpc":"2.0","method":"$/setTrace","params":{}})");
  gestisci_messaggio(s, R"({"jsonrpc":"2.0","method":"textDocument/didClose","params":{"textDocument":{"uri":"file:///x"}}})");
  EXPECT_TRUE(inviati.empty());
  EXPECT_EQ(stato_di_uscita(s), 1);
  gestisci_messaggio(s, R"({"jsonrpc":"2.0","id":8,"method":"shutdown"})");
  EXPECT_TRUE(inviati.back()["result"].is_null());
  gestisci_messaggio(s, R"({"jsonrpc":"2.0","method":"exit"})");
  EXPECT_TRUE(s.finito);
  EXPECT_EQ(stato_di_uscita(s), 0);
}

}  // namespace
