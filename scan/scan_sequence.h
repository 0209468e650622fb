// The start-up scan: the scan driver that runs the integrity checks in their fixed
// order, the one-shot sequence around it, and the Exit button that offers to accept
// what was found.
#pragma once

#include <functional>
#include <string>

#include "forms/event_log.h"
#include "platform/services.h"
#include "platform/toolkit.h"
#include "scan/checks.h"
#include "scan/findings.h"

// The main window's pieces the scan drives. All of them outlive the sequence.
struct ScanControls {
  platform::Form& form;
  platform::Button& btnClose;
  platform::Button& btnPlay;
  platform::Button& btnAccount;
  platform::Animation& animScan;
  platform::Timer& tmrScan;
};

class ScanSequence {
 public:
  // `messageTarget` is read when the sequence writes its last line, so later changes
  // are seen.
  ScanSequence(platform::Services& services, ScanControls controls, EventLog& log,
               Findings& findings, IntegrityChecks& checks, std::function<void()> titleRefresh,
               const std::string& messageTarget);

  // The first tick of tmrScan: the driver, the patcher and library checks, the title
  // and the message-target line; the timer is stopped first so this runs once.
  void tmrScanTimer();
  // The scan driver: autostart snapshots and comparisons and the executable check,
  // with the three buttons disabled meanwhile. Also run again by a configuration reset.
  void RunScan();
  // Asks whether to accept reported autostart and executable changes, then closes
  // the main window.
  void btnCloseClick();

 private:
  // Runs one check; whatever it throws ends that check alone.
  void Guarded(const std::function<void()>& check);
  void Pause();  // lets the window repaint, then keeps the thread busy for 300 ms
  void SetButtonsEnabled(bool enabled);
  bool Confirmed(const std::string& question);
  void AcceptAutostart();
  void AcceptExecutable();

  platform::Services& services_;
  ScanControls controls_;
  EventLog& log_;
  Findings& findings_;
  IntegrityChecks& checks_;
  std::function<void()> titleRefresh_;
  const std::string& messageTarget_;
};
