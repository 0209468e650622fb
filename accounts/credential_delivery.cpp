#include "accounts/credential_delivery.h"

#include <algorithm>
#include <cstring>

#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/settings_layout.h"
#include "game_client/contract.h"

using namespace platform;

namespace {

Delivery Send(Desktop& desktop, WindowHandle window, const TransferBuffer& buffer) {
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
Delivery SendText(Desktop& desktop, WindowHandle window, TransferBuffer& buffer,
                  const std::string& text) {
  buffer.Load(text);
  const Delivery delivery = Send(desktop, window, buffer);
  buffer.Zero();
  return delivery;
}

FillResult Failure(Delivery delivery, WindowHandle window) {
  switch (delivery) {
    case Delivery::Refused: return {FillOutcome::Refused, window};
    case Delivery::NoAnswer: return {FillOutcome::NoAnswer, window};
    default: return {FillOutcome::GameGone, window};
  }
}

// The window at the point, when it belongs to the game.
WindowHandle GameWindowAt(Desktop& desktop, game_client::ScreenPoint point, std::uint32_t game) {
  const WindowHandle window = desktop.WindowFromPoint(point);
  return window && desktop.WindowProcess(window) == game ? window : 0;
}

// Sends a login or password to the game's window at the point.
FillResult SendSecret(Services& services, TransferBuffer& buffer, const Secret& text,
                      game_client::ScreenPoint point, std::uint32_t game) {
  const WindowHandle window = GameWindowAt(services.desktop, point, game);
  if (!window) return {FillOutcome::GameGone, services.desktop.WindowFromPoint(point)};
  const Delivery delivery = SendText(services.desktop, window, buffer, text.text);
  if (delivery != Delivery::Done) return Failure(delivery, window);
  return {FillOutcome::Submitted, window};
}

}  // namespace

void TransferBuffer::Load(const std::string& text) {
  Zero();
  std::memcpy(bytes_.data(), text.data(), std::min(text.size(), Size - 1));
}

FillResult FieldFlood(Services& services, TransferBuffer& buffer, std::uint32_t game) {
  Desktop& desktop = services.desktop;
  RaisedPriority raised(services.process);
  for (int round = 0; round < FloodRounds; ++round) {
    const WindowHandle login = GameWindowAt(desktop, game_client::LoginPoint, game);
    for (int i = 0; i < FloodTextLength; ++i)
      buffer.data()[i] = static_cast<char>(1 + services.random.Below(255));
    if (desktop.ClassName(login, game_client::ClassNameCapacity) == game_client::FieldClass) {
      // A hung field would cost the time-out on every round: the decoys end there.
      Delivery delivery = Send(desktop, login, buffer);
      if (delivery != Delivery::Done) return Failure(delivery, login);
      if (const WindowHandle password = GameWindowAt(desktop, game_client::PasswordPoint, game)) {
        delivery = Send(desktop, password, buffer);
        if (delivery != Delivery::Done) return Failure(delivery, password);
      }
    }
    buffer.Zero();
  }
  return {};
}

FillResult CredentialFill(Services& services, AccountStore& store, int account, bool stealth,
                          std::uint32_t game) {
  // Nothing was there to remove, or it cannot be: the fill goes on.
  Absorb([&] { RegistryLayer(services.registry).DeleteKey(settings::OldAccountKey); });
  Desktop& desktop = services.desktop;
  TransferBuffer buffer;
  if (stealth) {
    const FillResult flood = FieldFlood(services, buffer, game);
    buffer.Zero();
    if (flood.outcome != FillOutcome::Submitted) return flood;
  }
  FillResult sent =
      SendSecret(services, buffer, store.Login(account), game_client::LoginPoint, game);
  if (sent.outcome != FillOutcome::Submitted) return sent;
  sent = SendSecret(services, buffer, store.Password(account), game_client::PasswordPoint, game);
  if (sent.outcome != FillOutcome::Submitted) return sent;
  const WindowHandle password = sent.window;
  services.toolkit.ProcessMessages();
  Delivery delivery = desktop.PostKeyDown(password, game_client::EnterKey);
  if (delivery == Delivery::Done) delivery = desktop.PostKeyUp(password, game_client::EnterKey);
  buffer.Blank();
  if (delivery != Delivery::Done) return Failure(delivery, password);
  return sent;
}

Delivery DeliverPassword(Services& services, AccountStore& store, int account,
                         WindowHandle target) {
  TransferBuffer buffer;
  const Secret password = store.Password(account);
  return SendText(services.desktop, target, buffer, password.text);
}
