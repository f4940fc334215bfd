/* Preloaded into the Wine server, which opens every file that a Windows
 * program under Wine opens: holds all of Wine still at the first file opened
 * for writing whose name ends in ".part" (the builder's first output file),
 * so that a screenshot can show what the program had on screen before it
 * wrote anything.
 *
 * SOSTA_CARTELLA names a folder of flags. The hold is armed by creating the
 * file "armata" there; at the hold it becomes "ferma", and Wine goes on when
 * "ferma" is removed, or after 60 s whatever happens. Without SOSTA_CARTELLA
 * nothing changes.
 *
 *   cc -shared -fPIC -o sosta_scrittura.so sosta_scrittura.c -ldl
 *   SOSTA_CARTELLA=... LD_PRELOAD=.../sosta_scrittura.so wineserver -p
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static void sosta_se_armata(const char* percorso, int flags) {
  const char* cartella = getenv("SOSTA_CARTELLA");
  if (!cartella || (flags & O_ACCMODE) == O_RDONLY) return;
  size_t n = strlen(percorso);
  if (n < 5 || strcmp(percorso + n - 5, ".part") != 0) return;

  char armata[4096], ferma[4096];
  snprintf(armata, sizeof armata, "%s/armata", cartella);
  snprintf(ferma, sizeof ferma, "%s/ferma", cartella);
  if (rename(armata, ferma) != 0) return;  /* not armed */

  struct timespec passo = {0, 20 * 1000 * 1000};
  struct stat s;
  for (int i = 0; i < 3000 && stat(ferma, &s) == 0; ++i) nanosleep(&passo, NULL);
}

static int apri(const char* nome, const char* percorso, int flags, va_list argomenti) {
  mode_t modo = 0;
  if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) modo = va_arg(argomenti, mode_t);
  sosta_se_armata(percorso, flags);
  int (*vero)(const char*, int, ...) = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, nome);
  return vero(percorso, flags, modo);
}

int open(const char* percorso, int flags, ...) {
  va_list a;
  va_start(a, flags);
  int fd = apri("open", percorso, flags, a);
  va_end(a);
  return fd;
}

int open64(const char* percorso, int flags, ...) {
  va_list a;
  va_start(a, flags);
  int fd = apri("open64", percorso, flags, a);
  va_end(a);
  return fd;
}
