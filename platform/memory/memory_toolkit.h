// The in-memory window toolkit: forms and timers on the virtual clock, scripted modal
// dialogs, and the message loop, driven by tests.
//
// Time moves only in Sleep (no messages are handled meanwhile, only other processes
// run), in RunFor and in Run. ProcessMessages handles the posted messages and whatever
// timers and scheduled input are due at the present virtual time, re-entrantly: a tick
// that falls due while a handler pumps messages runs inside that handler.
//
// Terminate is deferred: it takes effect at the end of the current step of the outermost
// RunFor or when control is back in Run's loop, never in the middle of a handler; a
// handler that pumps (a RunFor inside it) still gets its messages, as under Win32.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_form.h"
#include "platform/memory/memory_timers.h"
#include "platform/memory/memory_ui.h"
#include "platform/toolkit.h"

namespace platform {

enum class RunStop {
  NotRun,
  MainFormClosed,
  Terminated,
  Idle,       // nothing enabled or waiting: the loop would have waited for ever
  TimeLimit,  // the run limit of virtual time was reached
};

class MemoryToolkit : public Toolkit, public MemoryDialogs {
 public:
  // Run gives up after this much virtual time, so a program whose timers never stop
  // cannot hang a test: one hour.
  static constexpr std::int64_t DefaultRunLimitMs = 3600000;

  MemoryToolkit(MemoryClock& clock, MemoryDesktop& desktop);
  ~MemoryToolkit() override;
  MemoryToolkit(const MemoryToolkit&) = delete;
  MemoryToolkit& operator=(const MemoryToolkit&) = delete;

  void SetApplicationTitle(const std::string& title) override { title_ = title; }
  std::unique_ptr<Form> CreateForm(const FormSpec& spec, Action onClose) override;
  std::unique_ptr<Timer> CreateTimer(const TimerSpec& spec) override;
  MessageAnswer ShowMessage(MessageKind kind, const std::string& text) override;
  std::string InputBox(const std::string& title, const std::string& prompt,
                       const std::string& text) override;
  std::string ShowOpenDialog(const OpenDialogSpec& spec) override;
  void ProcessMessages() override;
  // Shows the main form if it has never been shown, then loops: handles what is due and
  // moves the clock on to the next timer tick, scheduled input or background event.
  void Run(Form& mainForm) override;
  void Terminate() override { terminateRequested_ = true; }

  // Runs the message loop for `ms` of virtual time, firing every tick at its due time.
  // Returns at once once the application has ended.
  void RunFor(std::int64_t ms);
  // The player does something `delayMs` from now: `input` runs as a message of the
  // program, at the first message handling at or after that time.
  void At(std::int64_t delayMs, Action input);
  void SetRunLimit(std::int64_t ms) { runLimitMs_ = ms; }
  RunStop lastRunStop() const { return lastStop_; }
  bool terminateRequested() const { return terminateRequested_; }
  // Terminate has taken effect: the application has ended.
  bool terminated() const { return terminated_; }

  const std::string& applicationTitle() const { return title_; }
  MemoryUi& ui() { return ui_; }
  const std::vector<FormEventRecord>& formEvents() const { return ui_.formEvents; }
  std::vector<FormEvent> FormEventsOf(const std::string& caption) const;
  // The live forms, oldest first; the newest with this caption, or null.
  const std::vector<MemoryForm*>& forms() const { return ui_.forms; }
  MemoryForm* FormCaptioned(const std::string& caption) const;
  int ticks() const { return timers_.ticks(); }
  int processMessagesCalls() const { return pumps_; }

  // The in-memory form behind a form this toolkit made.
  static MemoryForm& Of(Form& form) { return dynamic_cast<MemoryForm&>(form); }

 private:
  // Handles posted messages, then what is due now.
  void Step();
  // The virtual time of the next thing to handle, or -1.
  std::int64_t NextEvent() const;
  // Ends the application if Terminate was asked for; true if it has ended.
  bool TerminateTakesEffect();

  MemoryClock& clock_;
  MemoryDesktop& desktop_;
  MemoryUi ui_;
  TimerScheduler timers_;
  std::string title_;
  std::int64_t runLimitMs_ = DefaultRunLimitMs;
  RunStop lastStop_ = RunStop::NotRun;
  bool terminateRequested_ = false;
  bool terminated_ = false;
  int loopDepth_ = 0;  // Run and RunFor calls under way, nested in handlers
  int pumps_ = 0;
};

}  // namespace platform
