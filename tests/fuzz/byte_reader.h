#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tarnwell::fuzz {

// The fuzzer's bytes, read front to back as choices. Once they run out every choice is
// the first one, so that any input, however short, is a whole case.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Empty() const { return next_ == bytes_.size(); }
  std::uint8_t Byte() { return Empty() ? 0 : bytes_[next_++]; }
  bool Bool() { return (Byte() & 1) != 0; }
  // A number from 0 to n - 1; n of at most 65,536.
  std::size_t Below(std::size_t n) {
    if (n <= 1) {
      return 0;
    }
    std::size_t value = Byte();
    if (n > 256) {
      value = value << 8 | Byte();
    }
    return value % n;
  }
  template <typename T, std::size_t N>
  const T& Pick(const T (&choices)[N]) {
    return choices[Below(N)];
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t next_ = 0;
};

}  // namespace tarnwell::fuzz
