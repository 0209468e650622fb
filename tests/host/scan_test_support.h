// A machine for the check and installation tests: the in-memory services with the
// scan's context, the event log on a memo of a main form, and short ways to script
// answers and read the boxes shown.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/sealing.h"
#include "core/settings_layout.h"
#include "forms/event_log.h"
#include "platform/memory/memory_machine.h"
#include "scan/checks.h"
#include "scan/findings.h"
#include "ui/installation.h"

namespace scan_test {

using platform::MessageAnswer;
using platform::MessageKind;

struct Box {
  MessageKind kind;
  std::string text;
  bool operator==(const Box&) const = default;
};

inline void PrintTo(const Box& box, std::ostream* os) {
  static const char* kinds[] = {"Error", "Information", "Confirm"};
  *os << kinds[static_cast<int>(box.kind)] << " \"" << box.text << "\"";
}

inline constexpr platform::RootKey HKCU = platform::RootKey::CurrentUser;
inline constexpr platform::RootKey HKLM = platform::RootKey::LocalMachine;

inline const std::string FirstTimeQuestion = "Is this the first time you have run Quenlar?";

// Everything the checks and the installation commands run on. A question or dialog
// shown without a script fails the test that owns the machine.
struct ScanMachine {
  platform::MemoryMachine machine;
  platform::Services services = machine.services();
  std::unique_ptr<platform::Form> form = machine.toolkit().CreateForm(platform::FormSpec{}, {});
  platform::Memo& memo = form->AddMemo(platform::MemoSpec{});
  EventLog log{memo};
  Findings findings;
  ScanContext context{services, log, findings,
                      platform::OpenDialogSpec{"Select Legend of Mir Executable",
                                               "Executable|*.exe", "exe", "mir.exe",
                                               "C:\\Program Files\\WEMADE Entertainment\\"
                                               "Legend of Mir"},
                      [this] { WriteAutostartEntry(services); }};
  std::unique_ptr<IntegrityChecks> checks = MakeIntegrityChecks(context);
  std::size_t boxMark = 0;

  // Error and information boxes need no script; the tests read them from boxes().
  ~ScanMachine() {
    std::vector<std::string> unasked;
    for (const std::string& shown : toolkit().unexpected())
      if (shown.rfind("message Error:", 0) != 0 && shown.rfind("message Information:", 0) != 0)
        unasked.push_back(shown);
    EXPECT_THAT(unasked, ::testing::IsEmpty());
  }

  platform::MemoryRegistry& registry() { return machine.registry(); }
  platform::MemoryFiles& files() { return machine.files(); }
  platform::MemoryToolkit& toolkit() { return machine.toolkit(); }
  std::string programPath() { return machine.process().ExecutablePath(); }
  std::vector<std::string> lines() const { return memo.Lines(); }
  bool red() const { return memo.FontColor() == platform::colors::Red; }

  void Answer(const std::string& question, MessageAnswer answer) {
    toolkit().ScriptMessage(MessageKind::Confirmation, question, answer);
  }
  // The boxes shown since the last MarkBoxes.
  std::vector<Box> boxes() {
    std::vector<Box> shown;
    const auto& all = toolkit().messageBoxes();
    for (std::size_t i = boxMark; i < all.size(); ++i) shown.push_back({all[i].kind, all[i].text});
    return shown;
  }
  void MarkBoxes() { boxMark = toolkit().messageBoxes().size(); }

  std::string Seal(const std::string& plain) { return SealText(machine.volume(), plain); }
  void StorePath(const std::string& gamePath) {
    registry().SetValue(HKCU, settings::ProductKey, settings::Path.name,
                        platform::RegistryValue::Text(Seal(gamePath)));
  }
  void SetRunEntry(platform::RootKey root, const std::string& name, const std::string& data) {
    registry().SetValue(root, settings::RunKey, name, platform::RegistryValue::Text(data));
  }
};

}  // namespace scan_test
