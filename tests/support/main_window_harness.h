#pragma once

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

// The main window's logic on in-memory platform services: registry writes and messages go
// to one journal, in order. The custom location entry window is there from the start, as
// in the program.
struct MainWindowHarness {
  explicit MainWindowHarness(MemoryRegistry::Windows windows = MemoryRegistry::Windows::Bits64)
      : registry(windows, &journal), dialogs(&journal), processes(&journal), shell(&journal) {
    SeedProcessorArchitecture(registry,
                              windows == MemoryRegistry::Windows::Bits64 ? "AMD64" : "x86");
    SeedProductName(registry, "Windows 7 Professional");
  }

  // The start-up sequence; the journal then holds only what the user does afterwards.
  void Create() {
    window.FormCreate();
    journal.Clear();
  }

  Journal journal;
  MemoryRegistry registry;
  MemoryFileSystem files;
  ScriptedDialogs dialogs;
  FixedElevation elevation;
  FakeProcesses processes;
  FakeShell shell;
  FixedClock clock;
  MemoryForm form{MainWindowLayout()};
  MemoryForm entry{LocationEntryLayout()};  // kept from start-up, as the program does
  AppState state;
  MainWindow window{form, entry,
                    Services{registry, dialogs, elevation, files, processes, shell, clock}, state};
};

}  // namespace tarnwell
