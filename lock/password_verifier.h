// What "Login" keeps of the utility password, and how a typed password is checked.
//
// "Login" is a sealed text; empty means that no password is set. Unsealed, it is either
// the old form, the password itself (as earlier versions stored it), or a verifier:
// a marker, the number of rounds, a salt, a check value and the accounts' lock key,
// boxed. The check value and the box's key both come from PBKDF2-HMAC-SHA256 of the
// password's UTF-8 (PasswordRounds rounds) and cannot be turned back into the password;
// the lock key opens only with the password.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/secret_box.h"
#include "platform/services.h"

// The rounds a new verifier takes.
inline constexpr std::uint32_t PasswordRounds = 600000;

struct PasswordCheck {
  bool accepted = false;
  // Accepted by the old form: the verifier is still to be written.
  bool oldForm = false;
  // The accounts' lock key the verifier keeps; none for the old form.
  std::optional<BoxKey> key;
};

// Checks a typed password (its UTF-8 and its code-page form, which the old form holds)
// against the sealed "Login". An empty or damaged value accepts nothing.
PasswordCheck CheckPassword(platform::Volume& volume, const std::string& sealedLogin,
                            std::string_view typedUtf8, std::string_view typedCodePage);

// The sealed "Login" of a new password that keeps `key`: a fresh salt each time.
std::string SealedVerifier(platform::Services& services, std::string_view typedUtf8,
                           const BoxKey& key);
