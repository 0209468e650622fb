#include "core/secret_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_system.h"

namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// A box as this version writes it, worked out apart from the program: what is stored
// today must open in every later version, and its text shows nowhere in it.
TEST(SecretBoxTest, ABoxOfThisVersionOpensAndOnlyUnchangedUnderItsKey) {
  std::string keyBytes;
  for (int i = 0; i < 32; ++i) keyBytes += static_cast<char>(i);
  const BoxKey key = *BoxKey::From(keyBytes);
  const std::string text = "kael/hunter2 and a line longer than one block of the stream!";
  const std::string box = FromHex(
      "6465666768696a6b6c6d6e6f70717273cb0c764e33b8e71908467a14f0ccd4ba7e6d9d1dd407d48a43e65c03"
      "c69683b3a1e0b9105496e5f28d0f465a06b089580ddbba513354506efb9397852d71b27cbe414a96b2b4a89c"
      "571d0d3b");
  platform::MemoryRandom random;
  std::vector<std::uint32_t> nonce;
  for (std::uint32_t byte = 100; byte < 116; ++byte) nonce.push_back(byte);
  random.Script(nonce);
  EXPECT_EQ(CloseBox(random, key, text), box);
  EXPECT_EQ(OpenBox(key, box), text);
  std::string changed = box;
  changed[20] ^= 1;
  EXPECT_EQ(OpenBox(key, changed), std::nullopt);
  keyBytes[0] = 1;
  EXPECT_EQ(OpenBox(*BoxKey::From(keyBytes), box), std::nullopt);
  EXPECT_EQ(OpenBox(key, box.substr(0, 31)), std::nullopt);
}

}  // namespace
