#pragma once

#include "platform/processes.h"

namespace tarnwell {

class Win32Processes final : public Processes {
 public:
  std::optional<std::vector<Entry>> Running() override;
  Started Start(std::string_view command_line, std::uint32_t creation_flags) override;
};

}  // namespace tarnwell
