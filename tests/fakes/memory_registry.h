#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/journal.h"
#include "platform/registry.h"

namespace tarnwell {

struct MemoryKeyNode;

// The Windows registry as a 32-bit program sees it: names compared without letter case but
// kept as spelt, empty path pieces ignored, typed values of exact sizes, kMoreData on small
// capacities, sub-keys in name order and values in creation order, rights per handle, and
// the two views: on 64-bit Windows the native view of HKLM\Software is stored as
// HKLM\Software\Wow6432Node. Seeding, inspection and faults name keys by their stored path;
// writes made through the Registry interface are recorded, and journalled if asked.
class MemoryRegistry final : public Registry {
 public:
  enum class Windows { Bits32, Bits64 };
  enum class Op { Open, Create, Query, Set, Enum, Delete };
  struct Write {
    enum class Kind { Create, Set, Delete, DeleteValue };
    Kind kind;
    Root root;
    std::string path;
    std::string name;  // the value set or deleted
    RegValue value;
  };
  // A fault on this path strikes whichever key the call names.
  static constexpr std::string_view kAnyKey = "*";

  class KeyRef {
   public:
    KeyRef& String(std::string_view name, std::string_view text) {
      return Data(name, ValueType::String, StringData(text));
    }
    KeyRef& ExpandString(std::string_view name, std::string_view text) {
      return Data(name, ValueType::ExpandString, StringData(text));
    }
    KeyRef& Dword(std::string_view name, std::uint32_t value) {
      return Data(name, ValueType::Dword, DwordData(value));
    }
    KeyRef& Data(std::string_view name, ValueType type, std::vector<std::uint8_t> data);
    KeyRef& Remove(std::string_view name);
    // Requests for `rights`, or for full access, which includes them, are refused.
    KeyRef& RefuseAccess(Rights rights);

   private:
    friend class MemoryRegistry;
    explicit KeyRef(std::shared_ptr<MemoryKeyNode> node) : node_(std::move(node)) {}
    std::shared_ptr<MemoryKeyNode> node_;
  };

  explicit MemoryRegistry(Windows windows = Windows::Bits64, Journal* journal = nullptr);
  ~MemoryRegistry() override;

  Windows WindowsBitness() const { return windows_; }
  // Creates the key and its missing levels without recording.
  KeyRef Key(Root root, std::string_view stored_path);
  bool HasKey(Root root, std::string_view stored_path) const;
  std::optional<RegValue> Value(Root root, std::string_view stored_path,
                                std::string_view name) const;
  // Removes a key and everything below it, without recording.
  void DeleteTree(Root root, std::string_view stored_path);
  // Every `op` on the key (and the value, when named) fails with `code` once `passes` such
  // calls have succeeded; with kAnyKey, every `op` after `passes` of them on any key.
  void FailOn(Op op, Root root, std::string_view stored_path, Status code,
              std::string_view value_name = {}, int passes = 0);

  std::size_t OpenHandles() const { return handles_.size(); }
  const std::vector<Write>& Writes() const { return writes_; }

  Status Open(Base base, std::string_view path, Rights rights, RegistryView view,
              Handle& out) override;
  Status Create(Base base, std::string_view path, Rights rights, RegistryView view, Handle& out,
                bool& created) override;
  Status Query(Handle key, std::string_view name, std::size_t capacity, RegValue& out,
               std::size_t& size) override;
  Status Set(Handle key, std::string_view name, ValueType type,
             const std::vector<std::uint8_t>& data) override;
  Status EnumKey(Handle key, std::uint32_t index, std::size_t capacity, std::string& name) override;
  Status EnumValue(Handle key, std::uint32_t index, std::size_t name_capacity,
                   std::size_t data_capacity, std::string& name) override;
  Status SubKeyCount(Handle key, std::uint32_t& count) override;
  Status DeleteValue(Handle key, std::string_view name) override;
  Status DeleteKey(Handle key, std::string_view name) override;
  void Close(Handle key) noexcept override { handles_.erase(key); }

 private:
  struct OpenKey {
    std::shared_ptr<MemoryKeyNode> node;
    Root root;
    Rights rights;
  };
  struct Fault {
    Op op;
    Root root;
    std::string path, value;
    Status code;
    int passes;
  };

  Status OpenOrCreate(Base base, std::string_view path, Rights rights, RegistryView view,
                      bool create, Handle& out, bool& created);
  // What `then` makes of the open key a call names, unless Windows refuses the call (an
  // unknown handle, a deleted key, missing rights) or a fault on `op` does.
  template <typename Then>
  Status Reach(Handle key, std::optional<Rights> needed, std::optional<Op> op,
               std::string_view value, Then then);
  std::optional<Status> Faulted(Op op, Root root, std::string_view path,
                                std::string_view value = {});
  std::shared_ptr<MemoryKeyNode> Find(Root root, std::string_view stored_path) const;
  void Record(Write write);

  Windows windows_;
  Journal* journal_;
  std::shared_ptr<MemoryKeyNode> roots_[2];
  std::map<Handle, OpenKey> handles_;
  Handle next_handle_ = 0x1000;
  std::vector<Fault> faults_;
  std::vector<Write> writes_;
};

}  // namespace tarnwell
