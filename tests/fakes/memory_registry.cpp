#include "fakes/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace tarnwell {
namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Upper(x) == Upper(y); });
}

// Windows orders sub-keys by their upper-cased names.
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
  }
};

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) {
      end = path.size();
    }
    if (end > start) {
      pieces.emplace_back(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return pieces;
}

std::string JoinPath(const std::vector<std::string>& pieces) {
  std::string path;
  for (const auto& piece : pieces) {
    if (!path.empty()) {
      path += '\\';
    }
    path += piece;
  }
  return path;
}

bool Allows(Rights granted, Rights needed) {
  return granted == Rights::Full || granted == needed;
}

// REG_SZ "text", REG_DWORD 1, ...
std::string DescribeValue(const RegValue& value) {
  std::string text(TypeName(value.type));
  if (value.IsText()) {
    text += " \"" + value.TextUpToNul() + "\"";
  } else if (value.type == ValueType::Dword) {
    text += " " + std::to_string(value.Number());
  } else {
    text += " (" + std::to_string(value.data.size()) + " bytes)";
  }
  return text;
}

}  // namespace

struct MemoryKeyNode {
  std::string name;
  std::string path;  // stored path, as spelt when created
  std::vector<std::pair<std::string, RegValue>> values;
  std::map<std::string, std::shared_ptr<MemoryKeyNode>, NameLess> children;
  std::vector<Rights> refused;
  bool deleted = false;

  std::pair<std::string, RegValue>* FindValue(std::string_view value_name) {
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const auto& entry) { return SameName(entry.first, value_name); });
    return it == values.end() ? nullptr : &*it;
  }

  void SetValue(std::string_view value_name, RegValue value) {
    if (auto* entry = FindValue(value_name)) {
      entry->second = std::move(value);
    } else {
      values.emplace_back(std::string(value_name), std::move(value));
    }
  }

  bool Refuses(Rights rights) const {
    return std::any_of(refused.begin(), refused.end(), [&](Rights refused_rights) {
      return refused_rights == rights || rights == Rights::Full;
    });
  }

  std::shared_ptr<MemoryKeyNode> Child(std::string_view child_name) const {
    auto it = children.find(std::string(child_name));
    return it == children.end() ? nullptr : it->second;
  }

  std::shared_ptr<MemoryKeyNode> AddChild(std::string_view child_name) {
    if (auto existing = Child(child_name)) {
      return existing;
    }
    auto child = std::make_shared<MemoryKeyNode>();
    child->name = std::string(child_name);
    child->path = path.empty() ? child->name : path + "\\" + child->name;
    children.emplace(child->name, child);
    return child;
  }

  void MarkDeleted() {
    deleted = true;
    for (auto& [child_name, child] : children) {
      child->MarkDeleted();
    }
  }
};

// --- seeding ---------------------------------------------------------------------------

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::String(std::string_view name,
                                                       std::string_view text) {
  return Data(name, ValueType::String, StringData(text));
}

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::ExpandString(std::string_view name,
                                                             std::string_view text) {
  return Data(name, ValueType::ExpandString, StringData(text));
}

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::Dword(std::string_view name, std::uint32_t value) {
  return Data(name, ValueType::Dword, DwordData(value));
}

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::Data(std::string_view name, ValueType type,
                                                     std::vector<std::uint8_t> data) {
  node_->SetValue(name, RegValue{type, std::move(data)});
  return *this;
}

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::Remove(std::string_view name) {
  std::erase_if(node_->values, [&](const auto& entry) { return SameName(entry.first, name); });
  return *this;
}

MemoryRegistry::KeyRef& MemoryRegistry::KeyRef::RefuseAccess(Rights rights) {
  node_->refused.push_back(rights);
  return *this;
}

