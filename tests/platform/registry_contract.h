#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "platform/registry.h"

namespace tarnwell {

// In-memory or Windows' registry, cleaned up at its last reference; tests stay below kContractKey.
struct RegistryKind {
  std::string name;
  bool windows64;
  std::function<std::shared_ptr<Registry>()> make;
};

class RegistryContract : public testing::TestWithParam<RegistryKind> {
 protected:
  std::shared_ptr<Registry> owned_ = GetParam().make();
  Registry& registry() { return *owned_; }
  bool windows64() const { return GetParam().windows64; }
};

inline std::string RegistryKindName(const testing::TestParamInfo<RegistryKind>& info) {
  return info.param.name;
}

inline constexpr const char* kContractKey = "Software\\TarnwellContract";

}  // namespace tarnwell
