// The user's data protection in memory: a blob is bound to the user signed in when it
// was made, so a test can show that another account (or machine) opens nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/protection.h"
#include "platform/system.h"

namespace platform {

class MemoryUserProtection : public UserProtection {
 public:
  explicit MemoryUserProtection(Random& random) : random_(random) {}

  std::optional<std::string> Protect(std::string_view plain, std::string_view entropy) override;
  std::optional<std::string> Unprotect(std::string_view blob, std::string_view entropy) override;

  // Who is signed in: what one user protected does not open for another.
  void SetUser(const std::string& user) { user_ = user; }
  // From now on (or no longer) the system refuses to protect anything.
  void SetRefusing(bool refusing) { refusing_ = refusing; }
  // How many blobs were made.
  int protections() const { return protections_; }

 private:
  Random& random_;
  std::string user_ = "player";
  bool refusing_ = false;
  int protections_ = 0;
};

}  // namespace platform
