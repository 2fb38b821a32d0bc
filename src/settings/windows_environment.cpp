#include "settings/windows_environment.h"

#include <string>

namespace tarnwell {
namespace {

// Reads a text value from the 64-bit view of HKLM into a 257-byte buffer; false when the
// key or the value cannot be read.
bool ReadMachineText(Registry& registry, std::string_view path, std::string_view name,
                     std::string& text) {
  RegKey key;
  if (key.Open(registry, Root::LocalMachine, path, Rights::Read, RegistryView::View64) !=
      kSuccess) {
    return false;
  }
  std::optional<std::string> value = key.ReadText(name, kShortTextCapacity);
  if (!value) {
    return false;
  }
  text = *std::move(value);
  return true;
}

}  // namespace

bool ReadIs64BitWindows(Registry& registry) {
  std::string architecture;
  ReadMachineText(registry, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                  "PROCESSOR_ARCHITECTURE", architecture);
  return architecture.find("64") != std::string::npos;
}

bool ReadIsWindows8(Registry& registry) {
  std::string product;
  return ReadMachineText(registry, "Software\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
                         product) &&
         product.find("Windows 8") != std::string::npos;
}

}  // namespace tarnwell
