#ifndef SCENARIO_TESTS_FILE_PROVA_H
#define SCENARIO_TESTS_FILE_PROVA_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace prova {

// The whole of a file the test expects to exist.
inline std::string leggi_file(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  EXPECT_TRUE(f.good()) << p;
  return std::string(std::istreambuf_iterator<char>(f), {});
}

}  // namespace prova

#endif
