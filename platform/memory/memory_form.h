// An in-memory form: a top-level window of class "Form" in the simulated desktop, with
// its controls, its menu bar and the drivers tests use on them.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/memory_container.h"
#include "platform/memory/memory_controls.h"
#include "platform/memory/memory_menu.h"
#include "platform/memory/memory_ui.h"

namespace platform {

class MemoryForm final : public ContainerImpl<Form> {
 public:
  // Frame sizes in pixels, so that screen positions come out as on a classic desktop.
  static constexpr int CaptionHeight = 19;
  static constexpr int ToolCaptionHeight = 15;
  static constexpr int MenuBarHeight = 19;

  MemoryForm(MemoryUi& ui, const FormSpec& spec, Action onClose);
  ~MemoryForm() override;

  WindowHandle Handle() const override { return window_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  std::string Caption() const override { return caption_; }
  Menu& AddMenu(const std::string& caption, Action onPopup, Action onClick) override;
  // Shows the form on top of every window; centred on the screen if its spec says so.
  void Show() override;
  // Throws std::logic_error for a form that is showing already, as the real toolkit does.
  void ShowModal() override;
  // Runs onClose and hides the form; nothing for a form that is not showing.
  void Close() override;
  bool Showing() const override { return showing_; }

  const FormSpec& spec() const { return spec_; }
  bool wasClosed() const { return closes_ > 0; }
  int closes() const { return closes_; }
  bool modal() const { return modal_; }
  // The outer rectangle on screen, frame included.
  Bounds ScreenBounds() const;
  Point ClientToScreen(Point client) const;
  void MoveTo(int left, int top);

  // Controls made on the form and its pages, in order.
  const std::vector<MemoryControl*>& controls() const { return order_; }
  template <class T>
  std::vector<T*> All() const;
  // The index-th control of that kind; throws std::out_of_range.
  template <class T>
  T& Nth(int index = 0) const;
  // Look-ups by caption; each throws std::out_of_range when there is no such control.
  MemoryButton& ButtonCaptioned(const std::string& caption) const;
  MemoryLabel& LabelCaptioned(const std::string& caption) const;
  MemoryMenu& MenuCaptioned(const std::string& caption) const;
  MemoryMenuItem& MenuItemCaptioned(const std::string& menu, const std::string& item) const;
  const std::vector<std::unique_ptr<MemoryMenu>>& menus() const { return menus_; }

  // Player drivers. Choosing a menu entry opens its menu first (running onPopup), then
  // chooses the item if it is enabled; an empty item chooses the entry itself.
  bool UserChooseMenu(const std::string& menu, const std::string& item = {});
  bool UserOpenMenu(const std::string& menu);
  // Enter: presses the default button, if there is one the player can reach.
  bool UserPressEnter();
  // Esc: presses the cancel button, if there is one; without it nothing happens.
  bool UserPressEscape();
  // The close box in the title bar.
  bool UserClose();
  // A move over the form's own background.
  bool UserMouseMove(Point client);

  MemoryControl* focusedControl() const { return focused_; }
  void SetFocused(MemoryControl* control) { focused_ = control; }
  void ForgetFocus(MemoryControl* control) {
    if (focused_ == control) focused_ = nullptr;
  }
  // Takes a control made on the form or on one of its pages.
  MemoryControl& Own(std::unique_ptr<MemoryControl> control);

 protected:
  ControlSite Site() override { return {ui_, *this, window_}; }
  MemoryControl& Adopt(std::unique_ptr<MemoryControl> control) override {
    return Own(std::move(control));
  }

 private:
  template <class F, class... Args>
  void Fire(const F& handler, Args&&... args) {
    ui_.RunHandler(handler, std::forward<Args>(args)...);
  }
  void Place();
  int Border() const;
  int TopFrame() const;
  void Reveal();

  MemoryUi& ui_;
  FormSpec spec_;
  Action onClose_;
  std::string caption_;
  WindowHandle window_ = 0;
  int left_ = 0;
  int top_ = 0;
  bool showing_ = false;
  bool closing_ = false;
  bool modal_ = false;
  int closes_ = 0;
  std::vector<std::unique_ptr<MemoryControl>> owned_;
  std::vector<MemoryControl*> order_;
  std::vector<std::unique_ptr<MemoryMenu>> menus_;
  MemoryControl* focused_ = nullptr;
};

template <class T>
std::vector<T*> MemoryForm::All() const {
  std::vector<T*> found;
  for (MemoryControl* c : order_) {
    if (auto* t = dynamic_cast<T*>(c)) found.push_back(t);
  }
  return found;
}

template <class T>
T& MemoryForm::Nth(int index) const {
  auto found = All<T>();
  if (index < 0 || index >= static_cast<int>(found.size())) {
    throw std::out_of_range("no such control on form \"" + caption_ + "\"");
  }
  return *found[index];
}

}  // namespace platform