MemoryRegistry::MemoryRegistry(Windows windows, Journal* journal)
    : windows_(windows),
      journal_(journal),
      current_user_(std::make_shared<Node>()),
      local_machine_(std::make_shared<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryKeyNode> MemoryRegistry::RootNode(Root root) const {
  return root == Root::CurrentUser ? current_user_ : local_machine_;
}

std::shared_ptr<MemoryKeyNode> MemoryRegistry::Walk(Root root,
                                                    const std::vector<std::string>& pieces) const {
  auto node = RootNode(root);
  for (const auto& piece : pieces) {
    node = node->Child(piece);
    if (!node) {
      return nullptr;
    }
  }
  return node;
}

MemoryRegistry::KeyRef MemoryRegistry::Key(Root root, std::string_view stored_path) {
  auto node = RootNode(root);
  for (const auto& piece : SplitPath(stored_path)) {
    node = node->AddChild(piece);
  }
  return KeyRef(node);
}

bool MemoryRegistry::HasKey(Root root, std::string_view stored_path) const {
  return Walk(root, SplitPath(stored_path)) != nullptr;
}

std::optional<RegValue> MemoryRegistry::Value(Root root, std::string_view stored_path,
                                              std::string_view name) const {
  auto node = Walk(root, SplitPath(stored_path));
  if (!node) {
    return std::nullopt;
  }
  auto* entry = node->FindValue(name);
  return entry ? std::optional<RegValue>(entry->second) : std::nullopt;
}

std::vector<std::string> MemoryRegistry::ValueNames(Root root, std::string_view stored_path) const {
  std::vector<std::string> names;
  if (auto node = Walk(root, SplitPath(stored_path))) {
    for (const auto& [name, value] : node->values) {
      names.push_back(name);
    }
  }
  return names;
}

void MemoryRegistry::DeleteTree(Root root, std::string_view stored_path) {
  auto pieces = SplitPath(stored_path);
  if (pieces.empty()) {
    return;
  }
  auto leaf = pieces.back();
  pieces.pop_back();
  auto parent = Walk(root, pieces);
  if (!parent) {
    return;
  }
  if (auto child = parent->Child(leaf)) {
    child->MarkDeleted();
    parent->children.erase(child->name);
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
        (fault.path == kAnyKey || SameName(fault.path, path)) &&
        (fault.value.empty() || SameName(fault.value, value))) {
      if (fault.passes > 0) {
        --fault.passes;
        return std::nullopt;
      }
      return fault.code;
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
      entry += " " + write.name + " " + DescribeValue(write.value);
    } else if (write.kind == Write::Kind::DeleteValue) {
      entry += " " + write.name;
    }
    journal_->Add(std::move(entry));
  }
  writes_.push_back(std::move(write));
}

// --- the Registry interface --------------------------------------------------------------

std::vector<std::string> MemoryRegistry::StoredPieces(Root root,
                                                      const std::vector<std::string>& logical,
                                                      RegistryView view) const {
  std::vector<std::string> pieces = logical;
  const bool redirected = windows_ == Windows::Bits64 && root == Root::LocalMachine &&
                          view == RegistryView::NativeView && !pieces.empty() &&
                          SameName(pieces[0], "Software") &&
                          !(pieces.size() > 1 && SameName(pieces[1], "Wow6432Node"));
  if (redirected) {
    pieces.insert(pieces.begin() + 1, "Wow6432Node");
  }
  return pieces;
}

const MemoryRegistry::OpenKey* MemoryRegistry::Find(Handle key) const {
  auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : &it->second;
}

Status MemoryRegistry::Reach(Handle key, std::optional<Rights> needed, const OpenKey*& open,
                             std::optional<Op> op, std::string_view value) {
  open = Find(key);
  if (open == nullptr) {
    return kInvalidHandle;
  }
  if (open->node->deleted) {
    return kKeyDeleted;
  }
  if (needed && !Allows(open->rights, *needed)) {
    return kAccessDenied;
  }
  auto fault = op ? Faulted(*op, open->root, open->node->path, value) : std::nullopt;
  return fault.value_or(kSuccess);
}

Status MemoryRegistry::OpenOrCreate(Base base, std::string_view path, Rights rights,
                                    RegistryView view, bool create, Handle& out, bool& created) {
  created = false;
  if (!path.empty() && path.front() == '\\') {
    return kBadPathname;
  }
  Root root = base.root;
  std::vector<std::string> logical;
  if (base.key != 0) {
    const OpenKey* parent = Find(base.key);
    if (parent == nullptr) {
      return kInvalidHandle;
    }
    if (parent->node->deleted) {
      return kKeyDeleted;
    }
    root = parent->root;
    logical = parent->logical;
  }
  for (auto& piece : SplitPath(path)) {
    logical.push_back(std::move(piece));
  }
  const auto stored = StoredPieces(root, logical, view);
  const std::string stored_path = JoinPath(stored);
  if (auto code = Faulted(create ? Op::Create : Op::Open, root, stored_path)) {
    return *code;
  }

  auto node = RootNode(root);
  for (const auto& piece : stored) {
    auto child = node->Child(piece);
    if (!child) {
      if (!create) {
        return kFileNotFound;
      }
      child = node->AddChild(piece);
      created = true;
      Record({Write::Kind::Create, root, child->path, {}, {}});
    }
    node = child;
  }
  if (node->Refuses(rights)) {
    return kAccessDenied;
  }
  out = next_handle_++;
  handles_.emplace(out, OpenKey{node, root, logical, view, rights});
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
  const OpenKey* open = nullptr;
  if (Status status = Reach(key, Rights::Read, open, Op::Query, name); status != kSuccess) {
    return status;
  }
  auto* entry = open->node->FindValue(name);
  if (entry == nullptr) {
    return kFileNotFound;
  }
  const RegValue& value = entry->second;
  size = value.data.size();
  if (capacity == 0) {
    out.type = value.type;
    out.data.clear();
    return kSuccess;
  }
  if (value.data.size() > capacity) {
    return kMoreData;
  }
  out = value;
  return kSuccess;
}

