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

namespace platform {

class MemoryForm;

// Runs a copy of an event handler: the handler may destroy the object that holds it.
template <class F, class... Args>
void Fire(const F& handler, Args&&... args) {
  if (!handler) return;
  F copy = handler;
  copy(std::forward<Args>(args)...);
}

enum class FormEvent {
  Created,
  Shown,
  ShownModal,
  Centred,            // placed in the middle of the screen as it was shown
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

  void Record(const MemoryForm& form, FormEvent event);
  // A real click reaches the form: it is shown and no modal box or other modal form
  // stands in front of it.
  bool AcceptsInput(const MemoryForm& form) const;
};

}  // namespace platform
