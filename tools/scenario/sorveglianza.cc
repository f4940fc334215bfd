#include "scenario/sorveglianza.h"

#include <algorithm>
#include <csignal>
#include <map>
#include <set>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#elif defined(__linux__)
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using orologio = std::chrono::steady_clock;

namespace {

// A folder and the names of the watched files in it.
std::map<fs::path, std::set<fs::path>> per_cartella(const std::vector<fs::path>& file) {
  std::map<fs::path, std::set<fs::path>> c;
  for (const fs::path& f : file) {
    const fs::path assoluto = fs::absolute(f);
    c[assoluto.parent_path()].insert(assoluto.filename());
  }
  return c;
}

// ---- The polling fallback ----------------------------------------------------

// What a look at a file sees: whether it is there, its size and its time.
struct firma_file {
  bool esiste = false;
  std::uintmax_t dimensione = 0;
  fs::file_time_type ora{};
  bool operator==(const firma_file&) const = default;
};

firma_file firma_di(const fs::path& p) {
  std::error_code ec;
  firma_file f;
  const fs::file_status s = fs::status(p, ec);
  if (ec || !fs::exists(s)) return f;
  f.esiste = true;
  f.dimensione = fs::is_regular_file(s) ? fs::file_size(p, ec) : 0;
  f.ora = fs::last_write_time(p, ec);
  return f;
}

class scansione : public notifiche_cartelle {
 public:
  scansione(std::vector<fs::path> file, milliseconds passo) : file_(std::move(file)), passo_(passo) {
    for (const fs::path& f : file_) firme_.push_back(firma_di(f));
  }

  bool attendi(milliseconds attesa) override {
    const auto fine = orologio::now() + attesa;
    for (;;) {
      bool cambiato = false;
      for (size_t i = 0; i < file_.size(); ++i) {
        firma_file f = firma_di(file_[i]);
        if (!(f == firme_[i])) {
          firme_[i] = f;
          cambiato = true;
        }
      }
      if (cambiato) return true;
      const auto ora = orologio::now();
      if (ora >= fine) return false;
      std::this_thread::sleep_for(std::min<orologio::duration>(passo_, fine - ora));
    }
  }

  const char* genere() const override { return "polling"; }

 private:
  std::vector<fs::path> file_;
  milliseconds passo_;
  std::vector<firma_file> firme_;
};

// ---- inotify -------------------------------------------------------------------

#if defined(__linux__)
class notifiche_inotify : public notifiche_cartelle {
 public:
  static std::unique_ptr<notifiche_inotify> apri(const std::vector<fs::path>& file) {
    std::unique_ptr<notifiche_inotify> n(new notifiche_inotify);
    n->fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (n->fd_ < 0) return nullptr;
    for (const auto& [cartella, nomi] : per_cartella(file)) {
      const int wd = inotify_add_watch(n->fd_, cartella.c_str(),
                                       IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                           IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF);
      if (wd < 0) return nullptr;
      for (const fs::path& nome : nomi) n->nomi_[wd].insert(nome.string());
    }
    return n;
  }

  ~notifiche_inotify() override {
    if (fd_ >= 0) close(fd_);
  }

  bool attendi(milliseconds attesa) override {
    const auto fine = orologio::now() + attesa;
    for (;;) {
      const auto resto = std::chrono::duration_cast<milliseconds>(fine - orologio::now());
      pollfd p{fd_, POLLIN, 0};
      const int pronti = poll(&p, 1, static_cast<int>(std::max<milliseconds::rep>(resto.count(), 0)));
      if (pronti > 0 && leggi_eventi()) return true;
      if (orologio::now() >= fine) return false;
      if (pronti < 0) std::this_thread::sleep_for(milliseconds(1));  // a signal came: look again
    }
  }

  const char* genere() const override { return "inotify"; }

 private:
  notifiche_inotify() = default;

  // Takes every event waiting; true when one concerns a watched file (or
  // when events were lost, or a folder went away).
  bool leggi_eventi() {
    alignas(inotify_event) char blocco[16384];
    bool cambiato = false;
    for (;;) {
      const ssize_t letti = read(fd_, blocco, sizeof blocco);
      if (letti <= 0) return cambiato;
      for (ssize_t i = 0; i < letti;) {
        const auto* e = reinterpret_cast<const inotify_event*>(blocco + i);
        i += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        if (e->mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
          cambiato = true;
          continue;
        }
        auto it = nomi_.find(e->wd);
        if (it != nomi_.end() && e->len > 0 && it->second.count(e->name)) cambiato = true;
      }
    }
  }

