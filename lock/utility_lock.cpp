#include "lock/utility_lock.h"

#include <exception>

#include "core/absorb.h"
#include "lock/ufrmLogin.h"

void UtilityLock::Take(const UtilityPasswordAnswer& answer) {
  if (answer.key) key_ = answer.key;
}

bool UtilityLock::Ask() {
  const UtilityPasswordAnswer answer = AskUtilityPassword(services_, key_);
  Unlocked = answer.accepted;
  Take(answer);
  return Unlocked;
}

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
  if (!Ask()) return false;
  const UtilityPasswordAnswer answer = AskNewUtilityPassword(services_, key_);
  Take(answer);
  return answer.accepted;
}
