// The game accounts: the one place that reads, writes and opens their stored values.
//
// Account n keeps eight sealed values in the account key (accounts/account_key.h):
// n + "N" its name, n + "3" its login, n + "7" its password, and five decoys around them.
// A value that is missing, cannot be read or cannot be opened stands for the empty text.
//
// The name is sealed as it always was. A login or password is sealed around a form that
// says how it is protected beneath:
// - earlier versions' form: the text itself (read as before, rewritten by Settle);
// - the user's form: the system's data protection for the Windows user
//   (platform/protection.h), with this program's own entropy;
// - the lock's form: the same around a box (core/secret_box.h) under the lock key the
//   utility password keeps (lock/password_verifier.h), while the password is on.
// Every write protects afresh, so no two values share a key stream. The text is padded
// to the length of the longest the game takes, so a value does not tell how long it is.
#pragma once

#include <string>
#include <string_view>

#include "core/secure_wipe.h"
#include "lock/utility_lock.h"
#include "platform/services.h"

inline constexpr int AccountCount = 16;
// The entropy the program gives the user's data protection: its own second key.
inline constexpr std::string_view AccountEntropy = "Quenlar game account";

class AccountStore {
 public:
  // Without a lock, values in the lock's form do not open, and nothing is put into it.
  explicit AccountStore(platform::Services& services);
  AccountStore(platform::Services& services, const UtilityLock& lock);

  std::string Name(int account);
  Secret Login(int account);
  Secret Password(int account);

  // Writes the name, five fresh decoys, the login and the password, in that order, the
  // last two in the form the lock asks for. A write that does not reach the store
  // leaves as an exception naming the value ("Failed to set data for '12N'").
  void Save(int account, const std::string& name, const std::string& login,
            const std::string& password);

  // Removes every account.
  void RemoveAll();

  // Brings each stored login and password up to the protection the lock asks for: the
  // earlier versions' form to the user's, and, while the password is on and its key is
  // known, the user's form to the lock's. Nothing is taken down. False when a value that
  // was to be rewritten could not be.
  bool Settle();

  // Takes the lock's layer off every login and password it opens, for the password
  // going off or the settings going; a value it cannot open is lost already and left.
  // False when a value could not be rewritten: it still needs the lock key.
  bool ReleaseLock();

 private:
  Secret Read(int account, char suffix);
  bool UnderLock() const;
  bool Rewrite(const std::string& name, const std::string& plain, bool underLock);
  // Rewrites each stored login and password whose form `wanted` answers with the form
  // to take (true: the lock's); false when a rewrite failed.
  template <typename Wanted>
  bool RewriteWhere(Wanted wanted);

  platform::Services& services_;
  const UtilityLock* lock_ = nullptr;
};
