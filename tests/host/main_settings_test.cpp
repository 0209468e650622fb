#include "ui/main_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sealing.h"
#include "core/settings_layout.h"
#include "platform/memory/memory_machine.h"

namespace {

using platform::Fault;
using platform::FaultKind;
using platform::RegistryValue;
using ::testing::ElementsAreArray;
using ::testing::Optional;

constexpr auto HKCU = platform::RootKey::CurrentUser;

class MainSettingsTest : public ::testing::Test {
 protected:
  platform::MemoryMachine machine;
  platform::Services services = machine.services();
  platform::MemoryRegistry& registry = machine.registry();

  void Set(const char* name, RegistryValue value) {
    registry.SetValue(HKCU, settings::AccessKey, name, std::move(value));
  }
  std::optional<std::string> Text(const std::string& name) {
    return registry.Text(HKCU, settings::AccessKey, name);
  }
  std::optional<std::uint32_t> Dword(const std::string& name) {
    auto value = registry.Value(HKCU, settings::AccessKey, name);
    if (!value || value->kind != platform::ValueKind::Dword) return std::nullopt;
    return value->AsDword();
  }
  std::vector<std::string> Names(const char* operation) {
    std::vector<std::string> names;
    for (const auto& call : registry.faults().journal())
      if (call.operation == operation) names.push_back(call.name);
    return names;
  }
  std::string Seal(const std::string& plain) { return SealText(machine.volume(), plain); }
};

std::vector<std::string> SlotNames() {
  std::vector<std::string> names;
  for (int i = 0; i < settings::MessageSlotCount; ++i)
    names.push_back(settings::MessageValueName(i));
  return names;
}

TEST_F(MainSettingsTest, LoadReadsEveryValueInOrderAndUnsealsTheSlots) {
  Set("Validate", RegistryValue::Dword(1));
  Set("Acc", RegistryValue::Dword(12));
  Set("Stealth", RegistryValue::Dword(7));  // any non-zero is on
  Set("Messaging", RegistryValue::Dword(0));
  Set("Online", RegistryValue::Dword(1));
  Set("Warning", RegistryValue::Dword(1));
  Set("MessageTarget", RegistryValue::Text("Hunter"));
  Set("Message0", RegistryValue::Text(Seal("first line")));
  Set("Message25", RegistryValue::Text(Seal("last line")));
  registry.faults().ClearJournal();

  MainWindowState state;
  MenuMarks marks;
  UtilityLock lock(services);
  LoadMainSettings(services, state, marks, lock);

  std::vector<std::string> order{"Validate", "Acc",     "Stealth",      "Messaging",
                                 "Online",   "Warning", "MessageTarget"};
  for (const auto& slot : SlotNames()) order.push_back(slot);
  EXPECT_THAT(Names("ReadValue"), ElementsAreArray(order));
  EXPECT_EQ(lock.PasswordEnabled, 1);
  EXPECT_EQ(state.SelectedAccount, 12);
  EXPECT_TRUE(marks.stealth);
  EXPECT_FALSE(marks.messaging);
  EXPECT_TRUE(marks.online);
  EXPECT_TRUE(marks.warning);
  EXPECT_EQ(state.messages.MessageTarget, "Hunter");
  EXPECT_EQ(state.messages.MessageSlots[0], "first line");
  EXPECT_EQ(state.messages.MessageSlots[25], "last line");
  EXPECT_EQ(state.messages.MessageSlots[1], "");
}

TEST_F(MainSettingsTest, MistypedOrFailingValuesFallBackOneByOne) {
  Set("Stealth", RegistryValue::Text("1"));  // a string is not a Boolean: off
  Set("Acc", RegistryValue::Text("5"));
  Set("Messaging", RegistryValue::Dword(0));
  Set("MessageTarget", RegistryValue::Dword(3));
  Set("Message2", RegistryValue::Dword(1));
  Set("Message3", RegistryValue::Text(Seal("kept")));
  Set("Online", RegistryValue::Dword(1));
  // The read of "Online" (the fifth read) throws; the values after it still load.
  registry.faults().Arm(Fault{5, false, FaultKind::Throw, "ReadValue"});

  MainWindowState state;
  MenuMarks marks;
  UtilityLock lock(services);
  LoadMainSettings(services, state, marks, lock);

  EXPECT_FALSE(marks.stealth);
  EXPECT_EQ(state.SelectedAccount, 1);
  EXPECT_FALSE(marks.messaging);
  EXPECT_FALSE(marks.online);
  EXPECT_EQ(state.messages.MessageTarget, "");
  EXPECT_EQ(state.messages.MessageSlots[2], "");
  EXPECT_EQ(state.messages.MessageSlots[3], "kept");
}

class MainSettingsSaveTest : public MainSettingsTest {
 protected:
  MainWindowState state;
  MenuMarks marks{true, false, true, false};

