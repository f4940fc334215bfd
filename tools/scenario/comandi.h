#ifndef SCENARIO_TOOLS_COMANDI_H
#define SCENARIO_TOOLS_COMANDI_H

// Runs the tool with its command line; returns the exit status.
int esegui_scenario(int argc, char** argv);

#endif
