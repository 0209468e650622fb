// The two chat senders share the clipboard and edtTemp, and each lets the program's
// messages run while it posts, so a tick of one can fall inside a post of the other.
// Run keeps them apart: a post asked for while another is under way waits and runs
// once that one has ended, so no line is lost and the player's text is saved only once.
#pragma once

#include <array>
#include <functional>

#include "game_client/contract.h"
#include "platform/services.h"

enum class ChatPost { TimeOnline, Messages };

class ChatPosts {
 public:
  void Run(ChatPost which, const std::function<void()>& post) {
    posts_[Index(which)] = post;
    waiting_[Index(which)] = true;
    if (busy_) return;
    busy_ = true;
    struct Done {
      ChatPosts& self;
      ~Done() { self.busy_ = false; }
    } done{*this};
    for (bool any = true; any;) {
      any = false;
      for (std::size_t i = 0; i < waiting_.size(); ++i) {
        if (!waiting_[i]) continue;
        waiting_[i] = false;
        any = true;
        const std::function<void()> next = posts_[i];
        next();
      }
    }
  }
  bool busy() const { return busy_; }

 private:
  static std::size_t Index(ChatPost which) { return static_cast<std::size_t>(which); }

  bool busy_ = false;
  std::array<bool, 2> waiting_{};
  std::array<std::function<void()>, 2> posts_;
};

// The steps of one chat post, once the line is on the clipboard: Enter to the game's main
// window opens the chat line, a paste puts the line in, Enter sends it, with the pauses
// the client needs. What differs between the two senders on purpose is a parameter.
struct ChatLineSteps {
  // Let the program's own messages run after the opening Enter.
  bool letMessagesRun = false;
  // Paste only into a chat line found open at the chat point (even one opened before);
  // otherwise paste into whatever lies there, and only after this post opened it.
  bool onlyIntoAnOpenLine = false;
};

struct ChatLineResult {
  platform::Delivery delivery = platform::Delivery::Done;  // of the last step tried
  platform::WindowHandle window = 0;                       // where it went
  bool pasted = false;                                     // the paste was posted
};

inline ChatLineResult PostChatLine(platform::Services& services, platform::WindowHandle game,
                                   const ChatLineSteps& steps) {
  using platform::Delivery;
  platform::Desktop& desktop = services.desktop;
  auto windowIs = [&](platform::WindowHandle window, const char* className) {
    return desktop.ClassName(window, game_client::ClassNameCapacity) == className;
  };
  auto chatWindow = [&] { return desktop.WindowFromPoint(game_client::ChatPoint); };
  ChatLineResult result{Delivery::Done, game, false};
  bool opened = false;
  if (windowIs(game, game_client::GameWindowClass)) {
    result.delivery = desktop.PostKeyDown(game, game_client::EnterKey);
    if (result.delivery == Delivery::Done) {
      if (steps.letMessagesRun) services.toolkit.ProcessMessages();
      services.clock.Sleep(game_client::ChatStepPauseMs);
      opened = true;
    }
  }
  const bool paste = steps.onlyIntoAnOpenLine ? result.delivery == Delivery::Done &&
                                                    windowIs(chatWindow(), game_client::FieldClass)
                                              : opened;
  if (!paste) return result;
  result.window = chatWindow();
  result.pasted = true;
  result.delivery = desktop.PostPaste(result.window);
  if (result.delivery == Delivery::Done) {
    services.clock.Sleep(game_client::ChatStepPauseMs);
    result.delivery = desktop.PostKeyDown(result.window, game_client::EnterKey);
  }
  return result;
}
