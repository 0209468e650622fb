// Where everything the program remembers lives in the registry: keys, value names,
// types, defaults and which values are sealed. Every other module names a key or a
// value through these constants and nowhere else.
//
// All keys are under HKEY_CURRENT_USER unless noted. A text is a String value; an
// integer or a Boolean is a DWORD (a Boolean is stored as 1 or 0 and is on when
// non-zero). A sealed value is stored as the Base64 text its sealing gives.
#pragma once

#include <cstdint>
#include <string>

namespace settings {

enum class Sealing { Plain, Sealed };

struct TextValue {
  const char* key;
  const char* name;
  Sealing sealing;
  const char* defaultValue;
};

struct IntegerValue {
  const char* key;
  const char* name;
  std::int32_t defaultValue;
};

struct BoolValue {
  const char* key;
  const char* name;
  bool defaultValue;
};

// Keys.
inline constexpr const char* ProductKey = "\\Software\\Palvex\\Quenlar";
inline constexpr const char* AccessKey = "\\Software\\Palvex\\Quenlar\\Access\\";
// The stored checksum of the game executable; a missing key means no reference yet.
inline constexpr const char* ChecksumKey = "\\Software\\Palvex\\Quenlar\\Checksum\\";
// Snapshots of the autostart entries: one value per entry, named as the entry, its
// data sealed. "User" mirrors the current user's Run key, "Local" the machine's (kept
// under HKEY_CURRENT_USER all the same). A missing key means no snapshot yet.
inline constexpr const char* UserKey = "\\Software\\Palvex\\Quenlar\\User\\";
inline constexpr const char* LocalKey = "\\Software\\Palvex\\Quenlar\\Local\\";
// The machine's 32-bit view of its Run key, where a 32-bit program's entries land.
inline constexpr const char* Local32Key = "\\Software\\Palvex\\Quenlar\\Local32\\";
// Snapshots of the other places programs start from: RunOnce, the Explorer policies' Run
// keys, Winlogon's Shell and Userinit, and the Startup folders.
inline constexpr const char* UserRunOnceKey = "\\Software\\Palvex\\Quenlar\\UserRunOnce\\";
inline constexpr const char* LocalRunOnceKey = "\\Software\\Palvex\\Quenlar\\LocalRunOnce\\";
inline constexpr const char* Local32RunOnceKey = "\\Software\\Palvex\\Quenlar\\LocalRunOnce32\\";
inline constexpr const char* UserPolicyRunKey = "\\Software\\Palvex\\Quenlar\\UserPolicyRun\\";
inline constexpr const char* LocalPolicyRunKey = "\\Software\\Palvex\\Quenlar\\LocalPolicyRun\\";
inline constexpr const char* UserWinlogonKey = "\\Software\\Palvex\\Quenlar\\UserWinlogon\\";
inline constexpr const char* LocalWinlogonKey = "\\Software\\Palvex\\Quenlar\\LocalWinlogon\\";
inline constexpr const char* UserStartupKey = "\\Software\\Palvex\\Quenlar\\UserStartup\\";
inline constexpr const char* CommonStartupKey = "\\Software\\Palvex\\Quenlar\\CommonStartup\\";
// Where accounts were once kept. Nothing writes it any more; it is only deleted.
inline constexpr const char* OldAccountKey = "\\Software\\Palvex\\Quenlar\\Account\\";

// The autostart key, under HKEY_CURRENT_USER and under HKEY_LOCAL_MACHINE alike, and the
// name of the program's own entry in it (the data is the program's full path, plain).
inline constexpr const char* RunKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* OwnRunEntry = "Quenlar";

// Values.
inline constexpr TextValue Path{ProductKey, "Path", Sealing::Sealed, ""};

// Only the value 1 switches the utility password on.
inline constexpr IntegerValue Validate{AccessKey, "Validate", 0};
// The utility password; empty means none is set.
inline constexpr TextValue Login{AccessKey, "Login", Sealing::Sealed, ""};
inline constexpr IntegerValue Acc{AccessKey, "Acc", 1};
inline constexpr BoolValue Stealth{AccessKey, "Stealth", false};
inline constexpr BoolValue Messaging{AccessKey, "Messaging", true};
inline constexpr BoolValue Online{AccessKey, "Online", false};
inline constexpr BoolValue Warning{AccessKey, "Warning", false};
inline constexpr TextValue MessageTarget{AccessKey, "MessageTarget", Sealing::Plain, ""};

// The canned chat lines "Message0" to "Message25". A non-empty slot is sealed; an
// empty one is stored as the empty string.
inline constexpr const char* MessageKey = AccessKey;
inline constexpr const char* MessagePrefix = "Message";
inline constexpr int MessageSlotCount = 26;
inline constexpr const char* MessageDefault = "";

inline std::string MessageValueName(int slot) { return MessagePrefix + std::to_string(slot); }

// The decimal text of the game executable's checksum, sealed.
inline constexpr TextValue ChecksumValue{ChecksumKey, "Value", Sealing::Sealed, ""};
// Beside it, the executable's SHA-256 as 64 lower-case hexadecimal digits, sealed. A
// checksum stored before this value existed has none; the next start adds it.
inline constexpr TextValue DigestValue{ChecksumKey, "Digest", Sealing::Sealed, ""};

// Account records, in the account key of accounts/account_key.h (outside this tree):
// account n names its values n in decimal followed by one suffix character, so the
// names of different accounts never collide.
inline constexpr char AccountNameSuffix = 'N';
inline constexpr char AccountLoginSuffix = '3';
inline constexpr char AccountPasswordSuffix = '7';

inline std::string AccountValueName(int account, char suffix) {
  return std::to_string(account) + suffix;
}

}  // namespace settings