  int fd_ = -1;
  std::map<int, std::set<std::string>> nomi_;
};
#endif

// ---- ReadDirectoryChangesW ---------------------------------------------------------

#ifdef _WIN32
std::wstring minuscole(std::wstring s) {
  if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

class notifiche_windows : public notifiche_cartelle {
 public:
  static std::unique_ptr<notifiche_windows> apri(const std::vector<fs::path>& file) {
    std::unique_ptr<notifiche_windows> n(new notifiche_windows);
    for (const auto& [cartella, nomi] : per_cartella(file)) {
      auto c = std::make_unique<cartella_osservata>();
      c->maniglia = CreateFileW(cartella.c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
      if (c->maniglia == INVALID_HANDLE_VALUE) return nullptr;
      c->sovrapposto.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
      if (!c->sovrapposto.hEvent) return nullptr;
      for (const fs::path& nome : nomi) c->nomi.insert(minuscole(nome.wstring()));
      if (!c->chiedi()) return nullptr;
      n->cartelle_.push_back(std::move(c));
    }
    return n;
  }

  bool attendi(milliseconds attesa) override {
    const auto fine = orologio::now() + attesa;
    std::vector<HANDLE> eventi;
    for (const auto& c : cartelle_) eventi.push_back(c->sovrapposto.hEvent);
    for (;;) {
      const auto resto = std::chrono::duration_cast<milliseconds>(fine - orologio::now());
      const DWORD r = WaitForMultipleObjects(static_cast<DWORD>(eventi.size()), eventi.data(), FALSE,
                                             static_cast<DWORD>(std::max<milliseconds::rep>(resto.count(), 0)));
      if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + eventi.size()) {
        if (cartelle_[r - WAIT_OBJECT_0]->prendi()) return true;
      } else if (r == WAIT_FAILED) {
        std::this_thread::sleep_for(milliseconds(1));
      }
      if (orologio::now() >= fine) return false;
    }
  }

  const char* genere() const override { return "ReadDirectoryChangesW"; }

 private:
  struct cartella_osservata {
    HANDLE maniglia = INVALID_HANDLE_VALUE;
    OVERLAPPED sovrapposto{};
    alignas(DWORD) char blocco[16384];
    std::set<std::wstring> nomi;

    ~cartella_osservata() {
      if (maniglia != INVALID_HANDLE_VALUE) {
        CancelIoEx(maniglia, &sovrapposto);
        DWORD n = 0;
        GetOverlappedResult(maniglia, &sovrapposto, &n, TRUE);
        CloseHandle(maniglia);
      }
      if (sovrapposto.hEvent) CloseHandle(sovrapposto.hEvent);
    }

    bool chiedi() {
      ResetEvent(sovrapposto.hEvent);
      return ReadDirectoryChangesW(maniglia, blocco, sizeof blocco, FALSE,
                                   FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                       FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION,
                                   nullptr, &sovrapposto, nullptr) != 0;
    }

    // The changes that came; true when one concerns a watched file (or
    // when they were too many to be told).
    bool prendi() {
      DWORD byte = 0;
      const bool ok = GetOverlappedResult(maniglia, &sovrapposto, &byte, FALSE) != 0;
      bool cambiato = !ok || byte == 0;
      for (DWORD i = 0; ok && byte > 0;) {
        const auto* e = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(blocco + i);
        const std::wstring nome(e->FileName, e->FileNameLength / sizeof(WCHAR));
        if (nomi.count(minuscole(nome))) cambiato = true;
        if (e->NextEntryOffset == 0) break;
        i += e->NextEntryOffset;
      }
      chiedi();
      return cambiato;
    }
  };

  notifiche_windows() = default;
  std::vector<std::unique_ptr<cartella_osservata>> cartelle_;
};
#endif

// The flag a Ctrl-C turns: one for the process, as the signal is.
std::atomic<bool>* fermo_da_segnale = nullptr;

#ifdef _WIN32
BOOL WINAPI su_ctrl_c(DWORD tipo) {
  if ((tipo == CTRL_C_EVENT || tipo == CTRL_BREAK_EVENT) && fermo_da_segnale) {
    fermo_da_segnale->store(true);
    return TRUE;
  }
  return FALSE;
}
#else
void (*gestione_precedente)(int) = SIG_DFL;
extern "C" void su_sigint(int) {
  if (fermo_da_segnale) fermo_da_segnale->store(true);
}
#endif

}  // namespace

std::unique_ptr<notifiche_cartelle> apri_scansione(const std::vector<fs::path>& file, milliseconds passo) {
  return std::make_unique<scansione>(file, passo);
}

std::unique_ptr<notifiche_cartelle> apri_notifiche(const std::vector<fs::path>& file, bool solo_scansione) {
  if (!solo_scansione) {
#if defined(__linux__)
    if (auto n = notifiche_inotify::apri(file)) return n;
#elif defined(_WIN32)
    if (auto n = notifiche_windows::apri(file)) return n;
#endif
  }
  return apri_scansione(file, milliseconds(10));
}

void sorveglia(const opzioni_sorveglianza& o, const std::function<void()>& compila, const std::atomic<bool>& fermo,
               std::ostream& err) {
  // Watching starts before the first compile, so that a save during it is
  // not missed.
  std::unique_ptr<notifiche_cartelle> notifiche = apri_notifiche(o.file, o.solo_scansione);
  compila();
  std::vector<bool> detto_mancante(o.file.size(), false);
  while (!fermo.load()) {
    if (!notifiche->attendi(o.passo_controllo)) continue;
    // The save settles: every further change starts the quiet time again.
    while (!fermo.load() && notifiche->attendi(o.assestamento)) {
    }
    if (fermo.load()) break;
    bool manca = false;
    for (size_t i = 0; i < o.file.size(); ++i) {
      std::error_code ec;
      if (fs::exists(o.file[i], ec)) {
        detto_mancante[i] = false;
        continue;
      }
      manca = true;
      if (!detto_mancante[i]) {
        err << (i < o.nomi.size() ? o.nomi[i] : o.file[i].string())
            << ": missing; the next compile waits for it to come back" << std::endl;
        detto_mancante[i] = true;
      }
    }
    if (!manca) compila();
  }
}

fermo_su_interruzione::fermo_su_interruzione(std::atomic<bool>& fermo) {
  fermo_da_segnale = &fermo;
#ifdef _WIN32
  SetConsoleCtrlHandler(su_ctrl_c, TRUE);
#else
  gestione_precedente = std::signal(SIGINT, su_sigint);
#endif
}

fermo_su_interruzione::~fermo_su_interruzione() {
#ifdef _WIN32
  SetConsoleCtrlHandler(su_ctrl_c, FALSE);
#else
  std::signal(SIGINT, gestione_precedente);
#endif
  fermo_da_segnale = nullptr;
}
