#include "run/aggancio.h"

void prima_della_compilazione(modello&, archivio&) {}