Status MemoryRegistry::Set(Handle key, std::string_view name, ValueType type,
                           const std::vector<std::uint8_t>& data) {
  const OpenKey* open = nullptr;
  if (Status status = Reach(key, Rights::Write, open, Op::Set, name); status != kSuccess) {
    return status;
  }
  RegValue value{type, data};
  Record({Write::Kind::Set, open->root, open->node->path, std::string(name), value});
  open->node->SetValue(name, std::move(value));
  return kSuccess;
}

Status MemoryRegistry::EnumKey(Handle key, std::uint32_t index, std::size_t capacity,
                               std::string& name) {
  const OpenKey* open = nullptr;
  if (Status status = Reach(key, Rights::Read, open, Op::Enum); status != kSuccess) {
    return status;
  }
  if (index >= open->node->children.size()) {
    return kNoMoreItems;
  }
  auto it = std::next(open->node->children.begin(), index);
  if (it->second->name.size() + 1 > capacity) {
    return kMoreData;
  }
  name = it->second->name;
  return kSuccess;
}

Status MemoryRegistry::EnumValue(Handle key, std::uint32_t index, std::size_t name_capacity,
                                 std::size_t data_capacity, std::string& name) {
  const OpenKey* open = nullptr;
  if (Status status = Reach(key, Rights::Read, open, Op::Enum); status != kSuccess) {
    return status;
  }
  if (index >= open->node->values.size()) {
    return kNoMoreItems;
  }
  const auto& [value_name, value] = open->node->values[index];
  if (value_name.size() + 1 > name_capacity || value.data.size() > data_capacity) {
    return kMoreData;
  }
  name = value_name;
  return kSuccess;
}

Status MemoryRegistry::SubKeyCount(Handle key, std::uint32_t& count) {
  const OpenKey* open = nullptr;
  if (Status status = Reach(key, std::nullopt, open); status != kSuccess) {
    return status;
  }
  count = static_cast<std::uint32_t>(open->node->children.size());
  return kSuccess;
}

Status MemoryRegistry::DeleteValue(Handle key, std::string_view name) {
  const OpenKey* open = nullptr;
  if (Status status = Reach(key, Rights::Write, open, Op::Delete, name); status != kSuccess) {
    return status;
  }
  if (open->node->FindValue(name) == nullptr) {
    return kFileNotFound;
  }
  Record({Write::Kind::DeleteValue, open->root, open->node->path, std::string(name), {}});
  std::erase_if(open->node->values, [&](const auto& entry) { return SameName(entry.first, name); });
  return kSuccess;
}

Status MemoryRegistry::DeleteKey(Handle key, std::string_view name) {
  const OpenKey* open = nullptr;
  if (Status status = Reach(key, Rights::Write, open); status != kSuccess) {
    return status;
  }
  auto pieces = SplitPath(name);
  if (pieces.empty()) {
    return kInvalidParameter;
  }
  const std::string leaf = pieces.back();
  pieces.pop_back();
  auto parent = open->node;
  for (const auto& piece : pieces) {
    parent = parent->Child(piece);
    if (!parent) {
      return kFileNotFound;
    }
  }
  auto child = parent->Child(leaf);
  if (!child) {
    return kFileNotFound;
  }
  if (auto code = Faulted(Op::Delete, open->root, child->path)) {
    return *code;
  }
  if (!child->children.empty()) {
    return kAccessDenied;
  }
  Record({Write::Kind::Delete, open->root, child->path, {}, {}});
  child->MarkDeleted();
  parent->children.erase(child->name);
  return kSuccess;
}

void MemoryRegistry::Close(Handle key) noexcept {
  handles_.erase(key);
}

}  // namespace tarnwell
