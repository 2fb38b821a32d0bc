// libFuzzer's entry: each input is a machine and a session; a broken promise stops the run
// with the input saved, as a crash or a sanitizer report does.
#include <cstdio>
#include <cstdlib>

#include "fuzz/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto violations = tarnwell::fuzz::Violations(tarnwell::fuzz::RunSession({data, size}));
  for (const std::string& violation : violations) {
    std::fprintf(stderr, "broken: %s\n", violation.c_str());
  }
  if (!violations.empty()) {
    std::abort();
  }
  return 0;
}
