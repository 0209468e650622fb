// The integrity checks that the scan sequence runs, and what they need from the
// main window.
#pragma once

#include <functional>
#include <memory>

#include "forms/event_log.h"
#include "platform/services.h"
#include "platform/toolkit.h"
#include "scan/findings.h"

// The Run keys of the current user and of the machine (both its views), and the other
// places programs start from (RunOnce, policies, Winlogon, the Startup folders).
enum class AutostartScope { User, Local, StartupPlaces };

class IntegrityChecks {
 public:
  virtual ~IntegrityChecks() = default;
  // Writes the scope's snapshot if it is missing; `accepting` suppresses the
  // first-time question (the player has just accepted changes).
  virtual void SnapshotAutostart(AutostartScope scope, bool accepting) = 0;
  virtual void CompareAutostart(AutostartScope scope) = 0;
  virtual void CheckExecutable(bool accepting) = 0;
  virtual void CheckPatcherConfig() = 0;
  virtual void CheckPlantedLibraries() = 0;
};

// The main window's side of the checks. Everything here outlives the checks.
struct ScanContext {
  platform::Services& services;
  EventLog& log;
  Findings& findings;
  // The open dialog that asks for the game executable on the first run.
  platform::OpenDialogSpec dlgExecutable;
  // Writes the program's own autostart entry; errors reach the caller.
  std::function<void()> writeAutostartEntry;
};

std::unique_ptr<IntegrityChecks> MakeIntegrityChecks(ScanContext& context);
