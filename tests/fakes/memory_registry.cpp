#include "fakes/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>

namespace tarnwell {

using Node = MemoryKeyNode;

namespace {

// Windows orders sub-keys by their upper-cased names.
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::toupper(static_cast<unsigned char>(x)) <
             std::toupper(static_cast<unsigned char>(y));
    });
  }
};

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> pieces;
  for (std::size_t start = 0, end = 0; start <= path.size(); start = end + 1) {
    end = std::min(path.find('\\', start), path.size());
    if (end > start) {
      pieces.emplace_back(path.substr(start, end - start));
    }
  }
  return pieces;
}

std::string JoinPath(const std::vector<std::string>& pieces) {
  std::string path;
  for (const auto& piece : pieces) {
    path += (path.empty() ? "" : "\\") + piece;
  }
  return path;
}

}  // namespace

struct MemoryKeyNode {
  std::string name, path;  // as spelt when created; path is the stored one
  std::vector<std::pair<std::string, RegValue>> values;
  std::map<std::string, std::shared_ptr<Node>, NameLess> children;
  std::vector<Rights> refused;
  bool deleted = false;

  auto FindValue(std::string_view value_name) {
    return std::find_if(values.begin(), values.end(),
                        [&](const auto& entry) { return SameKeyName(entry.first, value_name); });
  }
  std::shared_ptr<Node> Child(const std::string& child_name) const {
    auto it = children.find(child_name);
    return it == children.end() ? nullptr : it->second;
  }
  std::shared_ptr<Node> AddChild(const std::string& child_name) {
    auto child = std::make_shared<Node>();
    child->name = child_name;
    child->path = path.empty() ? child_name : path + "\\" + child_name;
    return children.emplace(child_name, child).first->second;
  }
  // The key at `pieces` below `node`, or nothing; missing keys are made if `made` is given,
  // and each is told to it.
  static std::shared_ptr<Node> Walk(std::shared_ptr<Node> node,
                                    const std::vector<std::string>& pieces,
                                    const std::function<void(const Node&)>* made = nullptr) {
    for (auto piece = pieces.begin(); node && piece != pieces.end(); ++piece) {
      auto child = node->Child(*piece);
      node = child || !made ? child : node->AddChild(*piece);
      if (!child && made) {
        (*made)(*node);
      }
    }
    return node;
  }
  void Detach(const std::string& child_name) {
    Child(child_name)->MarkDeleted();
    children.erase(child_name);
  }
  void MarkDeleted() {
    deleted = true;
    for (auto& entry : children) {
      entry.second->MarkDeleted();
    }
  }
};

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::Data(std::string_view name, ValueType type,
                                                     std::vector<std::uint8_t> data) {
  if (auto entry = node_->FindValue(name); entry != node_->values.end()) {
    entry->second = RegValue{type, std::move(data)};
  } else {
    node_->values.emplace_back(std::string(name), RegValue{type, std::move(data)});
  }
  return *this;
}

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::Remove(std::string_view name) {
  std::erase_if(node_->values, [&](const auto& entry) { return SameKeyName(entry.first, name); });
  return *this;
}

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::RefuseAccess(Rights rights) {
  node_->refused.push_back(rights);
  return *this;
}

MemoryRegistry::MemoryRegistry(Windows windows, Journal* journal)
    : windows_(windows),
      journal_(journal),
      roots_{std::make_shared<MemoryKeyNode>(), std::make_shared<MemoryKeyNode>()} {}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryKeyNode> MemoryRegistry::Find(Root root, std::string_view stored_path) const {
  return Node::Walk(roots_[static_cast<int>(root)], SplitPath(stored_path));
}

MemoryRegistry::KeyRef MemoryRegistry::Key(Root root, std::string_view stored_path) {
  const std::function<void(const Node&)> quietly = [](const Node&) {};
  return KeyRef(Node::Walk(roots_[static_cast<int>(root)], SplitPath(stored_path), &quietly));
}

bool MemoryRegistry::HasKey(Root root, std::string_view stored_path) const {
  return Find(root, stored_path) != nullptr;
}

std::optional<RegValue> MemoryRegistry::Value(Root root, std::string_view stored_path,
                                              std::string_view name) const {
  auto node = Find(root, stored_path);
  if (!node || node->FindValue(name) == node->values.end()) {
    return std::nullopt;
  }
  return node->FindValue(name)->second;
}

void MemoryRegistry::DeleteTree(Root root, std::string_view stored_path) {
  auto pieces = SplitPath(stored_path);
  if (auto node = Find(root, stored_path); node && !pieces.empty()) {
    pieces.pop_back();
    Find(root, JoinPath(pieces))->Detach(node->name);
  }
}

void MemoryRegistry::FailOn(Op op, Root root, std::string_view stored_path, Status code,
                            std::string_view value_name, int passes) {
  faults_.push_back(
      Fault{op, root, JoinPath(SplitPath(stored_path)), std::string(value_name), code, passes});
}

