#ifndef SCENARIO_TOOLS_INIT_H
#define SCENARIO_TOOLS_INIT_H

#include <ostream>
#include <string>
#include <vector>

// `scenario init DIR [--example NAME] [--force]`: writes a starter's line text
// and train text into DIR (created when missing), as a start for an author's
// own scenario; the built-in texts unless --example names another starter.
// An existing file is replaced only with --force; without it nothing is
// written. `scenario init --list` names the starters. `argomenti` are the
// words after "init". Returns the exit status: 0 done, 2 usage error or a
// file that cannot be written.
int comando_init(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

// The help of the subcommand.
extern const char* const aiuto_init;

#endif
