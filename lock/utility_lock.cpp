#include "lock/utility_lock.h"

#include <exception>

#include "core/absorb.h"
#include "lock/ufrmLogin.h"

bool UtilityLock::Ask() { return AskUtilityPassword(services_, Unlocked); }

bool UtilityLock::PassToPlay() {
  if (!Unlocked) {
    if (On())
      Ask();
    else
      Unlocked = true;
  }
  return Unlocked;
}

bool UtilityLock::PassToEdit() {
  if (!On()) return true;
  UseUp();
  return Ask();
}

bool UtilityLock::PassToDrag() { return Ask(); }

bool UtilityLock::PassToSwitch() {
  UseUp();
  return !On() || Ask();
}

bool UtilityLock::PassToKeepAccounts() {
  if (!On()) return true;
  UseUp();
  const bool passed = Absorb<std::exception>(false, [&] { return Ask(); });
  UseUp();
  return passed;
}

bool UtilityLock::ChangePassword() {
  UseUp();
  // The pass the current password gave stands whether a new one is stored or not;
  // closing the second dialog without storing keeps the old password in force.
  return Ask() && AskNewUtilityPassword(services_);
}
