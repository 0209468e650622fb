#include "platform/registry.h"

namespace platform {

RegistryValue RegistryValue::Text(std::string text, ValueKind kind) {
  return RegistryValue{kind, std::move(text)};
}

RegistryValue RegistryValue::Dword(std::uint32_t value) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return RegistryValue{ValueKind::Dword, b};
}

std::uint32_t RegistryValue::AsDword() const {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return v;
}

}  // namespace platform
