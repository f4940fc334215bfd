#ifndef SCENARIO_TOOLS_COMANDI_H
#define SCENARIO_TOOLS_COMANDI_H

#include <ostream>

// Runs the tool with its command line; returns the exit status.
int esegui_scenario(int argc, char** argv);

// The same, printing to the streams given: subcommands that print through
// them can be run from tests.
int esegui_scenario(int argc, char** argv, std::ostream& out, std::ostream& err);

#endif
