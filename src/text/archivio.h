#ifndef SCENARIO_TEXT_ARCHIVIO_H
#define SCENARIO_TEXT_ARCHIVIO_H

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

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
  // Removes the file; a file that is not there is not an error.
  virtual void cancella(const std::string& nome) = 0;
};

// Files of a folder on disk. A file is written to a temporary file beside it
// and then renamed over the old one.
class archivio_disco : public archivio {
 public:
  explicit archivio_disco(std::filesystem::path cartella);
  bool esiste(const std::string& nome) const override;
  std::string leggi(const std::string& nome) const override;
  void scrivi(const std::string& nome, std::string_view byte) override;
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
  void cancella(const std::string& nome) override;

  std::map<std::string, std::string> file;
};

#endif
