// The utility password's pass: which actions ask for the password, and when a pass that
// was given is used up. Every guarded action goes through here, so the rules stand in one
// place. `PasswordEnabled` (only 1 means on) and `Unlocked` are the program's shared state;
// the lock reads and changes them.
#pragma once

#include "platform/services.h"

class UtilityLock {
 public:
  UtilityLock(platform::Services& services, const int& PasswordEnabled, bool& Unlocked)
      : services_(services), PasswordEnabled_(PasswordEnabled), Unlocked_(Unlocked) {}
  UtilityLock(const UtilityLock&) = delete;
  UtilityLock& operator=(const UtilityLock&) = delete;

  bool On() const { return PasswordEnabled_ == 1; }

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
  void UseUp() { Unlocked_ = false; }

 private:
  bool Ask();

  platform::Services& services_;
  const int& PasswordEnabled_;
  bool& Unlocked_;
};
