#include "settings/load.h"

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/registry_object.h"
#include "settings/settings_catalogue.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;

// How one load variant reads: which view, which access, which buffer sizes. Text reads
// accept REG_SZ and REG_EXPAND_SZ (unexpanded); a value of any other type than the row's
// reads as missing.
class LoadView {
 public:
  virtual ~LoadView() = default;
  // Opens the key for reading as the current key.
  virtual bool Open(Root root, const std::string& path) = 0;
  virtual void Close() = 0;
  virtual std::optional<std::string> Text(std::string_view name) = 0;
  // A text read whatever its length.
  virtual std::optional<std::string> WholeText(std::string_view name) = 0;
  virtual std::optional<std::uint32_t> Number(std::string_view name) = 0;
  // The test that decides whether Outlook\Security is read or created.
  virtual bool CanOpenSecurity(const std::string& path) = 0;
  virtual void SetExecutable(LoadedSettings& loaded, const std::string& install_folder) = 0;
};

constexpr std::string_view kOutlookExe = "OUTLOOK.EXE";

// The native view, through the key object: texts whole, numbers only when present.
class NativeLoad final : public LoadView {
 public:
  explicit NativeLoad(Registry& registry) : object_(registry) {}

  bool Open(Root root, const std::string& path) override {
    if (object_.RootKey() != root) {
      object_.SetRootKey(root);
    }
    return object_.OpenKeyForRead("\\" + path);
  }
  void Close() override { object_.CloseKey(); }

  std::optional<std::string> Text(std::string_view name) override {
    auto info = object_.GetDataInfo(name);
    if (!info || (info->type != ValueType::String && info->type != ValueType::ExpandString)) {
      return std::nullopt;
    }
    return object_.ReadString(name);
  }
  std::optional<std::string> WholeText(std::string_view name) override { return Text(name); }

  std::optional<std::uint32_t> Number(std::string_view name) override {
    auto info = object_.GetDataInfo(name);
    if (!info || info->type != ValueType::Dword || info->size > kDwordCapacity) {
      return std::nullopt;
    }
    return object_.ReadInteger(name);
  }

  // With the object's right of the moment: read once an open for reading succeeded.
  bool CanOpenSecurity(const std::string& path) override {
    if (object_.RootKey() != Root::CurrentUser) {
      object_.SetRootKey(Root::CurrentUser);
    }
    return object_.CanOpenKey("\\" + path);
  }

  void SetExecutable(LoadedSettings& loaded, const std::string& install_folder) override {
    loaded.OutlookExePathQuoted = "\"" + install_folder + std::string(kOutlookExe) + "\"";
  }

 private:
  RegistryObject object_;
};

// The 64-bit view, directly: texts into 257 bytes, numbers into 4.
class View64Load final : public LoadView {
 public:
  explicit View64Load(Registry& registry) : registry_(registry) {}

  bool Open(Root root, const std::string& path) override {
    return key_.Open(registry_, root, path, Rights::Read, RegistryView::View64) == kSuccess;
  }
  void Close() override { key_.Close(); }

  std::optional<std::string> Text(std::string_view name) override {
    return key_.ReadString(name, kShortTextCapacity);
  }

  std::optional<std::string> WholeText(std::string_view name) override {
    return key_.ReadWholeString(name);
  }

  std::optional<std::uint32_t> Number(std::string_view name) override {
    return key_.ReadDword(name);
  }

  bool CanOpenSecurity(const std::string& path) override {
    RegKey security;
    return security.Open(registry_, Root::CurrentUser, path, Rights::Read, RegistryView::View64) ==
           kSuccess;
  }

  void SetExecutable(LoadedSettings& loaded, const std::string& install_folder) override {
    loaded.OutlookExePath = install_folder + std::string(kOutlookExe);
  }

 private:
  Registry& registry_;
  RegKey key_;
};

// Recover deleted items: machine-wide, always in the 64-bit view.
void LoadDumpster(Registry& registry, Form& form, LoadedSettings& loaded) {
  const SettingRow& row = CatalogueRow(Setting::DumpsterAlwaysOn);
  RegKey key;
  if (key.Open(registry, row.root, SettingKeyPath(row.key, {}), Rights::Read,
               RegistryView::View64) != kSuccess) {
    return;
  }
  if (auto value = key.ReadDword(row.name)) {
    loaded.DumpsterAlwaysOn = *value;
    form.SetChecked(row.control, loaded.DumpsterAlwaysOn == 1);
  }
}

