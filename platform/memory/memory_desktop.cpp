#include "platform/memory/memory_desktop.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace platform {

namespace {

constexpr std::size_t NoRecord = std::numeric_limits<std::size_t>::max();

bool Contains(const Bounds& r, Point p) {
  return p.x >= r.left && p.y >= r.top && p.x < r.left + r.width && p.y < r.top + r.height;
}

}  // namespace

MemoryDesktop::MemoryDesktop(MemoryClock& clock) : clock_(clock) {
  clock_.SetOtherProcesses([this] { DeliverForeign(); });
}

MemoryDesktop::~MemoryDesktop() { clock_.SetOtherProcesses(nullptr); }

const MemoryDesktop::Window* MemoryDesktop::Find(WindowHandle window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

MemoryDesktop::Window* MemoryDesktop::Find(WindowHandle window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

WindowHandle MemoryDesktop::AddWindow(WindowSpec spec) {
  if (spec.parent != 0 && !Find(spec.parent)) spec.parent = 0;
  const WindowHandle handle = nextHandle_;
  nextHandle_ += 4;  // handles of real windows are multiples of 2 too; keep them apart
  const WindowHandle parent = spec.parent;
  windows_.emplace(handle, Window{std::move(spec), {}});
  // A new window lies above its older siblings.
  if (parent == 0) {
    topLevels_.insert(topLevels_.begin(), handle);
  } else {
    auto& siblings = Find(parent)->children;
    siblings.insert(siblings.begin(), handle);
  }
  return handle;
}

void MemoryDesktop::RemoveWindow(WindowHandle window) {
  Window* w = Find(window);
  if (!w) return;
  for (WindowHandle child : std::vector<WindowHandle>(w->children)) RemoveWindow(child);
  const WindowHandle parent = w->spec.parent;
  auto& siblings = parent == 0 ? topLevels_ : Find(parent)->children;
  std::erase(siblings, window);
  windows_.erase(window);
  std::erase_if(queue_, [&](const Queued& q) {
    if (q.message.window != window) return false;
    if (q.record != NoRecord) journal_[q.record].fate = MessageFate::Dropped;
    return true;
  });
}

bool MemoryDesktop::Exists(WindowHandle window) const { return Find(window) != nullptr; }

std::string MemoryDesktop::ClassOf(WindowHandle window) const {
  const Window* w = Find(window);
  return w ? w->spec.className : std::string();
}

ProcessId MemoryDesktop::OwnerOf(WindowHandle window) const {
  const Window* w = Find(window);
  return w ? w->spec.owner : ProgramProcess;
}

WindowHandle MemoryDesktop::ParentOf(WindowHandle window) const {
  const Window* w = Find(window);
  return w ? w->spec.parent : 0;
}

void MemoryDesktop::SetRect(WindowHandle window, Bounds rect) {
  if (Window* w = Find(window)) w->spec.rect = rect;
}

Bounds MemoryDesktop::Rect(WindowHandle window) const {
  const Window* w = Find(window);
  return w ? w->spec.rect : Bounds{};
}

void MemoryDesktop::SetClientOffset(WindowHandle window, Point offset) {
  if (Window* w = Find(window)) w->spec.clientOffset = offset;
}

void MemoryDesktop::SetVisible(WindowHandle window, bool visible) {
  if (Window* w = Find(window)) w->spec.visible = visible;
}

void MemoryDesktop::SetEnabled(WindowHandle window, bool enabled) {
  if (Window* w = Find(window)) w->spec.enabled = enabled;
}

bool MemoryDesktop::IsShown(WindowHandle window) const {
  for (const Window* w = Find(window); w; w = Find(w->spec.parent)) {
    if (!w->spec.visible) return false;
    if (w->spec.parent == 0) return true;
  }
  return false;
}

bool MemoryDesktop::IsEnabled(WindowHandle window) const {
  for (const Window* w = Find(window); w; w = Find(w->spec.parent)) {
    if (!w->spec.enabled) return false;
    if (w->spec.parent == 0) return true;
  }
  return false;
}

void MemoryDesktop::BringToTop(WindowHandle window) {
  Window* w = Find(window);
  if (!w) return;
  auto& siblings = w->spec.parent == 0 ? topLevels_ : Find(w->spec.parent)->children;
  std::erase(siblings, window);
  siblings.insert(siblings.begin(), window);
}

Bounds MemoryDesktop::ScreenRect(WindowHandle window) const {
  const Window* w = Find(window);
  if (!w) return {};
  Bounds r = w->spec.rect;
  if (w->spec.parent != 0) {
    const Point origin = ClientToScreen(w->spec.parent, {0, 0});
    r.left += origin.x;
    r.top += origin.y;
  }
  return r;
}

Point MemoryDesktop::ClientToScreen(WindowHandle window, Point client) const {
  const Window* w = Find(window);
  if (!w) return client;
  const Bounds r = ScreenRect(window);
  return {r.left + w->spec.clientOffset.x + client.x, r.top + w->spec.clientOffset.y + client.y};
}

std::vector<WindowHandle> MemoryDesktop::WindowsOf(ProcessId owner) const {
  std::vector<WindowHandle> found;
  for (const auto& [handle, w] : windows_) {
    if (w.spec.owner == owner) found.push_back(handle);
  }
  return found;  // handles grow, so the map's order is the creation order
}

WindowHandle MemoryDesktop::WindowFromPoint(Point screen) {
  for (WindowHandle top : topLevels_) {
    const Window& w = *Find(top);
    // Hidden and disabled windows are passed over, as the real call does.
    if (!w.spec.visible || !w.spec.enabled || !Contains(w.spec.rect, screen)) continue;
    if (w.spec.transparent) continue;
    return Descend(top, screen);
  }
  return 0;
}

WindowHandle MemoryDesktop::Descend(WindowHandle window, Point screen) const {
  for (WindowHandle child : Find(window)->children) {
    const Window& c = *Find(child);
    if (!c.spec.visible || c.spec.transparent || !Contains(ScreenRect(child), screen)) continue;
    // A disabled child takes no part: the point belongs to its parent.
    if (!c.spec.enabled) return window;
    return Descend(child, screen);
  }
  return window;
}

std::string MemoryDesktop::ClassName(WindowHandle window, int capacity) {
  if (capacity <= 0) return {};
  std::string name = ClassOf(window);
  if (name.size() > static_cast<std::size_t>(capacity - 1)) name.resize(capacity - 1);
  return name;
}

std::size_t MemoryDesktop::Record(WindowHandle window, WindowMessageId id, std::uintptr_t wparam,
                                  const std::string& text, bool posted) {
  MessageRecord r;
  r.atMs = clock_.nowMs();
  r.window = window;
  r.message = id;
  r.wparam = wparam;
  r.text = text;
  r.posted = posted;
  if (const Window* w = Find(window)) {
    r.className = w->spec.className;
    r.owner = w->spec.owner;
    r.fate = posted ? MessageFate::Pending : MessageFate::Handled;
  } else {
    r.fate = MessageFate::NoWindow;
  }
  journal_.push_back(std::move(r));
  return journal_.size() - 1;
}

void MemoryDesktop::Dispatch(const WindowMessage& message, std::size_t record) {
  const Window* w = Find(message.window);
  if (!w) {
    if (record != NoRecord) journal_[record].fate = MessageFate::Dropped;
    return;
  }
  if (record != NoRecord) journal_[record].fate = MessageFate::Handled;
  // A copy: the procedure may destroy its own window.
  WindowProc proc = w->spec.proc;
  if (proc) proc(message);
}

std::uint32_t MemoryDesktop::WindowProcess(WindowHandle window) {
  const Window* w = Find(window);
  return w ? ProcessIdBase + static_cast<std::uint32_t>(w->spec.owner) : 0;
}

Elevation MemoryDesktop::ProcessElevation(WindowHandle window) {
  if (!Find(window)) return Elevation::Unknown;
  return Refuses(window) ? Elevation::Elevated : Elevation::Normal;
}

std::string MemoryDesktop::ProcessImage(WindowHandle window) {
  if (!Find(window)) return {};
  const auto image = images_.find(OwnerOf(window));
  return image == images_.end() ? std::string() : image->second;
}

bool MemoryDesktop::Refuses(WindowHandle window) const {
  return higherRights_.count(OwnerOf(window)) > 0;
}

void MemoryDesktop::SetHigherRights(ProcessId process, bool higher) {
  if (higher)
    higherRights_.insert(process);
  else
    higherRights_.erase(process);
}

Delivery MemoryDesktop::SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) {
  WindowMessage m{WindowMessageId::SetText, window, wparam, text ? text : ""};
  const std::size_t record = Record(window, m.id, wparam, m.text, false);
  if (!Find(window)) return Delivery::NoWindow;
  if (Refuses(window)) {
    journal_[record].fate = MessageFate::Refused;
    return Delivery::Refused;
  }
  if (hung_.count(window)) {
    // The sender waits out the time-out; the window never sees the message.
    clock_.AdvanceBy(SendTimeoutMs);
    journal_[record].fate = MessageFate::TimedOut;
    return Delivery::NoAnswer;
  }
  Dispatch(m, record);
  return Delivery::Done;
}

void MemoryDesktop::SetHung(WindowHandle window, bool hung) {
  if (hung)
    hung_.insert(window);
  else
    hung_.erase(window);
}

Delivery MemoryDesktop::Post(WindowHandle window, WindowMessageId id, std::uintptr_t wparam) {
  const std::size_t record = Record(window, id, wparam, {}, true);
  if (!Find(window)) return Delivery::NoWindow;
  if (Refuses(window)) {
    journal_[record].fate = MessageFate::Refused;
    return Delivery::Refused;
  }
  queue_.push_back({WindowMessage{id, window, wparam, {}}, record});
  return Delivery::Done;
}

Delivery MemoryDesktop::PostKeyDown(WindowHandle window, int virtualKey) {
  return Post(window, WindowMessageId::KeyDown, static_cast<std::uintptr_t>(virtualKey));
}

Delivery MemoryDesktop::PostKeyUp(WindowHandle window, int virtualKey) {
  return Post(window, WindowMessageId::KeyUp, static_cast<std::uintptr_t>(virtualKey));
}

Delivery MemoryDesktop::PostCopy(WindowHandle window) {
  return Post(window, WindowMessageId::Copy, 0);
}

Delivery MemoryDesktop::PostPaste(WindowHandle window) {
  return Post(window, WindowMessageId::Paste, 0);
}

void MemoryDesktop::Deliver(bool foreignOnly) {
  for (;;) {
    auto it = std::find_if(queue_.begin(), queue_.end(), [&](const Queued& q) {
      return !foreignOnly || OwnerOf(q.message.window) != ProgramProcess;
    });
    if (it == queue_.end()) return;
    Queued q = std::move(*it);
    queue_.erase(it);
    Dispatch(q.message, q.record);
  }
}

void MemoryDesktop::DeliverPosted() { Deliver(false); }

void MemoryDesktop::DeliverForeign() { Deliver(true); }

int MemoryDesktop::PendingForProgram() const {
  return static_cast<int>(std::count_if(queue_.begin(), queue_.end(), [&](const Queued& q) {
    return OwnerOf(q.message.window) == ProgramProcess;
  }));
}

std::optional<std::string> MemoryDesktop::clipboard() const {
  for (const auto& format : clipboard_) {
    if (format.id == TextFormat) return format.bytes;
  }
  return std::nullopt;
}

void MemoryDesktop::SetClipboard(std::optional<std::string> text) {
  ClipboardContents contents;
  if (text) contents.push_back({TextFormat, {}, std::move(*text)});
  SetClipboardContents(std::move(contents));
}

void MemoryDesktop::SetClipboardContents(ClipboardContents contents) {
  clipboard_ = std::move(contents);
  ++clipboardSequence_;
}

void MemoryDesktop::CopyText(const std::string& text) {
  if (!clipboardHeld_) SetClipboard(text);
}

std::optional<std::string> MemoryDesktop::PasteText() const {
  if (clipboardHeld_) return std::nullopt;
  return clipboard();
}

std::optional<ClipboardContents> MemoryDesktop::SaveClipboard() {
  if (clipboardHeld_) return std::nullopt;
  return clipboard_;
}

bool MemoryDesktop::RestoreClipboard(const ClipboardContents& contents) {
  if (clipboardHeld_) return false;
  SetClipboardContents(contents);
  return true;
}

std::vector<MessageRecord> MemoryDesktop::MessagesTo(WindowHandle window) const {
  std::vector<MessageRecord> found;
  for (const auto& r : journal_) {
    if (r.window == window) found.push_back(r);
  }
  return found;
}

std::vector<MessageRecord> MemoryDesktop::MessagesOfKind(WindowMessageId message) const {
  std::vector<MessageRecord> found;
  for (const auto& r : journal_) {
    if (r.message == message) found.push_back(r);
  }
  return found;
}

void MemoryDesktop::ClearJournal() {
  journal_.clear();
  for (auto& q : queue_) q.record = NoRecord;
}

}  // namespace platform
