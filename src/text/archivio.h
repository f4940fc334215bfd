#ifndef SCENARIO_TEXT_ARCHIVIO_H
#define SCENARIO_TEXT_ARCHIVIO_H

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// Takes the next piece of a file's bytes.
using emettitore = std::function<void(std::string_view pezzo)>;
// Produces the bytes of a file, in order, by handing them piece by piece to
// the emettitore it is given.
using produttore = std::function<void(const emettitore&)>;

// The folder the program reads and writes its files in. File names are
// Windows-1252 bytes, as the model holds them. Failures throw
// errore_esecuzione with a message naming the file and the reason.
class archivio {
 public:
  virtual ~archivio() = default;
  virtual bool esiste(const std::string& nome) const = 0;
  // The whole content of a file.
  virtual std::string leggi(const std::string& nome) const = 0;
  // Replaces the file with exactly these bytes. A failure half-way never
  // leaves a truncated file where a complete one was.
  virtual void scrivi(const std::string& nome, std::string_view byte) = 0;
  // Replaces the file with the bytes that `produci` hands over, so that a big
  // file never has to be held whole in memory; `dimensione` is their total
  // (a hint). With the same guarantee as scrivi: when `produci` throws, the
  // older file stays as it was. This one gathers the pieces and calls scrivi.
  virtual void scrivi_a_pezzi(const std::string& nome, size_t dimensione, const produttore& produci);
  // Removes the file; a file that is not there is not an error.
  virtual void cancella(const std::string& nome) = 0;
};

// How a whole-file read ended.
enum class esito_lettura { letto, non_aperto, troppo_grande, errore_lettura };

// Reads the whole file at `p` into `dati`, stopping past `massimo` bytes
// (pipes and devices are read too); after a failure `numero` holds the
// system's error number.
esito_lettura leggi_file_intero(const std::filesystem::path& p, size_t massimo, std::string& dati, int& numero);

// Files of a folder on disk. A file is written to a temporary file beside it
// and then takes the place of the old one.
class archivio_disco : public archivio {
 public:
  explicit archivio_disco(std::filesystem::path cartella);
  bool esiste(const std::string& nome) const override;
  std::string leggi(const std::string& nome) const override;
  void scrivi(const std::string& nome, std::string_view byte) override;
  // Writes each piece as it comes.
  void scrivi_a_pezzi(const std::string& nome, size_t dimensione, const produttore& produci) override;
  void cancella(const std::string& nome) override;

  std::filesystem::path percorso(const std::string& nome) const;
  const std::filesystem::path& cartella() const { return cartella_; }

 private:
  std::filesystem::path cartella_;
};

// Files held in memory: for tests, fuzzing and private copies of texts.
class archivio_memoria : public archivio {
 public:
  bool esiste(const std::string& nome) const override;
  std::string leggi(const std::string& nome) const override;
  void scrivi(const std::string& nome, std::string_view byte) override;
  void scrivi_a_pezzi(const std::string& nome, size_t dimensione, const produttore& produci) override;
  void cancella(const std::string& nome) override;

  std::map<std::string, std::string> file;
};

#endif
