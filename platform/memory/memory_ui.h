// What the in-memory forms, controls and toolkit share: the desktop and clock they live
// on, the forms alive, the modal state that decides which form takes the player's input,
// and the journal of form events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/toolkit.h"

namespace platform {

class MemoryForm;

enum class FormEvent {
  Created,
  Shown,
  ShownModal,
  Centred,  // placed in the middle of the screen as it was shown
  Closed,
  ClosedAfterScript,  // the scripted modal handler returned without closing the form
  ClosedUnscripted,   // shown modally with no handler scripted: closed at once
  Destroyed,
};

struct FormEventRecord {
  std::int64_t atMs = 0;
  WindowHandle form = 0;
  std::string caption;
  FormEvent event = FormEvent::Created;
  Bounds screen;  // the form's outer rectangle at the time
};

struct MemoryUi {
  MemoryUi(MemoryDesktop& d, MemoryClock& c) : desktop(d), clock(c) {}

  MemoryDesktop& desktop;
  MemoryClock& clock;
  std::vector<MemoryForm*> forms;       // alive, in creation order
  std::vector<MemoryForm*> modalStack;  // innermost last
  int boxesOpen = 0;                    // message boxes and dialogs being shown
  std::vector<FormEventRecord> formEvents;
  // The toolkit's modal loop: runs the scripted handler for a form shown modally.
  std::function<void(MemoryForm&)> runModal;
  // Shows what escapes an event handler; the toolkit makes it an error box. Unset, the
  // exception goes on to the caller.
  std::function<void(const std::string&)> reportUncaught;

  // Runs a copy of an event handler (the handler may destroy the object that holds it)
  // as the message loop does: an exception that escapes it is reported and goes no
  // further.
  template <class F, class... Args>
  void RunHandler(const F& handler, Args&&... args);

  void Record(const MemoryForm& form, FormEvent event);
  // A real click reaches the form: it is shown and no modal box or other modal form
  // stands in front of it.
  bool AcceptsInput(const MemoryForm& form) const;
};

template <class F, class... Args>
void MemoryUi::RunHandler(const F& handler, Args&&... args) {
  if (!handler) return;
  F copy = handler;
  try {
    copy(std::forward<Args>(args)...);
  } catch (...) {
    if (!reportUncaught) throw;
    auto report = reportUncaught;
    report(UncaughtErrorText());
  }
}

}  // namespace platform
