#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tarnwell {

// The ordered record of what the in-memory fakes saw: registry writes and messages shown,
// one line each, so that a test can compare a whole run with one assertion.
class Journal {
 public:
  void Add(std::string entry) { entries_.push_back(std::move(entry)); }
  const std::vector<std::string>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::string> entries_;
};

}  // namespace tarnwell
