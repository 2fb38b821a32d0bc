#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace tarnwell {

// Owning handles for the GDI objects and windows of the binding.
struct GdiObjectDelete {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDelete>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;

struct WindowDestroy {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroy>;

struct DcRelease {
  HWND window;
  void operator()(HDC dc) const { ReleaseDC(window, dc); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcRelease>;

inline ScreenDc GetScreenDc() {
  return ScreenDc(GetDC(nullptr), DcRelease{nullptr});
}

// A window's text, whatever its length.
inline std::string TextOf(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace tarnwell
