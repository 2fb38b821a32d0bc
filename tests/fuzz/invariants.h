#pragma once

#include <string>
#include <vector>

#include "fuzz/session.h"

namespace tarnwell::fuzz {

// What must hold after any session, whatever the registry held and whichever calls failed;
// each broken rule is one line. Written from what the program promises its users, not from
// its code: it reads only what the session recorded and the machine's folders.
std::vector<std::string> Violations(const Run& run);

}  // namespace tarnwell::fuzz
