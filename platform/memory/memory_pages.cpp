#include "platform/memory/memory_pages.h"

#include <utility>

#include "platform/memory/memory_form.h"

namespace platform {

namespace {

// Where the pages' client area starts inside the tab control, beside the tabs.
Point PageOrigin(const PageControlSpec& spec) {
  return spec.tabsOnRight ? Point{4, 4} : Point{4, 24};
}

}  // namespace

MemoryPage::MemoryPage(MemoryPageControl& owner, std::string caption, FontSpec font)
    : owner_(owner), caption_(std::move(caption)), font_(std::move(font)) {}

ControlSite MemoryPage::Site() { return {owner_.ui_, owner_.form_, owner_.window()}; }

MemoryControl& MemoryPage::Adopt(std::unique_ptr<MemoryControl> control) {
  MemoryControl& adopted = owner_.form_.Own(std::move(control));
  adopted.SetHostVisible(shown_);
  controls_.push_back(&adopted);
  return adopted;
}

void MemoryPage::SetShown(bool shown) {
  shown_ = shown;
  for (MemoryControl* c : controls_) c->SetHostVisible(shown);
}

bool MemoryPage::UserMouseMove(Point client) {
  if (!shown_ || !owner_.Reachable()) return false;
  owner_.ui_.RunHandler(onMouseMove_, MouseEvent{MouseButton::Left, client});
  return true;
}

MemoryPageControl::MemoryPageControl(const ControlSite& site, const PageControlSpec& spec)
    : ControlImpl(site, spec.bounds, "SysTabControl32", false), spec_(spec) {
  ui_.desktop.SetClientOffset(window_, PageOrigin(spec));
}

Container& MemoryPageControl::AddPage(const std::string& caption, const FontSpec& font) {
  pages_.push_back(std::make_unique<MemoryPage>(*this, caption, font));
  // The first page is the one shown until another is chosen.
  if (active_ < 0) SetActivePage(0);
  return *pages_.back();
}

void MemoryPageControl::SetActivePage(int index) {
  if (index < 0 || index >= PageCount()) return;
  active_ = index;
  for (int i = 0; i < PageCount(); ++i) pages_[i]->SetShown(i == index);
}

void MemoryPageControl::SetPageMouseMove(int index, MouseAction onMouseMove) {
  if (index >= 0 && index < PageCount()) pages_[index]->SetMouseMove(std::move(onMouseMove));
}

int MemoryPageControl::PageIndex(const std::string& caption) const {
  for (int i = 0; i < PageCount(); ++i) {
    if (pages_[i]->caption() == caption) return i;
  }
  return -1;
}

bool MemoryPageControl::UserSelectPage(int index) {
  if (!Reachable() || index < 0 || index >= PageCount()) return false;
  SetActivePage(index);
  return true;
}

}  // namespace platform
