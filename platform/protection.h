// The system's data protection for the current Windows user.
//
// Protect gives a blob that only the same user can open again: under Windows through the
// user's own keys (the data-protection API), so a registry export, a backup or a copied
// disk opens on no other machine and under no other account. `entropy` is a second key
// of the program's own: a blob opens only with the entropy it was made with. Every blob
// is made afresh (the system salts it), so two protections of one text differ. Unprotect
// gives nullopt for a blob of another user or entropy, or one cut short or whose seal (at
// its end) was changed; the system signs only part of the blob, so what the program
// must know to be whole it boxes itself. Neither call shows anything or throws.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class UserProtection {
 public:
  virtual ~UserProtection() = default;
  // nullopt when the system refuses.
  virtual std::optional<std::string> Protect(std::string_view plain, std::string_view entropy) = 0;
  virtual std::optional<std::string> Unprotect(std::string_view blob, std::string_view entropy) = 0;
};

}  // namespace platform
