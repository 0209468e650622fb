// The two chat senders share the clipboard and edtTemp, and each lets the program's
// messages run while it posts, so a tick of one can fall inside a post of the other.
// Run keeps them apart: a post asked for while another is under way waits and runs
// once that one has ended, so no line is lost and the player's text is saved only once.
#pragma once

#include <array>
#include <functional>

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
