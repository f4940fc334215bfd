#ifndef SCENARIO_TOOLS_SORVEGLIANZA_H
#define SCENARIO_TOOLS_SORVEGLIANZA_H

// The watch loop: waits for saves of a few files and runs a compile once
// each save has settled. It watches the folders that hold the files, not the
// files themselves, because editors replace files: it sees a file written in
// place, truncated and written in pieces, written to a temporary file and
// renamed over, or deleted and created again. A burst of changes gives one
// compile, once nothing has changed for the settle time. A file missing for
// a moment is said once, and watched for until it comes back.
//
// Change notification comes from the platform (inotify on Linux,
// ReadDirectoryChangesW on Windows); where there is none, or it cannot be
// had for a folder, a small polling fallback looks at the files' sizes and
// times instead.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Where changes come from: the notifications of the folders of `file`, or
// the polling fallback.
class notifiche_cartelle {
 public:
  virtual ~notifiche_cartelle() = default;
  // Waits at most `attesa` for a change to one of the files; true when one
  // came (all changes that came are taken).
  virtual bool attendi(std::chrono::milliseconds attesa) = 0;
  // "inotify", "ReadDirectoryChangesW" or "polling".
  virtual const char* genere() const = 0;
};

// The platform's notification for the folders of `file`; the polling
// fallback when the platform has none or refuses it (or `solo_scansione`).
std::unique_ptr<notifiche_cartelle> apri_notifiche(const std::vector<std::filesystem::path>& file,
                                                   bool solo_scansione = false);

// The polling fallback on its own: sizes and times of the files, looked at
// every `passo`.
std::unique_ptr<notifiche_cartelle> apri_scansione(const std::vector<std::filesystem::path>& file,
                                                   std::chrono::milliseconds passo);

struct opzioni_sorveglianza {
  std::vector<std::filesystem::path> file;                // the files whose saves are waited for
  std::vector<std::string> nomi;                          // as the messages name them, one a file
  std::chrono::milliseconds assestamento{30};             // quiet time before a save is read
  std::chrono::milliseconds passo_controllo{50};          // how often `fermo` is looked at
  bool solo_scansione = false;                            // the polling fallback, even where there is better
};

// Runs `compila` once at the start, then once after each settled save of the
// files, until `fermo` turns true (a Ctrl-C). Says on `err` when a file is
// missing (once, until it is back). Returns when stopped.
void sorveglia(const opzioni_sorveglianza& o, const std::function<void()>& compila, const std::atomic<bool>& fermo,
               std::ostream& err);

// Turns `fermo` true on Ctrl-C (SIGINT; the console's Ctrl-C or Ctrl-Break
// on Windows) for as long as it lives; the earlier handling comes back
// after.
class fermo_su_interruzione {
 public:
  explicit fermo_su_interruzione(std::atomic<bool>& fermo);
  ~fermo_su_interruzione();
  fermo_su_interruzione(const fermo_su_interruzione&) = delete;
  fermo_su_interruzione& operator=(const fermo_su_interruzione&) = delete;
};

#endif