std::optional<Status> MemoryRegistry::Faulted(Op op, Root root, std::string_view path,
                                              std::string_view value) {
  for (auto& fault : faults_) {
    if (fault.op == op && fault.root == root &&
        (fault.path == kAnyKey || SameKeyName(fault.path, path)) &&
        (fault.value.empty() || SameKeyName(fault.value, value))) {
      return fault.passes-- > 0 ? std::nullopt : std::optional(fault.code);
    }
  }
  return std::nullopt;
}

void MemoryRegistry::Record(Write write) {
  if (journal_ != nullptr) {
    constexpr std::string_view kVerbs[] = {"create ", "set ", "delete ", "delete value "};
    std::string entry = std::string(kVerbs[static_cast<int>(write.kind)]) +
                        std::string(RootName(write.root)) + "\\" + write.path;
    if (write.kind == Write::Kind::Set) {
      const RegValue& value = write.value;
      entry +=
          " " + write.name + " " + std::string(TypeName(value.type)) +
          (value.IsText()                   ? " \"" + value.TextUpToNul() + "\""
           : value.type == ValueType::Dword ? " " + std::to_string(value.Number())
                                            : " (" + std::to_string(value.data.size()) + " bytes)");
    } else if (write.kind == Write::Kind::DeleteValue) {
      entry += " " + write.name;
    }
    journal_->Add(std::move(entry));
  }
  writes_.push_back(std::move(write));
}

template <typename Then>
Status MemoryRegistry::Reach(Handle key, std::optional<Rights> needed, std::optional<Op> op,
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

Status MemoryRegistry::OpenOrCreate(Base base, std::string_view path, Rights rights,
                                    RegistryView view, bool create, Handle& out, bool& created) {
  created = false;
  if (path.starts_with('\\')) {
    return kBadPathname;
  }
  OpenKey open{roots_[static_cast<int>(base.root)], base.root, rights};
  if (base.key != 0) {
    Status status =
        Reach(base.key, std::nullopt, std::nullopt, {}, [&](const OpenKey& parent, Node&) {
          open = parent;
          return kSuccess;
        });
    if (status != kSuccess) {
      return status;
    }
  }
  auto stored = SplitPath(open.node->path + "\\" + std::string(path));
  if (windows_ == Windows::Bits64 && open.root == Root::LocalMachine &&
      view == RegistryView::NativeView && !stored.empty() && SameKeyName(stored[0], "Software") &&
      !(stored.size() > 1 && SameKeyName(stored[1], "Wow6432Node"))) {
    stored.insert(stored.begin() + 1, "Wow6432Node");
  }
  if (auto code = Faulted(create ? Op::Create : Op::Open, open.root, JoinPath(stored))) {
    return *code;
  }
  const std::function<void(const Node&)> made = [&](const Node& child) {
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

Status MemoryRegistry::Open(Base base, std::string_view path, Rights rights, RegistryView view,
                            Handle& out) {
  bool created = false;
  return OpenOrCreate(base, path, rights, view, false, out, created);
}

Status MemoryRegistry::Create(Base base, std::string_view path, Rights rights, RegistryView view,
                              Handle& out, bool& created) {
  return OpenOrCreate(base, path, rights, view, true, out, created);
}

Status MemoryRegistry::Query(Handle key, std::string_view name, std::size_t capacity, RegValue& out,
                             std::size_t& size) {
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

Status MemoryRegistry::Set(Handle key, std::string_view name, ValueType type,
                           const std::vector<std::uint8_t>& data) {
  return Reach(key, Rights::Write, Op::Set, name, [&](const OpenKey& open, Node& node) {
    Record({Write::Kind::Set, open.root, node.path, std::string(name), {type, data}});
    KeyRef(open.node).Data(name, type, data);
    return kSuccess;
  });
}

Status MemoryRegistry::EnumKey(Handle key, std::uint32_t index, std::size_t capacity,
                               std::string& name) {
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

Status MemoryRegistry::EnumValue(Handle key, std::uint32_t index, std::size_t name_capacity,
                                 std::size_t data_capacity, std::string& name) {
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

Status MemoryRegistry::SubKeyCount(Handle key, std::uint32_t& count) {
  return Reach(key, std::nullopt, std::nullopt, {}, [&](const OpenKey&, Node& node) {
    count = static_cast<std::uint32_t>(node.children.size());
    return kSuccess;
  });
}

Status MemoryRegistry::DeleteValue(Handle key, std::string_view name) {
  return Reach(key, Rights::Write, Op::Delete, name, [&](const OpenKey& open, Node& node) {
    if (node.FindValue(name) == node.values.end()) {
      return kFileNotFound;
    }
    Record({Write::Kind::DeleteValue, open.root, node.path, std::string(name), {}});
    KeyRef(open.node).Remove(name);
    return kSuccess;
  });
}

Status MemoryRegistry::DeleteKey(Handle key, std::string_view name) {
  return Reach(key, Rights::Write, std::nullopt, {}, [&](const OpenKey& open, Node&) {
    auto pieces = SplitPath(name);
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

}  // namespace tarnwell
