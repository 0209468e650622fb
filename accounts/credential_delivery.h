// Putting a stored account's login and password into the game's login fields by
// setting the fields' text with a window message: no keystrokes, no clipboard.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "accounts/account_store.h"
#include "core/secure_wipe.h"
#include "platform/services.h"

// The 145 bytes a text travels in: at most 144 characters and the closing zero. A
// longer text is cut, as the game's fields take no more.
class TransferBuffer {
 public:
  static constexpr std::size_t Size = 145;

  TransferBuffer() { Zero(); }
  ~TransferBuffer() { Zero(); }
  TransferBuffer(const TransferBuffer&) = delete;
  TransferBuffer& operator=(const TransferBuffer&) = delete;

  void Zero() { SecureZero(bytes_.data(), Size); }
  void Blank() { SecureFill(bytes_.data(), Size, ' '); }
  // Zeros the buffer, then copies the text in.
  void Load(const std::string& text);
  char* data() { return bytes_.data(); }
  const char* data() const { return bytes_.data(); }

 private:
  std::array<char, Size> bytes_;
};

// The rounds of decoy text the flood sends into both fields.
inline constexpr int FloodRounds = 1025;
inline constexpr int FloodTextLength = 10;

// How a fill ended. Anything but Submitted stops it at once: no more texts, no Enter.
enum class FillOutcome {
  Submitted,  // both texts set and Enter posted
  Refused,    // the game runs with higher rights and refuses the program's messages
  NoAnswer,   // a field did not answer in time (a hung game)
  GameGone,   // the game's window is no longer at a point: the client has ended
};
struct FillResult {
  FillOutcome outcome = FillOutcome::Submitted;
  platform::WindowHandle window = 0;  // the window that failed
};

// Fills both login fields of `game` (a process id) with random ten-character texts,
// FloodRounds times, at real-time process and highest thread priority; both are normal
// again however it ends. A round sends only to windows of `game`, the login field only
// while it is a field; a field that refuses or does not answer ends the flood.
FillResult FieldFlood(platform::Services& services, TransferBuffer& buffer, std::uint32_t game);

// Drops the old account key, floods when `stealth`, sets the login and the password of
// `account` into the fields at the two points, lets the program's own messages run,
// then presses Enter in the password field. The secrets go only to windows of `game`,
// the process whose login field the poll found.
FillResult CredentialFill(platform::Services& services, AccountStore& store, int account,
                          bool stealth, std::uint32_t game);

// Sets the password of `account` as the text of `target` (any window).
platform::Delivery DeliverPassword(platform::Services& services, AccountStore& store, int account,
                                   platform::WindowHandle target);
