#include "platform/memory/memory_form.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Restores a flag when the scope ends, also by an exception.
class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = old_; }

 private:
  bool& flag_;
  bool old_;
};

}  // namespace

MemoryForm::MemoryForm(MemoryUi& ui, const FormSpec& spec, Action onClose)
    : ui_(ui), spec_(spec), onClose_(std::move(onClose)), caption_(spec.caption) {
  if (spec_.outerWidth > 0 && spec_.outerHeight > 0) {
    spec_.clientWidth = spec_.outerWidth - 2 * Border();
    spec_.clientHeight = spec_.outerHeight - TopFrame() - Border();
  }
  WindowSpec w;
  w.className = "Form";
  w.visible = false;
  w.proc = [this](const WindowMessage& m) {
    if (m.id == WindowMessageId::SetText) SetCaption(m.text);
  };
  window_ = ui_.desktop.AddWindow(std::move(w));
  Place();
  ui_.forms.push_back(this);
  ui_.Record(*this, FormEvent::Created);
}

MemoryForm::~MemoryForm() {
  ui_.Record(*this, FormEvent::Destroyed);
  std::erase(ui_.forms, this);
  std::erase(ui_.modalStack, this);
  // Controls go first, newest first, while the form's window still stands.
  while (!owned_.empty()) owned_.pop_back();
  order_.clear();
  ui_.desktop.RemoveWindow(window_);
}

int MemoryForm::Border() const { return spec_.border == BorderStyle::Sizeable ? 4 : 3; }

int MemoryForm::TopFrame() const {
  const int caption = spec_.border == BorderStyle::ToolWindow ? ToolCaptionHeight : CaptionHeight;
  return Border() + caption + (menus_.empty() ? 0 : MenuBarHeight);
}

Bounds MemoryForm::ScreenBounds() const {
  return {left_, top_, spec_.clientWidth + 2 * Border(),
          spec_.clientHeight + TopFrame() + Border()};
}

Point MemoryForm::ClientToScreen(Point client) const {
  return ui_.desktop.ClientToScreen(window_, client);
}

void MemoryForm::Place() {
  ui_.desktop.SetRect(window_, ScreenBounds());
  ui_.desktop.SetClientOffset(window_, {Border(), TopFrame()});
}

void MemoryForm::MoveTo(int left, int top) {
  left_ = left;
  top_ = top;
  Place();
}

Menu& MemoryForm::AddMenu(const std::string& caption, Action onPopup, Action onClick) {
  menus_.push_back(
      std::make_unique<MemoryMenu>(ui_, caption, std::move(onPopup), std::move(onClick)));
  Place();  // the menu bar takes room above the client area
  return *menus_.back();
}

void MemoryForm::Reveal() {
  if (spec_.centred) {
    const Bounds b = ScreenBounds();
    MoveTo((MemoryDesktop::ScreenWidth - b.width) / 2,
           (MemoryDesktop::ScreenHeight - b.height) / 2);
    ui_.Record(*this, FormEvent::Centred);
  }
  showing_ = true;
  ui_.desktop.SetVisible(window_, true);
  ui_.desktop.BringToTop(window_);
}

void MemoryForm::Show() {
  if (showing_) {
    ui_.desktop.BringToTop(window_);
    return;
  }
  Reveal();
  ui_.Record(*this, FormEvent::Shown);
}

void MemoryForm::ShowModal() {
  if (showing_) throw std::logic_error("Cannot make a visible window modal");
  Reveal();
  ui_.Record(*this, FormEvent::ShownModal);
  FlagScope modal(modal_, true);
  ui_.modalStack.push_back(this);
  struct Pop {
    MemoryUi& ui;
    MemoryForm* form;
    ~Pop() {
      auto it = std::find(ui.modalStack.rbegin(), ui.modalStack.rend(), form);
      if (it != ui.modalStack.rend()) ui.modalStack.erase(std::next(it).base());
    }
  } pop{ui_, this};
  if (ui_.runModal) ui_.runModal(*this);
  if (showing_) Close();  // a loop without a toolkit behind it: nothing keeps it open
}

void MemoryForm::Close() {
  if (!showing_ || closing_) return;
  FlagScope closing(closing_, true);
  Fire(onClose_);
  showing_ = false;
  ++closes_;
  ui_.desktop.SetVisible(window_, false);
  ui_.Record(*this, FormEvent::Closed);
}

MemoryControl& MemoryForm::Own(std::unique_ptr<MemoryControl> control) {
  owned_.push_back(std::move(control));
  order_.push_back(owned_.back().get());
  return *owned_.back();
}

MemoryButton& MemoryForm::ButtonCaptioned(const std::string& caption) const {
  for (auto* b : All<MemoryButton>()) {
    if (b->Text() == caption) return *b;
  }
  throw std::out_of_range("no button \"" + caption + "\" on form \"" + caption_ + "\"");
}

MemoryLabel& MemoryForm::LabelCaptioned(const std::string& caption) const {
  for (auto* l : All<MemoryLabel>()) {
    if (l->Text() == caption) return *l;
  }
  throw std::out_of_range("no label \"" + caption + "\" on form \"" + caption_ + "\"");
}

MemoryMenu& MemoryForm::MenuCaptioned(const std::string& caption) const {
  for (const auto& m : menus_) {
    if (m->Caption() == caption) return *m;
  }
  throw std::out_of_range("no menu \"" + caption + "\" on form \"" + caption_ + "\"");
}

MemoryMenuItem& MemoryForm::MenuItemCaptioned(const std::string& menu,
                                              const std::string& item) const {
  if (MemoryMenuItem* found = MenuCaptioned(menu).Item(item)) return *found;
  throw std::out_of_range("no item \"" + item + "\" in menu \"" + menu + "\"");
}

bool MemoryForm::UserOpenMenu(const std::string& menu) {
  MemoryMenu& m = MenuCaptioned(menu);
  if (!ui_.AcceptsInput(*this) || !m.Enabled()) return false;
  m.Popup();
  return true;
}

bool MemoryForm::UserChooseMenu(const std::string& menu, const std::string& item) {
  MemoryMenu& m = MenuCaptioned(menu);
  if (item.empty() && m.Items().empty()) {
    if (!ui_.AcceptsInput(*this) || !m.Enabled()) return false;
    m.Click();
    return true;
  }
  if (!UserOpenMenu(menu)) return false;
  // The opening handler may have changed the items' states, or closed the form.
  MemoryMenuItem* chosen = m.Item(item);
  if (!chosen || !chosen->Enabled() || !ui_.AcceptsInput(*this)) return false;
  chosen->Click();
  return true;
}

bool MemoryForm::UserPressEnter() {
  for (auto* b : All<MemoryButton>()) {
    if (b->spec().isDefault) return b->UserClick();
  }
  return false;
}

bool MemoryForm::UserPressEscape() {
  for (auto* b : All<MemoryButton>()) {
    if (b->spec().isCancel) return b->UserClick();
  }
  return false;
}

bool MemoryForm::UserClose() {
  if (!ui_.AcceptsInput(*this)) return false;
  Close();
  return true;
}

bool MemoryForm::UserMouseMove(Point client) {
  if (!ui_.AcceptsInput(*this)) return false;
  Fire(spec_.onMouseMove, MouseEvent{MouseButton::Left, client});
  return true;
}

}  // namespace platform
