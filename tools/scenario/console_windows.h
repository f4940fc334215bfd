#ifndef SCENARIO_TOOLS_CONSOLE_WINDOWS_H
#define SCENARIO_TOOLS_CONSOLE_WINDOWS_H

#ifdef _WIN32

#include <iosfwd>
#include <memory>
#include <streambuf>

// The tool's standard output and error on Windows. The console's code page is
// the author's and stays as it is: text to a console goes to it as UTF-16
// (WriteConsoleW), so accented names read right in any code page; output
// redirected to a file or a pipe stays the tool's UTF-8 bytes, with no mark.
class console_autore {
 public:
  // Sends std::cout and std::cerr to the console when they are one.
  console_autore();
  // Flushes what is pending and gives the streams their buffers back.
  ~console_autore();
  console_autore(const console_autore&) = delete;
  console_autore& operator=(const console_autore&) = delete;

 private:
  std::unique_ptr<std::streambuf> out_, err_;
  std::streambuf* vecchio_out_ = nullptr;
  std::streambuf* vecchio_err_ = nullptr;
};

// Whether the tool is the only program on its console: so it is when it was
// started by a double click, and its window closes as soon as it ends.
bool console_propria();

// Waits for a key on the console.
void attendi_tasto();

#endif

#endif
