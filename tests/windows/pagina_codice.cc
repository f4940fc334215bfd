// For the check of the authors' tool: prints the console's input and output
// code pages as "cp=IN OUT", so that a batch file can show them before and
// after a run of the tool. Prints "cp=none" when there is no console.
#include <windows.h>

#include <cstdio>

int main() {
  const UINT in = GetConsoleCP();
  const UINT out = GetConsoleOutputCP();
  if (in == 0 && out == 0) {
    std::printf("cp=none\n");
  } else {
    std::printf("cp=%u %u\n", in, out);
  }
  return 0;
}
