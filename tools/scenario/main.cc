// The authors' tool: compile your own texts, inspect compiled files, draw the line.
#include "scenario/comandi.h"

int main(int argc, char** argv) { return esegui_scenario(argc, argv); }