  void SetUp() override {
    state.SelectedAccount = 3;
    state.messages.MessageTarget = "Hunter";
    state.messages.MessageSlots[0] = "hello";
    state.messages.MessageSlots[4] = "bye";
  }
};

TEST_F(MainSettingsSaveTest, WritesInOrderSealingOnlyFilledSlots) {
  Set("Message3", RegistryValue::Text(Seal("stale")));
  registry.faults().ClearJournal();

  SaveMainSettings(services, state, marks);

  std::vector<std::string> order{"Acc",     "Stealth",       "Online",
                                 "Warning", "MessageTarget", "Messaging"};
  for (const auto& slot : SlotNames()) order.push_back(slot);
  EXPECT_THAT(Names("WriteValue"), ElementsAreArray(order));
  EXPECT_THAT(Dword("Acc"), Optional(3u));
  EXPECT_THAT(Dword("Stealth"), Optional(1u));
  EXPECT_THAT(Dword("Online"), Optional(1u));
  EXPECT_THAT(Dword("Warning"), Optional(0u));
  EXPECT_THAT(Dword("Messaging"), Optional(0u));
  EXPECT_THAT(Text("MessageTarget"), Optional(std::string("Hunter")));
  EXPECT_THAT(Text("Message0"), Optional(Seal("hello")));
  EXPECT_THAT(Text("Message3"), Optional(std::string()));
  EXPECT_THAT(Text("Message4"), Optional(Seal("bye")));
  EXPECT_EQ(registry.Value(HKCU, settings::AccessKey, "Validate"), std::nullopt);
}

TEST_F(MainSettingsSaveTest, AFailureBeforeTheSlotsEndsTheSaveThere) {
  for (FaultKind kind : {FaultKind::Fail, FaultKind::Throw}) {
    SCOPED_TRACE(kind == FaultKind::Fail ? "fail" : "throw");
    Set("Acc", RegistryValue::Dword(1));
    Set("Stealth", RegistryValue::Dword(0));
    Set("Online", RegistryValue::Dword(0));
    Set("MessageTarget", RegistryValue::Text("old"));
    Set("Message0", RegistryValue::Text("old slot"));
    registry.faults().Arm(Fault{3, false, kind, "WriteValue"});  // "Online"

    SaveMainSettings(services, state, marks);

    EXPECT_THAT(Dword("Acc"), Optional(3u));
    EXPECT_THAT(Dword("Stealth"), Optional(1u));
    EXPECT_THAT(Dword("Online"), Optional(0u));
    EXPECT_THAT(Text("MessageTarget"), Optional(std::string("old")));
    EXPECT_THAT(Text("Message0"), Optional(std::string("old slot")));
  }
}

TEST_F(MainSettingsSaveTest, AFailedSlotIsBlankedAndTheNextSlotsAreStillWritten) {
  for (FaultKind kind : {FaultKind::Fail, FaultKind::Throw}) {
    SCOPED_TRACE(kind == FaultKind::Fail ? "fail" : "throw");
    Set("Message4", RegistryValue::Text("old"));
    Set("Message5", RegistryValue::Text("old"));
    // The sixth value, then Message0..Message3: the eleventh write is Message4.
    registry.faults().Arm(Fault{11, false, kind, "WriteValue"});

    SaveMainSettings(services, state, marks);

    EXPECT_THAT(Text("Message4"), Optional(std::string()));
    EXPECT_THAT(Text("Message5"), Optional(std::string()));
    EXPECT_THAT(Text("Message0"), Optional(Seal("hello")));
  }
}

}  // namespace
