// The in-memory backend's rigs for the shared contract suites in tests/contract.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/memory/memory_autostart.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_controls.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_machine.h"
#include "platform/memory/memory_protection.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "platform/memory/memory_view_controls.h"

namespace contract {

class MemoryRegistryRig {
 public:
  platform::Registry& registry() { return registry_; }
  std::string Key(const std::string& child) const { return "Software\\QuenlarTests\\" + child; }

 private:
  platform::MemoryRegistry registry_;
};

class MemoryFilesRig {
 public:
  static constexpr std::uint32_t ReadOnlyAttribute = platform::file_attribute::ReadOnly;
  static constexpr std::uint32_t HiddenAttribute = platform::file_attribute::Hidden;
  static constexpr std::uint32_t SystemAttribute = platform::file_attribute::System;

  MemoryFilesRig() { files_.AddDirectory("C:\\Scratch"); }
  platform::Files& files() { return files_; }
  std::string Child(const std::string& name) const { return "C:\\Scratch\\" + name; }
  std::string Write(const std::string& name, const std::string& bytes) {
    files_.AddFile(Child(name), bytes);
    return Child(name);
  }
  std::string MakeDirectory(const std::string& name) {
    files_.AddDirectory(Child(name));
    return Child(name);
  }
  void SetAttributes(const std::string& path, std::uint32_t attributes) {
    files_.SetAttributes(path, attributes);
  }
  // The file held open by another program, or nullptr.
  std::unique_ptr<platform::FileHold> Hold(const std::string& path, platform::FileAccess access,
                                           platform::FileShare share) {
    auto hold = std::make_unique<platform::FileHold>(files_.HoldOpen(path, access, share));
    return hold->held() ? std::move(hold) : nullptr;
  }

 private:
  platform::MemoryFiles files_;
};

class MemorySystemRig {
 public:
  platform::Volume& volume() { return volume_; }
  platform::Cursor& cursor() { return cursor_; }
  platform::Random& random() { return random_; }
  platform::Digests& digests() { return digests_; }
  platform::UserProtection& protection() { return protection_; }

 private:
  platform::MemoryVolume volume_;
  platform::MemoryCursor cursor_;
  platform::MemoryRandom random_;
  platform::MemoryDigests digests_;
  platform::MemoryUserProtection protection_{random_};
};

// The virtual clock: time passes only by sleeping.
class MemoryClockRig {
 public:
  platform::Clock& clock() { return clock_; }

 private:
  platform::MemoryClock clock_;
};

// A whole simulated machine: its toolkit, its desktop and the virtual clock that drives
// both. The player's part is played through the controls' User calls and the scripts.
class MemoryToolkitRig {
 public:
  platform::Toolkit& toolkit() { return machine_.toolkit(); }
  platform::Desktop& desktop() { return machine_.desktop(); }
  platform::Clock& clock() { return machine_.clock(); }

  void Pass(int ms) { machine_.toolkit().RunFor(ms); }

  // An edit of another process that has stopped handling its messages, as a hung game's
  // field; ReleaseHungWindow lets it go on and gives the text it then holds.
  platform::WindowHandle MakeHungWindow() {
    auto& desktop = machine_.desktop();
    hungText_.clear();
    hung_ = desktop.AddWindow({.className = "Edit",
                               .owner = desktop.NewProcess(),
                               .rect = {0, 0, 100, 20},
                               .proc = [this](const platform::WindowMessage& message) {
                                 if (message.id == platform::WindowMessageId::SetText)
                                   hungText_ = message.text;
                               }});
    desktop.SetHung(hung_, true);
    return hung_;
  }
  std::string ReleaseHungWindow() {
    machine_.desktop().SetHung(hung_, false);
    machine_.toolkit().RunFor(100);
    machine_.desktop().RemoveWindow(hung_);
    return hungText_;
  }

