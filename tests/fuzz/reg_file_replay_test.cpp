// The registry-file fuzz target's saved inputs, replayed: hand-made valid and broken files
// and anything the fuzzer saved. Each keeps the round-trip promise; a "valid-" file is
// accepted and a "broken-" one refused.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "fuzz/reg_file_round_trip.h"

namespace tarnwell::fuzz {
namespace {

TEST(RegFileCorpus, EveryInputRoundTripsAndIsJudgedAsNamed) {
  std::size_t valid = 0, broken = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARNWELL_REG_FILE_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    const std::string name = entry.path().filename().string();
    const RoundTrip result = CheckRoundTrip(bytes);
    EXPECT_EQ(std::nullopt, result.broken) << name;
    if (name.starts_with("valid-")) {
      EXPECT_TRUE(result.accepted) << name;
      ++valid;
    } else if (name.starts_with("broken-")) {
      EXPECT_FALSE(result.accepted) << name;
      ++broken;
    }
  }
  EXPECT_GE(valid, 4u);
  EXPECT_GE(broken, 4u);
}

}  // namespace
}  // namespace tarnwell::fuzz
