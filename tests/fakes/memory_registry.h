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

// A faithful in-memory model of the Windows registry as a 32-bit program sees it:
// case-insensitive names that keep their spelling, empty path pieces ignored (so a trailing
// backslash names the same key), typed values with exact byte sizes, capacities that fail
// with kMoreData, sub-keys enumerated in name order and values in creation order, rights
// per handle, and the two views. On 64-bit Windows the native view of HKLM\Software is its
// 32-bit branch, stored as HKLM\Software\Wow6432Node; HKCU is shared by both views.
//
// Seeding, inspection and fault injection address keys by their stored path, so a test
// says exactly which branch it means. Writes made through the Registry interface are
// recorded in the journal, if one is given.
class MemoryRegistry final : public Registry {
 public:
  enum class Windows { Bits32, Bits64 };
  enum class Op { Open, Create, Query, Set, Enum, Delete };

  // A write made through the Registry interface, on the key's stored path.
  struct Write {
    enum class Kind { Create, Set, Delete, DeleteValue };
    Kind kind;
    Root root;
    std::string path;
    std::string name;  // the value set or deleted
    RegValue value;
  };
  // The stored path of a fault that strikes whichever key the call names.
  static constexpr std::string_view kAnyKey = "*";

  class KeyRef {
   public:
    KeyRef& String(std::string_view name, std::string_view text);
    KeyRef& ExpandString(std::string_view name, std::string_view text);
    KeyRef& Dword(std::string_view name, std::uint32_t value);
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

  // Creates the key and its missing levels without journalling.
  KeyRef Key(Root root, std::string_view stored_path);
  bool HasKey(Root root, std::string_view stored_path) const;
  std::optional<RegValue> Value(Root root, std::string_view stored_path,
                                std::string_view name) const;
  std::vector<std::string> ValueNames(Root root, std::string_view stored_path) const;
  // Removes a key and everything below it, without journalling.
  void DeleteTree(Root root, std::string_view stored_path);

  // Every later `op` on the key (and, when given, the value) fails with `code`, once
  // `passes` such calls have succeeded: a key that vanishes between two looks at it. With
  // kAnyKey, the call after `passes` calls of `op` on any key fails, and all later ones.
  void FailOn(Op op, Root root, std::string_view stored_path, Status code,
              std::string_view value_name = {}, int passes = 0);

  std::size_t OpenHandles() const { return handles_.size(); }
  // Every write so far, in order.
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
  void Close(Handle key) noexcept override;

 private:
  using Node = MemoryKeyNode;
  struct OpenKey {
    std::shared_ptr<Node> node;
    Root root;
    std::vector<std::string> logical;  // path pieces as the caller named them
    RegistryView view;
    Rights rights;
  };
  struct Fault {
    Op op;
    Root root;
    std::string path;
    std::string value;
    Status code;
    int passes;
  };

  std::vector<std::string> StoredPieces(Root root, const std::vector<std::string>& logical,
                                        RegistryView view) const;
  Status OpenOrCreate(Base base, std::string_view path, Rights rights, RegistryView view,
                      bool create, Handle& out, bool& created);
  const OpenKey* Find(Handle key) const;
  // The open key a call names, refused as Windows refuses it (an unknown handle, a deleted
  // key, a handle without the `needed` rights) or by a fault set on `op`.
  Status Reach(Handle key, std::optional<Rights> needed, const OpenKey*& open,
               std::optional<Op> op = std::nullopt, std::string_view value = {});
  std::optional<Status> Faulted(Op op, Root root, std::string_view path,
                                std::string_view value = {});
  std::shared_ptr<Node> Walk(Root root, const std::vector<std::string>& pieces) const;
  std::shared_ptr<Node> RootNode(Root root) const;
  void Record(Write write);

  Windows windows_;
  Journal* journal_;
  std::shared_ptr<Node> current_user_;
  std::shared_ptr<Node> local_machine_;
  std::map<Handle, OpenKey> handles_;
  Handle next_handle_ = 0x1000;
  std::vector<Fault> faults_;
  std::vector<Write> writes_;
};

}  // namespace tarnwell
