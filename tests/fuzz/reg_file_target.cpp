// libFuzzer's entry for registry files: any bytes are read without a crash or a sanitizer
// report, and what is accepted survives being written and read again.
#include <cstdio>
#include <cstdlib>

#include "fuzz/reg_file_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (const auto fault = tarnwell::fuzz::RoundTripFault({data, size})) {
    std::fprintf(stderr, "broken: %s\n", fault->c_str());
    std::abort();
  }
  return 0;
}
