#ifndef SCENARIO_MODEL_ERRORE_ESECUZIONE_H
#define SCENARIO_MODEL_ERRORE_ESECUZIONE_H

#include <stdexcept>
#include <string>

// The one exception type of the core: a run-time failure (a value outside its
// width, an index outside its array, a field that cannot be read, a file that
// cannot be read or written). Inside the compile of the texts it becomes error
// 25; elsewhere it ends the run with its message.
class errore_esecuzione : public std::runtime_error {
 public:
  explicit errore_esecuzione(const std::string& messaggio)
      : std::runtime_error(messaggio) {}
};

#endif
