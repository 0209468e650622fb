#include "accounts/account_key.h"

#include <cstdint>
#include <iterator>

namespace {

constexpr std::uint32_t AccountKeyCodes[24] = {
    92,  83,  111, 102, 116, 119, 97,  114, 101, 92,  80,  97,
    108, 118, 101, 120, 92,  75,  101, 121, 114, 105, 110, 103,
};

}  // namespace

std::string AccountKey() {
  std::string path;
  path.reserve(std::size(AccountKeyCodes));
  for (std::uint32_t code : AccountKeyCodes) path += static_cast<char>(code);
  return path;
}
