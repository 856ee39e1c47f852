// The seed and the number of inputs of a test that draws random or mutated
// input. Both are fixed, so that every run on every machine tries the same
// inputs; LV_TEST_SEED and LV_TEST_COUNT change them for a longer run by
// hand. SeedNote goes into a SCOPED_TRACE, so a failure says how to repeat it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

namespace lvtest {

inline std::uint32_t Seed(std::uint32_t fixed) {
  const char* text = std::getenv("LV_TEST_SEED");
  return text && *text ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 0)) : fixed;
}

inline int Count(int fixed) {
  const char* text = std::getenv("LV_TEST_COUNT");
  const long n = text && *text ? std::strtol(text, nullptr, 0) : 0;
  return n > 0 && n <= 100000000 ? static_cast<int>(n) : fixed;
}

inline std::string SeedNote(std::uint32_t seed, int count) {
  return "seed " + std::to_string(seed) + ", " + std::to_string(count) +
         " inputs (LV_TEST_SEED=" + std::to_string(seed) +
         " LV_TEST_COUNT=" + std::to_string(count) + " repeat them)";
}

}  // namespace lvtest
