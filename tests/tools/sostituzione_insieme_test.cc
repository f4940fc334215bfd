#include "scenario/sostituzione_insieme.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tools/aiuti_prova.h"

namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::leggi_file;

const std::vector<std::string> nomi = {"Morsalo_Torvia_linea.dat", "Morsalo_Torvia_R20417.sim",
                                       "Morsalo_Torvia_R20417.dat"};

std::map<std::string, std::string> contenuto(const fs::path& cartella) {
  std::map<std::string, std::string> f;
  for (const auto& e : fs::directory_iterator(cartella)) f[e.path().filename().string()] = leggi_file(e.path());
  return f;
}

std::vector<file_insieme> insieme(const std::vector<std::string>& byte) {
  std::vector<file_insieme> v;
  for (size_t i = 0; i < nomi.size(); ++i) v.push_back(file_di_byte(nomi[i], byte[i]));
  return v;
}

const std::vector<std::string> nuovi = {"nuova linea", std::string("nuovo sim\0\r\n", 12), "nuovo dat"};

TEST(SostituzioneInsieme, PutsTheWholeSetInPlaceAndLeavesNoTemporary) {
  cartella_temporanea t;
  archivio_disco disco(t.percorso());
  t.scrivi(nomi[1], "vecchio sim");
  EXPECT_EQ(sostituisci_insieme(disco, insieme(nuovi)), "");
  const std::map<std::string, std::string> atteso = {{nomi[0], nuovi[0]}, {nomi[1], nuovi[1]}, {nomi[2], nuovi[2]}};
  EXPECT_EQ(contenuto(t.percorso()), atteso);
}

// Whichever replacement fails, the folder holds the earlier set byte for byte:
// the files already replaced get their old bytes back, a file that was not
// there before is gone again, and no temporary or copy is left.
TEST(SostituzioneInsieme, AFailedReplacementPutsBackTheFilesAlreadyReplaced) {
  for (int fallita = 0; fallita < 3; ++fallita) {
    for (bool tutti_presenti : {true, false}) {
      SCOPED_TRACE("replacement " + std::to_string(fallita) + (tutti_presenti ? ", all old" : ", no old .dat"));
      cartella_temporanea t;
      archivio_disco disco(t.percorso());
      t.scrivi(nomi[0], std::string("vecchia linea\0\xff", 15));
      t.scrivi(nomi[1], "vecchio sim");
      if (tutti_presenti) t.scrivi(nomi[2], "vecchio dat");
      const std::map<std::string, std::string> prima = contenuto(t.percorso());

      const std::string perche = sostituisci_insieme(disco, insieme(nuovi), fallita);
      EXPECT_NE(perche.find(prova::unisci(t.percorso().string(), nomi[fallita])), std::string::npos) << perche;
      EXPECT_NE(perche.find("No file was replaced."), std::string::npos) << perche;
      EXPECT_EQ(contenuto(t.percorso()), prima);
    }
  }
}

TEST(SostituzioneInsieme, AFileThatCannotBeWrittenReplacesNothing) {
  cartella_temporanea t;
  archivio_disco disco(t.percorso());
  t.scrivi(nomi[0], "vecchia linea");
  // The temporary of the .dat cannot be made: a folder holds its name.
  fs::create_directory(t.percorso() / (nomi[2] + ".part"));
  const std::string perche = sostituisci_insieme(disco, insieme(nuovi));
  EXPECT_EQ(perche.rfind("cannot write " + prova::unisci(t.percorso().string(), nomi[2]) + ": ", 0), 0u) << perche;
  EXPECT_NE(perche.find("No file was replaced."), std::string::npos);
  EXPECT_EQ(leggi_file(t.percorso() / nomi[0]), "vecchia linea");
  EXPECT_FALSE(fs::exists(t.percorso() / nomi[1]));
  EXPECT_FALSE(fs::exists(t.percorso() / (nomi[0] + ".part")));
}

}  // namespace