  bool PassUntil(const std::function<bool()>& done) {
    for (int waited = 0; waited < 10000; waited += 10) {
      if (done()) return true;
      machine_.toolkit().RunFor(10);
    }
    return done();
  }
  // Runs `act` once the form with this caption is shown modally.
  void WhenModal(const std::string& caption, std::function<void()> act) {
    machine_.toolkit().ScriptModal(caption, [act](platform::MemoryForm&) { act(); });
  }
  void AnswerMessage(platform::MessageKind kind, platform::MessageAnswer answer) {
    machine_.toolkit().ScriptMessageOfKind(kind, answer);
  }
  // The text of the last box shown; "" for none.
  std::string AnsweredText() {
    const auto& boxes = machine_.toolkit().messageBoxes();
    return boxes.empty() ? std::string() : boxes.back().text;
  }
  // The player's click on a button, through the handlers' guard as all input.
  void ClickAsPlayer(platform::Button& button) {
    dynamic_cast<platform::MemoryButton&>(button).UserClick();
  }
  bool TakesInput(platform::Form& form) {
    return machine_.toolkit().ui().AcceptsInput(platform::MemoryToolkit::Of(form));
  }
  // The next input box with this title: OK with `text` typed, or Cancel for nullopt.
  void AnswerInput(const std::string& title, std::optional<std::string> text) {
    machine_.toolkit().ScriptInput(title, std::move(text));
  }
  // The next open dialog: `path` chosen, or cancelled for nullopt.
  void AnswerOpenDialog(const std::string& /*title*/, std::optional<std::string> path) {
    machine_.toolkit().ScriptOpenDialog(std::move(path));
  }
  std::string AnExistingFile() {
    machine_.files().AddFile("C:\\Games\\Mir\\mir.exe", "MZ");
    return "C:\\Games\\Mir\\mir.exe";
  }
  std::string AFileInAFolder(const std::string& folder, const std::string& name) {
    const std::string path = "C:\\" + folder + "\\" + name;
    machine_.files().AddFile(path, "MZ");
    return path;
  }

  // The pointer on a speed or picture button, at client points of it; the picture
  // button is pressed and released where the pointer last was.
  // A key pressed with the focus in `field` of `form`: 13 is Enter, 27 Esc.
  // The player typing UTF-8 text into a field.
  void TypeAsPlayer(platform::Edit& field, const std::string& text) {
    dynamic_cast<platform::MemoryEdit&>(field).UserTypeUtf8(text);
  }
  void PressKey(platform::Form& form, platform::Control& /*field*/, int key) {
    auto& f = platform::MemoryToolkit::Of(form);
    key == 13 ? f.UserPressEnter() : f.UserPressEscape();
  }
  void Press(platform::Control& button, platform::Point at) {
    if (auto* speed = Speed(button))
      speed->UserMouseDown(platform::MouseButton::Left, at);
    else
      Picture(button).UserMouseDown(platform::MouseButton::Left);
  }
  void MoveTo(platform::Control& button, platform::Point at) {
    if (auto* speed = Speed(button))
      speed->UserMouseMove(at);
    else
      Picture(button).UserPointerMove(at);
  }
  void Release(platform::Control& button, platform::Point at) {
    if (auto* speed = Speed(button))
      speed->UserMouseUp(platform::MouseButton::Left, at);
    else
      Picture(button).UserMouseUp(platform::MouseButton::Left);
  }
  void Leave(platform::Control& button) { Picture(button).UserPointerLeave(); }
  bool Captured(platform::Control& button) { return Speed(button)->captured(); }

 private:
  platform::WindowHandle hung_ = 0;
  std::string hungText_;
  static platform::MemorySpeedButton* Speed(platform::Control& button) {
    return dynamic_cast<platform::MemorySpeedButton*>(&button);
  }
  static platform::MemoryImageButton& Picture(platform::Control& button) {
    return dynamic_cast<platform::MemoryImageButton&>(button);
  }

  platform::MemoryMachine machine_;
};

class MemoryProcessRig {
 public:
  // The program in a folder the code page cannot hold.
  MemoryProcessRig() {
    machine_.process().SetExecutablePath(Program);
    machine_.files().AddFile(Program, "MZ");
  }
  platform::Process& process() { return machine_.process(); }
  platform::Shell& shell() { return machine_.shell(); }
  platform::Files& files() { return machine_.files(); }
  // A program that is there and ends by itself when started with "/c exit".
  std::string StartableProgram() {
    machine_.files().AddFile(Startable, "MZ");
    return Startable;
  }
  // The same program at a path of more than 300 characters.
  std::string ProgramAtALongPath() {
    const std::string path = "C:\\" + std::string(60, 'd') + "\\" + std::string(60, 'e') + "\\" +
                             std::string(60, 'f') + "\\" + std::string(60, 'g') + "\\" +
                             std::string(60, 'h') + "\\cmd.exe";
    machine_.files().AddFile(path, "MZ");
    return path;
  }

 private:
  static constexpr const char* Startable = "C:\\Windows\\System32\\cmd.exe";
  static constexpr const char* Program = "C:\\Программы\\Quenlar\\Quenlar.exe";
  platform::MemoryMachine machine_;
};

using RegistryRigs = ::testing::Types<MemoryRegistryRig>;
using FilesRigs = ::testing::Types<MemoryFilesRig>;
using SystemRigs = ::testing::Types<MemorySystemRig>;
using ToolkitRigs = ::testing::Types<MemoryToolkitRig>;
using ClockRigs = ::testing::Types<MemoryClockRig>;
using ProcessRigs = ::testing::Types<MemoryProcessRig>;

}  // namespace contract
