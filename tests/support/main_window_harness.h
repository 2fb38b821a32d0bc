#pragma once

#include <string>
#include <vector>

#include "fakes/fake_processes.h"
#include "fakes/memory_file_system.h"
#include "fakes/memory_form.h"
#include "fakes/memory_registry.h"
#include "support/registry_seed.h"
#include "support/scripted_dialogs.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "windows/main_window.h"

namespace tarnwell {

class FixedElevation final : public Elevation {
 public:
  bool elevated = true;
  bool IsAppElevated() override { return elevated; }
};

// The main window on in-memory services, which journal what they are asked in order.
struct MainWindowHarness {
  explicit MainWindowHarness(MemoryRegistry::Windows windows = MemoryRegistry::Windows::Bits64)
      : registry(windows, &journal), dialogs(&journal), processes(&journal), shell(&journal) {
    SeedProcessorArchitecture(registry,
                              windows == MemoryRegistry::Windows::Bits64 ? "AMD64" : "x86");
    SeedProductName(registry, "Windows 7 Professional");
  }

  void Create() {  // the journal then holds only what the user does afterwards
    window.FormCreate();
    journal.Clear();
  }
  std::vector<std::string> Press(ControlId id) {
    journal.Clear();
    Dispatch(window, dialogs, id, Event::Click);
    return journal.Entries();
  }
  Services Svc() { return {registry, dialogs, elevation, files, processes, shell, clock}; }

  Journal journal;
  MemoryRegistry registry;
  MemoryFileSystem files;
  ScriptedDialogs dialogs;
  FixedElevation elevation;
  FakeProcesses processes;
  FakeShell shell;
  FixedClock clock;
  MemoryForm form{MainWindowLayout()};
  MemoryForm entry{LocationEntryLayout()};
  AppState state;
  MainWindow window{form, entry, Svc(), state};
};

}  // namespace tarnwell
