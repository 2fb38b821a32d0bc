#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/journal.h"
#include "platform/registry.h"

namespace tarnwell {

// One key: names kept as spelt, compared without case; sub-keys in Windows' order, values as made.
struct MemoryKeyNode {
  using Node = MemoryKeyNode;
  struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const {
      return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                          [](char x, char y) {
                                            return std::toupper(static_cast<unsigned char>(x)) <
                                                   std::toupper(static_cast<unsigned char>(y));
                                          });
    }
  };
  using Made = std::function<void(const Node&)>;

  std::string name, path;  // path: the stored one
  std::vector<std::pair<std::string, RegValue>> values;
  std::map<std::string, std::shared_ptr<Node>, NameLess> children;
  std::vector<Rights> refused;
  bool deleted = false;

  static std::vector<std::string> Split(std::string_view path) {  // empty pieces ignored
    std::vector<std::string> pieces;
    for (std::size_t start = 0, end = 0; start <= path.size(); start = end + 1) {
      end = std::min(path.find('\\', start), path.size());
      if (end > start) {
        pieces.emplace_back(path.substr(start, end - start));
      }
    }
    return pieces;
  }
  static std::string Join(const std::vector<std::string>& pieces) {
    std::string path;
    for (const auto& piece : pieces) {
      path += (path.empty() ? "" : "\\") + piece;
    }
    return path;
  }
  // The key at `pieces` below `node`, or nothing; missing ones made and told to `made`, if given.
  static std::shared_ptr<Node> Walk(std::shared_ptr<Node> node,
                                    const std::vector<std::string>& pieces,
                                    const Made* made = nullptr) {
    for (auto piece = pieces.begin(); node && piece != pieces.end(); ++piece) {
      auto child = node->children.find(*piece);
      if (child != node->children.end() || !made) {
        node = child == node->children.end() ? nullptr : child->second;
        continue;
      }
      auto added = std::make_shared<Node>();
      added->name = *piece;
      added->path = node->path.empty() ? *piece : node->path + "\\" + *piece;
      node = node->children.emplace(*piece, added).first->second;
      (*made)(*node);
    }
    return node;
  }
  auto FindValue(std::string_view value_name) {
    return std::find_if(values.begin(), values.end(),
                        [&](const auto& entry) { return SameKeyName(entry.first, value_name); });
  }
  void Detach(const std::string& child_name) {
    children.find(child_name)->second->MarkDeleted();
    children.erase(child_name);
  }
  void MarkDeleted() {
    deleted = true;
    for (auto& entry : children) {
      entry.second->MarkDeleted();
    }
  }
};

// The registry a 32-bit program sees; 64-bit Windows stores its HKLM\Software under Wow6432Node.
class MemoryRegistry final : public Registry {
  using Node = MemoryKeyNode;

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
    KeyRef& Data(std::string_view name, ValueType type, std::vector<std::uint8_t> data) {
      if (auto entry = node_->FindValue(name); entry != node_->values.end()) {
        entry->second = RegValue{type, std::move(data)};
      } else {
        node_->values.emplace_back(std::string(name), RegValue{type, std::move(data)});
      }
      return *this;
    }
    KeyRef& Remove(std::string_view name) {
      std::erase_if(node_->values,
                    [&](const auto& value) { return SameKeyName(value.first, name); });
      return *this;
    }
    // Requests for `rights`, or for full access, which includes them, are refused.
    KeyRef& RefuseAccess(Rights rights) {
      node_->refused.push_back(rights);
      return *this;
    }

