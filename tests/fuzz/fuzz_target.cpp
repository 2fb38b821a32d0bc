// libFuzzer's entry; a broken promise aborts, so that the input is saved as for a crash.
#include <cstdio>
#include <cstdlib>

#include "fuzz/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#ifdef TARNWELL_REG_FILE_TARGET
  const auto broken = tarnwell::fuzz::RoundTripFaults({data, size});
#else
  const auto broken = tarnwell::fuzz::Violations(tarnwell::fuzz::RunSession({data, size}));
#endif
  for (const std::string& fault : broken) {
    std::fprintf(stderr, "broken: %s\n", fault.c_str());
  }
  return broken.empty() ? 0 : (std::abort(), 0);
}
