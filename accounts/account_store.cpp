#include "accounts/account_store.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "accounts/account_key.h"
#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/secret_box.h"
#include "core/settings_layout.h"

using namespace platform;

namespace {

// The decoy values written around the login and the password, in writing order.
constexpr char DecoySuffixes[] = {'1', '2', '4', '5', '6'};
constexpr std::uint32_t DecoyBound = 1000000000;
constexpr char SecretSuffixes[] = {settings::AccountLoginSuffix, settings::AccountPasswordSuffix};

// No text typed into a field starts with a zero byte, so no earlier form looks like these.
constexpr std::string_view UserForm("\0QA1U", 5);
constexpr std::string_view LockForm("\0QA1L", 5);
// The game's fields take 144 characters; with the length in front, every shorter text
// takes as much room as the longest.
constexpr std::size_t PaddedSize = 146;

enum class ValueForm { Empty, Earlier, User, Lock, Unknown };

ValueForm FormOf(const std::string& inner) {
  if (inner.empty()) return ValueForm::Empty;
  if (inner[0] != '\0') return ValueForm::Earlier;
  if (inner.starts_with(UserForm)) return ValueForm::User;
  if (inner.starts_with(LockForm)) return ValueForm::Lock;
  return ValueForm::Unknown;
}

std::string Padded(const std::string& plain) {
  std::string framed;
  framed += static_cast<char>(plain.size() >> 8);
  framed += static_cast<char>(plain.size() & 0xFF);
  framed += plain;
  framed.resize(std::max(PaddedSize, (framed.size() + 15) / 16 * 16), '\0');
  return framed;
}

std::optional<std::string> Unpadded(const std::string& framed) {
  if (framed.size() < 2) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(static_cast<unsigned char>(framed[0])) << 8 |
                             static_cast<unsigned char>(framed[1]);
  if (length > framed.size() - 2) return std::nullopt;
  return framed.substr(2, length);
}

void Write(RegistryLayer& store, const std::string& name, const std::string& sealed) {
  if (!store.WriteText(name, sealed))
    throw std::runtime_error("Failed to set data for '" + name + "'");
}

RegistryLayer OpenStore(Registry& registry) {
  RegistryLayer store(registry);
  if (!store.OpenKey(AccountKey(), true))
    throw std::runtime_error("Failed to open the account store");
  return store;
}

// What a stored login or password holds: its form, and its text where it opens.
struct Opened {
  ValueForm form = ValueForm::Empty;
  std::optional<Secret> plain;
};

}  // namespace

AccountStore::AccountStore(Services& services) : services_(services) {}

AccountStore::AccountStore(Services& services, const UtilityLock& lock)
    : services_(services), lock_(&lock) {}

bool AccountStore::UnderLock() const { return lock_ && lock_->On() && lock_->key(); }

std::string AccountStore::Name(int account) {
  return Absorb<std::exception>(std::string(), [&] {
    RegistryLayer store = OpenStore(services_.registry);
    const auto sealed =
        store.ReadText(settings::AccountValueName(account, settings::AccountNameSuffix));
    return UnsealText(services_.volume, sealed.value_or(""));
  });
}

namespace {

Opened Open(Services& services, const UtilityLock* lock, const std::string& sealed) {
  Secret inner(UnsealText(services.volume, sealed));
  Opened opened{.form = FormOf(inner.text)};
  switch (opened.form) {
    case ValueForm::Empty: opened.plain.emplace(); break;
    case ValueForm::Earlier: opened.plain.emplace(std::move(inner.text)); break;
    case ValueForm::User:
    case ValueForm::Lock: {
      const std::string_view blob = std::string_view(inner.text).substr(UserForm.size());
      std::optional<std::string> framed = services.protection.Unprotect(blob, AccountEntropy);
      if (framed && opened.form == ValueForm::Lock) {
        const Secret box(std::move(*framed));
        framed.reset();
        if (lock && lock->key()) framed = OpenBox(*lock->key(), box.text);
      }
      if (!framed) break;
      const Secret whole(std::move(*framed));
      if (auto text = Unpadded(whole.text)) opened.plain.emplace(std::move(*text));
      break;
    }
    case ValueForm::Unknown: break;
  }
  return opened;
}

}  // namespace

