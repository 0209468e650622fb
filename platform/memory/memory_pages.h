// The in-memory page control: pages of controls, one shown at a time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/memory/memory_container.h"

namespace platform {

class MemoryPageControl;

class MemoryPage final : public ContainerImpl<Container> {
 public:
  MemoryPage(MemoryPageControl& owner, std::string caption, FontSpec font);
  const std::string& caption() const { return caption_; }
  const FontSpec& font() const { return font_; }
  const std::vector<MemoryControl*>& controls() const { return controls_; }
  // Shows or hides the page's controls with it.
  void SetShown(bool shown);
  void SetMouseMove(MouseAction action) { onMouseMove_ = std::move(action); }
  // A move over the page's own background, in page client coordinates.
  bool UserMouseMove(Point client);

 protected:
  ControlSite Site() override;
  MemoryControl& Adopt(std::unique_ptr<MemoryControl> control) override;

 private:
  MemoryPageControl& owner_;
  std::string caption_;
  FontSpec font_;
  std::vector<MemoryControl*> controls_;
  bool shown_ = false;
  MouseAction onMouseMove_;
};

class MemoryPageControl final : public ControlImpl<PageControl> {
 public:
  MemoryPageControl(const ControlSite& site, const PageControlSpec& spec);
  const PageControlSpec& spec() const { return spec_; }
  Container& AddPage(const std::string& caption, const FontSpec& font) override;
  int PageCount() const override { return static_cast<int>(pages_.size()); }
  // An index out of range changes nothing.
  void SetActivePage(int index) override;
  int ActivePage() const override { return active_; }
  void SetPageMouseMove(int index, MouseAction onMouseMove) override;
  MemoryPage& page(int index) const { return *pages_.at(index); }
  // -1 when there is none.
  int PageIndex(const std::string& caption) const;
  // Clicking a page's tab.
  bool UserSelectPage(int index);

 private:
  friend class MemoryPage;
  PageControlSpec spec_;
  std::vector<std::unique_ptr<MemoryPage>> pages_;
  int active_ = -1;
};

}  // namespace platform