   private:
    friend class MemoryRegistry;
    explicit KeyRef(std::shared_ptr<Node> node) : node_(std::move(node)) {}
    std::shared_ptr<Node> node_;
  };

  explicit MemoryRegistry(Windows windows = Windows::Bits64, Journal* journal = nullptr)
      : windows_(windows), journal_(journal) {}

  Windows WindowsBitness() const { return windows_; }
  // Creates the key and its missing levels without recording.
  KeyRef Key(Root root, std::string_view stored_path) {
    const Node::Made quietly = [](const Node&) {};
    return KeyRef(Node::Walk(roots_[static_cast<int>(root)], Node::Split(stored_path), &quietly));
  }
  bool HasKey(Root root, std::string_view path) const { return Find(root, path) != nullptr; }
  std::optional<RegValue> Value(Root root, std::string_view stored_path,
                                std::string_view name) const {
    auto node = Find(root, stored_path);
    if (!node || node->FindValue(name) == node->values.end()) {
      return std::nullopt;
    }
    return node->FindValue(name)->second;
  }
  // Removes a key and everything below it, without recording.
  void DeleteTree(Root root, std::string_view stored_path) {
    auto pieces = Node::Split(stored_path);
    if (auto node = Find(root, stored_path); node && !pieces.empty()) {
      pieces.pop_back();
      Find(root, Node::Join(pieces))->Detach(node->name);
    }
  }
  // `op` on the key (any for kAnyKey; value if named) fails with `code` after `passes` succeed.
  void FailOn(Op op, Root root, std::string_view stored_path, Status code,
              std::string_view value_name = {}, int passes = 0) {
    faults_.push_back(Fault{op, root, Node::Join(Node::Split(stored_path)), std::string(value_name),
                            code, passes});
  }

  std::size_t OpenHandles() const { return handles_.size(); }
  const std::vector<Write>& Writes() const { return writes_; }

  Status Open(Base base, std::string_view path, Rights rights, RegistryView view,
              Handle& out) override {
    bool created = false;
    return OpenOrCreate(base, path, rights, view, false, out, created);
  }
  Status Create(Base base, std::string_view path, Rights rights, RegistryView view, Handle& out,
                bool& created) override {
    return OpenOrCreate(base, path, rights, view, true, out, created);
  }
  Status Query(Handle key, std::string_view name, std::size_t capacity, RegValue& out,
               std::size_t& size) override {
    return Reach(key, Rights::Read, Op::Query, name, [&](const OpenKey&, Node& node) {
      auto entry = node.FindValue(name);
      if (entry == node.values.end()) {
        return kFileNotFound;
      }
      size = entry->second.data.size();
      if (size > capacity && capacity != 0) {
        return kMoreData;
      }
      out = capacity == 0 ? RegValue{entry->second.type, {}} : entry->second;
      return kSuccess;
    });
  }
  Status Set(Handle key, std::string_view name, ValueType type,
             const std::vector<std::uint8_t>& data) override {
    return Reach(key, Rights::Write, Op::Set, name, [&](const OpenKey& open, Node& node) {
      Record({Write::Kind::Set, open.root, node.path, std::string(name), {type, data}});
      KeyRef(open.node).Data(name, type, data);
      return kSuccess;
    });
  }
  Status EnumKey(Handle key, std::uint32_t index, std::size_t capacity,
                 std::string& name) override {
    return Reach(key, Rights::Read, Op::Enum, {}, [&](const OpenKey&, Node& node) {
      if (index >= node.children.size()) {
        return kNoMoreItems;
      }
      const std::string& found = std::next(node.children.begin(), index)->first;
      if (found.size() >= capacity) {
        return kMoreData;
      }
      name = found;
      return kSuccess;
    });
  }
  Status EnumValue(Handle key, std::uint32_t index, std::size_t name_capacity,
                   std::size_t data_capacity, std::string& name) override {
    return Reach(key, Rights::Read, Op::Enum, {}, [&](const OpenKey&, Node& node) {
      if (index >= node.values.size()) {
        return kNoMoreItems;
      }
      const auto& [found, value] = node.values[index];
      if (found.size() >= name_capacity || value.data.size() > data_capacity) {
        return kMoreData;
      }
      name = found;
      return kSuccess;
    });
  }
  Status SubKeyCount(Handle key, std::uint32_t& count) override {
    return Reach(key, std::nullopt, std::nullopt, {}, [&](const OpenKey&, Node& node) {
      count = static_cast<std::uint32_t>(node.children.size());
      return kSuccess;
    });
  }
  Status DeleteValue(Handle key, std::string_view name) override {
    return Reach(key, Rights::Write, Op::Delete, name, [&](const OpenKey& open, Node& node) {
      if (node.FindValue(name) == node.values.end()) {
        return kFileNotFound;
      }
      Record({Write::Kind::DeleteValue, open.root, node.path, std::string(name), {}});
      KeyRef(open.node).Remove(name);
      return kSuccess;
    });
  }
  Status DeleteKey(Handle key, std::string_view name) override {
    return Reach(key, Rights::Write, std::nullopt, {}, [&](const OpenKey& open, Node&) {
      auto pieces = Node::Split(name);
      auto child = Node::Walk(open.node, pieces);
      if (pieces.empty() || !child) {
        return pieces.empty() ? kInvalidParameter : kFileNotFound;
      }
      if (auto code = Faulted(Op::Delete, open.root, child->path)) {
        return *code;
      }
      if (!child->children.empty()) {
        return kAccessDenied;
      }
      Record({Write::Kind::Delete, open.root, child->path, {}, {}});
      pieces.pop_back();
      Node::Walk(open.node, pieces)->Detach(child->name);
      return kSuccess;
    });
  }
  void Close(Handle key) noexcept override { handles_.erase(key); }

 private:
  struct OpenKey {
    std::shared_ptr<Node> node;
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

  std::shared_ptr<Node> Find(Root root, std::string_view stored_path) const {
    return Node::Walk(roots_[static_cast<int>(root)], Node::Split(stored_path));
  }
  Status OpenOrCreate(Base base, std::string_view path, Rights rights, RegistryView view,
                      bool create, Handle& out, bool& created) {
    created = false;
    if (path.starts_with('\\')) {
      return kBadPathname;
    }
    const auto parent = handles_.find(base.key);
    if (base.key != 0 && (parent == handles_.end() || parent->second.node->deleted)) {
      return parent == handles_.end() ? kInvalidHandle : kKeyDeleted;
    }
    OpenKey open = base.key != 0 ? parent->second
                                 : OpenKey{roots_[static_cast<int>(base.root)], base.root, rights};
    auto stored = Node::Split(open.node->path + "\\" + std::string(path));
    if (windows_ == Windows::Bits64 && open.root == Root::LocalMachine &&
        view == RegistryView::NativeView && !stored.empty() && SameKeyName(stored[0], "Software") &&
        !(stored.size() > 1 && SameKeyName(stored[1], "Wow6432Node"))) {
      stored.insert(stored.begin() + 1, "Wow6432Node");
    }
    if (auto code = Faulted(create ? Op::Create : Op::Open, open.root, Node::Join(stored))) {
      return *code;
    }
    const Node::Made made = [&](const Node& child) {
      created = true;
      Record({Write::Kind::Create, open.root, child.path, {}, {}});
    };
    open.node = Node::Walk(roots_[static_cast<int>(open.root)], stored, create ? &made : nullptr);
    if (!open.node) {
      return kFileNotFound;
    }
    if (std::any_of(open.node->refused.begin(), open.node->refused.end(),
                    [&](Rights refused) { return refused == rights || rights == Rights::Full; })) {
      return kAccessDenied;
    }
    open.rights = rights;
    out = next_handle_++;
    handles_.emplace(out, std::move(open));
    return kSuccess;
  }
  // What `then` makes of the key, unless Windows (or a fault on `op`) refuses the call.
  template <typename Then>
  Status Reach(Handle key, std::optional<Rights> needed, std::optional<Op> op,
               std::string_view value, Then then) {
    auto it = handles_.find(key);
    if (it == handles_.end() || it->second.node->deleted) {
      return it == handles_.end() ? kInvalidHandle : kKeyDeleted;
    }
    const OpenKey& open = it->second;
    if (needed && open.rights != Rights::Full && open.rights != *needed) {
      return kAccessDenied;
    }
    auto fault = op ? Faulted(*op, open.root, open.node->path, value) : std::nullopt;
    return fault ? *fault : then(open, *open.node);
  }
  std::optional<Status> Faulted(Op op, Root root, std::string_view path,
                                std::string_view value = {}) {
    for (auto& fault : faults_) {
      if (fault.op == op && fault.root == root &&
          (fault.path == kAnyKey || SameKeyName(fault.path, path)) &&
          (fault.value.empty() || SameKeyName(fault.value, value))) {
        return fault.passes-- > 0 ? std::nullopt : std::optional(fault.code);
      }
    }
    return std::nullopt;
  }
  void Record(Write write) {
    if (journal_ != nullptr) {
      constexpr std::string_view kVerbs[] = {"create ", "set ", "delete ", "delete value "};
      const RegValue& value = write.value;
      std::string entry = std::string(kVerbs[static_cast<int>(write.kind)]) +
                          std::string(RootName(write.root)) + "\\" + write.path;
      if (write.kind == Write::Kind::Set) {
        entry += " " + write.name + " " + std::string(TypeName(value.type)) +
                 (value.IsText() ? " \"" + value.TextUpToNul() + "\""
                  : value.type == ValueType::Dword
                      ? " " + std::to_string(value.Number())
                      : " (" + std::to_string(value.data.size()) + " bytes)");
      } else if (write.kind == Write::Kind::DeleteValue) {
        entry += " " + write.name;
      }
      journal_->Add(std::move(entry));
    }
    writes_.push_back(std::move(write));
  }

  Windows windows_;
  Journal* journal_;
  std::shared_ptr<Node> roots_[2] = {std::make_shared<Node>(), std::make_shared<Node>()};
  std::map<Handle, OpenKey> handles_;
  Handle next_handle_ = 0x1000;
  std::vector<Fault> faults_;
  std::vector<Write> writes_;
};

}  // namespace tarnwell
