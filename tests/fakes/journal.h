#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tarnwell {

// What the fakes saw, in order, one line each: registry writes, messages, programs started.
class Journal {
 public:
  void Add(std::string entry) { entries_.push_back(std::move(entry)); }
  const std::vector<std::string>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::string> entries_;
};

}  // namespace tarnwell
