// The user's data protection through the system (crypt32's CryptProtectData), loaded
// from the system folder when first needed, so the program imports nothing beside it.
#pragma once

#include "platform/protection.h"

namespace platform::win32 {

class Win32UserProtection final : public UserProtection {
 public:
  std::optional<std::string> Protect(std::string_view plain, std::string_view entropy) override;
  std::optional<std::string> Unprotect(std::string_view blob, std::string_view entropy) override;
};

}  // namespace platform::win32