// Click-to-Run says where it is in its own key, which detection read: Word\InstallRoot is
// not read for it.
void LoadExecutable(LoadView& view, const OutlookVersionInfo& outlook, LoadedSettings& loaded) {
  if (outlook.IsClickToRun()) {
    view.SetExecutable(loaded, outlook.ProgramFolder);
    return;
  }
  const OfficeVersion major = outlook.MajorVersion;
  const SettingRow& row = CatalogueRow(Setting::Path);
  if (!view.Open(row.root, SettingKeyPath(row.key, major))) {
    return;
  }
  // A folder that is not a full path would have Outlook looked for in the current folder:
  // such an executable counts as not found.
  if (auto folder = view.Text(row.name); folder && IsFullPath(*folder)) {
    view.SetExecutable(loaded, *folder);
  }
  view.Close();
}

// A key whose values each tick a box or fill a field.
void LoadPlainKey(LoadView& view, SettingKey key, OfficeVersion major, Form& form) {
  if (!view.Open(Root::CurrentUser, SettingKeyPath(key, major))) {
    return;
  }
  for (const SettingRow& row : kSettingsCatalogue) {
    if (row.key != key) {
      continue;
    }
    if (row.follow == Follow::TickIfOne) {
      if (view.Number(row.name) == 1u) {
        form.SetChecked(row.control, true);
      }
    } else if (row.follow == Follow::Text) {
      if (auto text = view.Text(row.name)) {
        form.SetText(row.control, *text);
      }
    }
  }
  view.Close();
}

// Outlook\Security: the attachment folders, the allow list and DEP; created, with its
// three texts empty, when it cannot be opened.
void LoadSecurity(LoadView& view, Registry& registry, const OutlookVersionInfo& outlook, Form& form,
                  LoadedSettings& loaded) {
  const std::string path = SettingKeyPath(SettingKey::OutlookSecurity, outlook.MajorVersion);
  if (!view.CanOpenSecurity(path)) {
    // Only a key made just now gets the empty values: one that exists but would not open
    // keeps what it holds.
    RegKey key;
    bool created = false;
    if (key.Create(registry, Root::CurrentUser, path, Rights::Write, RegistryView::NativeView,
                   &created) == kSuccess &&
        created) {
      for (Setting text : {Setting::OutlookSecureTempFolder, Setting::OutlookSecureOldTempFolder,
                           Setting::Level1Remove}) {
        (void)key.SetString(CatalogueRow(text).name, "");
      }
    }
    return;
  }
  if (!view.Open(Root::CurrentUser, path)) {
    return;
  }
  loaded.OutlookSecureTempFolder =
      view.Text(CatalogueRow(Setting::OutlookSecureTempFolder).name).value_or("");
  form.SetText(edAttachmentPath, loaded.OutlookSecureTempFolder);
  if (auto previous = view.Text(CatalogueRow(Setting::OutlookSecureOldTempFolder).name)) {
    loaded.OutlookSecureOldTempFolder = *previous;
    if (!previous->empty()) {
      form.SetEnabled(btnRevert, true);
    }
  }
  loaded.Level1Remove = view.WholeText(CatalogueRow(Setting::Level1Remove).name).value_or("");
  if (outlook.HasDepSetting()) {
    form.SetChecked(cbEnableDEP, view.Number(CatalogueRow(Setting::EnableDEP).name) == 1u);
  }
  view.Close();
}

void LoadSettings(LoadView& view, Registry& registry, const OutlookVersionInfo& outlook, Form& form,
                  LoadedSettings& loaded) {
  const OfficeVersion major = outlook.MajorVersion;
  LoadDumpster(registry, form, loaded);
  LoadExecutable(view, outlook, loaded);
  for (SettingKey key : {SettingKey::Outlook, SettingKey::OutlookOptions,
                         SettingKey::OutlookPreferences, SettingKey::OutlookOptionsMail}) {
    LoadPlainKey(view, key, major, form);
  }
  // The Office clipboard setting exists only in Outlook 2000 and 2002; it is never read.
  form.SetEnabled(cbShowClipboard, major == OfficeVersion::V9 || major == OfficeVersion::V10);
  LoadSecurity(view, registry, outlook, form, loaded);
  LoadPlainKey(view, SettingKey::CommonInternet, major, form);
}

}  // namespace

void ProcessRegRead32Bit(Registry& registry, const OutlookVersionInfo& outlook, Form& form,
                         LoadedSettings& loaded) {
  NativeLoad view(registry);
  LoadSettings(view, registry, outlook, form, loaded);
}

void ProcessRegRead64Bit(Registry& registry, const OutlookVersionInfo& outlook, Form& form,
                         LoadedSettings& loaded) {
  View64Load view(registry);
  LoadSettings(view, registry, outlook, form, loaded);
}

}  // namespace tarnwell
