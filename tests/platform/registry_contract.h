#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "platform/registry.h"

namespace tarnwell {

// A registry for one contract test: the in-memory model, or Windows' own. Tests keep to keys
// below "Software\TarnwellContract" in both roots; a real registry removes them afterwards.
class RegistryUnderTest {
 public:
  virtual ~RegistryUnderTest() = default;
  virtual Registry& Get() = 0;
  virtual bool Windows64() const = 0;
};

struct RegistryKind {
  std::string name;
  std::function<std::unique_ptr<RegistryUnderTest>()> make;

  friend void PrintTo(const RegistryKind& kind, std::ostream* out) { *out << kind.name; }
};

class RegistryContract : public testing::TestWithParam<RegistryKind> {
 protected:
  void SetUp() override { under_test_ = GetParam().make(); }

  Registry& registry() { return under_test_->Get(); }
  bool windows64() const { return under_test_->Windows64(); }

 private:
  std::unique_ptr<RegistryUnderTest> under_test_;
};

inline std::string RegistryKindName(const testing::TestParamInfo<RegistryKind>& info) {
  return info.param.name;
}

inline constexpr const char* kContractKey = "Software\\TarnwellContract";

}  // namespace tarnwell
