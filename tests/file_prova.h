#ifndef SCENARIO_TESTS_FILE_PROVA_H
#define SCENARIO_TESTS_FILE_PROVA_H

#include <gtest/gtest.h>

#include <cstdio>
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

// Two byte strings compared byte for byte; a difference is reported with its
// offset, the bytes on each side there and both sizes.
inline ::testing::AssertionResult stessi_byte(const std::string& avuti, const std::string& attesi) {
  if (avuti == attesi) return ::testing::AssertionSuccess();
  size_t i = 0;
  while (i < avuti.size() && i < attesi.size() && avuti[i] == attesi[i]) ++i;
  auto byte_a = [](const std::string& s, size_t k) {
    if (k >= s.size()) return std::string("end of file");
    char b[8];
    std::snprintf(b, sizeof b, "0x%02x", static_cast<unsigned char>(s[k]));
    return std::string(b);
  };
  return ::testing::AssertionFailure() << "first difference at byte " << i << ": " << byte_a(avuti, i)
                                       << " instead of " << byte_a(attesi, i) << " (sizes " << avuti.size()
                                       << " and " << attesi.size() << " expected)";
}

// A file's bytes against a golden file of the tests.
inline ::testing::AssertionResult come_il_golden(const std::string& avuti, const std::filesystem::path& golden) {
  return stessi_byte(avuti, leggi_file(golden));
}

}  // namespace prova

#endif