Secret AccountStore::Read(int account, char suffix) {
  auto text = Absorb<std::exception>(std::optional<Secret>(), [&] {
    RegistryLayer store = OpenStore(services_.registry);
    const auto sealed = store.ReadText(settings::AccountValueName(account, suffix));
    return Open(services_, lock_, sealed.value_or("")).plain;
  });
  return text ? std::move(*text) : Secret();
}

Secret AccountStore::Login(int account) { return Read(account, settings::AccountLoginSuffix); }

Secret AccountStore::Password(int account) {
  return Read(account, settings::AccountPasswordSuffix);
}

namespace {

// The sealed value of a login or password in the form asked for; nullopt when the
// system refuses to protect it or the lock key is not there.
std::optional<std::string> Closed(Services& services, const UtilityLock* lock,
                                  const std::string& plain, bool underLock) {
  if (plain.empty()) return std::string();  // an empty field stays an empty value
  const Secret framed(Padded(plain));
  std::optional<std::string> blob;
  if (underLock) {
    if (!lock || !lock->key()) return std::nullopt;
    const Secret box(CloseBox(services.random, *lock->key(), framed.text));
    blob = services.protection.Protect(box.text, AccountEntropy);
  } else {
    blob = services.protection.Protect(framed.text, AccountEntropy);
  }
  if (!blob) return std::nullopt;
  Secret inner(std::string(underLock ? LockForm : UserForm) + *blob);
  return SealText(services.volume, inner.text);
}

}  // namespace

void AccountStore::Save(int account, const std::string& name, const std::string& login,
                        const std::string& password) {
  const std::string s = std::to_string(account);
  RegistryLayer store = OpenStore(services_.registry);
  Write(store, s + settings::AccountNameSuffix, SealText(services_.volume, name));
  for (char suffix : DecoySuffixes)
    Write(store, s + suffix,
          SealText(services_.volume, std::to_string(services_.random.Below(DecoyBound))));
  // A login or password that did not reach the store must not pass for saved.
  const bool underLock = UnderLock();
  for (const auto& [suffix, text] : {std::pair{settings::AccountLoginSuffix, &login},
                                     std::pair{settings::AccountPasswordSuffix, &password}}) {
    const std::string valueName = s + suffix;
    const auto sealed = Closed(services_, lock_, *text, underLock);
    if (!sealed) throw std::runtime_error("Failed to set data for '" + valueName + "'");
    Write(store, valueName, *sealed);
  }
}

void AccountStore::RemoveAll() {
  Absorb([&] { RegistryLayer(services_.registry).DeleteKey(AccountKey()); });
}

bool AccountStore::Rewrite(const std::string& name, const std::string& plain, bool underLock) {
  return Absorb<std::exception>(false, [&] {
    RegistryLayer store = OpenStore(services_.registry);
    const auto sealed = Closed(services_, lock_, plain, underLock);
    return sealed && store.WriteText(name, *sealed);
  });
}

template <typename Wanted>
bool AccountStore::RewriteWhere(Wanted wanted) {
  bool rewritten = true;
  for (int account = 1; account <= AccountCount; ++account)
    for (char suffix : SecretSuffixes) {
      const std::string name = settings::AccountValueName(account, suffix);
      const Opened opened = Absorb<std::exception>(Opened{.form = ValueForm::Unknown}, [&] {
        RegistryLayer store = OpenStore(services_.registry);
        return Open(services_, lock_, store.ReadText(name).value_or(""));
      });
      // A value that does not open is lost already: there is nothing to rewrite.
      const std::optional<bool> underLock = wanted(opened.form);
      if (underLock && opened.plain && !Rewrite(name, opened.plain->text, *underLock))
        rewritten = false;
    }
  return rewritten;
}

bool AccountStore::Settle() {
  const bool underLock = UnderLock();
  return RewriteWhere([underLock](ValueForm form) -> std::optional<bool> {
    if (form == ValueForm::Earlier || (form == ValueForm::User && underLock)) return underLock;
    return std::nullopt;
  });
}

bool AccountStore::ReleaseLock() {
  return RewriteWhere([](ValueForm form) -> std::optional<bool> {
    if (form == ValueForm::Lock) return false;
    return std::nullopt;
  });
}
