#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tarnwell {

// A system DLL loaded on first use instead of at start-up: the shell and the common dialogs
// bring many more DLLs with them, which every start would otherwise pay for.
class Library {
 public:
  explicit Library(const char* name) : name_(name) {}

  // The function, or null when the DLL or the function is missing.
  template <class Function>
  Function Get(const char* function) {
    if (!module_) {
      module_.reset(LoadLibraryA(name_));
    }
    return module_ ? reinterpret_cast<Function>(
                         reinterpret_cast<void*>(GetProcAddress(module_.get(), function)))
                   : nullptr;
  }

 private:
  struct Free {
    void operator()(HMODULE module) const { FreeLibrary(module); }
  };
  const char* name_;
  std::unique_ptr<std::remove_pointer_t<HMODULE>, Free> module_;
};

}  // namespace tarnwell
