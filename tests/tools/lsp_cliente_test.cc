// The language server run as an editor runs it: the scripted client of
// tests/tools/lsp_cliente.py against the built program, over pipes.
#include <gtest/gtest.h>

#if defined(SCENARIO_EXE) && !defined(_WIN32)

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tools/aiuti_prova.h"

namespace {

TEST(LspCliente, ScriptedEditorSession) {
  prova::cartella_temporanea t;
  const std::string script = std::string(SCENARIO_GOLDEN_DIR) + "/../tools/lsp_cliente.py";
  const std::string comando = "python3 '" + script + "' '" + std::string(t / "lavoro") + "' -- '" SCENARIO_EXE "' >'" +
                              std::string(t / "esito") + "' 2>&1";
  const int r = std::system(comando.c_str());
  const std::string esito = prova::leggi_file(t / "esito");
  EXPECT_TRUE(WIFEXITED(r) && WEXITSTATUS(r) == 0) << esito;
  EXPECT_EQ(esito.find("FAILED"), std::string::npos) << esito;
  EXPECT_NE(esito.find("exit after shutdown: status 0"), std::string::npos) << esito;
}

}  // namespace

#endif
