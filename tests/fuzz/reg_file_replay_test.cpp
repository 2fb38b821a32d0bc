// The registry-file fuzz target's saved inputs, replayed: each keeps the round-trip promise,
// and the hand-made ones are judged as named, "valid-" accepted and "broken-" refused.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "fuzz/reg_file_round_trip.h"

namespace tarnwell::fuzz {
namespace {

TEST(RegFileCorpus, EveryInputRoundTripsAndIsJudgedAsNamed) {
  std::size_t judged = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARNWELL_REG_FILE_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(std::nullopt, RoundTripFault(bytes)) << name;
    if (name.starts_with("valid-") || name.starts_with("broken-")) {
      EXPECT_EQ(name.starts_with("valid-"), ReadRegFile(bytes).index() == 0) << name;
      ++judged;
    }
  }
  EXPECT_GE(judged, 10u);
}

}  // namespace
}  // namespace tarnwell::fuzz
