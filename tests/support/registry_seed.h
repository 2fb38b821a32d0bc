#pragma once

#include <string>
#include <string_view>

#include "fakes/memory_registry.h"

namespace tarnwell {

// A key below Software in the branch a 32-bit program sees (Wow6432Node on 64-bit Windows).
inline std::string NativeMachinePath(const MemoryRegistry& registry,
                                     std::string_view below_software) {
  const bool split = registry.WindowsBitness() == MemoryRegistry::Windows::Bits64;
  return (split ? "Software\\Wow6432Node\\" : "Software\\") + std::string(below_software);
}

inline std::string OutlookKey(std::string_view major) {
  return "Microsoft\\Office\\" + std::string(major) + ".0\\Outlook";
}

inline MemoryRegistry::KeyRef SeedNativeOutlook(MemoryRegistry& registry, std::string_view major) {
  return registry.Key(Root::LocalMachine, NativeMachinePath(registry, OutlookKey(major)));
}

inline MemoryRegistry::KeyRef Seed64BitOutlook(MemoryRegistry& registry, std::string_view major) {
  return registry.Key(Root::LocalMachine, "Software\\" + OutlookKey(major));
}

inline void SeedProcessorArchitecture(MemoryRegistry& registry, std::string_view architecture) {
  registry
      .Key(Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment")
      .String("PROCESSOR_ARCHITECTURE", architecture);
}

inline void SeedProductName(MemoryRegistry& registry, std::string_view product) {
  registry.Key(Root::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion")
      .String("ProductName", product);
}

}  // namespace tarnwell
