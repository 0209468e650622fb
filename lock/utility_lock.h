// The utility password's pass: which actions ask for the password, and when a pass that
// was given is used up. Every guarded action goes through here, so the rules stand in one
// place. The lock holds the password's switch and the pass itself.
#pragma once

#include <optional>

#include "core/secret_box.h"
#include "platform/services.h"

struct UtilityPasswordAnswer;

class UtilityLock {
 public:
  explicit UtilityLock(platform::Services& services) : services_(services) {}
  UtilityLock(const UtilityLock&) = delete;
  UtilityLock& operator=(const UtilityLock&) = delete;

  int PasswordEnabled = 0;  // only 1 switches the utility password on
  bool Unlocked = false;    // a pass was given and not yet used up

  bool On() const { return PasswordEnabled == 1; }

  // Starting the game: a pass already given stands; otherwise the password is asked for
  // when it is on, and the pass is free when it is off.
  bool PassToPlay();
  // Editing an account: when on, a fresh answer is needed; when off, no prompt and the
  // pass is left as it is.
  bool PassToEdit();
  // Dragging the password into the game: asked at every release, on or off.
  bool PassToDrag();
  // Switching the password on or off: off needs it, on does not.
  bool PassToSwitch();
  // Resetting the settings: true when the accounts may stay (the password is off, or it
  // was given). A prompt that fails in any way counts as not given. The pass is used up.
  bool PassToKeepAccounts();
  // Changing the password: the current one first (which gives the pass), then a new one.
  // True when a new one was stored.
  bool ChangePassword();

  // The pass goes with the action it was given for.
  void UseUp() { Unlocked = false; }

  // The key of the accounts kept under the password: known from the first prompt of the
  // run that the password passed (or that stored it), and kept for the run, so the fill
  // after a launch can open what the prompt before it allowed.
  const std::optional<BoxKey>& key() const { return key_; }

 private:
  bool Ask();
  void Take(const UtilityPasswordAnswer& answer);

  platform::Services& services_;
  std::optional<BoxKey> key_;
};
