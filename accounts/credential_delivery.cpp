#include "accounts/credential_delivery.h"

#include <algorithm>
#include <cstring>

#include "accounts/account_key.h"
#include "core/absorb.h"
#include "core/game_client.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"

using namespace platform;

namespace {

constexpr int EnterKey = 13;

WindowHandle WindowAt(Desktop& desktop, game_client::ScreenPoint point) {
  return desktop.WindowFromPoint({point.x, point.y});
}

bool Send(Desktop& desktop, WindowHandle window, const TransferBuffer& buffer) {
  return desktop.SendSetText(window, game_client::FieldTextCapacity, buffer.data());
}

// Real-time class and highest thread priority for as long as it lives.
class RaisedPriority {
 public:
  explicit RaisedPriority(Process& process) : process_(process) {
    process_.SetPriorityClass(PriorityClass::Realtime);
    process_.SetThreadPriority(ThreadPriority::Highest);
  }
  ~RaisedPriority() {
    process_.SetPriorityClass(PriorityClass::Normal);
    process_.SetThreadPriority(ThreadPriority::Normal);
  }
  RaisedPriority(const RaisedPriority&) = delete;
  RaisedPriority& operator=(const RaisedPriority&) = delete;

 private:
  Process& process_;
};

// Loads the text and sends it; the plain copy in the buffer goes as soon as it is sent.
void SendText(Desktop& desktop, WindowHandle window, TransferBuffer& buffer,
              const std::string& text) {
  buffer.Load(text);
  Send(desktop, window, buffer);
  buffer.Zero();
}

}  // namespace

std::string ReadAccountValue(Services& services, int account, char suffix) {
  return Absorb(std::string(), [&] {
    RegistryLayer layer(services.registry);
    layer.OpenKey(AccountKey(), true);
    const auto sealed = layer.ReadText(settings::AccountValueName(account, suffix));
    return UnsealText(services.volume, sealed.value_or(""));
  });
}

void TransferBuffer::Load(const std::string& text) {
  Zero();
  std::memcpy(bytes_.data(), text.data(), std::min(text.size(), Size - 1));
}

void FieldFlood(Services& services, TransferBuffer& buffer) {
  Desktop& desktop = services.desktop;
  RaisedPriority raised(services.process);
  bool answering = true;
  for (int round = 0; round < FloodRounds; ++round) {
    const WindowHandle login = WindowAt(desktop, game_client::LoginPoint);
    for (int i = 0; i < FloodTextLength; ++i)
      buffer.data()[i] = static_cast<char>(1 + services.random.Below(255));
    if (answering &&
        desktop.ClassName(login, game_client::ClassNameCapacity) == game_client::FieldClass) {
      answering = Send(desktop, login, buffer);
      const WindowHandle password = WindowAt(desktop, game_client::PasswordPoint);
      // A hung field would cost the time-out on every round: the decoys end there.
      if (answering && !Send(desktop, password, buffer) && password) answering = false;
    }
    buffer.Zero();
  }
}

void CredentialFill(Services& services, int account, bool stealth) {
  // Nothing was there to remove, or it cannot be: the fill goes on.
  Absorb([&] { RegistryLayer(services.registry).DeleteKey(settings::OldAccountKey); });
  Desktop& desktop = services.desktop;
  TransferBuffer buffer;
  if (stealth) FieldFlood(services, buffer);

  const WindowHandle login = WindowAt(desktop, game_client::LoginPoint);
  {
    Secret text(ReadAccountValue(services, account, settings::AccountLoginSuffix));
    SendText(desktop, login, buffer, text.text);
  }
  const WindowHandle password = WindowAt(desktop, game_client::PasswordPoint);
  {
    Secret text(ReadAccountValue(services, account, settings::AccountPasswordSuffix));
    SendText(desktop, password, buffer, text.text);
  }
  services.toolkit.ProcessMessages();
  desktop.PostKeyDown(password, EnterKey);
  desktop.PostKeyUp(password, EnterKey);
  buffer.Blank();
}

void DeliverPassword(Services& services, int account, WindowHandle target) {
  TransferBuffer buffer;
  Secret password(ReadAccountValue(services, account, settings::AccountPasswordSuffix));
  SendText(services.desktop, target, buffer, password.text);
}
