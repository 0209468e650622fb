#include "platform/memory/memory_toolkit.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Counts a message loop (Run or RunFor) as under way for as long as it runs.
class LoopScope {
 public:
  explicit LoopScope(int& depth) : depth_(++depth) {}
  ~LoopScope() { --depth_; }
  LoopScope(const LoopScope&) = delete;
  LoopScope& operator=(const LoopScope&) = delete;
  bool Outermost() const { return depth_ == 1; }

 private:
  int& depth_;
};

}  // namespace

MemoryToolkit::MemoryToolkit(MemoryClock& clock, MemoryDesktop& desktop)
    : MemoryDialogs(ui_), clock_(clock), desktop_(desktop), ui_(desktop, clock), timers_(clock) {
  ui_.runModal = [this](MemoryForm& form) { RunModal(form); };
  ui_.reportUncaught = [this](const std::string& text) { ShowBox(MessageKind::Error, text); };
  timers_.SetTickRunner([this](const Action& onTimer) { ui_.RunHandler(onTimer); });
}

MemoryToolkit::~MemoryToolkit() {
  ui_.runModal = nullptr;
  ui_.reportUncaught = nullptr;
}

std::unique_ptr<Form> MemoryToolkit::CreateForm(const FormSpec& spec, Action onClose) {
  return std::make_unique<MemoryForm>(ui_, spec, std::move(onClose));
}

std::unique_ptr<Timer> MemoryToolkit::CreateTimer(const TimerSpec& spec) {
  return std::make_unique<MemoryTimer>(timers_, timers_.AddTimer(spec));
}

MessageAnswer MemoryToolkit::ShowMessage(MessageKind kind, const std::string& text) {
  return ShowBox(kind, text);
}

std::string MemoryToolkit::InputBox(const std::string& title, const std::string& prompt,
                                    const std::string& text) {
  return ShowInput(title, prompt, text);
}

std::string MemoryToolkit::ShowOpenDialog(const OpenDialogSpec& spec) { return ShowOpen(spec); }

void MemoryToolkit::Step() {
  desktop_.DeliverPosted();
  timers_.FireDue();
}

void MemoryToolkit::ProcessMessages() {
  ++pumps_;
  Step();
}

void MemoryToolkit::At(std::int64_t delayMs, Action input) {
  timers_.AddInput(clock_.nowMs() + std::max<std::int64_t>(delayMs, 0), std::move(input));
}

std::int64_t MemoryToolkit::NextEvent() const {
  if (desktop_.PendingCount() > 0) return clock_.nowMs();
  std::int64_t next = timers_.NextDue();
  const std::int64_t background = clock_.NextBackgroundDue();
  if (background >= 0 && (next < 0 || background < next)) next = background;
  return next < 0 ? -1 : std::max(next, clock_.nowMs());
}

bool MemoryToolkit::TerminateTakesEffect() {
  if (terminateRequested_) terminated_ = true;
  return terminated_;
}

void MemoryToolkit::RunFor(std::int64_t ms) {
  if (terminated_) return;
  const LoopScope loop(loopDepth_);
  const bool outermost = loop.Outermost();
  const std::int64_t until = clock_.nowMs() + std::max<std::int64_t>(ms, 0);
  for (;;) {
    Step();
    if (outermost && TerminateTakesEffect()) return;
    const std::int64_t next = NextEvent();
    if (next < 0 || next > until) break;
    clock_.AdvanceTo(next);
  }
  if (clock_.nowMs() < until) {
    clock_.AdvanceTo(until);
    Step();
    if (outermost) TerminateTakesEffect();
  }
}

void MemoryToolkit::Run(Form& mainForm) {
  if (terminated_) {
    lastStop_ = RunStop::Terminated;
    return;
  }
  MemoryForm& main = Of(mainForm);
  const LoopScope loop(loopDepth_);
  if (!main.Showing() && !main.wasClosed()) main.Show();
  const std::int64_t limit = clock_.nowMs() + runLimitMs_;
  for (;;) {
    Step();
    if (TerminateTakesEffect()) {
      lastStop_ = RunStop::Terminated;
      return;
    }
    if (!main.Showing()) {
      lastStop_ = RunStop::MainFormClosed;
      return;
    }
    const std::int64_t next = NextEvent();
    if (next < 0) {
      lastStop_ = RunStop::Idle;
      return;
    }
    if (next > limit) {
      clock_.AdvanceTo(limit);
      lastStop_ = RunStop::TimeLimit;
      return;
    }
    clock_.AdvanceTo(next);
  }
}

std::vector<FormEvent> MemoryToolkit::FormEventsOf(const std::string& caption) const {
  std::vector<FormEvent> events;
  for (const auto& e : ui_.formEvents) {
    if (e.caption == caption) events.push_back(e.event);
  }
  return events;
}

MemoryForm* MemoryToolkit::FormCaptioned(const std::string& caption) const {
  for (auto it = ui_.forms.rbegin(); it != ui_.forms.rend(); ++it) {
    if ((*it)->Caption() == caption) return *it;
  }
  return nullptr;
}

}  // namespace platform
