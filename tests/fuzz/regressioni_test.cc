#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "prove.h"

namespace fs = std::filesystem;

namespace {

// Every input the fuzzers ever broke the program with, and the seeds, run
// again through the same bodies: a crash or an abort fails the test program.
void ripeti(const char* cartella, void (*prova)(const uint8_t*, size_t)) {
  int quanti = 0;
  for (const char* radice : {"regressions", "corpus"}) {
    const fs::path d = fs::path(SCENARIO_FUZZ_DIR) / radice / cartella;
    if (!fs::exists(d)) continue;
    for (const auto& voce : fs::directory_iterator(d)) {
      std::ifstream f(voce.path(), std::ios::binary);
      const std::string dati((std::istreambuf_iterator<char>(f)), {});
      SCOPED_TRACE(voce.path().string());
      prova(reinterpret_cast<const uint8_t*>(dati.data()), dati.size());
      ++quanti;
    }
  }
  EXPECT_GT(quanti, 0);
}

TEST(Regressioni, FieldReaderInputs) { ripeti("lettore", prova_lettore); }

TEST(Regressioni, CompileInputs) { ripeti("compilazione", prova_compilazione); }

TEST(Regressioni, CompiledFileInputs) { ripeti("file_compilati", prova_file_compilati); }

TEST(Regressioni, LanguageServerMessageInputs) { ripeti("lsp_lettore", prova_lsp_lettore); }

TEST(Regressioni, LanguageServerSessionInputs) { ripeti("lsp_servizio", prova_lsp_servizio); }

}  // namespace
